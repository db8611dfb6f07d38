#include "TestNodes.h"

#include <host/CommandsInCompute.h>
#include <maya/MDGModifier.h>
#include <maya/MFnAttribute.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnEnumAttribute.h>
#include <maya/MFnMatrixData.h>
#include <maya/MGlobal.h>

namespace dgtest {
namespace {

using Values = DgTest;

TEST_F(Values, NewNodesHoldTheAttributeDefaults) {
    createNode("dgDoubler", "d");
    EXPECT_DOUBLE_EQ(plugOf("d.input").asDouble(), 1.5);
    EXPECT_EQ(plugOf("d.cnt").asInt(), 3);
    EXPECT_FALSE(plugOf("d.flag").asBool());
    EXPECT_EQ(plugOf("d.mode").asShort(), 1);
    EXPECT_EQ(plugOf("d.text").asString(), "");
    EXPECT_TRUE(
        MFnMatrixData(plugOf("d.matrixIn").asMObject()).matrix().isEquivalent(MMatrix::identity));
    EXPECT_TRUE(plugOf("d.input").isDefaultValue());
}

TEST_F(Values, SetValuesAreClampedToHardLimits) {
    createNode("dgDoubler", "d");
    MPlug input = plugOf("d.input");
    EXPECT_EQ(input.setDouble(25.0), MStatus::kSuccess);
    EXPECT_DOUBLE_EQ(input.asDouble(), 10.0);
    input.setDouble(-11.0);
    EXPECT_DOUBLE_EQ(input.asDouble(), -10.0);
    MPlug count = plugOf("d.count");
    count.setInt(-4);
    EXPECT_EQ(count.asInt(), 0);
    count.setDouble(2.6);
    EXPECT_EQ(count.asInt(), 3);
}

TEST_F(Values, TypedEnumTimeAndMatrixPlugsKeepWhatIsSet) {
    createNode("dgDoubler", "d");
    plugOf("d.text").setString("/media/clip.mov");
    EXPECT_EQ(plugOf("d.text").asString(), "/media/clip.mov");
    EXPECT_NE(plugOf("d.text").setDouble(1.0), MStatus::kSuccess);
    plugOf("d.mode").setShort(2);
    EXPECT_EQ(plugOf("d.mode").asInt(), 2);

    MMatrix moved;
    moved(3, 0) = 4.0;
    MFnMatrixData data;
    EXPECT_EQ(plugOf("d.matrixIn").setMObject(data.create(moved)), MStatus::kSuccess);
    EXPECT_DOUBLE_EQ(MFnMatrixData(plugOf("d.matrixIn").asMObject()).matrix()(3, 0), 4.0);

    plugOf("d.time").setMTime(MTime(2.0, MTime::kSeconds));
    EXPECT_DOUBLE_EQ(plugOf("d.time").asMTime().value(), 48.0);
}

TEST_F(Values, AttributeFlagsAndEnumFieldsReadBack) {
    MFnAttribute hidden(Doubler::aHidden);
    EXPECT_TRUE(hidden.isHidden());
    EXPECT_FALSE(hidden.isConnectable());
    EXPECT_FALSE(hidden.isStorable());
    EXPECT_TRUE(MFnAttribute(Doubler::aInput).isKeyable());
    EXPECT_TRUE(MFnAttribute(Doubler::aText).isUsedAsFilename());
    EXPECT_EQ(MFnAttribute(Marker::aWorldIn).disconnectBehavior(), MFnAttribute::kReset);

    MFnEnumAttribute mode(Doubler::aMode);
    EXPECT_EQ(mode.fieldName(2), "High");
    EXPECT_EQ(mode.fieldIndex("Low"), 1);
    MStatus status;
    mode.fieldIndex("Missing", &status);
    EXPECT_NE(status, MStatus::kSuccess);
    EXPECT_EQ(mode.addField("Low", 7), MStatus::kInvalidParameter);
}

using Evaluation = DgTest;

TEST_F(Evaluation, ComputeRunsOnlyWhenAnAffectingInputChanged) {
    createNode("dgDoubler", "d");
    MPlug sum = plugOf("d.sum");
    EXPECT_DOUBLE_EQ(sum.asDouble(), 6.0);
    EXPECT_DOUBLE_EQ(sum.asDouble(), 6.0);
    EXPECT_EQ(Doubler::computeCount, 1);

    plugOf("d.flag").setBool(true);  // affects nothing
    plugOf("d.text").setString("x");
    sum.asDouble();
    EXPECT_EQ(Doubler::computeCount, 1);

    plugOf("d.input").setDouble(4.0);
    EXPECT_DOUBLE_EQ(sum.asDouble(), 11.0);
    EXPECT_EQ(Doubler::computeCount, 2);
}

// compute relies on its inputs alone: a MEL command run from it is counted and named once.
TEST_F(Evaluation, CommandsRunFromComputeAreReported) {
    createNode("dgDoubler", "d");
    MGlobal::executeCommand("currentTime -q", false, false);
    EXPECT_EQ(host::commandsInCompute(), 0u) << "a command outside compute";

    Doubler::commandInCompute = "workspace -q -rootDirectory";
    testing::internal::CaptureStderr();
    plugOf("d.sum").asDouble();
    plugOf("d.input").setDouble(4.0);
    plugOf("d.sum").asDouble();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(host::commandsInCompute(), 2u);
    EXPECT_NE(
        err.find("// Warning: workspace -q -rootDirectory run from the compute of dgDoubler //"),
        std::string::npos)
        << err;
    EXPECT_EQ(err.find("Warning", err.find("Warning") + 1), std::string::npos)
        << "warned more than once: " << err;
}

TEST_F(Evaluation, ComputeDecliningAPlugLeavesItsValue) {
    createNode("dgDoubler", "d");
    plugOf("d.input").setDouble(3.0);
    EXPECT_DOUBLE_EQ(plugOf("d.declined").asDouble(), 7.0);
}

TEST_F(Evaluation, ReadingDownstreamPullsThroughConnections) {
    createNode("dgDoubler", "a");
    createNode("dgDoubler", "b");
    MDGModifier modifier;
    modifier.connect(plugOf("a.sum"), plugOf("b.input"));
    ASSERT_EQ(modifier.doIt(), MStatus::kSuccess);

    EXPECT_DOUBLE_EQ(plugOf("b.sum").asDouble(), (1.5 * 2 + 3) * 2 + 3);
    EXPECT_EQ(Doubler::computeCount, 2);
    plugOf("b.sum").asDouble();
    EXPECT_EQ(Doubler::computeCount, 2);

    plugOf("a.count").setInt(0);
    EXPECT_DOUBLE_EQ(plugOf("b.sum").asDouble(), 3.0 * 2 + 3);
    EXPECT_EQ(Doubler::computeCount, 4);
}

TEST_F(Evaluation, DataBlockValuesComeFromTheNodesPlugs) {
    MObject node = createNode("dgDoubler", "d");
    plugOf("d.count").setInt(5);
    MFnDependencyNode fn(node);
    auto* doubler = dynamic_cast<Doubler*>(fn.userNode());
    ASSERT_NE(doubler, nullptr);
    EXPECT_EQ(doubler->thisMObject(), node);
    EXPECT_EQ(doubler->name(), "d");
    EXPECT_EQ(doubler->typeName(), "dgDoubler");
    EXPECT_DOUBLE_EQ(fn.findPlug("sum", true).asDouble(), 8.0);
}

TEST_F(Evaluation, ForcedDataBlockPullsInputsAndCopiesShareTheNode) {
    MObject node = createNode("dgDoubler", "d");
    auto* doubler = dynamic_cast<Doubler*>(MFnDependencyNode(node).userNode());
    ASSERT_NE(doubler, nullptr);
    MDataBlock block = doubler->_forceCache();
    plugOf("d.input").setDouble(2.0);
    EXPECT_DOUBLE_EQ(block.inputValue(Doubler::aInput).asDouble(), 2.0);

    MDataBlock copy = block;
    EXPECT_EQ(doubler->compute(plugOf("d.sum"), copy), MStatus::kSuccess);
    EXPECT_TRUE(block.isClean(Doubler::aSum));
    EXPECT_DOUBLE_EQ(plugOf("d.sum").asDouble(), 7.0);
    EXPECT_EQ(Doubler::computeCount, 1);
}

TEST(ForceCache, ANodeTheHostDidNotMakeHasAnEmptyBlock) {
    Doubler loose;
    MDataBlock block = loose._forceCache();
    MStatus status;
    block.inputValue(Doubler::aInput, &status);
    EXPECT_NE(status, MStatus::kSuccess);
    EXPECT_NE(block.setClean(Doubler::aSum), MStatus::kSuccess);
}

}  // namespace
}  // namespace dgtest
