#include "decode/MediaContent.h"

#include "decode/LocalFile.h"
#include "decode/LocalMediaInput.h"
#include "picture/FfmpegPointers.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <vector>

namespace video {
namespace {

// As much as FFmpeg's own probing looks at first.
constexpr size_t kProbeBytes = 4096;
// FFmpeg names the demuxer of a lone picture after its codec: "png_pipe", "jpeg_pipe".
constexpr const char kPictureSuffix[] = "_pipe";

// What the head of a file holds: whether it could be read and had bytes, and the demuxer that
// recognises it (null for content no demuxer does).
struct Head {
    bool read = false;
    bool empty = false;
    const AVInputFormat* format = nullptr;
};

Head probeHead(const std::string& path) {
    Head head;
    const FileDescriptor file = openLocalRegularFile(path);
    if (!file.isOpen()) {
        return head;
    }
    // The probe reads past the data it is given: the padding FFmpeg asks for stays zero.
    std::vector<unsigned char> bytes(kProbeBytes + AVPROBE_PADDING_SIZE, 0);
    const ssize_t got = read(file.get(), bytes.data(), kProbeBytes);
    if (got < 0) {
        return head;
    }
    head.read = true;
    head.empty = got == 0;
    if (head.empty) {
        return head;
    }
    // No file name: the extension would make any content pass for its format.
    AVProbeData probe{};
    probe.filename = "";
    probe.buf = bytes.data();
    probe.buf_size = static_cast<int>(got);
    // Only a format recognised with some confidence counts; a few bytes of text match a weak
    // guess of one demuxer or another.
    int score = AVPROBE_SCORE_RETRY;
    head.format = av_probe_input_format2(&probe, 1, &score);
    return head;
}

std::string pictureCodec(const AVInputFormat& format) {
    const std::string name = format.name;
    const size_t suffix = sizeof(kPictureSuffix) - 1;
    if (name.size() <= suffix || name.compare(name.size() - suffix, suffix, kPictureSuffix) != 0) {
        return std::string();
    }
    std::string codec = name.substr(0, name.size() - suffix);
    std::transform(codec.begin(), codec.end(), codec.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return codec;
}

}  // namespace

std::string mediaContentProblem(const std::string& path) {
    const Head head = probeHead(path);
    if (!head.read) {
        return std::string();
    }
    if (head.empty) {
        return "is empty";
    }
    if (!head.format) {
        return "is not a media file";
    }
    if (isSelfContainedFormat(head.format->name)) {
        return std::string();
    }
    const std::string picture = pictureCodec(*head.format);
    if (!picture.empty()) {
        return "holds a " + picture +
               " image, not a video: give it the image's extension to show it as a still";
    }
    return std::string("holds ") +
           (head.format->long_name ? head.format->long_name : head.format->name) + ", not a video";
}

std::string pictureContent(const std::string& path) {
    const Head head = probeHead(path);
    return head.format ? pictureCodec(*head.format) : std::string();
}

}  // namespace video
