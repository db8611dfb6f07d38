#include <maya/MObject.h>

#include "dg/Entity.h"

MObject MObject::kNullObj;

MObject::MObject() = default;
MObject::MObject(const MObject& other) = default;
MObject::~MObject() = default;
MObject& MObject::operator=(const MObject& other) = default;

bool MObject::hasFn(MFn::Type fs) const {
    return entity_ && entity_->hasFn(fs);
}

bool MObject::isNull() const {
    return !entity_;
}

MFn::Type MObject::apiType() const {
    return entity_ ? entity_->apiType() : MFn::kInvalid;
}

const char* MObject::apiTypeStr() const {
    switch (apiType()) {
        case MFn::kInvalid:
            return "kInvalid";
        case MFn::kDependencyNode:
            return "kDependencyNode";
        case MFn::kDagNode:
            return "kDagNode";
        case MFn::kWorld:
            return "kWorld";
        case MFn::kTransform:
            return "kTransform";
        case MFn::kCamera:
            return "kCamera";
        case MFn::kLocator:
            return "kLocator";
        case MFn::kPluginDependNode:
            return "kPluginDependNode";
        case MFn::kPluginLocatorNode:
            return "kPluginLocatorNode";
        case MFn::kTime:
            return "kTime";
        case MFn::kResolution:
            return "kResolution";
        case MFn::kNumericAttribute:
            return "kNumericAttribute";
        case MFn::kUnitAttribute:
            return "kUnitAttribute";
        case MFn::kTypedAttribute:
            return "kTypedAttribute";
        case MFn::kEnumAttribute:
            return "kEnumAttribute";
        case MFn::kMatrixAttribute:
            return "kMatrixAttribute";
        case MFn::kCompoundAttribute:
            return "kCompoundAttribute";
        case MFn::kStringData:
            return "kStringData";
        case MFn::kMatrixData:
            return "kMatrixData";
        default:
            return "kBase";
    }
}

bool MObject::operator==(const MObject& other) const {
    return entity_ == other.entity_;
}

bool MObject::operator!=(const MObject& other) const {
    return entity_ != other.entity_;
}
