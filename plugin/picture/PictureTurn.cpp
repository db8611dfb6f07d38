#include "picture/PictureTurn.h"

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
}

#include <cstring>

namespace video {
namespace {

bool reuseOrAllocate(AVFrame& picture, int format, int width, int height) {
    if (picture.data[0] && picture.format == format && picture.width == width &&
        picture.height == height) {
        return true;
    }
    av_frame_unref(&picture);
    picture.format = format;
    picture.width = width;
    picture.height = height;
    return av_frame_get_buffer(&picture, 0) >= 0;
}

// One plane of `bytes`-byte pixels, stored width × height, into the upright plane.
void turnPlane(const uint8_t* stored, int storedPitch, int width, int height, int bytes,
               const Orientation& turn, uint8_t* upright, int uprightPitch) {
    visitUpright(uprightWalk(turn, width, height, bytes, storedPitch),
                 turn.uprightWidth(width, height), turn.uprightHeight(width, height),
                 turn.swapsAxes(), [&](int u, int v, ptrdiff_t offset) {
                     std::memcpy(upright + static_cast<ptrdiff_t>(v) * uprightPitch +
                                     static_cast<ptrdiff_t>(u) * bytes,
                                 stored + offset, static_cast<size_t>(bytes));
                 });
}

}  // namespace

bool turnsBeforeConversion(const AVFrame& frame) {
    const AVPixFmtDescriptor* format =
        av_pix_fmt_desc_get(static_cast<AVPixelFormat>(frame.format));
    // The formats the tool's transpose filter takes: the same subsampling across and down, one
    // whole number of bytes per pixel and plane.
    return format && format->comp[0].depth > 8 &&
           !(format->flags &
             (AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_HWACCEL | AV_PIX_FMT_FLAG_BITSTREAM)) &&
           format->log2_chroma_w == format->log2_chroma_h;
}

bool turnUpright(const AVFrame& frame, const Orientation& turn, AVFrame& upright) {
    const AVPixFmtDescriptor* format =
        av_pix_fmt_desc_get(static_cast<AVPixelFormat>(frame.format));
    if (!format ||
        !reuseOrAllocate(upright, frame.format, turn.uprightWidth(frame.width, frame.height),
                         turn.uprightHeight(frame.width, frame.height))) {
        return false;
    }
    int pixelBytes[4] = {};
    av_image_fill_max_pixsteps(pixelBytes, nullptr, format);
    const int planes = av_pix_fmt_count_planes(static_cast<AVPixelFormat>(frame.format));
    for (int plane = 0; plane < planes; ++plane) {
        // Planes 1 and 2 hold the subsampled chroma; 0 and 3 luma (or colour) and alpha.
        const int shift = plane == 1 || plane == 2 ? format->log2_chroma_w : 0;
        turnPlane(frame.data[plane], frame.linesize[plane], AV_CEIL_RSHIFT(frame.width, shift),
                  AV_CEIL_RSHIFT(frame.height, shift), pixelBytes[plane], turn, upright.data[plane],
                  upright.linesize[plane]);
    }
    upright.colorspace = frame.colorspace;
    upright.color_range = frame.color_range;
    return true;
}

}  // namespace video
