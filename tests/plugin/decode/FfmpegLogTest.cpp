#include "DecodeMedia.h"
#include "decode/FfmpegLog.h"
#include "decode/VideoSource.h"

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

// The reason a video source gives for a file cut before its index.
TEST(FfmpegLog, VideoSourceGivesFfmpegsReason) {
    const std::string whole = decodetest::scratch().file("log-whole.mov");
    testsupport::makeMedia("-f lavfi -i testsrc2=s=64x48:r=24 -frames:v 12 -c:v mpeg4", whole);
    const std::string contents = testsupport::readFile(whole);
    const std::string cut = decodetest::scratch().file("log-cut.mov");
    testsupport::writeFile(cut, contents.substr(0, contents.size() / 2));

    ::testing::internal::CaptureStderr();
    video::VideoSource source;
    EXPECT_FALSE(source.open(cut));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(source.failure(), "not a video or image FFmpeg can read (moov atom not found)");
    EXPECT_TRUE(source.open(whole));
    EXPECT_EQ(source.failure(), "");
}

}  // namespace
