#include "decode/IndexedPackets.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <cstring>
#include <utility>

namespace video {
namespace {

// The QuickTime family's demuxer, whose packets are the samples its tables list, read where
// they say.
constexpr const char* kSampleTableDemuxer = "mov,mp4,m4a,3gp,3g2,mj2";

// Whether every picture of the codec is a keyframe shown in the order it is stored; others may
// reorder pictures, which an index without presentation times cannot tell, or have their
// packets split or re-flagged by a parser reading the payload.
bool storesPicturesInOrder(const AVCodecParameters& parameters) {
    const AVCodecDescriptor* codec = avcodec_descriptor_get(parameters.codec_id);
    const AVPixFmtDescriptor* pixels =
        av_pix_fmt_desc_get(static_cast<AVPixelFormat>(parameters.format));
    // A palette comes with the first packet, which only reading it tells.
    const bool paletted = pixels && (pixels->flags & AV_PIX_FMT_FLAG_PAL) != 0;
    return codec && (codec->props & AV_CODEC_PROP_INTRA_ONLY) != 0 &&
           (codec->props & AV_CODEC_PROP_REORDER) == 0 && !paletted;
}

}  // namespace

bool listPacketsFromIndex(AVFormatContext& input, int streamIndex, PacketList& packets) {
    packets.clear();
    AVStream* stream = input.streams[streamIndex];
    const int entries = avformat_index_get_entries_count(stream);
    if (std::strcmp(input.iformat->name, kSampleTableDemuxer) != 0 || entries <= 0 ||
        stream->nb_frames != entries || !storesPicturesInOrder(*stream->codecpar)) {
        return false;
    }
    const int64_t fileSize = avio_size(input.pb);
    PacketList listed;
    listed.reserve(static_cast<size_t>(entries));
    for (int i = 0; i < entries; ++i) {
        const AVIndexEntry* entry = avformat_index_get_entry(stream, i);
        // A sample past the end of a file cut short is not there to be read.
        if (!entry || entry->timestamp == AV_NOPTS_VALUE || entry->pos < 0 || fileSize < 0 ||
            entry->pos + entry->size > fileSize) {
            return false;
        }
        PacketRecord record;
        record.pts = entry->timestamp;
        record.dts = entry->timestamp;
        record.pos = entry->pos;
        record.size = entry->size;
        record.key = (entry->flags & AVINDEX_KEYFRAME) != 0;
        record.hasPicture = entry->size > 0 && (entry->flags & AVINDEX_DISCARD_FRAME) == 0;
        listed.push_back(record);
    }
    packets = std::move(listed);
    return true;
}

int samplesListedPastEnd(AVFormatContext& input, int streamIndex) {
    AVStream* stream = input.streams[streamIndex];
    const int entries = avformat_index_get_entries_count(stream);
    const int64_t fileSize = avio_size(input.pb);
    if (fileSize < 0) {
        return 0;
    }
    for (int i = entries - 1; i >= 0; --i) {
        const AVIndexEntry* entry = avformat_index_get_entry(stream, i);
        if (entry && entry->pos >= 0 && entry->pos + entry->size > fileSize) {
            return entries;
        }
    }
    return 0;
}

}  // namespace video
