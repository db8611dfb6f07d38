#include "DecodeMedia.h"
#include "decode/VideoSource.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

namespace {

using video::VideoSource;

// Where two listings of a file's packets, or what follows from them, first differ; checksums
// aside, which a listing from the index has not.
std::string firstDifference(const VideoSource& indexed, const VideoSource& scanned) {
    std::ostringstream difference;
    const video::PacketList& a = indexed.packets();
    const video::PacketList& b = scanned.packets();
    if (a.size() != b.size()) {
        difference << a.size() << " packets instead of " << b.size();
        return difference.str();
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].pts != b[i].pts || a[i].dts != b[i].dts || a[i].pos != b[i].pos ||
            a[i].size != b[i].size || a[i].key != b[i].key || a[i].hasPicture != b[i].hasPicture ||
            !a[i].palette != !b[i].palette || (a[i].palette && *a[i].palette != *b[i].palette)) {
            difference << "packet " << i;
            return difference.str();
        }
        if (indexed.order().ofPacket[i] != scanned.order().ofPacket[i]) {
            difference << "frame of packet " << i;
            return difference.str();
        }
    }
    if (indexed.blockStarts() != scanned.blockStarts()) {
        return "block starts";
    }
    for (int block = 0; block < scanned.blockCount(); ++block) {
        if (indexed.plan(block).anchor != scanned.plan(block).anchor ||
            indexed.plan(block).lastPacket != scanned.plan(block).lastPacket) {
            difference << "plan of block " << block;
            return difference.str();
        }
    }
    return "";
}

// On every medium the decoding tests make (open GOPs, B-frames, edit lists and offsets, cut
// clips, variable rates, interleaved audio, turned pictures), opening by the index and opening
// by a full scan give the same packets, frame for every packet, blocks and frame count.
TEST(IndexListing, givesWhatTheFullScanGivesOnEveryMedium) {
    std::set<std::string> fromIndex;
    for (const std::string& medium : decodetest::mediaNames()) {
        const std::string& path = decodetest::mediaPath(medium);
        VideoSource indexed;
        VideoSource scanned;
        const bool opened = indexed.open(path);
        ASSERT_EQ(scanned.open(path, VideoSource::Listing::fullScan), opened) << medium;
        if (!opened) {
            continue;
        }
        EXPECT_FALSE(scanned.listedFromIndex()) << medium;
        if (indexed.listedFromIndex()) {
            fromIndex.insert(medium);
        }
        EXPECT_EQ(firstDifference(indexed, scanned), "") << medium;
        EXPECT_EQ(indexed.frameCount(), scanned.frameCount()) << medium;
    }
    // QuickTime and MP4 files of intra-only codecs are listed from their index; files whose
    // pictures may be reordered, and other containers, are scanned.
    EXPECT_EQ(fromIndex, (std::set<std::string>{"dnxhd_bt709", "mjpeg_mov", "prores_mov",
                                                "prores_trimmed_mov", "rotated_90_422_10bit"}));
}

// An index listing packets the file no longer holds is not believed: the file is scanned.
TEST(IndexListing, fileShorterThanItsIndexIsScanned) {
    const std::string source = decodetest::scratch().file("faststart.mov");
    testsupport::makeMedia("-i " + testsupport::shellQuote(decodetest::mediaPath("prores_mov")) +
                               " -c copy -movflags +faststart",
                           source);
    std::vector<unsigned char> bytes = testsupport::readBytes(source);
    bytes.resize(bytes.size() * 7 / 10);
    const std::string cut = decodetest::scratch().file("faststart-cut.mov");
    std::ofstream(cut, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));

    VideoSource whole;
    ASSERT_TRUE(whole.open(source));
    EXPECT_TRUE(whole.listedFromIndex());
    VideoSource indexed;
    VideoSource scanned;
    ASSERT_TRUE(indexed.open(cut));
    ASSERT_TRUE(scanned.open(cut, VideoSource::Listing::fullScan));
    EXPECT_FALSE(indexed.listedFromIndex());
    EXPECT_LT(indexed.frameCount(), whole.frameCount());
    EXPECT_EQ(firstDifference(indexed, scanned), "");
}

}  // namespace
