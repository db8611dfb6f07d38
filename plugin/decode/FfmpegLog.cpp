#include "decode/FfmpegLog.h"

extern "C" {
#include <libavutil/log.h>
}

#include <cstdarg>

namespace video {
namespace {

thread_local FfmpegErrorCapture* currentCapture = nullptr;

void logLine(void*, int level, const char* format, va_list arguments) {
    FfmpegErrorCapture* capture = currentCapture;
    if (level > AV_LOG_ERROR || capture == nullptr || !capture->firstError().empty()) {
        return;
    }
    char line[1024];
    // Without a context the line has no prefix.
    int printPrefix = 0;
    va_list copy;
    va_copy(copy, arguments);
    av_log_format_line2(nullptr, level, format, copy, line, sizeof line, &printPrefix);
    va_end(copy);
    capture->keep(line);
}

}  // namespace

void FfmpegErrorCapture::keep(const std::string& line) {
    const std::string::size_type end = line.find_last_not_of(" \t\r\n.");
    if (firstError_.empty() && end != std::string::npos) {
        firstError_ = line.substr(0, end + 1);
    }
}

void installFfmpegLog() {
    av_log_set_callback(logLine);
}

void removeFfmpegLog() {
    av_log_set_callback(av_log_default_callback);
}

FfmpegErrorCapture::FfmpegErrorCapture() : outer_(currentCapture) {
    currentCapture = this;
}

FfmpegErrorCapture::~FfmpegErrorCapture() {
    currentCapture = outer_;
}

}  // namespace video
