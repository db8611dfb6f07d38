#include "SheetFixture.h"

#include "CountingCache.h"
#include "MediaCatalogue.h"
#include "cache/CacheBudget.h"
#include "cache/FrameBufferPool.h"
#include "cache/ProcessSpares.h"

#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

// Buffers one cache lets go of, kept by the process for any cache: this binary's budget is 8 MB.
namespace {

constexpr size_t kKilobyte = 1024;
constexpr size_t kMegabyte = 1024 * kKilobyte;
constexpr size_t kQvgaFrame = 320 * 240 * 4;

video::ProcessSpares& spares() {
    return video::ProcessSpares::instance();
}

video::CacheBudget& budget() {
    return video::CacheBudget::instance();
}

// Long after every spare kept so far is due.
video::ProcessSpares::Clock::time_point longAfter() {
    return video::ProcessSpares::Clock::now() + std::chrono::hours(2);
}

// Polls until the process keeps `count` spares, for at most a minute (the set's own thread frees
// them).
bool sparesLeft(size_t count) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (spares().count() != count) {
        if (std::chrono::steady_clock::now() >= limit) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// A cache's pool lets go of `count` buffers of `bytes` as it goes: the process keeps them.
void leaveSpares(size_t count, size_t bytes) {
    video::BudgetAccount account;
    FrameBufferPool pool(&account);
    std::vector<FrameBuffer> held;
    for (size_t i = 0; i < count; ++i) {
        held.push_back(pool.take(bytes));
    }
    for (FrameBuffer& buffer : held) {
        pool.giveBack(std::move(buffer), true);
    }
}

// Spares are kept until the test trims them itself, and none is left for the next test.
class ProcessSparesTest : public ::testing::Test {
protected:
    void SetUp() override {
        spares().freeAll();
        spares().setKeptFor(std::chrono::hours(1));
        ASSERT_EQ(budget().used(), 0u);
    }
    void TearDown() override {
        spares().freeAll();
        spares().setKeptFor(video::ProcessSpares::kKeptFor);
        EXPECT_EQ(budget().used(), 0u);
    }
};

using budgettest::CountingCache;

// What a cache's pool does not keep goes to the process, its charge with it, except a buffer
// given up for room; another cache takes it at the same size.
TEST_F(ProcessSparesTest, WhatAPoolDoesNotKeepGoesToTheProcessSaveWhatIsGivenUpForRoom) {
    constexpr size_t kBytes = 64 * kKilobyte;
    video::BudgetAccount firstAccount;
    video::BudgetAccount secondAccount;
    auto first = std::make_unique<FrameBufferPool>(&firstAccount);
    FrameBufferPool second(&secondAccount);
    first->setLimit(1);
    FrameBuffer a = first->take(kBytes);
    FrameBuffer b = first->take(kBytes);
    FrameBuffer c = first->take(kBytes);
    unsigned char* const beyondLimit = a.data();
    first->giveBack(std::move(a), true);
    first->giveBack(std::move(b), false);
    first->giveBack(std::move(c), true);
    EXPECT_EQ(first->spareCount(), 1u);
    EXPECT_EQ(spares().count(), 1u);
    EXPECT_EQ(firstAccount.bytes(video::Spend::kFrames), kBytes);
    EXPECT_EQ(budget().used(video::Spend::kSpares), kBytes);
    EXPECT_EQ(budget().used(), 2 * kBytes);

    const long allocatedBefore = FrameBuffer::allocations();
    FrameBuffer taken = second.take(kBytes);
    EXPECT_EQ(taken.data(), beyondLimit);
    EXPECT_EQ(FrameBuffer::allocations(), allocatedBefore);
    EXPECT_EQ(secondAccount.bytes(video::Spend::kFrames), kBytes);
    EXPECT_EQ(budget().used(), 2 * kBytes);

    // A pool that goes hands its spares over; so does one whose frames change size.
    first.reset();
    FrameBuffer smaller = second.take(kBytes / 2);
    second.setLimit(4);
    second.giveBack(std::move(taken), true);
    EXPECT_EQ(second.spareCount(), 0u);
    EXPECT_EQ(spares().count(), 2u);
    EXPECT_EQ(FrameBuffer::allocations(), allocatedBefore + 1);
    second.giveBack(std::move(smaller), true);
    ASSERT_EQ(second.spareCount(), 1u);
    second.freeSpares();
    EXPECT_EQ(spares().count(), 2u);
    EXPECT_EQ(secondAccount.total(), 0u);
    EXPECT_EQ(budget().used(), 2 * kBytes);
}

TEST_F(ProcessSparesTest, SparesKeptPastTheKeepTimeAreFreed) {
    const long allocatedBefore = FrameBuffer::allocations();
    leaveSpares(1, 2 * kMegabyte);
    leaveSpares(1, kMegabyte);
    ASSERT_EQ(spares().count(), 2u);
    const auto kept = video::ProcessSpares::Clock::now();
    spares().trim(kept);
    spares().trim(kept + std::chrono::minutes(59));
    EXPECT_EQ(spares().count(), 2u);
    EXPECT_EQ(budget().used(), 3 * kMegabyte);
    spares().trim(longAfter());
    EXPECT_EQ(spares().count(), 0u);
    EXPECT_EQ(budget().used(), 0u);

    // The set's own thread frees what is due, started again after everything was freed.
    for (int round = 0; round < 2; ++round) {
        spares().freeAll();
        spares().setKeptFor(std::chrono::hours(1));
        leaveSpares(1, kMegabyte);
        ASSERT_EQ(spares().count(), 1u);
        spares().setKeptFor(std::chrono::seconds(0));
        EXPECT_TRUE(sparesLeft(0)) << "round " << round;
        EXPECT_EQ(budget().used(), 0u);
    }
    EXPECT_EQ(FrameBuffer::allocations(), allocatedBefore + 4);
}

// Whoever needs room, the process's spares go before any cache's frames; a spare of the size
// asked for is taken instead of freed.
TEST_F(ProcessSparesTest, SparesAreFreedBeforeAnyCachesFrames) {
    constexpr size_t kSpare = kMegabyte;
    constexpr size_t kFrame = kMegabyte / 2;
    leaveSpares(5, kSpare);
    ASSERT_EQ(spares().count(), 5u);
    CountingCache holder(kFrame);
    CountingCache reader(kFrame);
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(holder.store(video::CacheBudget::Need::kAhead));
    }
    // 5 MB of spares and 3 MB of frames fill the 8 MB budget.
    ASSERT_EQ(budget().used(), budget().limit());
    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(reader.store(video::CacheBudget::Need::kAhead)) << "frame " << i;
        EXPECT_EQ(holder.givenUp, 0) << "frame " << i;
        EXPECT_EQ(spares().count(), 5u - static_cast<size_t>(i + 2) / 2) << "frame " << i;
        EXPECT_LE(budget().used(), budget().limit());
    }
    EXPECT_EQ(holder.frames(), 6u);

    // A frame of the spares' size takes one over, with the budget full and no new memory.
    const long allocatedBefore = FrameBuffer::allocations();
    ASSERT_EQ(budget().used(), budget().limit());
    CountingCache taker(kSpare);
    video::FrameReservation room =
        budget().reserve(taker, kSpare, video::CacheBudget::Need::kShown);
    ASSERT_TRUE(room);
    EXPECT_EQ(spares().count(), 1u);
    {
        FrameBufferPool pool(&taker.account());
        FrameBuffer buffer = pool.take(kSpare, std::move(room));
        ASSERT_TRUE(buffer);
        EXPECT_EQ(FrameBuffer::allocations(), allocatedBefore);
        EXPECT_EQ(spares().count(), 0u);
        EXPECT_EQ(taker.account().bytes(video::Spend::kFrames), kSpare);
        EXPECT_EQ(budget().used(), budget().limit());
        pool.giveBack(std::move(buffer), false);
    }

    // Room for what is not a frame likewise.
    leaveSpares(1, kSpare);
    ASSERT_EQ(spares().count(), 1u);
    ASSERT_EQ(budget().used(), budget().limit());
    budget().makeRoom(kSpare);
    EXPECT_EQ(spares().count(), 0u);
    EXPECT_EQ(holder.givenUp + reader.givenUp, 0);
}

// A cache past its share, its own spares included, gets room from the process's spares of its
// frames' size: they would otherwise hold room no cache can use.
TEST_F(ProcessSparesTest, ACachePastItsShareHasTheSparesFreed) {
    constexpr size_t kFrame = kMegabyte / 2;
    leaveSpares(7, kFrame);
    CountingCache large(kFrame);
    CountingCache small(kFrame);
    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(large.store(video::CacheBudget::Need::kAhead));
    }
    ASSERT_TRUE(small.store(video::CacheBudget::Need::kAhead));
    ASSERT_EQ(budget().used(), budget().limit());
    EXPECT_TRUE(large.store(video::CacheBudget::Need::kAhead));
    EXPECT_EQ(spares().count(), 6u);
    EXPECT_EQ(small.givenUp, 0);
    EXPECT_LE(budget().used(), budget().limit());
}

// A buffer let go of while the budget is passed (the frames shown pass it) is freed.
TEST_F(ProcessSparesTest, NoSpareIsKeptWhileTheBudgetIsPassed) {
    video::BudgetAccount account;
    FrameBufferPool pool(&account);
    FrameBuffer buffer = pool.take(kMegabyte);
    video::BudgetCharge passing(nullptr, video::Spend::kTexture, budget().limit());
    pool.giveBack(std::move(buffer), true);
    EXPECT_EQ(spares().count(), 0u);
    EXPECT_EQ(budget().used(), budget().limit());

    // Spares kept before the budget was passed by a charge that made no room are freed by the
    // set's thread, however young, as far as the budget is passed.
    passing.reset();
    pool.giveBack(pool.take(kMegabyte), true);
    pool.giveBack(pool.take(kMegabyte / 2), true);
    ASSERT_EQ(spares().count(), 2u);
    video::BudgetCharge again(nullptr, video::Spend::kTexture, budget().limit() - kMegabyte);
    EXPECT_TRUE(sparesLeft(1));
    EXPECT_LE(budget().used(), budget().limit());
}

// Nodes opened and closed in turn, the spares of the closed ones left for the next.
class NodeSpares : public SheetFixture {
protected:
    void SetUp() override {
        SheetFixture::SetUp();
        spares().freeAll();
        spares().setKeptFor(std::chrono::hours(1));
    }
    void TearDown() override {
        SheetFixture::TearDown();
        spares().freeAll();
        spares().setKeptFor(video::ProcessSpares::kKeptFor);
        EXPECT_EQ(budget().used(), 0u);
    }

    // Shows the frame, waits until the worker has stored the whole window around it, and checks
    // every frame stored against the tool's; the frames stored and spare, with the worker
    // between passes.
    static size_t showAndFill(FootageSheet& sheet, CineSheetData& data, const std::string& clip,
                              int frame) {
        EXPECT_EQ(showFrame(sheet, data, testsupport::mediaPath(clip), frame, 24),
                  FootageAnswer::kShown);
        EXPECT_TRUE(waitForStore(sheet, [frame](const FrameStore::Contents& store) {
            return store.wantedFrame == frame && store.window.length() > 0 &&
                   storedFrames(store).size() == static_cast<size_t>(store.window.length());
        }));
        const testsupport::ReferenceVideo& reference = testsupport::reference(clip);
        const std::unique_lock<std::mutex> decoder = sheet.videoCache.openVideo().lock();
        return storeOf(sheet).read([&](const FrameStore::Contents& store) {
            for (const auto& [block, slots] : store.blocks) {
                for (size_t slot = 0; slot < slots.size(); ++slot) {
                    const size_t shown = static_cast<size_t>(store.blockStarts[block]) + slot;
                    const std::vector<std::uint8_t> expected = testsupport::pointSampledRgba(
                        reference.frames[shown], reference.width, reference.height, 1);
                    EXPECT_TRUE(!slots[slot] || (slots[slot]->bytes() == expected.size() &&
                                                 std::memcmp(slots[slot]->pixels(), expected.data(),
                                                             expected.size()) == 0))
                        << clip << " frame " << shown;
                }
            }
            return storedFrames(store).size() + storeOf(sheet).frameBuffers()->spareCount();
        });
    }

    // Destroys the node's footage and texture: its frames become the process's spares.
    void close(FootageSheet& sheet, CineSheetData& data) {
        destroySheet(sheet);
        data.dropTexture();
    }
};

// A second video node of the same size is served from the buffers of the first, its own file
// changed reuses its own, and a sequence of that size after it reads into them: no memory is
// allocated, every frame is the tool's, and every byte is counted once, to a node or as spare.
TEST_F(NodeSpares, NodesOfTheSameSizeAreServedFromTheBuffersOfThoseClosed) {
    FootageSheet& first = makeSheet();
    CineSheetData& firstData = makeData();
    const size_t held = showAndFill(first, firstData, "qvga", 30);
    ASSERT_GE(held, 12u);
    EXPECT_EQ(budget().used(), chargedBy(first, firstData) + spares().bytes());
    close(first, firstData);
    EXPECT_EQ(spares().count(), held);
    EXPECT_EQ(budget().used(video::Spend::kSpares), held * kQvgaFrame);
    EXPECT_EQ(budget().used(), held * kQvgaFrame);

    const long allocatedBefore = FrameBuffer::allocations();
    FootageSheet& second = makeSheet();
    CineSheetData& secondData = makeData();
    const size_t secondHeld = showAndFill(second, secondData, "qvga_other", 30);
    EXPECT_EQ(second.video().account().bytes(video::Spend::kFrames), secondHeld * kQvgaFrame);
    EXPECT_EQ(spares().count(), held - secondHeld);
    showAndFill(second, secondData, "qvga", 66);
    EXPECT_EQ(budget().used(), chargedBy(second, secondData) + spares().bytes());
    close(second, secondData);

    testsupport::TempDir folder;
    testsupport::makeMedia("-f lavfi -i testsrc=s=320x240:r=24 -frames:v 12 -start_number 1",
                           folder.file("qvga.%04d.png"));
    FootageSheet& sequence = makeSheet();
    CineSheetData& sequenceData = makeData();
    for (int frame = 1; frame <= 12; ++frame) {
        ASSERT_EQ(showFrame(sequence, sequenceData, folder.file("qvga.####.png"), frame, 12),
                  FootageAnswer::kShown);
    }
    // The last frame, written over a buffer another frame was in, is the tool's.
    testsupport::makeMedia("-i " + testsupport::shellQuote(folder.file("qvga.0012.png")) +
                               " -f rawvideo -pix_fmt rgba",
                           folder.file("pixels.rgba"));
    EXPECT_EQ(texturePixels(sequenceData).bytes,
              testsupport::readBytes(folder.file("pixels.rgba")));
    EXPECT_EQ(FrameBuffer::allocations(), allocatedBefore);
    EXPECT_EQ(budget().used(), chargedBy(sequence, sequenceData) + spares().bytes());

    // Closed and trimmed, nothing is left counted.
    close(sequence, sequenceData);
    EXPECT_EQ(budget().used(), spares().bytes());
    EXPECT_EQ(spares().bytes(), spares().count() * kQvgaFrame);
    spares().trim(longAfter());
    EXPECT_EQ(spares().count(), 0u);
    EXPECT_EQ(budget().used(), 0u);
}

}  // namespace
