#pragma once

#include <maya/MDataBlock.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MPxLocatorNode.h>
#include <maya/MPxNode.h>
#include <maya/MString.h>

#include <gtest/gtest.h>

namespace dgtest {

// Depend node: "sum" = input × 2 + count, counting its computes; "declined" is never computed.
class Doubler : public MPxNode {
public:
    static void* creator() { return new Doubler(); }
    static MStatus initialize();
    MStatus compute(const MPlug& plug, MDataBlock& data) override;

    static int computeCount;
    // MEL run from each compute of "sum"; empty for none.
    static MString commandInCompute;
    static MObject aInput;
    static MObject aCount;
    static MObject aFlag;
    static MObject aMode;
    static MObject aText;
    static MObject aTime;
    static MObject aMatrix;
    static MObject aHidden;
    static MObject aSum;
    static MObject aDeclined;
};

// Locator with a matrix input that resets when disconnected.
class Marker : public MPxLocatorNode {
public:
    static void* creator() { return new Marker(); }
    static MStatus initialize();

    static MObject aWorldIn;
};

// Registers the types once per process; every test starts from a new scene.
class DgTest : public ::testing::Test {
protected:
    void SetUp() override;
};

MObject nodeNamed(const MString& name);
MObject createNode(const MString& type, const MString& name = MString());
MPlug plugOf(const MString& name);

}  // namespace dgtest
