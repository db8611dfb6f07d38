#pragma once

#include <string>

namespace video {

// FFmpeg's log, kept off the terminal. The callback is process-wide and may be called by any
// thread, FFmpeg's own included: it keeps the first error a thread logs while an
// FfmpegErrorCapture lives on it (the reason a file could not be opened) and drops every other
// line. It calls nothing but FFmpeg's line formatting.
void installFfmpegLog();
// FFmpeg's own callback again, before the code of the one installed goes away.
void removeFfmpegLog();

// Keeps the first error FFmpeg logs on this thread while it lives; captures nest.
class FfmpegErrorCapture {
public:
    FfmpegErrorCapture();
    ~FfmpegErrorCapture();
    FfmpegErrorCapture(const FfmpegErrorCapture&) = delete;
    FfmpegErrorCapture& operator=(const FfmpegErrorCapture&) = delete;

    // The error's text without FFmpeg's "[context @ address]" prefix and end of line; "" when
    // none was logged.
    const std::string& firstError() const { return firstError_; }

    // Keeps the line as the error unless one is kept already (the log callback's).
    void keep(const std::string& line);

private:
    FfmpegErrorCapture* outer_;
    std::string firstError_;
};

}  // namespace video
