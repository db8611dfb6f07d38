#include "decode/VideoSource.h"

#include "decode/DecoderThreads.h"
#include "decode/FfmpegLog.h"
#include "decode/IndexedPackets.h"
#include "decode/LocalMediaInput.h"
#include "decode/PacketScan.h"

#include <climits>
#include <cstdlib>

namespace video {
namespace {

int firstVideoStream(const AVFormatContext& input) {
    for (unsigned i = 0; i < input.nb_streams; ++i) {
        const AVStream* stream = input.streams[i];
        if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
            !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

CodecContextPtr openDecoder(const AVStream& stream) {
    const AVCodec* codec = avcodec_find_decoder(stream.codecpar->codec_id);
    if (!codec) {
        return nullptr;
    }
    CodecContextPtr context(avcodec_alloc_context3(codec));
    if (!context || avcodec_parameters_to_context(context.get(), stream.codecpar) < 0) {
        return nullptr;
    }
    context->pkt_timebase = stream.time_base;
    // Whole pictures decoded side by side, and slices of one picture where the codec has them.
    // Pictures still come out in order, each with the time stamp of its own packet.
    context->thread_count = decoderThreadCount(std::getenv("CINESHEET_DECODER_THREADS"));
    context->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    if (avcodec_open2(context.get(), codec, nullptr) < 0) {
        return nullptr;
    }
    return context;
}

}  // namespace

bool VideoSource::open(const std::string& path, Listing listing, const std::atomic<bool>* abandon) {
    close();
    failure_.clear();
    const FfmpegErrorCapture errors;
    if (!openStream(path, listing, abandon) || (abandon && abandon->load())) {
        // The formats opened are listed to keep the others' demuxers out; that list says
        // nothing to the user.
        const std::string& error = errors.firstError();
        if (!error.empty() && error.rfind("Format not on whitelist", 0) != 0) {
            failure_ += " (" + error + ")";
        }
        close();
        return false;
    }
    // Blocks are decoded from here on; their reads are not abandoned.
    stopAbandoning(input_.get());
    return true;
}

bool VideoSource::openStream(const std::string& path, Listing listing,
                             const std::atomic<bool>* abandon) {
    failure_ = "not a video or image FFmpeg can read";
    input_ = openLocalMedia(path, abandon);
    if (!input_) {
        return false;
    }
    avformat_find_stream_info(input_.get(), nullptr);
    streamIndex_ = firstVideoStream(*input_);
    if (streamIndex_ < 0) {
        failure_ = "has no video stream";
        return false;
    }
    const AVStream& stream = *input_->streams[streamIndex_];
    decoder_ = openDecoder(stream);
    if (!decoder_ || decoder_->width <= 0 || decoder_->height <= 0) {
        failure_ = "FFmpeg cannot decode its video";
        return false;
    }
    width_ = decoder_->width;
    height_ = decoder_->height;
    orientation_ = streamOrientation(stream);
    // The container's value where it has one, else the codec's, as the ffmpeg tool reads it.
    const AVRational sampleAspect =
        av_guess_sample_aspect_ratio(input_.get(), input_->streams[streamIndex_], nullptr);
    if (sampleAspect.num > 0 && sampleAspect.den > 0) {
        av_reduce(&sampleAspect_.num, &sampleAspect_.den, sampleAspect.num, sampleAspect.den,
                  INT_MAX);
    }
    if (stream.avg_frame_rate.num != 0 && stream.avg_frame_rate.den != 0) {
        averageFrameRate_ = av_q2d(stream.avg_frame_rate);
    }
    // Other streams are not read at all. Time stamps are taken as the file stores them: the
    // ones libavformat makes up where they are missing (AVI with B-frames) follow decoding order,
    // so such files are ordered by decoding instead.
    for (unsigned i = 0; i < input_->nb_streams; ++i) {
        if (static_cast<int>(i) != streamIndex_) {
            input_->streams[i]->discard = AVDISCARD_ALL;
        }
    }

    // Where the container's index gives the order, the file's data is not read to open it.
    listedFromIndex_ = listing == Listing::indexWhereComplete &&
                       listPacketsFromIndex(*input_, streamIndex_, packets_) &&
                       orderByTimestamps(packets_, order_);
    if (!listedFromIndex_) {
        packets_ = scanStreamPackets(input_.get(), streamIndex_);
        if (!orderByTimestamps(packets_, order_) &&
            !orderByDecoding(input_.get(), decoder_.get(), streamIndex_, packets_, order_)) {
            failure_ = "FFmpeg cannot put its frames in order";
            return false;
        }
    }
    layout_ = layOutBlocks(packets_, order_);
    failure_.clear();
    return true;
}

void VideoSource::close() {
    decoder_.reset();
    input_.reset();
    streamIndex_ = -1;
    width_ = 0;
    height_ = 0;
    orientation_ = Orientation{};
    sampleAspect_ = AVRational{1, 1};
    averageFrameRate_ = 0.0;
    packets_.clear();
    listedFromIndex_ = false;
    order_ = PresentationOrder{};
    layout_ = BlockLayout{{0, 0}, {}};
}

AVRational VideoSource::uprightPixelAspect() const {
    // A quarter turn stands each pixel on its side.
    return orientation_.swapsAxes() ? av_inv_q(sampleAspect_) : sampleAspect_;
}

int VideoSource::keyframeInterval() const {
    const std::vector<int>& starts = layout_.blockStarts;
    return starts.size() >= 2 ? starts[1] - starts[0] : 0;
}

}  // namespace video
