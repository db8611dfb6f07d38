#include "SheetFixture.h"

#include <host/Viewport.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

// The readout of displayInfo: the media frame the picture is, and the bar of frames cached.
namespace {

using testsupport::pointSampledRgba;

// 48 frames of the shared clip, as the ffmpeg tool decodes them.
std::vector<std::uint8_t> referenceFrame(int frame) {
    static const testsupport::ReferenceVideo video =
        testsupport::referenceDecode(frameprep::video());
    return pointSampledRgba(video.frames.at(frame), video.width, video.height, 1);
}

// A clip whose first picture has the timecode 01:00:00:00, at 24 frames per second.
std::string timecodeClip() {
    static const std::string path = [] {
        const std::string file = frameprep::scratch().file("timecode.mov");
        testsupport::makeMedia(
            "-f lavfi -i testsrc2=s=96x64:r=24 -frames:v 40 -g 8 "
            "-pix_fmt yuv420p -timecode 01:00:00:00",
            file);
        return file;
    }();
    return path;
}

std::string fileName(const std::string& path) {
    return path.substr(path.find_last_of('/') + 1);
}

class Readout : public SheetFixture {
protected:
    void SetUp() override {
        SheetFixture::SetUp();
        ASSERT_EQ(plug("displayInfo").setBool(true), MStatus::kSuccess);
    }

    // The text the latest refresh drew, "" for none.
    std::string line() const {
        for (const host::DrawCall& call : host::latestDrawCalls(sheet)) {
            if (call.kind == host::DrawCall::Kind::Text) {
                return call.text.asChar();
            }
        }
        return "";
    }

    // The rectangles the latest refresh drew after setting each colour, as x ranges: the bar's
    // background first, then the runs of frames held.
    std::vector<std::vector<std::pair<double, double>>> barRectangles() const {
        std::vector<std::vector<std::pair<double, double>>> byColour;
        bool untextured = false;
        for (const host::DrawCall& call : host::latestDrawCalls(sheet)) {
            if (call.kind == host::DrawCall::Kind::SetColor) {
                byColour.emplace_back();
                untextured = true;
            } else if (call.kind == host::DrawCall::Kind::SetTexture) {
                untextured = false;
            } else if (call.kind == host::DrawCall::Kind::Mesh && untextured) {
                for (unsigned int i = 0; i + 5 < call.positions.length(); i += 6) {
                    double low = call.positions[i].x;
                    double high = low;
                    for (unsigned int k = i; k < i + 6; ++k) {
                        low = std::min(low, call.positions[k].x);
                        high = std::max(high, call.positions[k].x);
                    }
                    byColour.back().emplace_back(low, high);
                }
            }
        }
        return byColour;
    }
};

// The frame number is the file's: a video's picture from 0 after the offset and a forced rate,
// and the picture drawn is that frame.
TEST_F(Readout, NamesTheMediaFrameAcrossOffsetsAndForcedRates) {
    setFile(frameprep::video());
    const std::string name = fileName(frameprep::video());
    struct Case {
        const char* unit;
        double time;
        int offset;
        bool forced;
        int mediaFrame;
    };
    const Case cases[] = {
        {"film", 10, 0, false, 10}, {"film", 10, 3, false, 7}, {"film", 2, -5, false, 7},
        {"pal", 25, 0, false, 25},  {"pal", 25, 0, true, 24},  {"pal", 30, 5, true, 24},
        {"ntsc", 30, 0, true, 24},  {"ntsc", 16, 1, true, 12}, {"ntsc", 47, 0, false, 47},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.unit) + " time " + std::to_string(c.time) + " offset " +
                     std::to_string(c.offset) + (c.forced ? " forced" : ""));
        run(std::string("currentUnit -time ") + c.unit);
        ASSERT_EQ(plug("frameOffset").setInt(c.offset), MStatus::kSuccess);
        ASSERT_EQ(plug("forceFrameRate").setBool(c.forced), MStatus::kSuccess);
        setTime(c.time);
        refresh();
        EXPECT_EQ(line(), "frame " + std::to_string(c.mediaFrame) + "  " + name);
        EXPECT_EQ(drawnTexture().pixels, referenceFrame(c.mediaFrame));
    }
}

// A clip's frame is told with its file's timecode, a sequence's by its file; without displayInfo
// nothing is drawn.
TEST_F(Readout, TellsTheTimecodeOrTheFileOfTheFrameWhenAskedFor) {
    const struct {
        std::string file;
        int time;
        bool shown;
        const char* line;
    } cases[] = {
        {timecodeClip(), 7, true, "frame 7  01:00:00:07"},
        {timecodeClip(), 30, true, "frame 30  01:00:01:06"},
        {frameprep::pngSequence(), 3, true, "frame 3  shot.0003.png"},
        {frameprep::video(), 3, false, ""},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(plug("displayInfo").setBool(c.shown), MStatus::kSuccess);
        setFile(c.file);
        setTime(c.time);
        refresh();
        EXPECT_EQ(line(), c.line) << c.file << " at " << c.time;
        EXPECT_EQ(barRectangles().empty(), !c.shown) << c.file;
    }
}

// After playing into the clip with a window of one block, the bar marks the frames cached: the
// frames up to the one shown at once, the rest of its block once the worker has stored it, and
// nothing at either end of the clip.
TEST_F(Readout, TheBarMarksTheFramesCachedAfterAPlay) {
    setFile(frameprep::video());
    ASSERT_EQ(plug("cacheFrames").setInt(8), MStatus::kSuccess);
    for (int time = 0; time <= 20; ++time) {
        setTime(time);
        refresh();
    }
    const auto heldAtLatestRefresh = [this](int frame) {
        const auto rectangles = barRectangles();
        if (rectangles.size() < 2 || rectangles[0].size() != 1) {
            return false;
        }
        const auto [left, right] = rectangles[0][0];
        const double x = left + (right - left) * (frame + 0.5) / 48;
        return std::any_of(rectangles[1].begin(), rectangles[1].end(),
                           [x](const auto& run) { return run.first <= x && x <= run.second; });
    };
    // The frame shown and the rest of its block ahead of it come in the background; a generous
    // limit only keeps a fault from hanging the suite.
    const auto aheadHeld = [&] {
        for (int frame = 20; frame < 24; ++frame) {
            if (!heldAtLatestRefresh(frame)) {
                return false;
            }
        }
        return true;
    };
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!aheadHeld() && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        refresh();
    }
    for (int frame = 20; frame < 24; ++frame) {
        EXPECT_TRUE(heldAtLatestRefresh(frame)) << frame;
    }
    EXPECT_FALSE(heldAtLatestRefresh(0));
    EXPECT_FALSE(heldAtLatestRefresh(47));
}

}  // namespace
