#include "CachedFrames.h"
#include "DecodeMedia.h"
#include "cache/DecodingPool.h"
#include "decode/BlockDecoder.h"
#include "decode/VideoSource.h"
#include "picture/BandedScaler.h"
#include "picture/NoisePicture.h"
#include "picture/ToolScaler.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

// Every task on a thread of its own but the first, which runs on the caller; reports a fixed
// number of idle threads.
class FreshThreads : public video::SpareThreads {
public:
    explicit FreshThreads(int idle) : idle_(idle) {}
    int idleThreads() const override { return idle_; }
    void runTogether(const std::vector<std::function<void()>>& tasks) override {
        std::vector<std::thread> others;
        for (size_t task = 1; task < tasks.size(); ++task) {
            others.emplace_back(tasks[task]);
        }
        if (!tasks.empty()) {
            tasks[0]();
        }
        for (std::thread& other : others) {
            other.join();
        }
    }

private:
    int idle_;
};

std::vector<uint8_t> wholeConversion(const AVFrame& frame, AVPixelFormat target, int linesize) {
    video::ToolScaler scaler(frame.width, frame.height, target);
    const size_t bytes = static_cast<size_t>(linesize) * frame.height;
    // Some scalers write a little past the picture.
    std::vector<uint8_t> out(bytes + 4096);
    if (!scaler.prepare(frame) || !scaler.scale(frame, out.data(), linesize)) {
        return {};
    }
    out.resize(bytes);
    return out;
}

int paddedRgbLinesize(int width) {
    video::FramePtr rgb(av_frame_alloc());
    rgb->format = AV_PIX_FMT_RGB24;
    rgb->width = width;
    rgb->height = 1;
    return av_frame_get_buffer(rgb.get(), 0) < 0 ? 0 : rgb->linesize[0];
}

// The picture's pixels without the padding at the end of each row.
std::vector<uint8_t> pixelsOf(const std::vector<uint8_t>& rows, int rowBytes, int linesize,
                              int height) {
    std::vector<uint8_t> pixels;
    for (int row = 0; row < height; ++row) {
        const auto start = rows.begin() + static_cast<ptrdiff_t>(row) * linesize;
        pixels.insert(pixels.end(), start, start + rowBytes);
    }
    return pixels;
}

// Banded or not, a picture converts to the bytes of the whole conversion, for formats and sizes
// whose bands could round, filter or write across their edges otherwise: odd heights, odd chroma
// rows, 4:2:0, 4:2:2 and 4:4:4, 10-bit, semi-planar, packed and paletted pictures, into RGBA and
// RGB24. Where banding is refused the caller converts whole; the common 8-bit 4:2:0 picture at
// UHD and 1080p must not be refused, or nothing is gained; with no thread idle, nothing is banded.
TEST(BandedConversion, bandsGiveTheWholeConversionsBytesOrAreRefused) {
    struct Size {
        int width;
        int height;
    };
    const AVPixelFormat formats[] = {
        AV_PIX_FMT_YUV420P, AV_PIX_FMT_YUVJ420P, AV_PIX_FMT_YUV422P10LE, AV_PIX_FMT_YUV444P,
        AV_PIX_FMT_NV12,    AV_PIX_FMT_RGB24,    AV_PIX_FMT_PAL8,        AV_PIX_FMT_GRAY8};
    const Size sizes[] = {{3840, 2160}, {1920, 1080}, {1998, 1082}, {1280, 723}, {96, 35}};
    for (const AVPixelFormat format : formats) {
        for (const Size size : sizes) {
            // UHD for the common kind only: the others take long and band as at 1080p.
            if (size.width == 3840 && format != AV_PIX_FMT_YUV420P) {
                continue;
            }
            for (const AVPixelFormat target : {AV_PIX_FMT_RGBA, AV_PIX_FMT_RGB24}) {
                for (const int idle : {0, 1, 2}) {
                    // No idle thread, or three bands, for the commonest kinds only: the suite
                    // runs under the sanitizers too.
                    if (idle != 1 && format != AV_PIX_FMT_YUV420P &&
                        format != AV_PIX_FMT_YUV422P10LE) {
                        continue;
                    }
                    const std::string what =
                        std::string(av_get_pix_fmt_name(format)) + " " +
                        std::to_string(size.width) + "x" + std::to_string(size.height) + " to " +
                        av_get_pix_fmt_name(target) + ", " + std::to_string(idle + 1) + " bands";
                    video::FramePtr like(av_frame_alloc());
                    like->format = format;
                    like->width = size.width;
                    like->height = size.height;
                    like->colorspace = AVCOL_SPC_BT709;
                    like->color_range = AVCOL_RANGE_MPEG;
                    // Another picture than the scaler's own trial: a noise picture of a
                    // different size, cropped.
                    like->width = size.width + 2;
                    const video::FramePtr wider = video::noisePictureLike(*like);
                    ASSERT_TRUE(wider) << what;
                    wider->width = size.width;
                    // As the cache uses them: RGBA rows packed, RGB24 rows padded as in the
                    // tool's filter frames.
                    const int linesize =
                        target == AV_PIX_FMT_RGBA ? size.width * 4 : paddedRgbLinesize(size.width);
                    const std::vector<uint8_t> expected = wholeConversion(*wider, target, linesize);
                    ASSERT_FALSE(expected.empty()) << what;

                    video::BandedScaler banded(size.width, size.height, target);
                    FreshThreads threads(idle);
                    std::vector<uint8_t> out(expected.size() + 64, 0xA5);
                    const bool inBands = banded.scale(*wider, out.data(), linesize, threads);
                    if (format == AV_PIX_FMT_PAL8 || size.height < 32 || idle == 0) {
                        EXPECT_FALSE(inBands) << what;
                    }
                    if (format == AV_PIX_FMT_YUV420P && size.width % 16 == 0 &&
                        size.height % 2 == 0 && idle > 0) {
                        EXPECT_TRUE(inBands) << what;
                    }
                    if (!inBands) {
                        continue;
                    }
                    EXPECT_EQ(banded.lastBands(), idle + 1) << what;
                    EXPECT_EQ(std::vector<uint8_t>(out.begin() + expected.size(), out.end()),
                              std::vector<uint8_t>(64, 0xA5))
                        << what << ": written past the picture";
                    const int rowBytes = size.width * (target == AV_PIX_FMT_RGBA ? 4 : 3);
                    EXPECT_TRUE(pixelsOf(out, rowBytes, linesize, size.height) ==
                                pixelsOf(expected, rowBytes, linesize, size.height))
                        << what;
                }
            }
        }
    }
}

struct Clip {
    const char* name;
    const char* encoding;
};

std::ostream& operator<<(std::ostream& out, const Clip& clip) {
    return out << clip.name;
}

class BandedClips : public testing::TestWithParam<Clip> {};

// Whole clips decoded as the cache decodes them, the pictures' conversion shared with the idle
// threads of a real decoding pool: every frame is the tool's, at UHD and at sizes whose chroma
// has an odd number of columns or rows, straight to RGBA or through RGB24 (the other kinds of
// picture band alike, which the table above checks).
TEST_P(BandedClips, everyFrameIsTheToolsWhenConvertedInBands) {
    const Clip& clip = GetParam();
    const std::string path = decodetest::scratch().path() + "/" + clip.name;
    testsupport::makeMedia(clip.encoding, path);
    const testsupport::ReferenceVideo reference = testsupport::referenceDecode(path);
    ASSERT_FALSE(reference.frames.empty());

    video::VideoSource source;
    ASSERT_TRUE(source.open(path));
    video::DecodingPool pool(2);
    pool.wake();
    // Both threads wait for work before the first picture (a generous limit, not a timing).
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (pool.idleThreads() < 2 && std::chrono::steady_clock::now() < limit) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    video::BlockDecoder decoder(source);
    decoder.shareConversionsWith(&pool);
    decodetest::CachedFrames frames(reference.frames.size());
    const int blocks = source.blockCount();
    ASSERT_GT(blocks, 0);
    decoder.decodeBlocks(
        0, blocks - 1, [&](int block, int slot, const video::CachePicture& picture) {
            const size_t frame = static_cast<size_t>(source.blockStarts()[block] + slot);
            ASSERT_LT(frame, frames.size());
            frames[frame] = decodetest::cacheImageOf(picture, 1);
        });
    EXPECT_EQ(decodetest::wrongFrames(frames, decodetest::expectedFrames(reference, 1)), "");
    EXPECT_GT(decoder.picturesInBands(), 0);
    pool.shutdown();
}

INSTANTIATE_TEST_SUITE_P(
    Large, BandedClips,
    testing::Values(
        Clip{"banded-uhd.mp4",
             "-f lavfi -i testsrc2=s=3840x2160:r=24 -frames:v 4 -c:v libx264 -preset ultrafast "
             "-pix_fmt yuv420p -g 2"},
        // 1279 × 721 chroma samples; the width is not a whole number of sixteens, so the picture
        // goes through RGB24.
        Clip{"banded-odd-chroma.mp4",
             "-f lavfi -i testsrc2=s=2558x1442:r=24 -frames:v 4 -c:v libx264 -preset ultrafast "
             "-pix_fmt yuv420p"},
        Clip{"banded-mjpeg.avi",
             "-f lavfi -i testsrc2=s=2560x1443:r=24 -frames:v 3 -c:v mjpeg -q:v 3"}),
    [](const testing::TestParamInfo<Clip>& info) {
        std::string name;
        // The name less "banded-" and the extension.
        for (const char* c = info.param.name + 7; *c && *c != '.'; ++c) {
            name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
        }
        return name;
    });

}  // namespace
