#include "TestNodes.h"

#include <host/Commands.h>
#include <maya/MDagModifier.h>
#include <maya/MDagPath.h>
#include <maya/MDagPathArray.h>
#include <maya/MFnDagNode.h>
#include <maya/MFnMatrixData.h>
#include <maya/MSelectionList.h>

#include "TestSupport.h"

#include <string>

namespace dgtest {
namespace {

using Instances = DgTest;

MMatrix worldMatrixOf(const MString& node, unsigned int instance) {
    MPlug plug = plugOf(node + ".worldMatrix").elementByLogicalIndex(instance);
    return MFnMatrixData(plug.asMObject()).matrix();
}

std::string run(const std::string& script) {
    host::CommandOutcome last;
    host::ScriptOptions options;
    EXPECT_EQ(host::runScript(script, options, &last), MStatus::kSuccess) << script;
    return last.resultText;
}

std::vector<std::string> fullPaths(const MObject& node) {
    MDagPathArray paths;
    EXPECT_EQ(MDagPath::getAllPathsTo(node, paths), MStatus::kSuccess);
    std::vector<std::string> names;
    for (unsigned int i = 0; i < paths.length(); ++i) {
        names.push_back(paths[i].fullPathName().asChar());
    }
    return names;
}

// a and b both hold "leaf"; a sits under "root".
class SharedLeaf : public Instances {
protected:
    void SetUp() override {
        Instances::SetUp();
        createNode("transform", "root");
        createNode("transform", "a");
        createNode("transform", "b");
        createNode("transform", "leaf");
        MObject leaf = nodeNamed("leaf");
        MObject a = nodeNamed("a");
        ASSERT_EQ(MFnDagNode(nodeNamed("root")).addChild(a), MStatus::kSuccess);
        ASSERT_EQ(MFnDagNode(nodeNamed("a")).addChild(leaf), MStatus::kSuccess);
        ASSERT_EQ(MFnDagNode(nodeNamed("b")).addChild(leaf, MFnDagNode::kNextPos, true),
                  MStatus::kSuccess);
        plugOf("root.translateX").setDouble(1.0);
        plugOf("b.translateY").setDouble(2.0);
        plugOf("leaf.translateZ").setDouble(3.0);
    }
};

TEST_F(SharedLeaf, EachPathHasItsOwnWorldMatrix) {
    EXPECT_EQ(fullPaths(nodeNamed("leaf")), (std::vector<std::string>{"|root|a|leaf", "|b|leaf"}));
    EXPECT_EQ(MFnDagNode(nodeNamed("leaf")).parentCount(), 2u);
    EXPECT_TRUE(MFnDagNode(nodeNamed("leaf")).isInstanced());
    EXPECT_FALSE(MFnDagNode(nodeNamed("a")).isInstanced());

    EXPECT_DOUBLE_EQ(worldMatrixOf("leaf", 0)(3, 0), 1.0);
    EXPECT_DOUBLE_EQ(worldMatrixOf("leaf", 0)(3, 1), 0.0);
    EXPECT_DOUBLE_EQ(worldMatrixOf("leaf", 1)(3, 0), 0.0);
    EXPECT_DOUBLE_EQ(worldMatrixOf("leaf", 1)(3, 1), 2.0);
    EXPECT_DOUBLE_EQ(worldMatrixOf("leaf", 1)(3, 2), 3.0);

    plugOf("b.translateY").setDouble(-4.0);  // dirties the second instance's matrix
    EXPECT_DOUBLE_EQ(worldMatrixOf("leaf", 1)(3, 1), -4.0);
    MDagPathArray paths;
    MDagPath::getAllPathsTo(nodeNamed("leaf"), paths);
    EXPECT_DOUBLE_EQ(paths[1].inclusiveMatrix()(3, 1), -4.0);
    EXPECT_DOUBLE_EQ(paths[1].exclusiveMatrix()(3, 1), -4.0);
    EXPECT_EQ(paths[1].instanceNumber(), 1u);
    EXPECT_EQ(paths[0].partialPathName(), "a|leaf");
    EXPECT_EQ(paths[1].partialPathName(), "b|leaf");
    MDagPath popped = paths[1];
    popped.pop();
    EXPECT_EQ(popped.fullPathName(), "|b");

    // A selection keeps the instance a path names.
    MSelectionList named;
    ASSERT_EQ(named.add("b|leaf"), MStatus::kSuccess);
    ASSERT_EQ(named.add("leaf"), MStatus::kSuccess);
    ASSERT_EQ(named.length(), 2u);
    MDagPath selected;
    named.getDagPath(0, selected);
    EXPECT_EQ(selected.fullPathName(), "|b|leaf");
    named.getDagPath(1, selected);
    EXPECT_EQ(selected.fullPathName(), "|root|a|leaf");
    MStringArray strings;
    named.getSelectionStrings(strings);
    EXPECT_EQ(strings[0], "b|leaf");
    EXPECT_EQ(MFnDagNode(paths[1]).partialPathName(), "b|leaf");

    // An instanced ancestor multiplies the paths below it.
    MObject a = nodeNamed("a");
    ASSERT_EQ(MFnDagNode(nodeNamed("b")).addChild(a, 0, true), MStatus::kSuccess);
    EXPECT_EQ(fullPaths(nodeNamed("leaf")),
              (std::vector<std::string>{"|root|a|leaf", "|b|a|leaf", "|b|leaf"}));
    EXPECT_DOUBLE_EQ(worldMatrixOf("leaf", 1)(3, 1), -4.0);
    EXPECT_DOUBLE_EQ(worldMatrixOf("leaf", 2)(3, 1), -4.0);
    EXPECT_DOUBLE_EQ(worldMatrixOf("leaf", 0)(3, 0), 1.0);
}

TEST_F(SharedLeaf, DeletingAParentTakesOnlyItsInstanceAndUndoBringsItBack) {
    MDGModifier modifier;
    modifier.deleteNode(nodeNamed("b"));
    ASSERT_EQ(modifier.doIt(), MStatus::kSuccess);
    EXPECT_EQ(fullPaths(nodeNamed("leaf")), (std::vector<std::string>{"|root|a|leaf"}));
    EXPECT_DOUBLE_EQ(worldMatrixOf("leaf", 0)(3, 0), 1.0);
    ASSERT_EQ(modifier.undoIt(), MStatus::kSuccess);
    EXPECT_EQ(fullPaths(nodeNamed("leaf")), (std::vector<std::string>{"|root|a|leaf", "|b|leaf"}));
    EXPECT_DOUBLE_EQ(worldMatrixOf("leaf", 1)(3, 1), 2.0);

    // The first parent going makes the other instance the first.
    MDGModifier first;
    first.deleteNode(nodeNamed("root"));
    ASSERT_EQ(first.doIt(), MStatus::kSuccess);
    EXPECT_EQ(fullPaths(nodeNamed("leaf")), (std::vector<std::string>{"|b|leaf"}));
    EXPECT_DOUBLE_EQ(worldMatrixOf("leaf", 0)(3, 1), 2.0);
    ASSERT_EQ(first.undoIt(), MStatus::kSuccess);
    EXPECT_EQ(fullPaths(nodeNamed("leaf")), (std::vector<std::string>{"|root|a|leaf", "|b|leaf"}));

    // Deleting the node itself takes every instance.
    MDGModifier all;
    all.deleteNode(nodeNamed("leaf"));
    ASSERT_EQ(all.doIt(), MStatus::kSuccess);
    EXPECT_EQ(MFnDagNode(nodeNamed("b")).childCount(), 0u);
    EXPECT_EQ(MFnDagNode(nodeNamed("a")).childCount(), 0u);
    ASSERT_EQ(all.undoIt(), MStatus::kSuccess);
    EXPECT_EQ(fullPaths(nodeNamed("leaf")), (std::vector<std::string>{"|root|a|leaf", "|b|leaf"}));
}

TEST_F(SharedLeaf, RemovingOneInstanceAndRefusingLoops) {
    MObject leaf = nodeNamed("leaf");
    EXPECT_NE(MFnDagNode(nodeNamed("b")).addChild(leaf, MFnDagNode::kNextPos, true),
              MStatus::kSuccess)
        << "a parent holds a child once";
    MObject root = nodeNamed("root");
    EXPECT_NE(MFnDagNode(nodeNamed("leaf")).addChild(root, MFnDagNode::kNextPos, true),
              MStatus::kSuccess)
        << "a node under itself";
    ASSERT_EQ(MFnDagNode(nodeNamed("b")).removeChild(leaf), MStatus::kSuccess);
    EXPECT_EQ(fullPaths(leaf), (std::vector<std::string>{"|root|a|leaf"}));
    MFnDagNode(nodeNamed("leaf")).setInstanceable(false);
    EXPECT_NE(MFnDagNode(nodeNamed("b")).addChild(leaf, MFnDagNode::kNextPos, true),
              MStatus::kSuccess);
}

TEST_F(Instances, ASavedSceneKeepsItsInstances) {
    testsupport::TempDir dir;
    const std::string scene = dir.file("instanced.ma");
    run("createNode transform -n a; createNode transform -n leaf -p a; setAttr a.translateX 2;"
        "instance -n b a; setAttr b.translateX 5; createNode transform -n g; parent -r b g;");
    EXPECT_EQ(run("ls -long leaf"), "|a|leaf |g|b|leaf");
    run("file -rename \"" + scene + "\"; file -save; file -f -new; file -open \"" + scene + "\"");
    EXPECT_EQ(run("ls -long leaf"), "|a|leaf |g|b|leaf");
    EXPECT_DOUBLE_EQ(worldMatrixOf("leaf", 1)(3, 0), 5.0);
    EXPECT_EQ(run("listRelatives -allParents leaf"), "a b");
    run("file -f -new");
}

}  // namespace
}  // namespace dgtest
