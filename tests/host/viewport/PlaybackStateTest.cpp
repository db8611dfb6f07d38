#include <maya/MAnimControl.h>
#include <maya/MConditionMessage.h>
#include <maya/MDrawContext.h>
#include <maya/MDrawRegistry.h>
#include <maya/MGlobal.h>
#include <maya/MPxDrawOverride.h>
#include <maya/MPxLocatorNode.h>
#include <maya/MViewport2Renderer.h>

#include <host/Commands.h>
#include <host/IdleQueue.h>
#include <host/NodeTypes.h>
#include <host/Playback.h>
#include <host/Scene.h>

#include <gtest/gtest.h>

#include "TestPlaneFixture.h"
#include "TestSupport.h"

#include <chrono>
#include <string>
#include <thread>
#include <vector>

// What a draw override learns of playback, scrubbing and playblasts while it draws.
namespace {

using viewporttest::run;

// What one prepareForDraw saw.
struct Seen {
    double time;
    bool playblasting;
    bool playingBack;
    bool playing;
    bool scrubbing;
    double speed;
    bool operator==(const Seen& other) const {
        return time == other.time && playblasting == other.playblasting &&
               playingBack == other.playingBack && playing == other.playing &&
               scrubbing == other.scrubbing && speed == other.speed;
    }
};

std::ostream& operator<<(std::ostream& out, const Seen& seen) {
    return out << "{t " << seen.time << " blast " << seen.playblasting << " back "
               << seen.playingBack << " playing " << seen.playing << " scrub " << seen.scrubbing
               << " speed " << seen.speed << "}";
}

std::vector<Seen> seen;
std::vector<MUint64> stamps;
std::vector<bool> conditionChanges;
int slowDrawMs = 0;

struct WatchLocator : MPxLocatorNode {
    static void* creator() { return new WatchLocator; }
    static MStatus initialize() { return MStatus::kSuccess; }
};

struct WatchOverride : MHWRender::MPxDrawOverride {
    explicit WatchOverride(const MObject& obj) : MPxDrawOverride(obj, nullptr) {}
    MUserData* prepareForDraw(const MDagPath&, const MDagPath&,
                              const MHWRender::MFrameContext& context, MUserData*) override {
        MString panel;
        EXPECT_EQ(context.renderingDestination(panel), MHWRender::MFrameContext::k3dViewport);
        EXPECT_EQ(panel, MString("modelPanel4"));
        seen.push_back(Seen{MAnimControl::currentTime().as(MTime::uiUnit()),
                            MConditionMessage::getConditionState("playblasting"),
                            MConditionMessage::getConditionState("playingBack"),
                            MAnimControl::isPlaying(), MAnimControl::isScrubbing(),
                            MAnimControl::playbackSpeed()});
        std::this_thread::sleep_for(std::chrono::milliseconds(slowDrawMs));
        return nullptr;
    }
    static MHWRender::MPxDrawOverride* creator(const MObject& obj) {
        return new WatchOverride(obj);
    }
};

void noteStamp(MHWRender::MDrawContext& context, void*) {
    stamps.push_back(context.getFrameStamp());
}

void noteCondition(bool state, void*) {
    conditionChanges.push_back(state);
}

const char* const kClass = "drawdb/geometry/watchLocator";

class PlaybackState : public ::testing::Test {
protected:
    void SetUp() override {
        host::newScene();
        host::resetPlaybackOptions();
        host::PluginNodeType type;
        type.name = "watchLocator";
        type.id = MTypeId(0x0013B1F7);
        type.creator = WatchLocator::creator;
        type.initialize = WatchLocator::initialize;
        type.kind = MPxNode::kLocatorNode;
        type.classification = kClass;
        ASSERT_EQ(host::registerPluginNodeType(type), MStatus::kSuccess);
        ASSERT_EQ(MHWRender::MDrawRegistry::registerDrawOverrideCreator(kClass, "watch",
                                                                        WatchOverride::creator),
                  MStatus::kSuccess);
        run("createNode watchLocator");
        seen.clear();
        slowDrawMs = 0;
    }
    void TearDown() override {
        EXPECT_EQ(MHWRender::MDrawRegistry::deregisterDrawOverrideCreator(kClass, "watch"),
                  MStatus::kSuccess);
        EXPECT_EQ(host::deregisterPluginNodeType(MTypeId(0x0013B1F7)), MStatus::kSuccess);
        host::resetPlaybackOptions();
        host::newScene();
    }
};

struct StateCase {
    const char* name;
    const char* script;
    std::vector<Seen> draws;
};

class DrawnState : public PlaybackState, public ::testing::WithParamInterface<StateCase> {};

// Every draw sees the state of what drew it, and the state is put back afterwards.
TEST_P(DrawnState, EachDrawSeesWhatDrewIt) {
    const testsupport::TempDir dir;
    std::string script = GetParam().script;
    const std::string::size_type at = script.find("DIR");
    if (at != std::string::npos) {
        script.replace(at, 3, dir.path());
    }
    run("currentTime 1; playbackOptions -min 1 -max 3 -by 1; " + script);
    EXPECT_EQ(seen, GetParam().draws);
    EXPECT_FALSE(MConditionMessage::getConditionState("playblasting"));
    EXPECT_FALSE(MConditionMessage::getConditionState("playingBack"));
    EXPECT_FALSE(MAnimControl::isPlaying());
    EXPECT_FALSE(MAnimControl::isScrubbing());
}

INSTANTIATE_TEST_SUITE_P(
    Draws, DrawnState,
    ::testing::Values(
        StateCase{"refresh", "refresh -f", {{1, false, false, false, false, 1}}},
        StateCase{"playblast",
                  "playblast -st 2 -et 3 -w 4 -h 4 -f \"DIR/p\"",
                  {{2, true, false, false, false, 1}, {3, true, false, false, false, 1}}},
        StateCase{
            "snapshot", "snapshot -w 4 -h 4 -f \"DIR/s.png\"", {{1, true, false, false, false, 1}}},
        StateCase{"everyFrame",
                  "playbackOptions -ps 0 -mps 0; play -wait",
                  {{1, false, true, true, false, 0},
                   {2, false, true, true, false, 0},
                   {3, false, true, true, false, 0}}},
        StateCase{"backward",
                  "currentTime 3; playbackOptions -ps 0 -mps 0; play -forward false",
                  {{3, false, true, true, false, 0},
                   {2, false, true, true, false, 0},
                   {1, false, true, true, false, 0}}},
        StateCase{"scrub",
                  "scrub 3 1 2",
                  {{3, false, false, false, true, 1},
                   {1, false, false, false, true, 1},
                   {2, false, false, false, true, 1}}}),
    [](const ::testing::TestParamInfo<StateCase>& info) { return std::string(info.param.name); });

// Real time keeps the rate: frames whose time passed while a slow draw ran are skipped, and
// play every frame draws every one of them however slow.
TEST_F(PlaybackState, RealTimeSkipsWhatASlowDrawLetPassAndEveryFrameDrawsAll) {
    slowDrawMs = 100;
    run("viewportStats -resetDrawTiming; currentTime 1; playbackOptions -min 1 -max 24 -ps 1; "
        "play -wait");
    const int drawn = std::stoi(run("viewportStats -q -framesDrawn"));
    const int skipped = std::stoi(run("viewportStats -q -framesSkipped"));
    EXPECT_EQ(drawn + skipped, 24);
    EXPECT_GT(skipped, 0);
    EXPECT_EQ(static_cast<int>(seen.size()), drawn);
    // A lower bound only: each draw slept that long.
    EXPECT_GE(std::stod(run("viewportStats -q -longestDrawMs")), 100.0);

    slowDrawMs = 10;
    run("currentTime 1; playbackOptions -max 6 -ps 0 -mps 1; play -wait");
    EXPECT_EQ(run("viewportStats -q -framesDrawn"), "6");
    EXPECT_EQ(run("viewportStats -q -framesSkipped"), "0");
    run("viewportStats -resetDrawTiming");
    EXPECT_EQ(run("viewportStats -q -longestDrawMs"), "0");
}

// playbackOptions and MAnimControl read and write the same settings.
TEST_F(PlaybackState, OptionsAndAnimControlAgree) {
    run("playbackOptions -min 5 -max 40 -by 2 -ps 0.5 -mps 2 -loop oscillate");
    EXPECT_EQ(MAnimControl::minTime().as(MTime::uiUnit()), 5.0);
    EXPECT_EQ(MAnimControl::maxTime().as(MTime::uiUnit()), 40.0);
    EXPECT_EQ(MAnimControl::playbackBy(), 2.0);
    EXPECT_EQ(MAnimControl::playbackSpeed(), 0.5);
    EXPECT_EQ(MAnimControl::playbackMode(), MAnimControl::kPlaybackOscillate);
    ASSERT_EQ(MAnimControl::setPlaybackSpeed(0.0), MStatus::kSuccess);
    ASSERT_EQ(MAnimControl::setMinMaxTime(MTime(2.0, MTime::uiUnit()), MTime(9.0, MTime::uiUnit())),
              MStatus::kSuccess);
    const std::pair<const char*, const char*> queries[] = {
        {"-min", "2"}, {"-max", "9"}, {"-by", "2"},
        {"-ps", "0"},  {"-mps", "2"}, {"-loop", "oscillate"},
    };
    for (const auto& [flag, expected] : queries) {
        EXPECT_EQ(run(std::string("playbackOptions -q ") + flag), expected) << flag;
    }
    EXPECT_EQ(MAnimControl::setPlaybackSpeed(-1.0), MStatus::kInvalidParameter);
    EXPECT_NE(host::runScript("playbackOptions -loop sideways", false, false), MStatus::kSuccess);
}

// Condition callbacks follow the condition's changes; render notifications come once per
// refresh with the refresh's frame stamp; both go when removed.
TEST_F(PlaybackState, ConditionCallbacksAndRenderNotifications) {
    MStatus status;
    const MCallbackId id =
        MConditionMessage::addConditionCallback("playblasting", noteCondition, nullptr, &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    MConditionMessage::addConditionCallback("noSuchCondition", noteCondition, nullptr, &status);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    MHWRender::MRenderer* renderer = MHWRender::MRenderer::theRenderer();
    using MHWRender::MPassContext;
    ASSERT_EQ(
        renderer->addNotification(noteStamp, "stamp", MPassContext::kBeginRenderSemantic, nullptr),
        MStatus::kSuccess);
    EXPECT_EQ(
        renderer->addNotification(noteStamp, "stamp", MPassContext::kBeginRenderSemantic, nullptr),
        MStatus::kFailure);
    conditionChanges.clear();
    stamps.clear();
    const testsupport::TempDir dir;
    run("refresh; snapshot -w 2 -h 2 -f \"" + dir.file("s.png") + "\"; refresh");
    EXPECT_EQ(conditionChanges, (std::vector<bool>{true, false}));
    ASSERT_EQ(stamps.size(), 3u);
    EXPECT_EQ(stamps[1], stamps[0] + 1);
    EXPECT_EQ(stamps[2], stamps[0] + 2);
    EXPECT_EQ(MMessage::removeCallback(id), MStatus::kSuccess);
    EXPECT_EQ(MMessage::removeCallback(id), MStatus::kFailure);
    EXPECT_EQ(renderer->removeNotification("stamp", MPassContext::kBeginRenderSemantic),
              MStatus::kSuccess);
    EXPECT_EQ(renderer->notificationCount(MPassContext::kBeginRenderSemantic), 0u);
    run("snapshot -w 2 -h 2 -f \"" + dir.file("s.png") + "\"; refresh");
    EXPECT_EQ(conditionChanges.size(), 2u);
    EXPECT_EQ(stamps.size(), 3u);
}

// A batch session processes no idle events: queued work waits for flushIdleQueue.
TEST_F(PlaybackState, BatchSessionRunsIdleWorkOnlyWhenFlushed) {
    host::setIdleEventsProcessed(false);
    run("currentTime 1");
    MGlobal::executeCommandOnIdle("currentTime 7");
    run("refresh");
    EXPECT_EQ(run("currentTime -q"), "1");
    EXPECT_EQ(run("viewportStats -q -idleQueueLength"), "1");
    run("flushIdleQueue");
    EXPECT_EQ(run("currentTime -q"), "7");
    host::setIdleEventsProcessed(true);
}

}  // namespace
