#include "DecodeMedia.h"
#include "decode/BlockDecoder.h"
#include "decode/VideoSource.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>

namespace {

using testsupport::readBytes;
using testsupport::writeFile;
using video::BlockDecoder;
using video::VideoSource;

std::string scratchFile(const std::string& name) {
    return decodetest::scratch().file(name);
}

void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// A failed open leaves nothing behind: no size, no rate, block starts [0, 0].
void expectRefused(const std::string& path) {
    VideoSource source;
    EXPECT_FALSE(source.open(path)) << path;
    EXPECT_FALSE(source.isOpen());
    EXPECT_EQ(source.width(), 0);
    EXPECT_EQ(source.height(), 0);
    EXPECT_EQ(source.averageFrameRate(), 0.0);
    EXPECT_EQ(source.blockStarts(), (std::vector<int>{0, 0}));
    EXPECT_EQ(BlockDecoder(source).decodeBlocks(0, 0, [](int, int, const video::CachePicture&) {}),
              0);
}

// Files that hold no video are refused, and only a local file is read: no URL, no device, no
// FIFO (which would block), no format that opens other files named in it, also under the names
// footage comes under.
TEST(BadInput, onlyAPlainLocalVideoIsRead) {
    const std::string video = decodetest::mediaPath("h264_mp4");
    std::vector<std::string> refused = {scratchFile("does-not-exist.mp4"),
                                        decodetest::mediaPath("audio_only"),
                                        decodetest::scratch().path(),
                                        "",
                                        "concat:" + video + "|" + video,
                                        "file:" + video,
                                        "http://127.0.0.1:9/clip.mp4",
                                        "/dev/zero",
                                        scratchFile("fifo.mp4")};
    ASSERT_EQ(mkfifo(refused.back().c_str(), 0600), 0);
    const auto write = [&refused](const std::string& name, const std::string& text) {
        refused.push_back(scratchFile(name));
        writeFile(refused.back(), text);
    };
    write("empty.mp4", "");
    write("notes.mp4", std::string(5000, 'x'));
    for (const char* extension :
         {"m3u8", "mp4", "ts", "mts", "m2ts", "mpg", "m4v", "mxf", "wmv", "ogv", "y4m"}) {
        write(std::string("playlist.") + extension,
              "#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:3,\n" + video + "\n#EXT-X-ENDLIST\n");
        write(std::string("list.") + extension, "ffconcat version 1.0\nfile '" + video + "'\n");
    }
    write("list.ffconcat", "ffconcat version 1.0\nfile '" + video + "'\n");
    // The index of an .mp4 written by the tool is at its end.
    std::vector<unsigned char> bytes = readBytes(video);
    bytes.resize(bytes.size() / 2);
    refused.push_back(scratchFile("truncated.mp4"));
    writeBytes(refused.back(), bytes);
    // A codec no decoder is known for.
    bytes = readBytes(decodetest::mediaPath("late_start_mkv"));
    const std::string known = "V_MPEG4/ISO/AVC";
    auto at = std::search(bytes.begin(), bytes.end(), known.begin(), known.end());
    ASSERT_NE(at, bytes.end());
    std::copy_n("V_MPEG4/ISO/XYZ", known.size(), at);
    refused.push_back(scratchFile("unknown-codec.mkv"));
    writeBytes(refused.back(), bytes);
    for (const std::string& path : refused) {
        expectRefused(path);
    }
}

// A file cut short keeps the frames before the cut; the blocks past it give what they can.
TEST(BadInput, truncatedStreamKeepsTheFramesBeforeTheCut) {
    const testsupport::ReferenceVideo& full = decodetest::reference("mpeg2_ps");
    std::vector<unsigned char> bytes = readBytes(decodetest::mediaPath("mpeg2_ps"));
    bytes.resize(bytes.size() * 6 / 10);
    writeBytes(scratchFile("truncated.mpeg"), bytes);
    VideoSource source;
    ASSERT_TRUE(source.open(scratchFile("truncated.mpeg")));
    ASSERT_GT(source.blockCount(), 2);
    ASSERT_LT(source.frameCount(), static_cast<int>(full.frames.size()));
    BlockDecoder decoder(source);
    for (int block = 0; block < source.blockCount(); ++block) {
        const int first = source.blockStarts()[block];
        const int count = source.blockStarts()[block + 1] - first;
        const bool complete = block + 1 < source.blockCount();
        int stored = decoder.decodeBlocks(
            block, block, [&](int, int slot, const video::CachePicture& picture) {
                ASSERT_LT(slot, count);
                if (complete) {
                    std::vector<uint8_t> image(picture.imageBytes(1));
                    ASSERT_TRUE(picture.writeImage(1, image.data()));
                    EXPECT_EQ(image, testsupport::pointSampledRgba(full.frames[first + slot],
                                                                   full.width, full.height, 1))
                        << "frame " << first + slot;
                }
            });
        EXPECT_EQ(stored, complete ? count : stored);
    }
}

// An .mp4 with its index at the start, cut short: the index declares every frame, the packets
// listed are those the file still holds, the last of them cut. The blocks before the cut decode
// whole; the run that reaches the last listed packet tells the first frame it did not get, which
// without B-frames is the count of frames the ffmpeg tool gets out of the file.
TEST(BadInput, cutShortFileTellsWhereItEnds) {
    const std::string whole = scratchFile("faststart.mp4");
    testsupport::makeMedia(
        "-f lavfi -i testsrc2=s=160x90:r=24 -frames:v 48 -c:v libx264 -g 12 "
        "-bf 0 -pix_fmt yuv420p -movflags +faststart",
        whole);
    std::vector<unsigned char> bytes = readBytes(whole);
    bytes.resize(bytes.size() * 6 / 10);
    const std::string cut = scratchFile("cut-faststart.mp4");
    writeBytes(cut, bytes);
    const int kept = static_cast<int>(testsupport::referenceDecode(cut).frames.size());
    VideoSource source;
    ASSERT_TRUE(source.open(cut));
    ASSERT_TRUE(source.listingComplete());
    EXPECT_EQ(source.framesDeclared(), 48);
    ASSERT_GT(kept, 12);
    ASSERT_LE(kept, source.frameCount());
    ASSERT_LT(source.frameCount(), 48);
    const int firstLost = kept < source.frameCount() ? kept : -1;
    BlockDecoder decoder(source);
    auto nothing = [](int, int, const video::CachePicture&) {};
    for (int block = 0; block < source.blockCount(); ++block) {
        const int first = source.blockStarts()[block];
        const int end = source.blockStarts()[block + 1];
        const int stored = decoder.decodeBlocks(block, block, nothing);
        if (block + 1 < source.blockCount()) {
            EXPECT_EQ(stored, end - first) << "block " << block;
            EXPECT_EQ(decoder.endedEarlyAt(), -1) << "block " << block;
        } else {
            EXPECT_EQ(stored, kept - first);
            EXPECT_EQ(decoder.endedEarlyAt(), firstLost);
        }
    }
    decoder.decodeBlocks(0, source.blockCount() - 1, nothing);
    EXPECT_EQ(decoder.endedEarlyAt(), firstLost);
    // A run stopped before the cut says nothing of it.
    decoder.decodeBlocks(0, source.blockCount() - 1, nothing, [](int block) { return block > 0; });
    EXPECT_EQ(decoder.endedEarlyAt(), -1);

    // A whole file says nothing.
    VideoSource complete;
    ASSERT_TRUE(complete.open(whole));
    EXPECT_EQ(complete.framesDeclared(), 0);
    BlockDecoder wholeDecoder(complete);
    EXPECT_EQ(wholeDecoder.decodeBlocks(0, complete.blockCount() - 1, nothing), 48);
    EXPECT_EQ(wholeDecoder.endedEarlyAt(), -1);
}

// Garbage in the middle of the stream: the decoder reports errors, decoding goes on, nothing
// breaks and no slot outside the block is handed out.
TEST(BadInput, corruptedStreamDecodesWithoutFault) {
    int opened = 0;
    for (const char* medium : {"h264_mp4", "mpeg2_ps", "open_gop_mp4"}) {
        std::vector<unsigned char> bytes = readBytes(decodetest::mediaPath(medium));
        for (size_t i = bytes.size() / 3; i < bytes.size() / 3 + 4000; i += 7) {
            bytes[i] ^= 0x5a;
        }
        const std::string path = scratchFile(std::string("corrupt-") + medium);
        writeBytes(path, bytes);
        VideoSource source;
        if (!source.open(path)) {
            continue;
        }
        ++opened;
        BlockDecoder decoder(source);
        for (int block = -1; block <= source.blockCount(); ++block) {
            const int count = block >= 0 && block < source.blockCount()
                                  ? source.blockStarts()[block + 1] - source.blockStarts()[block]
                                  : 0;
            int stored =
                decoder.decodeBlocks(block, block, [&](int, int slot, const video::CachePicture&) {
                    EXPECT_TRUE(slot >= 0 && slot < count) << medium << " block " << block;
                });
            EXPECT_LE(stored, count);
        }
    }
    EXPECT_GT(opened, 0);
}

}  // namespace
