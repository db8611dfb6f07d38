#include <gtest/gtest.h>
#include <host/Commands.h>
#define MNoVersionString
#include <maya/MFnPlugin.h>
#include <maya/MPxCommand.h>
#include <maya/MPxNode.h>

namespace {

class Nothing : public MPxCommand {
public:
    static void* creator() { return new Nothing; }
    MStatus doIt(const MArgList&) override { return MStatus::kSuccess; }
};

class PlainNode : public MPxNode {
public:
    static void* creator() { return new PlainNode; }
    static MStatus initialize() { return MStatus::kSuccess; }
};

TEST(RegistrationTest, ACommandNameCanBeTakenOnce) {
    MObject none;
    MFnPlugin plugin(none);
    EXPECT_EQ(plugin.registerCommand("regOnce", Nothing::creator), MStatus::kSuccess);
    EXPECT_EQ(plugin.registerCommand("regOnce", Nothing::creator), MStatus::kFailure);
    EXPECT_EQ(plugin.registerCommand("createNode", Nothing::creator), MStatus::kFailure);
    EXPECT_EQ(plugin.deregisterCommand("regOnce"), MStatus::kSuccess);
    EXPECT_FALSE(host::commandExists("regOnce"));
    EXPECT_EQ(plugin.deregisterCommand("regOnce"), MStatus::kFailure);
    EXPECT_EQ(plugin.registerCommand("regOnce", Nothing::creator), MStatus::kSuccess);
}

TEST(RegistrationTest, HostCommandsCannotBeDeregistered) {
    MObject none;
    EXPECT_EQ(MFnPlugin(none).deregisterCommand("setAttr"), MStatus::kFailure);
    EXPECT_TRUE(host::commandExists("setAttr"));
}

TEST(RegistrationTest, ANodeTypeIdOrNameCanBeTakenOnce) {
    MObject none;
    MFnPlugin plugin(none);
    EXPECT_EQ(
        plugin.registerNode("regNode", MTypeId(0x7F0E1), PlainNode::creator, PlainNode::initialize),
        MStatus::kSuccess);
    EXPECT_EQ(plugin.registerNode("regNodeOther", MTypeId(0x7F0E1), PlainNode::creator,
                                  PlainNode::initialize),
              MStatus::kFailure);
    EXPECT_EQ(
        plugin.registerNode("regNode", MTypeId(0x7F0E2), PlainNode::creator, PlainNode::initialize),
        MStatus::kFailure);
    EXPECT_EQ(plugin.registerNode("transform", MTypeId(0x7F0E3), PlainNode::creator,
                                  PlainNode::initialize),
              MStatus::kFailure);
    EXPECT_EQ(plugin.deregisterNode(MTypeId(0x7F0E1)), MStatus::kSuccess);
    EXPECT_EQ(plugin.deregisterNode(MTypeId(0x7F0E1)), MStatus::kFailure);
    EXPECT_EQ(plugin.registerNode("regNodeOther", MTypeId(0x7F0E1), PlainNode::creator,
                                  PlainNode::initialize),
              MStatus::kSuccess);
}

TEST(RegistrationTest, TheFunctionSetKeepsWhatItWasGiven) {
    MObject none;
    MFnPlugin plugin(none, "Vendor Inc.", "1.01", "Any");
    EXPECT_EQ(plugin.vendor(), "Vendor Inc.");
    EXPECT_EQ(plugin.version(), "1.01");
    MFnPlugin defaults(none);
    EXPECT_EQ(defaults.vendor(), "Unknown");
    EXPECT_EQ(defaults.version(), "Unknown");
}

}  // namespace
