#include <maya/MFnBase.h>

MFnBase::MFnBase() = default;
MFnBase::~MFnBase() = default;

MFn::Type MFnBase::type() const {
    return MFn::kBase;
}

bool MFnBase::hasObj(MFn::Type fnType) const {
    return object_.hasFn(fnType);
}

bool MFnBase::hasObj(const MObject& object) const {
    return object.hasFn(type());
}

MObject MFnBase::object(MStatus* ReturnStatus) const {
    if (ReturnStatus) {
        *ReturnStatus = object_.isNull() ? MStatus::kFailure : MStatus::kSuccess;
    }
    return object_;
}

MStatus MFnBase::setObject(const MObject& object) {
    if (!object.hasFn(type())) {
        object_ = MObject();
        return MStatus::kInvalidParameter;
    }
    object_ = object;
    return MStatus::kSuccess;
}
