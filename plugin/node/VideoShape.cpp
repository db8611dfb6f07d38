#include "decode/LocalMediaInput.h"
#include "node/FrameShape.h"
#include "picture/Orientation.h"

#include <climits>

namespace {

// Enough for every container whose header lacks the picture size (MPEG transport streams) to
// show it in its first packets; containers that have it in their header read no further.
constexpr int64_t kProbeBytes = 2 * 1024 * 1024;
constexpr int64_t kProbeMicroseconds = 500 * 1000;

const AVStream* firstVideoStream(const AVFormatContext& input) {
    for (unsigned i = 0; i < input.nb_streams; ++i) {
        const AVStream* stream = input.streams[i];
        if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
            !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
            return stream;
        }
    }
    return nullptr;
}

}  // namespace

std::optional<FrameShape> readVideoShape(const std::string& path) {
    video::LocalMediaPtr input = video::openLocalMedia(path);
    if (!input) {
        return std::nullopt;
    }
    input->probesize = kProbeBytes;
    input->max_analyze_duration = kProbeMicroseconds;
    avformat_find_stream_info(input.get(), nullptr);
    const AVStream* stream = firstVideoStream(*input);
    if (!stream || stream->codecpar->width <= 0 || stream->codecpar->height <= 0) {
        return std::nullopt;
    }
    const video::Orientation turn = video::streamOrientation(*stream);
    const int width = stream->codecpar->width;
    const int height = stream->codecpar->height;
    FrameShape shape;
    shape.width = turn.uprightWidth(width, height);
    shape.height = turn.uprightHeight(width, height);
    // The container's value where it has one, else the codec's, as the video cache reads it.
    AVRational aspect =
        av_guess_sample_aspect_ratio(input.get(), const_cast<AVStream*>(stream), nullptr);
    if (aspect.num > 0 && aspect.den > 0) {
        av_reduce(&aspect.num, &aspect.den, aspect.num, aspect.den, INT_MAX);
        // A quarter turn stands each pixel on its side.
        if (turn.swapsAxes()) {
            aspect = av_inv_q(aspect);
        }
        shape.pixelAspectNum = aspect.num;
        shape.pixelAspectDen = aspect.den;
    }
    return shape;
}
