#pragma once

#include "picture/SpareThreads.h"
#include "picture/ToolScaler.h"

#include "picture/FfmpegPointers.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <memory>
#include <vector>

namespace video {

// Converts frames as one ToolScaler of the same size and target format does, in horizontal bands
// of rows, each by a scaler of its own, side by side on the calling thread and on idle threads: a
// large picture then costs its receiving thread a fraction of the time. Bands start on whole
// chroma rows, and banding is only used for a kind of picture (format, size, colour details,
// target layout, band count) once a trial on a noise picture of that kind has given the very bytes
// of the whole conversion without writing outside each band's rows (rounding at band edges,
// dithering or a filter reaching across rows would show there).
class BandedScaler {
public:
    BandedScaler(int width, int height, AVPixelFormat target);

    // Converts the frame into `target`, rows `linesize` bytes apart, in as many bands as there are
    // idle threads and the calling one (kMaxBands at most). False, having written nothing or part
    // of the picture, when no thread is idle or the frame cannot be banded to the same bytes: the
    // caller then converts it whole.
    bool scale(const AVFrame& frame, uint8_t* target, int linesize, SpareThreads& threads);

    // The number of bands of the last picture `scale` converted.
    int lastBands() const { return lastBands_; }

    static constexpr int kMaxBands = 4;

    // For the trial: sets up a scaler and a view for each band between the edges (see scale).
    bool setUp(const AVFrame& frame, const std::vector<int>& edges);
    // Converts one band of a frame `setUp` was called for into its rows of `target`.
    bool convertBand(const AVFrame& frame, int band, uint8_t* target, int linesize);

private:
    struct Band {
        std::unique_ptr<ToolScaler> scaler;
        // The band's rows of the frame being converted, pointing into it.
        FramePtr view;
    };

    int width_;
    int height_;
    AVPixelFormat target_;
    const AVPixFmtDescriptor* format_ = nullptr;
    std::vector<int> edges_;
    std::vector<Band> bands_;
    int lastBands_ = 0;
};

}  // namespace video
