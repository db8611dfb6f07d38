#include "CountingCache.h"
#include "cache/CacheBudget.h"

#include <gtest/gtest.h>

#include <vector>

// The budget's rules for frames, with caches that only count: this binary's budget is 8 MB,
// and nothing else is charged while these run.
namespace {

constexpr size_t kMegabyte = 1024 * 1024;

using budgettest::CountingCache;

constexpr auto kAhead = video::CacheBudget::Need::kAhead;
constexpr auto kShown = video::CacheBudget::Need::kShown;

TEST(BudgetShare, FramesReadAheadAreNotTakenForAnotherCachesFramesReadAhead) {
    ASSERT_EQ(video::CacheBudget::instance().used(), 0u);
    CountingCache first;
    CountingCache second;
    // The first alone may fill the budget: 16 frames.
    while (first.store(kAhead)) {
    }
    EXPECT_EQ(first.frames(), 16u);
    // The second takes only what is beyond the first's share, half the budget, and no more.
    while (second.store(kAhead)) {
    }
    EXPECT_EQ(second.frames(), 8u);
    EXPECT_EQ(first.frames(), 8u);
    EXPECT_EQ(first.givenUp, 8);
    // Asking again takes nothing more from either.
    EXPECT_FALSE(second.store(kAhead));
    EXPECT_FALSE(first.store(kAhead));
    EXPECT_EQ(first.frames() + second.frames(), 16u);
    EXPECT_LE(video::CacheBudget::instance().used(), 8 * kMegabyte);
}

TEST(BudgetShare, SharesShrinkEvenlyAndWhatIsNotAFrameComesFirst) {
    std::vector<CountingCache> caches(4);
    for (int round = 0; round < 8; ++round) {
        for (CountingCache& cache : caches) {
            cache.store(kAhead);
        }
    }
    for (const CountingCache& cache : caches) {
        EXPECT_EQ(cache.frames(), 4u);
    }
    // A decoder opened elsewhere: 2 MB less for frames, taken from every cache alike as they
    // read on.
    video::BudgetCharge decoder(nullptr, video::Spend::kDecoder, 2 * kMegabyte);
    CountingCache late;
    while (late.store(kAhead)) {
    }
    EXPECT_EQ(late.frames(), 2u);
    for (const CountingCache& cache : caches) {
        EXPECT_GE(cache.frames(), 2u);
        EXPECT_LE(cache.frames(), 4u);
    }
}

TEST(BudgetShare, AFrameToBeShownIsStoredEvenOverTheBudget) {
    CountingCache reader;
    while (reader.store(kAhead)) {
    }
    // The frame shown takes the frames of others first, farthest first.
    CountingCache shown;
    EXPECT_TRUE(shown.store(kShown));
    EXPECT_EQ(reader.givenUp, 1);
    // With every other frame gone, the frames shown pass the budget rather than go unshown.
    reader.kept = reader.frames();
    video::BudgetCharge textures(nullptr, video::Spend::kTexture, 8 * kMegabyte);
    EXPECT_FALSE(shown.store(kAhead));
    EXPECT_TRUE(shown.store(kShown));
    EXPECT_GT(video::CacheBudget::instance().used(), video::CacheBudget::instance().limit());
    EXPECT_EQ(video::CacheBudget::instance().used(video::Spend::kTexture), 8 * kMegabyte);
}

}  // namespace
