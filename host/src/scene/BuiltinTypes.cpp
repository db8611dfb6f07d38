#include "dg/NodeCreation.h"
#include "dg/NodeType.h"
#include "references/ReferenceNode.h"
#include "scene/AudioNode.h"
#include "scene/TransformNode.h"

#include <maya/MFnEnumAttribute.h>
#include <maya/MFnMatrixAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnUnitAttribute.h>

#include <algorithm>

namespace host {
namespace {

// Attributes every DAG node has.
MObject aVisibility;
MObject aWorldMatrix;

void* plainNode() {
    return new MPxNode();
}

MStatus initializeDagNode() {
    MFnNumericAttribute numericFn;
    aVisibility = numericFn.create("visibility", "v", MFnNumericData::kBoolean, 1.0);
    numericFn.setKeyable(true);
    MPxNode::addAttribute(aVisibility);

    MFnMatrixAttribute matrixFn;
    aWorldMatrix = matrixFn.create("worldMatrix", "wm");
    matrixFn.setArray(true);
    matrixFn.setWritable(false);
    matrixFn.setStorable(false);
    matrixFn.setWorldSpace(true);
    return MPxNode::addAttribute(aWorldMatrix);
}

MStatus initializeTransform() {
    TransformNode::initialize();
    MPxNode::attributeAffects(TransformNode::aMatrix, aWorldMatrix);
    return MPxNode::attributeAffects(TransformNode::aOffsetParentMatrix, aWorldMatrix);
}

MStatus initializeCamera() {
    MFnNumericAttribute numericFn;
    const struct {
        const char* longName;
        const char* shortName;
        double value;
    } numbers[] = {
        {"horizontalFilmAperture", "hfa", 1.417},
        {"verticalFilmAperture", "vfa", 0.945},
        {"focalLength", "fl", 35.0},
        {"nearClipPlane", "ncp", 0.1},
        {"farClipPlane", "fcp", 10000.0},
        // Maya's camera node reference gives 10; its new scenes write 30 for top, front and
        // side, which a default of 30 would leave unwritten.
        {"orthographicWidth", "ow", 10.0},
        {"centerOfInterest", "coi", 5.0},
    };
    for (const auto& number : numbers) {
        MPxNode::addAttribute(numericFn.create(number.longName, number.shortName,
                                               MFnNumericData::kDouble, number.value));
    }
    MPxNode::addAttribute(numericFn.create("orthographic", "o", MFnNumericData::kBoolean, 0.0));

    MFnEnumAttribute enumFn;
    MObject filmFit = enumFn.create("filmFit", "ff", 1);
    enumFn.addField("Fill", 0);
    enumFn.addField("Horizontal", 1);
    enumFn.addField("Vertical", 2);
    enumFn.addField("Overscan", 3);
    return MPxNode::addAttribute(filmFit);
}

MStatus initializeTime() {
    MFnUnitAttribute unitFn;
    MObject outTime = unitFn.create("outTime", "o", MFnUnitAttribute::kTime, 0.0);
    unitFn.setKeyable(true);
    return MPxNode::addAttribute(outTime);
}

MStatus initializeResolution() {
    MFnNumericAttribute numericFn;
    MPxNode::addAttribute(numericFn.create("width", "w", MFnNumericData::kInt, 1920));
    MPxNode::addAttribute(numericFn.create("height", "h", MFnNumericData::kInt, 1080));
    return MPxNode::addAttribute(
        numericFn.create("pixelAspect", "pa", MFnNumericData::kFloat, 1.0));
}

struct BuiltinType {
    const char* name;
    unsigned int id;
    const char* base;
    std::vector<MFn::Type> fnTypes;
    bool isDag;
    bool isShape;
    bool abstract;
    MCreatorFunction creator;
    MInitializeFunction initialize;
};

// An older host's transform: the same type without "offsetParentMatrix".
std::shared_ptr<NodeType> withoutOffsetParentMatrix(const NodeType& transform) {
    auto legacy = std::make_shared<NodeType>(transform);
    legacy->instances.clear();
    const Attribute* offset = legacy->findAttribute("offsetParentMatrix");
    legacy->attributes.erase(
        std::remove_if(legacy->attributes.begin(), legacy->attributes.end(),
                       [offset](const auto& attribute) { return attribute.get() == offset; }),
        legacy->attributes.end());
    legacy->affects.erase(offset);
    return legacy;
}

}  // namespace

void registerBuiltinTypes(TypeRegistry& registry) {
    const BuiltinType types[] = {
        {"dagNode", 0x44414730, "", {MFn::kDagNode}, true, false, true, nullptr, initializeDagNode},
        {"world",
         0x574F524C,
         "dagNode",
         {MFn::kWorld, MFn::kDagNode},
         true,
         false,
         true,
         nullptr,
         nullptr},
        {"transform",
         0x5846524D,
         "dagNode",
         {MFn::kTransform, MFn::kDagNode},
         true,
         false,
         false,
         TransformNode::creator,
         initializeTransform},
        {"camera",
         0x4443414D,
         "dagNode",
         {MFn::kCamera, MFn::kShape, MFn::kDagNode},
         true,
         true,
         false,
         plainNode,
         initializeCamera},
        {"locator",
         0x4C4F4354,
         "dagNode",
         {MFn::kLocator, MFn::kShape, MFn::kDagNode},
         true,
         true,
         false,
         plainNode,
         nullptr},
        {"time", 0x54494D45, "", {MFn::kTime}, false, false, false, plainNode, initializeTime},
        {"resolution",
         0x52534C54,
         "",
         {MFn::kResolution},
         false,
         false,
         false,
         plainNode,
         initializeResolution},
        // Maya's type id and function set type of the audio node are not known here.
        {"audio",
         0x4155444F,
         "",
         {},
         false,
         false,
         false,
         AudioNode::creator,
         AudioNode::initialize},
        // Nor are the reference node's.
        {"reference",
         0x5246524E,
         "",
         {},
         false,
         false,
         false,
         ReferenceNode::creator,
         ReferenceNode::initialize},
    };
    for (const BuiltinType& builtin : types) {
        auto type = registry.derive(builtin.base);
        type->name = builtin.name;
        type->id = MTypeId(builtin.id);
        type->fnTypes = builtin.fnTypes;
        type->isDag = builtin.isDag;
        type->isShape = builtin.isShape;
        type->abstract = builtin.abstract;
        type->creator = builtin.creator;
        registry.add(type, builtin.initialize);
    }
    registry.setVariant(kTransformWithoutOffsetParentMatrix,
                        withoutOffsetParentMatrix(*registry.find("transform")));
}

}  // namespace host
