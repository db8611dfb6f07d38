#pragma once

#include <maya/MDataBlock.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MPxNode.h>
#include <maya/MStatus.h>

namespace host {

// The built-in transform: its local "matrix" from translate, rotate (XYZ order) and scale.
// Its world matrix is the host's DAG evaluation (local × offsetParentMatrix × parent's world).
class TransformNode : public MPxNode {
public:
    static void* creator();
    static MStatus initialize();
    MStatus compute(const MPlug& plug, MDataBlock& data) override;

    static MObject aTranslate;
    static MObject aTranslateX;
    static MObject aTranslateY;
    static MObject aTranslateZ;
    static MObject aRotate;
    static MObject aRotateX;
    static MObject aRotateY;
    static MObject aRotateZ;
    static MObject aScale;
    static MObject aScaleX;
    static MObject aScaleY;
    static MObject aScaleZ;
    static MObject aOffsetParentMatrix;
    static MObject aMatrix;
};

}  // namespace host
