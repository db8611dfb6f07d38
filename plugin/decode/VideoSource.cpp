#include "decode/VideoSource.h"

#include "decode/FfmpegLog.h"
#include "decode/IndexedPackets.h"
#include "decode/LocalMediaInput.h"
#include "decode/MediaContent.h"
#include "decode/PacketScan.h"
#include "decode/ScanOrder.h"
#include "decode/StreamDecoder.h"

#include <algorithm>
#include <climits>

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

// Other streams are not read at all.
void readOnly(AVFormatContext& input, int streamIndex) {
    for (unsigned i = 0; i < input.nb_streams; ++i) {
        if (static_cast<int>(i) != streamIndex) {
            input.streams[i]->discard = AVDISCARD_ALL;
        }
    }
}

// Blocks settled without a frame asked for come at least this many frames apart, and further
// apart as the file goes on, so that laying them out again costs little beside the reading.
constexpr int kShortestSettling = 48;

bool samePlans(const BlockLayout& settled, const BlockLayout& whole) {
    if (settled.plans.size() > whole.plans.size() ||
        !std::equal(settled.blockStarts.begin(), settled.blockStarts.end(),
                    whole.blockStarts.begin())) {
        return false;
    }
    for (size_t b = 0; b < settled.plans.size(); ++b) {
        if (settled.plans[b].anchor != whole.plans[b].anchor ||
            settled.plans[b].lastPacket != whole.plans[b].lastPacket) {
            return false;
        }
    }
    return true;
}

}  // namespace

VideoSource::VideoSource() = default;
VideoSource::~VideoSource() = default;

bool VideoSource::open(const std::string& path, Listing listing, const std::atomic<bool>* abandon) {
    if (!start(path, listing, abandon)) {
        return false;
    }
    auto abandoned = [abandon] { return abandon && abandon->load(); };
    while (isOpen() && !listingComplete()) {
        if (abandoned()) {
            close();
            return false;
        }
        scanOn(abandoned);
    }
    return isOpen();
}

bool VideoSource::start(const std::string& path, Listing listing,
                        const std::atomic<bool>* abandon) {
    close();
    failure_.clear();
    const FfmpegErrorCapture errors;
    if (!openStream(path, listing, abandon) || (abandon && abandon->load())) {
        // The formats opened are listed to keep the others' demuxers out; that list says
        // nothing to the user.
        const std::string& error = errors.firstError();
        // An empty or non-media file is told as such, not by the error of the demuxer its
        // extension chose.
        const std::string content = input_ ? std::string() : mediaContentProblem(path);
        if (!content.empty()) {
            failure_ = content;
        } else if (!error.empty() && error.rfind("Format not on whitelist", 0) != 0) {
            failure_ += " (" + error + ")";
        }
        close();
        return false;
    }
    // Blocks are decoded from here on, and the scan read on a stretch at a time; their reads
    // are not abandoned.
    stopAbandoning(input_.get());
    return true;
}

bool VideoSource::openStream(const std::string& path, Listing listing,
                             const std::atomic<bool>* abandon) {
    ++generation_;
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
    decoder_ = openStreamDecoder(stream);
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
    // Time stamps are taken as the file stores them: the ones libavformat makes up where they
    // are missing (AVI with B-frames) follow decoding order, so such files are ordered by
    // decoding instead.
    readOnly(*input_, streamIndex_);

    // Where the container's index gives the order, the file's data is not read to open it.
    listedFromIndex_ = listing == Listing::indexWhereComplete &&
                       listPacketsFromIndex(*input_, streamIndex_, packets_) &&
                       orderByTimestamps(packets_, order_);
    framesDeclared_ = samplesListedPastEnd(*input_, streamIndex_);
    if (!listedFromIndex_) {
        if (!startScan(path, abandon)) {
            return false;
        }
        failure_.clear();
        return true;
    }
    layout_ = layOutBlocks(packets_, order_);
    failure_.clear();
    return true;
}

// The scan reads an input of its own, opened and set up as the one blocks are decoded from, so
// that it lists the very packets block decoding reads.
bool VideoSource::startScan(const std::string& path, const std::atomic<bool>* abandon) {
    packets_.clear();
    order_ = PresentationOrder{};
    layout_ = BlockLayout{{0}, {}};
    LocalMediaPtr scanned = openLocalMedia(path, abandon);
    if (!scanned) {
        return false;
    }
    avformat_find_stream_info(scanned.get(), nullptr);
    if (scanned->nb_streams != input_->nb_streams || firstVideoStream(*scanned) != streamIndex_) {
        return false;
    }
    readOnly(*scanned, streamIndex_);
    stopAbandoning(scanned.get());
    const AVStream* stream = input_->streams[streamIndex_];
    scanOrder_ = std::make_unique<ScanOrder>([stream] { return openStreamDecoder(*stream); });
    scan_ = std::make_unique<PacketScan>(std::move(scanned), streamIndex_);
    nextSettling_ = 0;
    return true;
}

ScanProgress VideoSource::scanOn(const std::function<bool()>& pause, int wantedFrame) {
    if (!scan_) {
        return ScanProgress::nothingNew;
    }
    while (!pause()) {
        if (!scan_->readNext(packets_)) {
            return finishScan();
        }
        scanOrder_->add(packets_, scan_->packet());
        noteSeekPoint(scan_->packet());
        if (settle(wantedFrame)) {
            return ScanProgress::moreBlocks;
        }
    }
    return ScanProgress::nothingNew;
}

// Formats without an index of their own are sought through the keyframes their demuxer has read
// so far; the scan reads them on its own input, so the one blocks are decoded from is told of
// them as it would have noted them itself.
void VideoSource::noteSeekPoint(const AVPacket& packet) {
    if ((input_->iformat->flags & AVFMT_GENERIC_INDEX) && (packet.flags & AV_PKT_FLAG_KEY)) {
        av_add_index_entry(input_->streams[streamIndex_], packet.pos, packet.dts, 0, 0,
                           AVINDEX_KEYFRAME);
    }
}

// Lays out the blocks the numbered frames settle, when that brings more of them and is due.
bool VideoSource::settle(int wantedFrame) {
    const int numbered = scanOrder_->numbered();
    const std::vector<int>& keys = scanOrder_->keyFrames();
    // The last keyframe that can end a settled block.
    auto after = std::upper_bound(keys.begin(), keys.end(), numbered - 2);
    if (after == keys.begin()) {
        return false;
    }
    const int settledEnd = *(after - 1);
    const int shownEnd = layout_.blockStarts.back();
    const bool due = layout_.plans.empty() || numbered >= nextSettling_ ||
                     (wantedFrame >= shownEnd && wantedFrame < settledEnd);
    if (settledEnd <= shownEnd || !due) {
        return false;
    }
    nextSettling_ = numbered + std::max(kShortestSettling, numbered / 8);
    BlockLayout layout = layOutSettledBlocks(packets_, scanOrder_->frameOfPacket(), numbered);
    if (layout.plans.size() <= layout_.plans.size()) {
        return false;
    }
    layout_ = std::move(layout);
    order_.ofPacket = scanOrder_->frameOfPacket();
    order_.frameCount = numbered;
    ++generation_;
    return true;
}

// The last packet is read: the blocks become final. Blocks settled before stay as they were
// unless the whole list orders their pictures otherwise.
ScanProgress VideoSource::finishScan() {
    // Ordering by decoding uses the decoder and the input blocks are decoded from.
    ++generation_;
    scanOrder_->finish(packets_);
    PresentationOrder whole;
    if (!scanOrder_->leftToWholeList()) {
        whole.ofPacket = scanOrder_->frameOfPacket();
        whole.frameCount = scanOrder_->numbered();
    } else if (!orderByTimestamps(packets_, whole) &&
               !orderByDecoding(input_.get(), decoder_.get(), streamIndex_, packets_, whole)) {
        close();
        return ScanProgress::renumbered;
    }
    bool kept = true;
    for (size_t i = 0; i < order_.ofPacket.size() && kept; ++i) {
        kept = order_.ofPacket[i] < 0 || order_.ofPacket[i] == whole.ofPacket[i];
    }
    BlockLayout layout = layOutBlocks(packets_, whole);
    kept = kept && samePlans(layout_, layout);
    scan_.reset();
    scanOrder_.reset();
    order_ = std::move(whole);
    layout_ = std::move(layout);
    return kept ? ScanProgress::moreBlocks : ScanProgress::renumbered;
}

void VideoSource::releaseDecoder() {
    ++generation_;
    decoder_.reset();
}

bool VideoSource::restoreDecoder() {
    if (decoder_ || !input_ || streamIndex_ < 0) {
        return decoder_ != nullptr;
    }
    ++generation_;
    decoder_ = openStreamDecoder(*input_->streams[streamIndex_]);
    if (decoder_ && (decoder_->width != width_ || decoder_->height != height_)) {
        decoder_.reset();
    }
    return decoder_ != nullptr;
}

void VideoSource::close() {
    ++generation_;
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
    framesDeclared_ = 0;
    order_ = PresentationOrder{};
    layout_ = BlockLayout{{0, 0}, {}};
    scan_.reset();
    scanOrder_.reset();
    nextSettling_ = 0;
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
