#include "decode/Timecode.h"

extern "C" {
#include <libavutil/dict.h>
#include <libavutil/timecode.h>
}

namespace decode {
namespace {

const char* timecodeTag(const AVDictionary* metadata) {
    const AVDictionaryEntry* entry = av_dict_get(metadata, "timecode", nullptr, 0);
    return entry != nullptr ? entry->value : nullptr;
}

}  // namespace

std::string startTimecode(const AVFormatContext& input, int videoStream) {
    if (videoStream >= 0 && static_cast<unsigned int>(videoStream) < input.nb_streams) {
        if (const char* tag = timecodeTag(input.streams[videoStream]->metadata)) {
            return tag;
        }
    }
    if (const char* tag = timecodeTag(input.metadata)) {
        return tag;
    }
    for (unsigned int i = 0; i < input.nb_streams; ++i) {
        if (input.streams[i]->codecpar->codec_type == AVMEDIA_TYPE_DATA) {
            if (const char* tag = timecodeTag(input.streams[i]->metadata)) {
                return tag;
            }
        }
    }
    return {};
}

std::string timecodeAt(const std::string& start, double rate, int frame) {
    if (start.empty() || !(rate > 0.0) || frame < 0) {
        return {};
    }
    AVTimecode timecode;
    if (av_timecode_init_from_string(&timecode, av_d2q(rate, 1 << 16), start.c_str(), nullptr) <
        0) {
        return {};
    }
    char text[AV_TIMECODE_STR_SIZE];
    return av_timecode_make_string(&timecode, text, frame);
}

}  // namespace decode
