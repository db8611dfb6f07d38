#include <maya/MDrawContext.h>
#include <maya/MDrawRegistry.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MPxLocatorNode.h>

#include <host/Commands.h>
#include <host/Interface.h>
#include <host/Messages.h>
#include <host/NodeTypes.h>
#include <host/Plugins.h>
#include <host/Scene.h>
#include <host/Textures.h>
#include <host/Viewport.h>

#include <gtest/gtest.h>

#include "TestPlaneFixture.h"
#include "TestSupport.h"

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Kind = host::DrawCall::Kind;
using namespace viewporttest;

TEST_F(TestPlaneViewport, OverrideIsMadeByTheFirstRefreshAndDestroyedWhenTheNodeGoes) {
    EXPECT_EQ(host::drawOverrideCount(), 0u);
    run("refresh");
    EXPECT_EQ(host::drawOverrideCount(), 1u);
    EXPECT_NE(host::drawOverrideFor(node("planeShape")), nullptr);
    EXPECT_EQ(host::drawOverrideFor(node("plane")), nullptr);
    EXPECT_EQ(planeStats().overrides, 1);

    run("delete plane");
    EXPECT_EQ(host::drawOverrideCount(), 0u);
    EXPECT_EQ(planeStats().overrides, 0);
    run("undo");
    EXPECT_EQ(planeStats().overrides, 0);
    run("refresh");
    EXPECT_EQ(planeStats().overrides, 1);
    EXPECT_EQ(madeSince(), 2);

    run("file -f -new");
    EXPECT_EQ(host::drawOverrideCount(), 0u);
    EXPECT_EQ(planeStats().overrides, 0);
}

TEST_F(TestPlaneViewport, ASessionThatNeverDrawsMakesNoOverride) {
    run("createNode testPlane -n secondShape; setAttr plane.translateX 2; rename plane moved;"
        "currentTime 5; delete secondShape; undo");
    EXPECT_EQ(madeSince(), 0);
    EXPECT_EQ(host::drawOverrideCount(), 0u);
    EXPECT_EQ(host::drawOverrideFor(node("planeShape")), nullptr);
    EXPECT_EQ(host::keptDrawData(node("planeShape")), nullptr);
    EXPECT_EQ(planeStats().prepares, 0);
}

TEST_F(TestPlaneViewport, HiddenAndFilteredOutNodesGetNoOverrideUntilDrawn) {
    run("createNode transform -n group; createNode testPlane -n innerShape -p group;"
        "setAttr plane.visibility 0; setAttr group.visibility 0; refresh");
    EXPECT_EQ(madeSince(), 0);
    run("setAttr planeShape.visibility 1; refresh");
    EXPECT_EQ(madeSince(), 0) << "a hidden parent hides the shape";
    run("setAttr plane.visibility 1; refresh");
    EXPECT_EQ(madeSince(), 1);
    EXPECT_NE(host::drawOverrideFor(node("planeShape")), nullptr);
    EXPECT_EQ(host::drawOverrideFor(node("innerShape")), nullptr);

    host::setInteractiveSession(true);
    run("pluginDisplayFilter -register -classification \"drawdb/geometry/testPlane\" planes;"
        "modelEditor -e -pluginObjects planes false modelPanel4;"
        "setAttr group.visibility 1; refresh");
    EXPECT_EQ(madeSince(), 1) << "filtered out";
    EXPECT_TRUE(host::latestDrawCalls(node("planeShape")).empty());
    run("modelEditor -e -pluginObjects planes true modelPanel4; refresh");
    EXPECT_EQ(madeSince(), 2);
    EXPECT_FALSE(host::latestDrawCalls(node("innerShape")).empty());
    run("pluginDisplayFilter -deregister planes");
    host::setInteractiveSession(false);
}

TEST_F(TestPlaneViewport, UnloadingDestroysOverridesAndTheirData) {
    run("createNode testPlane -n secondShape; refresh");
    EXPECT_EQ(planeStats().overrides, 2);
    EXPECT_EQ(planeStats().data, 2);
    EXPECT_EQ(host::textureStats().live, texturesBefore + 2);
    ASSERT_EQ(host::unloadPlugin("libtestplane", true), MStatus::kSuccess);
    EXPECT_EQ(host::drawOverrideCount(), 0u);
    EXPECT_EQ(host::textureStats().live, texturesBefore);
}

TEST_F(TestPlaneViewport, KeptDataIsHandedBackToTheNextPreparation) {
    run("refresh");
    MUserData* kept = host::keptDrawData(node("planeShape"));
    ASSERT_NE(kept, nullptr);
    run("refresh; refresh");
    EXPECT_EQ(host::keptDrawData(node("planeShape")), kept);
    const PlaneStats stats = planeStats();
    EXPECT_EQ(stats.prepares, 3);
    EXPECT_EQ(stats.handedBack, 2);
    EXPECT_EQ(stats.data, 1);
}

struct ForeignData : MUserData {
    explicit ForeignData(bool* deleted) : deleted(deleted) {}
    ~ForeignData() override { *deleted = true; }
    bool* deleted;
};

TEST_F(TestPlaneViewport, ForeignOrMissingDataIsReplacedAndTheOldOneDeleted) {
    run("refresh");
    bool foreignDeleted = false;
    host::replaceKeptDrawData(node("planeShape"), new ForeignData(&foreignDeleted));
    EXPECT_EQ(planeStats().data, 0);
    run("refresh");
    EXPECT_TRUE(foreignDeleted);
    EXPECT_EQ(planeStats().foreign, 1);
    EXPECT_EQ(planeStats().data, 1);

    host::replaceKeptDrawData(node("planeShape"), nullptr);
    run("refresh");
    EXPECT_EQ(planeStats().data, 1);
    EXPECT_NE(host::keptDrawData(node("planeShape")), nullptr);
}

TEST_F(TestPlaneViewport, DataMarkedDeleteAfterUseIsNotKept) {
    run("setAttr planeShape.disposableData 1; refresh; refresh");
    EXPECT_EQ(host::keptDrawData(node("planeShape")), nullptr);
    EXPECT_EQ(planeStats().data, 0);
    EXPECT_EQ(planeStats().handedBack, 0);
}

TEST_F(TestPlaneViewport, RefreshRecordsWhatTheOverrideDrew) {
    run("refresh");
    const std::vector<host::DrawCall> calls = host::latestDrawCalls(node("planeShape"));
    std::vector<Kind> kinds;
    for (const auto& call : calls) {
        kinds.push_back(call.kind);
    }
    ASSERT_EQ(kinds,
              (std::vector<Kind>{Kind::BeginDrawable, Kind::SetTexture, Kind::SetTextureSampler,
                                 Kind::SetTextureMask, Kind::Mesh, Kind::EndDrawable}));
    EXPECT_EQ(calls[1].texture, host::latestTexture(node("planeShape")));
    EXPECT_EQ(calls[4].positions.length(), 6u);

    run("setAttr plane.visibility 0; refresh");
    EXPECT_TRUE(host::latestDrawCalls(node("planeShape")).empty());
    EXPECT_EQ(planeStats().prepares, 1);
}

// A draw override made by the test itself, for the registry's own rules.
int unitOverridesAlive = 0;

class UnitOverride : public MHWRender::MPxDrawOverride {
public:
    explicit UnitOverride(const MObject& obj) : MPxDrawOverride(obj, nullptr) {
        ++unitOverridesAlive;
    }
    ~UnitOverride() override { --unitOverridesAlive; }
    MUserData* prepareForDraw(const MDagPath&, const MDagPath&, const MHWRender::MFrameContext&,
                              MUserData*) override {
        return nullptr;
    }
    static MHWRender::MPxDrawOverride* creator(const MObject& obj) { return new UnitOverride(obj); }
};

struct UnitLocator : MPxLocatorNode {
    static void* creator() { return new UnitLocator; }
    static MStatus initialize() { return MStatus::kSuccess; }
};

class CallbackContext : public MHWRender::MDrawContext {
public:
    CallbackContext() : MDrawContext(MDagPath(), 64, 48) {}
};

TEST(DrawContext, FrameStampGrowsByOneAtEveryRefresh) {
    const CallbackContext context;
    const MUint64 before = context.getFrameStamp();
    ASSERT_EQ(host::refresh(), MStatus::kSuccess);
    ASSERT_EQ(host::refresh(), MStatus::kSuccess);
    EXPECT_EQ(context.getFrameStamp(), before + 2);
}

TEST(DrawRegistry, CreatorDrawsExistingNodesAndTakesItsOverridesAway) {
    host::newScene();
    host::PluginNodeType type;
    type.name = "unitLocator";
    type.id = MTypeId(0x0013B1F1);
    type.creator = UnitLocator::creator;
    type.initialize = UnitLocator::initialize;
    type.kind = MPxNode::kLocatorNode;
    type.classification = "drawdb/geometry/unitLocator";
    ASSERT_EQ(host::registerPluginNodeType(type), MStatus::kSuccess);
    run("createNode unitLocator; createNode unitLocator");
    EXPECT_EQ(unitOverridesAlive, 0);

    using MHWRender::MDrawRegistry;
    ASSERT_EQ(MDrawRegistry::registerDrawOverrideCreator(type.classification, "unit",
                                                         UnitOverride::creator),
              MStatus::kSuccess);
    EXPECT_EQ(unitOverridesAlive, 0);
    EXPECT_EQ(MDrawRegistry::registerDrawOverrideCreator(type.classification, "other",
                                                         UnitOverride::creator),
              MStatus::kFailure);
    EXPECT_EQ(MDrawRegistry::deregisterDrawOverrideCreator(type.classification, "other"),
              MStatus::kFailure);
    run("refresh");
    EXPECT_EQ(unitOverridesAlive, 2);

    EXPECT_EQ(MDrawRegistry::deregisterDrawOverrideCreator(type.classification, "unit"),
              MStatus::kSuccess);
    EXPECT_EQ(unitOverridesAlive, 0);
    run("createNode unitLocator");
    EXPECT_EQ(unitOverridesAlive, 0);
    EXPECT_EQ(host::deregisterPluginNodeType(type.id), MStatus::kSuccess);
}

// A host-side locator drawn under the test plug-in's classification, so that the plug-in's
// creator makes overrides for nodes that outlive the plug-in's own types.
class PluginDrawCleanup : public ::testing::Test {
protected:
    void SetUp() override {
        host::newScene();
        texturesBefore = host::textureStats().live;
        overridesBefore = host::drawOverridesAlive();
        host::PluginNodeType type;
        type.name = "borrowedPlane";
        type.id = MTypeId(0x0013B1F2);
        type.creator = UnitLocator::creator;
        type.initialize = UnitLocator::initialize;
        type.kind = MPxNode::kLocatorNode;
        type.classification = "drawdb/geometry/testPlane";
        ASSERT_EQ(host::registerPluginNodeType(type), MStatus::kSuccess);
        run("createNode transform -n borrowed; createNode borrowedPlane -n borrowedShape -p "
            "borrowed");
        host::resetMessageCounts();
    }
    void TearDown() override {
        unsetenv("TESTPLANE_FAIL_AT");
        unsetenv("TESTPLANE_KEEP_CREATOR");
        if (host::isPluginLoaded("libtestplane")) {
            EXPECT_EQ(host::unloadPlugin("libtestplane", true), MStatus::kSuccess);
        }
        EXPECT_EQ(host::deregisterPluginNodeType(MTypeId(0x0013B1F2)), MStatus::kSuccess);
        host::newScene();
        EXPECT_EQ(host::drawOverridesAlive(), overridesBefore);
        EXPECT_EQ(host::textureStats().live, texturesBefore);
    }

    static MStatus loadTestPlane() {
        return host::loadPlugin(testsupport::testPluginDir() + "/libtestplane.so");
    }

    std::size_t texturesBefore = 0;
    std::size_t overridesBefore = 0;
};

TEST_F(PluginDrawCleanup, AFailedLoadDropsItsCreator) {
    setenv("TESTPLANE_FAIL_AT", "command", 1);
    EXPECT_EQ(loadTestPlane(), MStatus::kFailure);
    EXPECT_FALSE(host::isPluginLoaded("libtestplane"));
    EXPECT_EQ(host::drawOverrideCount(), 0u);
    EXPECT_EQ(host::drawOverridesAlive(), overridesBefore) << "override abandoned, not destroyed";
    EXPECT_EQ(host::messageCounts().warnings, 1);
    run("refresh");
    EXPECT_EQ(host::drawOverrideCount(), 0u);

    // The classification is free again for the next load.
    unsetenv("TESTPLANE_FAIL_AT");
    ASSERT_EQ(loadTestPlane(), MStatus::kSuccess);
    run("refresh");
    EXPECT_NE(host::drawOverrideFor(node("borrowedShape")), nullptr);
}

TEST_F(PluginDrawCleanup, UnloadingWithoutDeregisteringDestroysOverridesAndDropsTheCreator) {
    ASSERT_EQ(loadTestPlane(), MStatus::kSuccess);
    run("createNode testPlane -n ownShape; refresh");
    EXPECT_EQ(host::drawOverrideCount(), 2u);
    EXPECT_EQ(host::textureStats().live, texturesBefore + 2);

    setenv("TESTPLANE_KEEP_CREATOR", "1", 1);
    ASSERT_EQ(host::unloadPlugin("libtestplane", true), MStatus::kSuccess);
    EXPECT_EQ(host::drawOverrideCount(), 0u);
    EXPECT_EQ(host::drawOverridesAlive(), overridesBefore);
    EXPECT_EQ(host::textureStats().live, texturesBefore) << "override destructors did not run";
    EXPECT_NE(host::lastMessage(host::MessageKind::kWarning).find("drawdb/geometry/testPlane"),
              std::string::npos);
    run("createNode borrowedPlane; refresh");
    EXPECT_EQ(host::drawOverrideCount(), 0u);

    unsetenv("TESTPLANE_KEEP_CREATOR");
    ASSERT_EQ(loadTestPlane(), MStatus::kSuccess);
    run("refresh");
    EXPECT_EQ(host::drawOverrideCount(), 2u);
}

}  // namespace
