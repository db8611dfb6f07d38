#include "cache/DecoderFootprint.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/imgutils.h>
}

#include <algorithm>

namespace video {

size_t decoderFootprint(const AVCodecContext* decoder, bool turned, bool keptAsHalf) {
    if (!decoder) {
        return 0;
    }
    const int width = std::max(decoder->coded_width, decoder->width);
    const int height = std::max(decoder->coded_height, decoder->height);
    if (width <= 0 || height <= 0) {
        return 0;
    }
    const int sized = av_image_get_buffer_size(decoder->pix_fmt, width, height, 32);
    // An unknown format is counted as four bytes a pixel, more than any common one takes.
    const size_t picture = sized > 0 ? static_cast<size_t>(sized)
                                     : static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    const size_t perThread = static_cast<size_t>(std::max(decoder->refs, 1)) +
                             static_cast<size_t>(std::max(decoder->has_b_frames, 0)) + 2;
    const size_t pictures = perThread * static_cast<size_t>(std::max(decoder->thread_count, 1));
    const size_t rgb =
        static_cast<size_t>(width) * static_cast<size_t>(height) * (keptAsHalf ? 6 : 3);
    return pictures * picture + rgb * (turned ? 2 : 1);
}

}  // namespace video
