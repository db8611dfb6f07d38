#include "decode/SoundTrack.h"

#include "decode/LocalMediaInput.h"
#include "decode/PartFile.h"
#include "decode/SoundFileName.h"
#include "decode/WavFile.h"
#include "picture/FfmpegPointers.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cmath>
#include <vector>

namespace video {
namespace {

struct ResamplerFreer {
    void operator()(SwrContext* resampler) const { swr_free(&resampler); }
};
using ResamplerPtr = std::unique_ptr<SwrContext, ResamplerFreer>;

struct ChannelLayout {
    AVChannelLayout layout{};
    ChannelLayout() = default;
    ChannelLayout(const ChannelLayout&) = delete;
    ChannelLayout& operator=(const ChannelLayout&) = delete;
    ~ChannelLayout() { av_channel_layout_uninit(&layout); }
};

// Decoded sound converted to interleaved 16-bit samples at one rate and channel count. The
// converter follows the decoded frames: a stream that changes its format or layout midway
// goes on in the same WAV.
class SampleConverter {
public:
    SampleConverter(int sampleRate, int channels) : rate_(sampleRate) {
        av_channel_layout_default(&outLayout_.layout, channels);
    }

    // The frame's samples, or null on failure; `frames` receives their count.
    const int16_t* convert(const AVFrame& frame, int64_t& frames) {
        if (!follow(frame)) {
            return nullptr;
        }
        return run(const_cast<const uint8_t**>(frame.extended_data), frame.nb_samples, frames);
    }

    // What the converter still holds at the end (nothing when it never saw a frame).
    const int16_t* drain(int64_t& frames) {
        static const int16_t kNothing = 0;
        frames = 0;
        return resampler_ ? run(nullptr, 0, frames) : &kNothing;
    }

private:
    bool follow(const AVFrame& frame) {
        if (resampler_ && frame.format == format_ && frame.sample_rate == inRate_ &&
            av_channel_layout_compare(&frame.ch_layout, &inLayout_.layout) == 0) {
            return true;
        }
        av_channel_layout_uninit(&inLayout_.layout);
        if (frame.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
            av_channel_layout_default(&inLayout_.layout, frame.ch_layout.nb_channels);
        } else if (av_channel_layout_copy(&inLayout_.layout, &frame.ch_layout) < 0) {
            return false;
        }
        SwrContext* raw = nullptr;
        if (swr_alloc_set_opts2(&raw, &outLayout_.layout, AV_SAMPLE_FMT_S16, rate_,
                                &inLayout_.layout, static_cast<AVSampleFormat>(frame.format),
                                frame.sample_rate, 0, nullptr) < 0) {
            return false;
        }
        ResamplerPtr next(raw);
        if (swr_init(next.get()) < 0) {
            return false;
        }
        // What the former converter still holds is dropped with it: a few samples at most,
        // where the stream changes anyway.
        resampler_ = std::move(next);
        format_ = frame.format;
        inRate_ = frame.sample_rate;
        return true;
    }

    const int16_t* run(const uint8_t** in, int inFrames, int64_t& frames) {
        const int capacity = swr_get_out_samples(resampler_.get(), inFrames);
        if (capacity < 0) {
            return nullptr;
        }
        buffer_.resize(static_cast<size_t>(capacity + 1) * outLayout_.layout.nb_channels);
        uint8_t* out = reinterpret_cast<uint8_t*>(buffer_.data());
        const int converted = swr_convert(resampler_.get(), &out, capacity + 1, in, inFrames);
        if (converted < 0) {
            return nullptr;
        }
        frames = converted;
        return buffer_.data();
    }

    int rate_;
    ChannelLayout outLayout_;
    ChannelLayout inLayout_;
    int format_ = -1;
    int inRate_ = 0;
    ResamplerPtr resampler_;
    std::vector<int16_t> buffer_;
};

// The video stream the pictures are taken from (the first one that is not a cover picture),
// null for a file without one.
const AVStream* videoStream(const AVFormatContext& media) {
    for (unsigned int i = 0; i < media.nb_streams; ++i) {
        const AVStream* stream = media.streams[i];
        if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
            !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
            return stream;
        }
    }
    return nullptr;
}

// Writes the decoded samples so that sample 0 lies at the first picture's time. The first
// picture is the one with the earliest time stamp among those the container shows (a clip cut
// without re-encoding keeps pictures before the cut that its edit list hides, marked to be
// discarded; the decoder drops the sound the edit list hides and the encoder's priming itself),
// which may come after others in the file, so the sound is held back until the first few video
// packets have been seen. Sound that starts later than that in the file is placed when its first
// frame comes.
class AlignedWriter {
public:
    AlignedWriter(WavWriter& wav, SampleConverter& converter, int rate, AVRational soundTimeBase)
        : wav_(wav), converter_(converter), rate_(rate), soundTimeBase_(soundTimeBase) {}

    // A packet of the video stream, at `seconds` on the file's clock.
    bool noteVideoPacket(double seconds) {
        if (pictureKnown_) {
            return true;
        }
        firstPicture_ = videoPackets_ == 0 ? seconds : std::min(firstPicture_, seconds);
        pictureKnown_ = ++videoPackets_ >= kReorderReach;
        return !pictureKnown_ || soundStart_ == AV_NOPTS_VALUE || place();
    }

    bool add(const AVFrame& frame) {
        int64_t frames = 0;
        const int16_t* samples = converter_.convert(frame, frames);
        if (samples == nullptr) {
            return false;
        }
        if (soundStart_ == AV_NOPTS_VALUE && frame.best_effort_timestamp != AV_NOPTS_VALUE) {
            soundStart_ = frame.best_effort_timestamp;
        }
        if (placed_) {
            return put(samples, frames);
        }
        held_.insert(held_.end(), samples, samples + frames * wav_.channels());
        const size_t holdLimit = static_cast<size_t>(kHoldSeconds) * rate_ * wav_.channels();
        return ((!pictureKnown_ || soundStart_ == AV_NOPTS_VALUE) && held_.size() < holdLimit) ||
               place();
    }

    // Whether both the sound and the pictures had time stamps to place the sound by.
    bool aligned() const { return videoPackets_ > 0 && soundStart_ != AV_NOPTS_VALUE; }

    bool finish() {
        int64_t frames = 0;
        const int16_t* samples = converter_.drain(frames);
        return samples != nullptr && (placed_ || place()) && put(samples, frames);
    }

private:
    // Pictures come out of order by a few packets at most.
    static constexpr int kReorderReach = 16;
    // Sound is not held longer than this for pictures that are few or far apart in the file
    // (a clip whose video is one still picture).
    static constexpr int kHoldSeconds = 10;

    // Positive: silence before the sound; negative: sound before the first picture is left out.
    bool place() {
        placed_ = true;
        pictureKnown_ = true;
        if (videoPackets_ > 0 && soundStart_ != AV_NOPTS_VALUE) {
            const double sound = static_cast<double>(soundStart_) * av_q2d(soundTimeBase_);
            const auto lead = static_cast<int64_t>(std::llround((sound - firstPicture_) * rate_));
            if (lead > 0 && !wav_.writeSilence(lead)) {
                return false;
            }
            skip_ = lead < 0 ? -lead : 0;
        }
        std::vector<int16_t> held;
        held.swap(held_);
        return put(held.data(), static_cast<int64_t>(held.size()) / wav_.channels());
    }

    bool put(const int16_t* samples, int64_t frames) {
        const int64_t skipped = std::min(skip_, frames);
        skip_ -= skipped;
        return frames == skipped ||
               wav_.write(samples + skipped * wav_.channels(), frames - skipped);
    }

    WavWriter& wav_;
    SampleConverter& converter_;
    int rate_;
    AVRational soundTimeBase_;
    int videoPackets_ = 0;
    double firstPicture_ = 0.0;
    bool pictureKnown_ = false;
    int64_t soundStart_ = AV_NOPTS_VALUE;
    bool placed_ = false;
    std::vector<int16_t> held_;
    int64_t skip_ = 0;
};

// Sends the packet (null to drain) and writes every frame it gives back.
bool decodeInto(AVCodecContext& decoder, const AVPacket* packet, AVFrame& frame,
                AlignedWriter& writer) {
    const int sent = avcodec_send_packet(&decoder, packet);
    // A damaged packet costs its own sound only, as in any player.
    if (sent == AVERROR_INVALIDDATA) {
        return true;
    }
    if (sent < 0) {
        return false;
    }
    for (;;) {
        const int received = avcodec_receive_frame(&decoder, &frame);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) {
            return true;
        }
        if (received == AVERROR_INVALIDDATA) {
            continue;
        }
        if (received < 0) {
            return false;
        }
        const bool written = writer.add(frame);
        av_frame_unref(&frame);
        if (!written) {
            return false;
        }
    }
}

// Seconds from the first picture (the sound's start in a file without pictures) to the end of
// the sound, as the file tells before any decoding; 0 when it does not tell.
double expectedSeconds(const AVFormatContext& media, const AVStream& sound, const AVStream* video) {
    const auto seconds = [](int64_t stamp, AVRational base) {
        return static_cast<double>(stamp) * av_q2d(base);
    };
    double end = 0.0;
    if (sound.start_time != AV_NOPTS_VALUE && sound.duration > 0) {
        end = seconds(sound.start_time, sound.time_base) + seconds(sound.duration, sound.time_base);
    } else if (media.duration > 0) {
        end = seconds(media.start_time == AV_NOPTS_VALUE ? 0 : media.start_time, AV_TIME_BASE_Q) +
              seconds(media.duration, AV_TIME_BASE_Q);
    } else {
        return 0.0;
    }
    double start = end;
    if (video != nullptr && video->start_time != AV_NOPTS_VALUE) {
        start = seconds(video->start_time, video->time_base);
    } else if (sound.start_time != AV_NOPTS_VALUE) {
        start = seconds(sound.start_time, sound.time_base);
    }
    return std::max(0.0, end - start);
}

}  // namespace

SoundTrack extractSoundTrack(const std::string& clipPath, const std::string& wavPath,
                             SoundProgress* progress) {
    SoundTrack track;
    const auto cancelled = [&] { return progress != nullptr && progress->cancel.load(); };
    LocalMediaPtr media = openLocalMedia(clipPath, progress ? &progress->cancel : nullptr);
    if (!media || avformat_find_stream_info(media.get(), nullptr) < 0) {
        track.outcome = cancelled() ? SoundOutcome::kCancelled : track.outcome;
        return track;
    }
    // The first audio stream of the file, not the one FFmpeg would rank first.
    int first = -1;
    for (unsigned int i = 0; i < media->nb_streams && first < 0; ++i) {
        if (media->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) {
            first = static_cast<int>(i);
        }
    }
    if (first < 0) {
        track.outcome = SoundOutcome::kNoSound;
        return track;
    }
    const AVStream& stream = *media->streams[first];
    const AVStream* video = videoStream(*media);
    if (video != nullptr && video->avg_frame_rate.num > 0 && video->avg_frame_rate.den > 0) {
        track.videoFrameRate = av_q2d(video->avg_frame_rate);
    }
    const AVCodec* codec = avcodec_find_decoder(stream.codecpar->codec_id);
    CodecContextPtr decoder(avcodec_alloc_context3(codec));
    if (codec == nullptr || !decoder ||
        avcodec_parameters_to_context(decoder.get(), stream.codecpar) < 0) {
        return track;
    }
    decoder->pkt_timebase = stream.time_base;
    if (avcodec_open2(decoder.get(), codec, nullptr) < 0 || decoder->sample_rate <= 0 ||
        decoder->ch_layout.nb_channels <= 0) {
        return track;
    }
    const int pictures = video == nullptr ? -1 : video->index;
    for (unsigned int i = 0; i < media->nb_streams; ++i) {
        const int index = static_cast<int>(i);
        media->streams[i]->discard =
            index == first || index == pictures ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }

    track.sampleRate = decoder->sample_rate;
    track.channels = decoder->ch_layout.nb_channels == 1 ? 1 : 2;
    if (!wavDescribes(track.sampleRate, track.channels)) {
        track.outcome = SoundOutcome::kRateTooHigh;
        return track;
    }
    // Refused before decoding rather than after writing 4 GB.
    track.seconds = expectedSeconds(*media, stream, video);
    const double expectedFrames =
        std::min(track.seconds * track.sampleRate, static_cast<double>(kLargestWavFile));
    if (wavFileBytes(std::llround(expectedFrames), track.channels) > kLargestWavFile) {
        track.outcome = SoundOutcome::kTooLong;
        return track;
    }
    PartFile part(wavPath);
    WavWriter wav(part.descriptor(), track.sampleRate, track.channels);
    if (part.descriptor() < 0 || !wav.isOpen()) {
        track.outcome = SoundOutcome::kNotWritten;
        return track;
    }
    SampleConverter converter(track.sampleRate, track.channels);
    AlignedWriter writer(wav, converter, track.sampleRate, stream.time_base);
    PacketPtr packet(av_packet_alloc());
    FramePtr frame(av_frame_alloc());
    if (!packet || !frame) {
        return track;
    }
    const int64_t fileBytes = avio_size(media->pb);
    bool decoded = true;
    while (decoded && av_read_frame(media.get(), packet.get()) >= 0) {
        const PacketUnref unref(packet.get());
        if (progress != nullptr && fileBytes > 0 && packet->pos >= 0) {
            progress->percent =
                static_cast<int>(std::min<int64_t>(packet->pos * 100 / fileBytes, 99));
        }
        if (packet->stream_index == first) {
            decoded = decodeInto(*decoder, packet.get(), *frame, writer);
        } else if (packet->stream_index == pictures && packet->pts != AV_NOPTS_VALUE &&
                   (packet->flags & AV_PKT_FLAG_DISCARD) == 0) {
            decoded =
                writer.noteVideoPacket(static_cast<double>(packet->pts) * av_q2d(video->time_base));
        }
    }
    decoded =
        decoded && !cancelled() && decodeInto(*decoder, nullptr, *frame, writer) && writer.finish();
    if (cancelled()) {
        track.outcome = SoundOutcome::kCancelled;
        return track;
    }
    if (!decoded) {
        // The file's own duration fell short of its sound.
        if (wav.full()) {
            track.outcome = SoundOutcome::kTooLong;
            track.seconds = std::max(track.seconds,
                                     static_cast<double>(wav.framesWritten()) / track.sampleRate);
        }
        return track;
    }
    track.sampleFrames = wav.framesWritten();
    track.aligned = video == nullptr || writer.aligned();
    if (!wav.finish()) {
        track.outcome = SoundOutcome::kNotWritten;
        return track;
    }
    track.wavPath = freeSoundFilePath(wavPath, part.descriptor());
    if (track.wavPath.empty() || !part.moveIntoPlace(track.wavPath)) {
        track.outcome = SoundOutcome::kNotWritten;
        return track;
    }
    if (progress != nullptr) {
        progress->percent = 100;
    }
    track.outcome = SoundOutcome::kWritten;
    return track;
}

}  // namespace video
