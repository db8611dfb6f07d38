#include "CachedFrames.h"
#include "DecodeMedia.h"
#include "decode/BlockDecoder.h"
#include "decode/BlockLayout.h"
#include "decode/PresentationOrder.h"
#include "decode/StreamDecoder.h"
#include "decode/VideoSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using video::BlockLayout;
using video::PresentationOrder;
using video::ScanProgress;
using video::VideoSource;

// What the source showed of its blocks at one point of its scan.
struct Settled {
    int packetsRead = 0;
    std::vector<int> blockStarts;
    std::vector<video::BlockPlan> plans;
    std::vector<int> frameOfPacket;
};

Settled settledOf(const VideoSource& source) {
    Settled settled{source.packetsScanned(), source.blockStarts(), {}, source.order().ofPacket};
    for (int b = 0; b < source.blockCount(); ++b) {
        settled.plans.push_back(source.plan(b));
    }
    return settled;
}

// Scans one packet at a time, noting the blocks each time they grow; `onSettled` runs then.
template <typename OnSettled>
std::vector<Settled> scanPacketByPacket(VideoSource& source, OnSettled onSettled) {
    std::vector<Settled> steps;
    while (!source.listingComplete()) {
        int allowed = 1;
        const ScanProgress progress = source.scanOn([&allowed] { return allowed-- <= 0; });
        EXPECT_NE(progress, ScanProgress::renumbered);
        if (progress == ScanProgress::moreBlocks && !source.listingComplete()) {
            steps.push_back(settledOf(source));
            onSettled();
        }
    }
    return steps;
}

// The order the whole packet list gives, as the scan gave it before it was read in stretches.
PresentationOrder wholeListOrder(const std::string& path, const VideoSource& source) {
    PresentationOrder order;
    if (video::orderByTimestamps(source.packets(), order)) {
        return order;
    }
    VideoSource reader;
    EXPECT_TRUE(reader.open(path));
    video::CodecContextPtr decoder =
        video::openStreamDecoder(*reader.input()->streams[reader.streamIndex()]);
    EXPECT_TRUE(video::orderByDecoding(reader.input(), decoder.get(), reader.streamIndex(),
                                       source.packets(), order));
    return order;
}

// Blocks settled while the scan goes on are the whole list's first blocks, exactly: the same
// frames in the same presentation order, decoded from the same packets.
TEST(ProgressiveScan, settledBlocksAreThoseOfTheWholeList) {
    for (const std::string& medium : decodetest::mediaNames()) {
        if (medium == "audio_only") {
            continue;
        }
        const std::string& path = decodetest::mediaPath(medium);
        VideoSource source;
        ASSERT_TRUE(source.start(path)) << medium;
        const std::vector<Settled> steps = scanPacketByPacket(source, [] {});

        const PresentationOrder whole = wholeListOrder(path, source);
        ASSERT_EQ(source.order().ofPacket, whole.ofPacket) << medium;
        ASSERT_EQ(source.frameCount(), whole.frameCount) << medium;
        const BlockLayout final = video::layOutBlocks(source.packets(), whole);
        ASSERT_EQ(source.blockStarts(), final.blockStarts) << medium;
        for (const Settled& step : steps) {
            ASSERT_LT(step.blockStarts.size(), final.blockStarts.size()) << medium;
            EXPECT_TRUE(std::equal(step.blockStarts.begin(), step.blockStarts.end(),
                                   final.blockStarts.begin()))
                << medium << " after " << step.packetsRead << " packets";
            for (size_t b = 0; b < step.plans.size(); ++b) {
                EXPECT_EQ(step.plans[b].anchor, final.plans[b].anchor) << medium << " " << b;
                EXPECT_EQ(step.plans[b].lastPacket, final.plans[b].lastPacket)
                    << medium << " " << b;
            }
            for (size_t i = 0; i < step.frameOfPacket.size(); ++i) {
                if (step.frameOfPacket[i] >= 0) {
                    ASSERT_EQ(step.frameOfPacket[i], whole.ofPacket[i])
                        << medium << " packet " << i << " after " << step.packetsRead;
                }
            }
        }
    }
}

class ScannedWhileDecoding : public testing::TestWithParam<const char*> {};

// Each block is decoded as soon as the scan settles it, between stretches of the scan: every
// frame is the tool's, and the first blocks come long before the end of the file.
TEST_P(ScannedWhileDecoding, everyFrameIsTheToolsAndTheFirstComeEarly) {
    const std::string medium = GetParam();
    const testsupport::ReferenceVideo& reference = decodetest::reference(medium);
    VideoSource source;
    ASSERT_TRUE(source.start(decodetest::mediaPath(medium)));
    ASSERT_EQ(source.blockCount(), 0);
    video::BlockDecoder decoder(source);
    decodetest::CachedFrames frames(reference.frames.size());
    int decodedBlocks = 0;
    auto decodeSettled = [&] {
        for (; decodedBlocks < source.blockCount(); ++decodedBlocks) {
            const int first = source.blockStarts()[decodedBlocks];
            decoder.decodeBlocks(decodedBlocks, decodedBlocks,
                                 [&](int, int slot, const video::CachePicture& picture) {
                                     frames.at(first + slot) = decodetest::cacheImageOf(picture, 1);
                                 });
        }
    };
    const std::vector<Settled> steps = scanPacketByPacket(source, decodeSettled);
    ASSERT_FALSE(steps.empty());
    // Settled after the first two blocks' packets and a few more, not after the whole file.
    EXPECT_LT(steps.front().packetsRead, source.packetsScanned() / 2);
    EXPECT_EQ(steps.front().blockStarts.front(), 0);
    decodeSettled();
    ASSERT_EQ(source.frameCount(), static_cast<int>(reference.frames.size()));
    EXPECT_EQ(decodetest::wrongFrames(frames, decodetest::expectedFrames(reference, 1)), "");
}

INSTANTIATE_TEST_SUITE_P(UnindexedFiles, ScannedWhileDecoding,
                         testing::Values("h264_ts", "open_gop_ts", "h264_raw", "mpeg4_raw_m4v",
                                         "mpeg2_ps", "open_gop_mp4"));

// A scan paused before its end leaves the file open on what it settled; closing or opening
// another file drops it.
TEST(ProgressiveScan, pausedScanIsLeftCleanly) {
    VideoSource source;
    ASSERT_TRUE(source.start(decodetest::mediaPath("open_gop_ts")));
    while (source.blockCount() < 2) {
        ASSERT_FALSE(source.listingComplete());
        source.scanOn([] { return false; });
    }
    EXPECT_FALSE(source.listingComplete());
    EXPECT_EQ(source.keyframeInterval(), 12);
    ASSERT_TRUE(source.open(decodetest::mediaPath("h264_mp4")));
    EXPECT_TRUE(source.listingComplete());
    source.close();
    EXPECT_TRUE(source.listingComplete());
    EXPECT_EQ(source.blockStarts(), (std::vector<int>{0, 0}));
}

}  // namespace
