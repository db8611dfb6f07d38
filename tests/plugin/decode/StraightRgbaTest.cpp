#include "picture/CacheImage.h"
#include "picture/CacheImageWriter.h"
#include "picture/FfmpegPointers.h"
#include "picture/RgbConverter.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

// A picture with random samples within the format's depth (another picture than the writer's own
// trial), colour details as a BT.709 limited-range file declares them.
video::FramePtr randomPicture(AVPixelFormat format, int width, int height, std::mt19937& random) {
    video::FramePtr frame(av_frame_alloc());
    frame->format = format;
    frame->width = width;
    frame->height = height;
    frame->colorspace = AVCOL_SPC_BT709;
    frame->color_range = AVCOL_RANGE_MPEG;
    if (av_frame_get_buffer(frame.get(), 0) < 0) {
        return nullptr;
    }
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(format);
    const int depth = descriptor->comp[0].depth;
    for (int plane = 0; plane < 4 && frame->data[plane]; ++plane) {
        const bool palette = (descriptor->flags & AV_PIX_FMT_FLAG_PAL) && plane == 1;
        const int rows = palette ? 1
                         : plane == 1 || plane == 2
                             ? AV_CEIL_RSHIFT(height, descriptor->log2_chroma_h)
                             : height;
        const int bytes = palette ? AVPALETTE_SIZE : frame->linesize[plane];
        for (int y = 0; y < rows; ++y) {
            uint8_t* row = frame->data[plane] + y * frame->linesize[plane];
            for (int x = 0; x < bytes; ++x) {
                row[x] = static_cast<uint8_t>(random());
                if (depth > 8 && x % 2 == 1) {
                    row[x] &= static_cast<uint8_t>((1 << (depth - 8)) - 1);
                }
            }
        }
    }
    return frame;
}

// The cache image as it was always made: RGB24, then opaque alpha added.
std::vector<uint8_t> throughRgb(const AVFrame& frame) {
    video::RgbConverter converter(frame.width, frame.height);
    video::RgbPicture picture;
    if (!converter.convert(frame, picture)) {
        return {};
    }
    std::vector<uint8_t> image(video::cacheImageBytes(frame.width, frame.height, 1));
    video::fillCacheImage(picture, 1, image.data());
    return image;
}

// Straight RGBA gives the same bytes, and writes nothing past the picture, at every width and
// for every format; the formats and widths where it is known to do so here go straight. Those
// are 4:4:4, 10-bit 4:2:2, NV12 and RGB24 at every width, and 8-bit 4:2:0 (JPEG range too) at
// widths that are a multiple of 16: at other widths the scaler rounds the last columns otherwise
// or writes past the end. A palette carries its own alpha, so paletted pictures never do.
TEST(StraightRgba, givesTheBytesOfTheRgbConversionAtEveryWidth) {
    constexpr size_t kGuard = 64;
    struct Kind {
        AVPixelFormat format;
        bool straightAtEveryWidth;
        bool straightAtWholeSixteens;
    };
    const Kind kinds[] = {
        {AV_PIX_FMT_YUV420P, false, true},    {AV_PIX_FMT_YUVJ420P, false, true},
        {AV_PIX_FMT_YUV422P10LE, true, true}, {AV_PIX_FMT_YUV444P, true, true},
        {AV_PIX_FMT_NV12, true, true},        {AV_PIX_FMT_RGB24, true, true},
        {AV_PIX_FMT_PAL8, false, false},
    };
    std::vector<int> widths;
    for (int width = 16; width <= 80; ++width) {
        widths.push_back(width);
    }
    widths.insert(widths.end(), {1280, 1366, 1920, 1921});
    std::mt19937 random(11);
    for (const Kind& kind : kinds) {
        for (int width : widths) {
            for (int height : {12, 9}) {
                const video::FramePtr frame = randomPicture(kind.format, width, height, random);
                ASSERT_TRUE(frame);
                const std::string what = std::string(av_get_pix_fmt_name(kind.format)) + " " +
                                         std::to_string(width) + "x" + std::to_string(height);
                video::CacheImageWriter writer(width, height, video::Orientation{});
                const size_t bytes = writer.imageBytes(1);
                std::vector<uint8_t> image(bytes + kGuard, 0xA5);
                ASSERT_TRUE(writer.write(*frame, 1, image.data())) << what;
                EXPECT_EQ(std::vector<uint8_t>(image.begin() + bytes, image.end()),
                          std::vector<uint8_t>(kGuard, 0xA5))
                    << what << ": written past the picture";
                image.resize(bytes);
                EXPECT_EQ(image, throughRgb(*frame)) << what;
                if (kind.straightAtEveryWidth ||
                    (kind.straightAtWholeSixteens && width % 16 == 0)) {
                    EXPECT_TRUE(writer.wroteStraight()) << what;
                }
                if (kind.format == AV_PIX_FMT_PAL8) {
                    EXPECT_FALSE(writer.wroteStraight()) << what;
                }
            }
        }
    }
}

// The trial is made once per kind of picture for the whole process: writers of the same kind on
// several threads at once (the decoders of one intra-only file), and writers made later, all give
// the bytes of the RGB24 conversion, and go straight where the first one did.
TEST(StraightRgba, writersOfOneKindOnSeveralThreadsShareTheTrial) {
    constexpr int kThreads = 3;
    for (AVPixelFormat format : {AV_PIX_FMT_YUVJ422P, AV_PIX_FMT_YUV420P}) {
        for (int width : {1920, 1366}) {
            std::mt19937 random(static_cast<unsigned>(width + format));
            std::vector<video::FramePtr> frames;
            for (int i = 0; i < kThreads * 2; ++i) {
                frames.push_back(randomPicture(format, width, 16, random));
                ASSERT_TRUE(frames.back());
            }
            const std::string what =
                std::string(av_get_pix_fmt_name(format)) + " " + std::to_string(width);
            std::vector<std::vector<uint8_t>> images(frames.size());
            std::vector<int> straight(frames.size(), -1);
            auto writeFrom = [&](size_t first) {
                for (size_t i = first; i < frames.size(); i += kThreads) {
                    video::CacheImageWriter writer(width, 16, video::Orientation{});
                    images[i].resize(writer.imageBytes(1));
                    if (writer.write(*frames[i], 1, images[i].data())) {
                        straight[i] = writer.wroteStraight() ? 1 : 0;
                    }
                }
            };
            std::vector<std::thread> threads;
            for (int thread = 0; thread < kThreads; ++thread) {
                threads.emplace_back(writeFrom, static_cast<size_t>(thread));
            }
            for (std::thread& thread : threads) {
                thread.join();
            }
            for (size_t i = 0; i < frames.size(); ++i) {
                EXPECT_EQ(images[i], throughRgb(*frames[i])) << what << " picture " << i;
                EXPECT_EQ(straight[i], straight[0]) << what << " picture " << i;
            }
            EXPECT_NE(straight[0], -1) << what;
        }
    }
}

}  // namespace
