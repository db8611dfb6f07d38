#include "picture/BandedScaler.h"

#include "picture/FrameMemory.h"
#include "picture/NoisePicture.h"
#include "picture/TrialOutcomes.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace video {
namespace {

// Band edges fall on whole rows of every plane of every subsampled format (chroma is at most a
// quarter of the rows).
constexpr int kBandAlignment = 16;
constexpr unsigned char kGuardValue = 0xA5;
constexpr size_t kGuardBytes = 4096;

const AVPixFmtDescriptor* bandableFormat(const AVFrame& frame) {
    const AVPixFmtDescriptor* format =
        av_pix_fmt_desc_get(static_cast<AVPixelFormat>(frame.format));
    if (!format || format->log2_chroma_h > 2 ||
        (format->flags &
         (AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_BITSTREAM | AV_PIX_FMT_FLAG_HWACCEL))) {
        return nullptr;
    }
    return format;
}

// The first row of each band and, last, the picture's height; empty when a band would be empty.
std::vector<int> bandEdges(int height, int bands) {
    std::vector<int> edges;
    for (int band = 0; band < bands; ++band) {
        const int first = static_cast<int>(static_cast<long long>(height) * band / bands) /
                          kBandAlignment * kBandAlignment;
        if (!edges.empty() && first <= edges.back()) {
            return {};
        }
        edges.push_back(first);
    }
    edges.push_back(height);
    return edges.back() > edges[edges.size() - 2] ? edges : std::vector<int>{};
}

// Points `band` at rows [first, first + rows) of `frame`, without owning them.
void viewRows(const AVFrame& frame, const AVPixFmtDescriptor& format, int first, int rows,
              AVFrame& band) {
    band.format = frame.format;
    band.width = frame.width;
    band.height = rows;
    band.colorspace = frame.colorspace;
    band.color_range = frame.color_range;
    for (int plane = 0; plane < AV_NUM_DATA_POINTERS; ++plane) {
        band.linesize[plane] = frame.linesize[plane];
        band.data[plane] = nullptr;
        if (plane >= 4 || !frame.data[plane]) {
            continue;
        }
        const bool chroma = plane != format.comp[0].plane &&
                            (plane == format.comp[1].plane || plane == format.comp[2].plane);
        const int planeRow = chroma ? first >> format.log2_chroma_h : first;
        band.data[plane] =
            frame.data[plane] + static_cast<ptrdiff_t>(planeRow) * frame.linesize[plane];
    }
}

struct FreeDeleter {
    void operator()(uint8_t* buffer) const { std::free(buffer); }
};
using MallocBuffer = std::unique_ptr<uint8_t, FreeDeleter>;

bool allGuard(const uint8_t* from, const uint8_t* to) {
    static const std::vector<uint8_t> guard(kGuardBytes, kGuardValue);
    while (from < to) {
        const size_t bytes = std::min(kGuardBytes, static_cast<size_t>(to - from));
        if (std::memcmp(from, guard.data(), bytes) != 0) {
            return false;
        }
        from += bytes;
    }
    return true;
}

// Whether converting frames like `like` in `bands` bands gives the very bytes of the whole
// conversion, no band writing outside its rows; the bands converted one after the other, checked
// as each is done.
bool bandingMatches(const AVFrame& like, AVPixelFormat target, int bands, int linesize) {
    const FramePtr noise = noisePictureLike(like);
    if (!noise) {
        return false;
    }
    const size_t bytes = static_cast<size_t>(linesize) * static_cast<size_t>(like.height);
    // Memory as the cache's (fresh memory laid out otherwise costs many times the conversions),
    // with room past the end: some scalers write past the picture (see straightRgbaMatches),
    // which rules banding out for the kind.
    const MallocBuffer whole(allocateFrameBuffer(bytes + kGuardBytes));
    const MallocBuffer banded(allocateFrameBuffer(bytes + kGuardBytes));
    ToolScaler wholeScaler(like.width, like.height, target);
    if (!whole || !banded) {
        return false;
    }
    std::memset(whole.get(), kGuardValue, bytes + kGuardBytes);
    if (!wholeScaler.prepare(*noise) || !wholeScaler.scale(*noise, whole.get(), linesize) ||
        !allGuard(whole.get() + bytes, whole.get() + bytes + kGuardBytes)) {
        return false;
    }
    std::memset(banded.get(), kGuardValue, bytes + kGuardBytes);
    BandedScaler scaler(like.width, like.height, target);
    const std::vector<int> edges = bandEdges(like.height, bands);
    if (edges.empty() || !scaler.setUp(*noise, edges)) {
        return false;
    }
    for (int band = 0; band < bands; ++band) {
        if (!scaler.convertBand(*noise, band, banded.get(), linesize)) {
            return false;
        }
        const size_t end = static_cast<size_t>(edges[band + 1]) * static_cast<size_t>(linesize);
        if (std::memcmp(whole.get(), banded.get(), end) != 0 ||
            !allGuard(banded.get() + end, banded.get() + bytes + kGuardBytes)) {
            return false;
        }
    }
    return true;
}

// bandingMatches, tried once per kind of picture in the process.
bool bandingMatchesOnce(const AVFrame& like, AVPixelFormat target, int bands, int linesize) {
    static TrialOutcomes<8> outcomes;
    return outcomes.of({like.format, like.width, like.height, like.colorspace, like.color_range,
                        target, bands, linesize},
                       [&] { return bandingMatches(like, target, bands, linesize); });
}

}  // namespace

BandedScaler::BandedScaler(int width, int height, AVPixelFormat target)
    : width_(width), height_(height), target_(target) {}

bool BandedScaler::scale(const AVFrame& frame, uint8_t* target, int linesize,
                         SpareThreads& threads) {
    const int bands = std::min(threads.idleThreads() + 1, kMaxBands);
    if (bands < 2 || frame.width != width_ || frame.height != height_ ||
        !bandingMatchesOnce(frame, target_, bands, linesize)) {
        return false;
    }
    const std::vector<int> edges = bandEdges(frame.height, bands);
    if (edges.empty() || !setUp(frame, edges)) {
        return false;
    }
    std::vector<char> done(static_cast<size_t>(bands), 0);
    std::vector<std::function<void()>> tasks;
    for (int band = 0; band < bands; ++band) {
        tasks.emplace_back([this, &frame, &done, band, target, linesize] {
            done[static_cast<size_t>(band)] = convertBand(frame, band, target, linesize);
        });
    }
    threads.runTogether(tasks);
    lastBands_ = bands;
    return std::find(done.begin(), done.end(), 0) == done.end();
}

bool BandedScaler::setUp(const AVFrame& frame, const std::vector<int>& edges) {
    format_ = bandableFormat(frame);
    if (!format_) {
        return false;
    }
    if (edges == edges_) {
        return true;
    }
    edges_.clear();
    bands_.clear();
    for (size_t band = 0; band + 1 < edges.size(); ++band) {
        Band made{std::make_unique<ToolScaler>(width_, edges[band + 1] - edges[band], target_),
                  FramePtr(av_frame_alloc())};
        if (!made.view) {
            bands_.clear();
            return false;
        }
        bands_.push_back(std::move(made));
    }
    edges_ = edges;
    return true;
}

bool BandedScaler::convertBand(const AVFrame& frame, int band, uint8_t* target, int linesize) {
    Band& chosen = bands_[static_cast<size_t>(band)];
    const int first = edges_[static_cast<size_t>(band)];
    viewRows(frame, *format_, first, edges_[static_cast<size_t>(band) + 1] - first, *chosen.view);
    return chosen.scaler->prepare(*chosen.view) &&
           chosen.scaler->scale(*chosen.view, target + static_cast<ptrdiff_t>(first) * linesize,
                                linesize);
}

}  // namespace video
