#include "TestNodes.h"

#include <host/CommandsInCompute.h>
#include <host/NodeTypes.h>
#include <host/Scene.h>
#include <maya/MDGModifier.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnEnumAttribute.h>
#include <maya/MFnMatrixAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MFnUnitAttribute.h>
#include <maya/MGlobal.h>
#include <maya/MSelectionList.h>

namespace dgtest {

int Doubler::computeCount = 0;
MString Doubler::commandInCompute;
MObject Doubler::aInput;
MObject Doubler::aCount;
MObject Doubler::aFlag;
MObject Doubler::aMode;
MObject Doubler::aText;
MObject Doubler::aTime;
MObject Doubler::aMatrix;
MObject Doubler::aHidden;
MObject Doubler::aSum;
MObject Doubler::aDeclined;
MObject Marker::aWorldIn;

MStatus Doubler::initialize() {
    MFnNumericAttribute numericFn;
    aInput = numericFn.create("input", "in", MFnNumericData::kDouble, 1.5);
    numericFn.setMin(-10.0);
    numericFn.setMax(10.0);
    numericFn.setKeyable(true);
    addAttribute(aInput);
    aCount = numericFn.create("count", "cnt", MFnNumericData::kInt, 3);
    numericFn.setMin(0.0);
    addAttribute(aCount);
    aFlag = numericFn.create("flag", "fl", MFnNumericData::kBoolean, 0);
    addAttribute(aFlag);
    aHidden = numericFn.create("hiddenValue", "hv", MFnNumericData::kInt, 0);
    numericFn.setConnectable(false);
    numericFn.setHidden(true);
    numericFn.setStorable(false);
    addAttribute(aHidden);
    aSum = numericFn.create("sum", "sum", MFnNumericData::kDouble, 0.0);
    numericFn.setStorable(false);
    addAttribute(aSum);
    aDeclined = numericFn.create("declined", "dcl", MFnNumericData::kDouble, 7.0);
    addAttribute(aDeclined);

    MFnEnumAttribute enumFn;
    aMode = enumFn.create("mode", "md", 1);
    enumFn.addField("Off", 0);
    enumFn.addField("Low", 1);
    enumFn.addField("High", 2);
    addAttribute(aMode);

    MFnTypedAttribute typedFn;
    aText = typedFn.create("text", "txt", MFnData::kString);
    typedFn.setUsedAsFilename(true);
    addAttribute(aText);

    MFnUnitAttribute unitFn;
    aTime = unitFn.create("time", "tm", MFnUnitAttribute::kTime, 0.0);
    addAttribute(aTime);

    MFnMatrixAttribute matrixFn;
    aMatrix = matrixFn.create("matrixIn", "mi");
    addAttribute(aMatrix);

    attributeAffects(aInput, aSum);
    attributeAffects(aCount, aSum);
    attributeAffects(aInput, aDeclined);
    return MStatus::kSuccess;
}

MStatus Doubler::compute(const MPlug& plug, MDataBlock& data) {
    if (plug != aSum) {
        return MStatus::kUnknownParameter;
    }
    ++computeCount;
    if (commandInCompute.length() > 0) {
        MGlobal::executeCommand(commandInCompute, false, false);
    }
    const double sum = data.inputValue(aInput).asDouble() * 2 + data.inputValue(aCount).asInt();
    MDataHandle out = data.outputValue(aSum);
    out.setDouble(sum);
    out.setClean();
    return MStatus::kSuccess;
}

MStatus Marker::initialize() {
    MFnMatrixAttribute matrixFn;
    aWorldIn = matrixFn.create("worldIn", "wi");
    matrixFn.setDisconnectBehavior(MFnAttribute::kReset);
    return addAttribute(aWorldIn);
}

void DgTest::SetUp() {
    static const bool registered = [] {
        host::PluginNodeType doubler;
        doubler.name = "dgDoubler";
        doubler.id = MTypeId(0x7F001);
        doubler.creator = Doubler::creator;
        doubler.initialize = Doubler::initialize;
        doubler.pluginName = "dgTestPlugin";
        host::PluginNodeType marker;
        marker.name = "DgMarker";
        marker.id = MTypeId(0x7F002);
        marker.creator = Marker::creator;
        marker.initialize = Marker::initialize;
        marker.kind = MPxNode::kLocatorNode;
        marker.classification = "drawdb/geometry/DgMarker";
        return host::registerPluginNodeType(doubler) == MStatus::kSuccess &&
               host::registerPluginNodeType(marker) == MStatus::kSuccess;
    }();
    ASSERT_TRUE(registered);
    host::newScene();
    Doubler::computeCount = 0;
    Doubler::commandInCompute = MString();
    host::resetCommandsInCompute();
}

MObject nodeNamed(const MString& name) {
    MSelectionList list;
    MObject node;
    if (list.add(name) == MStatus::kSuccess) {
        list.getDependNode(0, node);
    }
    return node;
}

MObject createNode(const MString& type, const MString& name) {
    MFnDependencyNode fn;
    MStatus status;
    MObject node = name.length() ? fn.create(type, name, &status) : fn.create(type, &status);
    EXPECT_EQ(status, MStatus::kSuccess) << type;
    return node;
}

MPlug plugOf(const MString& name) {
    MSelectionList list;
    MPlug plug;
    EXPECT_EQ(list.add(name), MStatus::kSuccess) << name;
    list.getPlug(0, plug);
    return plug;
}

}  // namespace dgtest
