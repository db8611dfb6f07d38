#include "cache/RefreshDeadline.h"
#include "draw/RefreshKind.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using std::chrono::seconds;

// A refresh's waits count from its start, as the render notification tells it, whatever the
// number of nodes waiting: one whose start went untold counts from its first wait, and a start
// no longer told is forgotten.
TEST(RefreshDeadline, theWaitsOfARefreshCountFromItsStart) {
    video::RefreshDeadline deadlines(seconds(10));
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(deadlines.deadline(milliseconds(100), start), start + milliseconds(100));
    EXPECT_EQ(deadlines.deadline(milliseconds(100), start + seconds(3)), start + milliseconds(100));
    deadlines.refreshBegan(start + seconds(5));
    for (const Clock::duration asked : {seconds(0), seconds(4), seconds(12)}) {
        EXPECT_EQ(deadlines.deadline(seconds(10), start + seconds(5) + asked), start + seconds(15));
    }
    deadlines.forgetRefresh();
    EXPECT_EQ(deadlines.deadline(seconds(1), start + seconds(20)), start + seconds(21));
}

// The waits a refresh makes, from their settings in the environment: the interactive one
// (CINESHEET_INTERACTIVE_WAIT_MS) and the longest (CINESHEET_FRAME_WAIT_MS); a setting refused
// warns with (part of) the text given, "" for any.
TEST(RefreshDeadline, waitsFromTheEnvironment) {
    struct Case {
        bool interactive;
        const char* setting;
        milliseconds wait;
        const char* warningHas;
    };
    const Case cases[] = {
        {true, nullptr, milliseconds(100), nullptr},
        {true, "40", milliseconds(40), nullptr},
        {true, "0", milliseconds(0), nullptr},
        {true, "1000", milliseconds(1000), nullptr},
        {true, "1001", milliseconds(100), ""},
        {true, "-5", milliseconds(100), ""},
        {true, "12ms", milliseconds(100), ""},
        {false, nullptr, seconds(10), nullptr},
        {false, "250", milliseconds(250), nullptr},
        {false, "600000", milliseconds(600000), nullptr},
        {false, "", seconds(10), "\"\" is not a whole number"},
        {false, "-5", seconds(10), "\"-5\" is not a whole number"},
        {false, "12ms", seconds(10), "\"12ms\" is not a whole number"},
        {false, "600001", milliseconds(600000), "600001 is more than 600000"},
        {false, "9223372036854775807", milliseconds(600000), "9223372036854775807 is more than"},
        {false, "99999999999999999999999", milliseconds(600000), "is more than 600000"},
    };
    for (const Case& c : cases) {
        const std::string name = c.setting ? c.setting : "(unset)";
        milliseconds wait;
        std::string warning;
        if (c.interactive) {
            const InteractiveWaitChoice choice = chooseInteractiveWait(c.setting);
            wait = choice.wait;
            warning = choice.warning;
        } else {
            const video::RefreshWaitChoice choice = video::chooseRefreshWait(c.setting);
            wait = choice.wait;
            warning = choice.warning;
        }
        EXPECT_EQ(wait, c.wait) << name;
        if (c.warningHas) {
            EXPECT_NE(warning.find(c.warningHas), std::string::npos) << name << ": " << warning;
        } else {
            EXPECT_EQ(warning, "") << name;
        }
    }
}

}  // namespace
