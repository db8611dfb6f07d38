#pragma once

#include "picture/BandedScaler.h"
#include "picture/FfmpegPointers.h"
#include "picture/HalfCacheImage.h"
#include "picture/Orientation.h"
#include "picture/RgbConverter.h"
#include "picture/RgbaImage.h"
#include "picture/SpareThreads.h"
#include "picture/ToolScaler.h"

#include <cstddef>
#include <memory>

namespace video {

// Writes the decoded frames of one video into cache images: RGBA, upright, at 1/divisor of the
// upright size, opaque, 8 bits or half float a channel. At Full, in 8 bits, for pictures stored
// upright, the scaler writes RGBA straight into the image when that gives the very bytes of the
// RGB24 conversion (see straightRgbaMatches); otherwise the frame is converted to RGB24 and reduced
// by point sampling (see fillCacheImage). Half-float images come from 16-bit RGB the same way (see
// fillHalfCacheImage). The converters are kept from frame to frame.
class CacheImageWriter {
public:
    // The size the frames are stored at and the turn that shows them upright.
    CacheImageWriter(int width, int height, const Orientation& turn);

    bool isFor(int width, int height, const Orientation& turn) const;
    int uprightWidth() const { return turn_.uprightWidth(width_, height_); }
    int uprightHeight() const { return turn_.uprightHeight(width_, height_); }
    // Bytes of one cache image at 1/divisor (see cacheImageBytes; twice that for half float).
    size_t imageBytes(int divisor, decode::TexelFormat format = decode::TexelFormat::kRgba8) const;
    // Writes the frame's cache image into `image`, which holds imageBytes(divisor, format)
    // bytes. False when the frame cannot be converted or the divisor is not 1, 2 or 4.
    bool write(const AVFrame& frame, int divisor, unsigned char* image,
               decode::TexelFormat format = decode::TexelFormat::kRgba8);
    // Whether the last frame written at Full went straight to RGBA.
    bool wroteStraight() const { return wroteStraight_; }
    // Large pictures are converted in bands, shared with the threads that are idle at the time
    // (see BandedScaler); null converts every picture on the calling thread alone.
    void shareWith(SpareThreads* threads) { spare_ = threads; }
    // How many frames were converted in bands so far.
    long writesInBands() const { return writesInBands_; }

private:
    bool writeStraight(const AVFrame& frame, unsigned char* image);
    bool toRgb(const AVFrame& frame, RgbPicture& picture);
    bool writeHalf(const AVFrame& frame, int divisor, unsigned char* image);
    bool toDeepRgb(const AVFrame& frame, DeepRgbPicture& picture);

    int width_;
    int height_;
    Orientation turn_;
    // Made on first use: RGB24 of pictures as stored, of pictures turned before conversion, and
    // RGBA straight.
    std::unique_ptr<RgbConverter> storedConverter_;
    std::unique_ptr<RgbConverter> uprightConverter_;
    FramePtr upright_;
    std::unique_ptr<ToolScaler> straightScaler_;
    // Made on first use: 16-bit RGB of pictures as stored, and of pictures turned before
    // conversion.
    std::unique_ptr<DeepRgbConverter> storedDeepConverter_;
    std::unique_ptr<DeepRgbConverter> uprightDeepConverter_;
    // The kind of frame the straight conversion was last tried on, and the outcome.
    struct StraightTrial {
        int format = -1;
        int width = 0;
        int height = 0;
        int colorspace = -1;
        int range = -1;
        bool matches = false;
    };
    StraightTrial trial_;
    bool wroteStraight_ = false;
    SpareThreads* spare_ = nullptr;
    // Made on first use: the straight conversion in bands.
    std::unique_ptr<BandedScaler> bandedStraight_;
    long writesInBands_ = 0;
};

// A decoded picture on its way into the cache, valid only while it is handed over.
class CachePicture {
public:
    CachePicture(CacheImageWriter& writer, const AVFrame& frame) : writer_(writer), frame_(frame) {}

    int width() const { return writer_.uprightWidth(); }
    int height() const { return writer_.uprightHeight(); }
    size_t imageBytes(int divisor, decode::TexelFormat format = decode::TexelFormat::kRgba8) const {
        return writer_.imageBytes(divisor, format);
    }
    bool writeImage(int divisor, unsigned char* image,
                    decode::TexelFormat format = decode::TexelFormat::kRgba8) const {
        return writer_.write(frame_, divisor, image, format);
    }

private:
    CacheImageWriter& writer_;
    const AVFrame& frame_;
};

}  // namespace video
