#include "decode/MediaContent.h"

#include "decode/LocalFile.h"
#include "picture/FfmpegPointers.h"

#include <unistd.h>

#include <vector>

namespace video {
namespace {

// As much as FFmpeg's own probing looks at first.
constexpr size_t kProbeBytes = 4096;

}  // namespace

std::string mediaContentProblem(const std::string& path) {
    const FileDescriptor file = openLocalRegularFile(path);
    if (!file.isOpen()) {
        return std::string();
    }
    // The probe reads past the data it is given: the padding FFmpeg asks for stays zero.
    std::vector<unsigned char> head(kProbeBytes + AVPROBE_PADDING_SIZE, 0);
    const ssize_t got = read(file.get(), head.data(), kProbeBytes);
    if (got < 0) {
        return std::string();
    }
    if (got == 0) {
        return "is empty";
    }
    // No file name: the extension would make any content pass for its format.
    AVProbeData probe{};
    probe.filename = "";
    probe.buf = head.data();
    probe.buf_size = static_cast<int>(got);
    // Only a format recognised with some confidence counts; a few bytes of text match a weak
    // guess of one demuxer or another.
    int score = AVPROBE_SCORE_RETRY;
    return av_probe_input_format2(&probe, 1, &score) ? std::string() : "is not a media file";
}

}  // namespace video
