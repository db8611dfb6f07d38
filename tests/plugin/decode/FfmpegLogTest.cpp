#include "decode/FfmpegLog.h"

extern "C" {
#include <libavutil/log.h>
}

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {

// FFmpeg's log never reaches standard error (every plug-in suite installs the plug-in's
// callback); a thread opening a file gets the first error it logs, and nothing logged elsewhere.
TEST(FfmpegLog, KeepsTheFirstErrorOfTheCapturingThreadOnly) {
    ::testing::internal::CaptureStderr();
    std::string kept;
    std::string nested;
    {
        const video::FfmpegErrorCapture capture;
        av_log(nullptr, AV_LOG_WARNING, "a warning is no reason\n");
        std::thread([] { av_log(nullptr, AV_LOG_ERROR, "another thread's error\n"); }).join();
        av_log(nullptr, AV_LOG_ERROR, "moov atom not found\n");
        {
            const video::FfmpegErrorCapture inner;
            av_log(nullptr, AV_LOG_FATAL, "inner failure.\n");
            nested = inner.firstError();
        }
        av_log(nullptr, AV_LOG_ERROR, "a later error\n");
        kept = capture.firstError();
    }
    av_log(nullptr, AV_LOG_ERROR, "nobody listens\n");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(kept, "moov atom not found");
    EXPECT_EQ(nested, "inner failure");
}

}  // namespace
