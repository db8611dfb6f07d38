#include "cache/LocalMediaInput.h"

#include <sys/stat.h>

namespace video {
namespace {

// Demuxers of single, self-contained files. Anything else (hls, dash, concat, image2, imf, ...)
// may open further inputs named inside the file and is refused.
constexpr const char* kSelfContainedFormats =
    "mov,matroska,avi,mpeg,mpegts,mpegvideo,m4v,h264,hevc,h263,flv,asf,mxf,ogg,ivf,nut,dv,gif,"
    "yuv4mpegpipe,mjpeg,rm,obu";

bool isRegularFile(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace

FormatContextPtr openLocalMedia(const std::string& path) {
    // A FIFO or device would block or never end; a URL-looking name must stay a file name.
    if (path.empty() || !isRegularFile(path)) {
        return nullptr;
    }
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    av_dict_set(&options, "format_whitelist", kSelfContainedFormats, 0);
    AVFormatContext* raw = nullptr;
    const std::string url = "file:" + path;
    int result = avformat_open_input(&raw, url.c_str(), nullptr, &options);
    av_dict_free(&options);
    if (result < 0) {
        return nullptr;
    }
    return FormatContextPtr(raw);
}

}  // namespace video
