#include "TestNodes.h"

#include <host/PlugText.h>
#include <host/Scene.h>
#include <maya/MDGModifier.h>
#include <maya/MFnMatrixData.h>
#include <maya/MPlugArray.h>

namespace dgtest {
namespace {

using Connections = DgTest;

MStatus connectNow(const MPlug& source, const MPlug& destination) {
    MDGModifier modifier;
    MStatus queued = modifier.connect(source, destination);
    return queued ? modifier.doIt() : queued;
}

TEST_F(Connections, RefusedBetweenIncompatibleOrUnconnectableAttributes) {
    createNode("dgDoubler", "a");
    createNode("dgDoubler", "b");
    EXPECT_EQ(connectNow(plugOf("a.text"), plugOf("b.matrixIn")), MStatus::kFailure);
    EXPECT_EQ(connectNow(plugOf("a.sum"), plugOf("b.hiddenValue")), MStatus::kFailure);
    EXPECT_EQ(connectNow(plugOf("a.hiddenValue"), plugOf("b.input")), MStatus::kFailure);
    EXPECT_FALSE(plugOf("b.matrixIn").isConnected());
    EXPECT_FALSE(plugOf("b.input").isConnected());
    // Numbers of any kind, enumerations and times connect to each other.
    EXPECT_EQ(connectNow(plugOf("a.mode"), plugOf("b.input")), MStatus::kSuccess);
    EXPECT_EQ(connectNow(plugOf("time1.outTime"), plugOf("b.count")), MStatus::kSuccess);
}

TEST_F(Connections, ADestinationTakesOneSource) {
    createNode("dgDoubler", "a");
    createNode("dgDoubler", "b");
    createNode("dgDoubler", "c");
    ASSERT_EQ(connectNow(plugOf("a.sum"), plugOf("c.input")), MStatus::kSuccess);
    EXPECT_EQ(host::connectionProblem(plugOf("b.sum"), plugOf("c.input")),
              "'c.input' already has an incoming connection.");
    EXPECT_EQ(connectNow(plugOf("b.sum"), plugOf("c.input")), MStatus::kFailure);

    MPlugArray sources;
    EXPECT_TRUE(plugOf("c.input").connectedTo(sources, true, false));
    ASSERT_EQ(sources.length(), 1u);
    EXPECT_EQ(sources[0].name(), "a.sum");
    EXPECT_TRUE(plugOf("a.sum").isSource());
    EXPECT_TRUE(plugOf("c.input").isDestination());
}

TEST_F(Connections, ADrivenPlugRefusesToBeSet) {
    createNode("dgDoubler", "a");
    createNode("dgDoubler", "b");
    ASSERT_EQ(connectNow(plugOf("a.sum"), plugOf("b.input")), MStatus::kSuccess);
    EXPECT_EQ(plugOf("b.input").setDouble(1.0), MStatus::kFailure);
    EXPECT_EQ(host::setPlugFromText(plugOf("b.input"), {"1"}, ""), MStatus::kFailure);
    EXPECT_DOUBLE_EQ(plugOf("b.input").asDouble(), 6.0);
}

TEST_F(Connections, DisconnectKeepsOrResetsAsTheAttributeSays) {
    createNode("dgDoubler", "a");
    createNode("dgDoubler", "b");
    MObject marker = createNode("DgMarker");
    ASSERT_EQ(connectNow(plugOf("a.sum"), plugOf("b.input")), MStatus::kSuccess);
    ASSERT_EQ(connectNow(plugOf("persp.worldMatrix").elementByLogicalIndex(0),
                         plugOf("dgMarkerShape1.worldIn")),
              MStatus::kSuccess);
    EXPECT_DOUBLE_EQ(MFnMatrixData(plugOf("dgMarkerShape1.worldIn").asMObject()).matrix()(3, 0),
                     28.0);

    MDGModifier modifier;
    modifier.disconnect(plugOf("a.sum"), plugOf("b.input"));
    modifier.disconnect(plugOf("persp.worldMatrix[0]"), plugOf("dgMarkerShape1.worldIn"));
    ASSERT_EQ(modifier.doIt(), MStatus::kSuccess);
    EXPECT_DOUBLE_EQ(plugOf("b.input").asDouble(), 6.0);
    EXPECT_TRUE(MFnMatrixData(plugOf("dgMarkerShape1.worldIn").asMObject())
                    .matrix()
                    .isEquivalent(MMatrix::identity));

    ASSERT_EQ(modifier.undoIt(), MStatus::kSuccess);
    EXPECT_TRUE(plugOf("b.input").isDestination());
    EXPECT_TRUE(plugOf("dgMarkerShape1.worldIn").isDestination());
}

TEST_F(Connections, TimePlugsReadInTheCurrentUiUnit) {
    createNode("dgDoubler", "d");
    ASSERT_EQ(connectNow(plugOf("time1.outTime"), plugOf("d.time")), MStatus::kSuccess);
    ASSERT_EQ(host::setCurrentTime(MTime(17.0, MTime::kFilm)), MStatus::kSuccess);
    EXPECT_DOUBLE_EQ(plugOf("d.time").asMTime().value(), 17.0);
    EXPECT_EQ(plugOf("d.time").asMTime().unit(), MTime::uiUnit());

    const MTime::Unit previous = MTime::uiUnit();
    MTime::setUIUnit(MTime::kPALFrame);
    EXPECT_NEAR(plugOf("d.time").asMTime().value(), 17.0 * 25.0 / 24.0, 1e-9);
    MTime::setUIUnit(previous);
}

}  // namespace
}  // namespace dgtest
