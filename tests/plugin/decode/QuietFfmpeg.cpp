#include "decode/FfmpegLog.h"

#include <gtest/gtest.h>

// Every plug-in suite runs as the loaded plug-in does: FFmpeg's own lines never reach the
// terminal.
namespace {

class QuietFfmpeg : public ::testing::Environment {
public:
    void SetUp() override { video::installFfmpegLog(); }
};

const ::testing::Environment* const quietFfmpeg =
    ::testing::AddGlobalTestEnvironment(new QuietFfmpeg);

}  // namespace
