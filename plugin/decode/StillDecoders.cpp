#include "decode/StillDecoders.h"

extern "C" {
#include <libavutil/imgutils.h>
}

#include <cstring>
#include <iterator>
#include <utility>

namespace decode {
namespace {

bool sameRational(AVRational a, AVRational b) {
    return a.num == b.num && a.den == b.den;
}

// Whether a decoder opened for `a` reads a stream of `b` as one opened for `b` would.
bool sameParameters(const AVCodecParameters& a, const AVCodecParameters& b) {
    return a.codec_type == b.codec_type && a.codec_id == b.codec_id && a.codec_tag == b.codec_tag &&
           a.format == b.format && a.width == b.width && a.height == b.height &&
           a.bits_per_coded_sample == b.bits_per_coded_sample &&
           a.bits_per_raw_sample == b.bits_per_raw_sample && a.profile == b.profile &&
           a.level == b.level && sameRational(a.sample_aspect_ratio, b.sample_aspect_ratio) &&
           a.field_order == b.field_order && a.color_range == b.color_range &&
           a.color_primaries == b.color_primaries && a.color_trc == b.color_trc &&
           a.color_space == b.color_space && a.chroma_location == b.chroma_location &&
           a.extradata_size == b.extradata_size &&
           (a.extradata_size == 0 ||
            std::memcmp(a.extradata, b.extradata, static_cast<size_t>(a.extradata_size)) == 0);
}

}  // namespace

video::CodecContextPtr StillDecoders::take(const AVCodecParameters& parameters) {
    video::CodecContextPtr decoder;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        for (auto kept = kept_.rbegin(); kept != kept_.rend(); ++kept) {
            if (sameParameters(*kept->parameters, parameters)) {
                decoder = std::move(kept->decoder);
                kept_.erase(std::next(kept).base());
                break;
            }
        }
    }
    if (decoder) {
        avcodec_flush_buffers(decoder.get());
    }
    return decoder;
}

void StillDecoders::keep(video::CodecContextPtr decoder, const AVCodecParameters& parameters) {
    video::CodecParametersPtr copy(avcodec_parameters_alloc());
    if (!copy || avcodec_parameters_copy(copy.get(), &parameters) < 0) {
        return;
    }
    // Closed once the lock is let go of.
    std::vector<Kept> closed;
    const std::lock_guard<std::mutex> lock(mutex_);
    kept_.push_back(Kept{std::move(decoder), std::move(copy)});
    while (kept_.size() > most_) {
        closed.push_back(std::move(kept_.front()));
        kept_.erase(kept_.begin());
    }
}

void StillDecoders::clear() {
    std::vector<Kept> closed;
    const std::lock_guard<std::mutex> lock(mutex_);
    closed.swap(kept_);
}

size_t StillDecoders::bytes() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    size_t total = 0;
    for (const Kept& kept : kept_) {
        const int picture = av_image_get_buffer_size(kept.decoder->pix_fmt, kept.decoder->width,
                                                     kept.decoder->height, 1);
        total += picture > 0 ? 2 * static_cast<size_t>(picture) : 0;
    }
    return total;
}

}  // namespace decode
