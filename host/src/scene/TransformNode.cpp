#include "scene/TransformNode.h"

#include <maya/MFnMatrixAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnUnitAttribute.h>
#include <maya/MTransformationMatrix.h>
#include <maya/MVector.h>

namespace host {
namespace {

// A compound of three keyable children named <name>X, <name>Y, <name>Z.
MObject makeTriple(const char* longName, const char* shortName, bool angle, double defaultValue,
                   MObject* children[3]) {
    const char* axes[] = {"X", "Y", "Z"};
    const char* shortAxes[] = {"x", "y", "z"};
    for (int i = 0; i < 3; ++i) {
        const MString childLong = MString(longName) + axes[i];
        const MString childShort = MString(shortName) + shortAxes[i];
        if (angle) {
            MFnUnitAttribute unitFn;
            *children[i] =
                unitFn.create(childLong, childShort, MFnUnitAttribute::kAngle, defaultValue);
            unitFn.setKeyable(true);
        } else {
            MFnNumericAttribute numericFn;
            *children[i] =
                numericFn.create(childLong, childShort, MFnNumericData::kDouble, defaultValue);
            numericFn.setKeyable(true);
        }
    }
    MFnNumericAttribute compoundFn;
    return compoundFn.create(longName, shortName, *children[0], *children[1], *children[2]);
}

}  // namespace

MObject TransformNode::aTranslate;
MObject TransformNode::aTranslateX;
MObject TransformNode::aTranslateY;
MObject TransformNode::aTranslateZ;
MObject TransformNode::aRotate;
MObject TransformNode::aRotateX;
MObject TransformNode::aRotateY;
MObject TransformNode::aRotateZ;
MObject TransformNode::aScale;
MObject TransformNode::aScaleX;
MObject TransformNode::aScaleY;
MObject TransformNode::aScaleZ;
MObject TransformNode::aOffsetParentMatrix;
MObject TransformNode::aMatrix;

void* TransformNode::creator() {
    return new TransformNode();
}

MStatus TransformNode::initialize() {
    MObject* translate[] = {&aTranslateX, &aTranslateY, &aTranslateZ};
    MObject* rotate[] = {&aRotateX, &aRotateY, &aRotateZ};
    MObject* scale[] = {&aScaleX, &aScaleY, &aScaleZ};
    aTranslate = makeTriple("translate", "t", false, 0.0, translate);
    aRotate = makeTriple("rotate", "r", true, 0.0, rotate);
    aScale = makeTriple("scale", "s", false, 1.0, scale);

    MFnMatrixAttribute matrixFn;
    aOffsetParentMatrix = matrixFn.create("offsetParentMatrix", "opm");
    aMatrix = matrixFn.create("matrix", "m");
    matrixFn.setWritable(false);
    matrixFn.setStorable(false);

    for (const MObject* attribute :
         {&aTranslate, &aRotate, &aScale, &aOffsetParentMatrix, &aMatrix}) {
        addAttribute(*attribute);
    }
    for (const MObject* input : {&aTranslate, &aRotate, &aScale}) {
        attributeAffects(*input, aMatrix);
    }
    return MStatus::kSuccess;
}

MStatus TransformNode::compute(const MPlug& plug, MDataBlock& data) {
    if (plug != aMatrix) {
        return MStatus::kUnknownParameter;
    }
    const auto read = [&data](MObject* const attributes[3], double values[3]) {
        for (int i = 0; i < 3; ++i) {
            values[i] = data.inputValue(*attributes[i]).asDouble();
        }
    };
    MObject* const translate[] = {&aTranslateX, &aTranslateY, &aTranslateZ};
    MObject* const rotate[] = {&aRotateX, &aRotateY, &aRotateZ};
    MObject* const scale[] = {&aScaleX, &aScaleY, &aScaleZ};
    double t[3];
    double r[3];
    double s[3];
    read(translate, t);
    read(rotate, r);
    read(scale, s);
    MTransformationMatrix transformation;
    transformation.setScale(s, MSpace::kTransform);
    transformation.setRotation(r, MTransformationMatrix::kXYZ);
    transformation.setTranslation(MVector(t[0], t[1], t[2]), MSpace::kTransform);
    MDataHandle output = data.outputValue(aMatrix);
    output.setMMatrix(transformation.asMatrix());
    output.setClean();
    return MStatus::kSuccess;
}

}  // namespace host
