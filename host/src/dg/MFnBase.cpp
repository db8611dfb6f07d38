#include <maya/MFnBase.h>
#include "core/MainThreadOnly.h"

MFnBase::MFnBase() = default;
MFnBase::~MFnBase() = default;

MFn::Type MFnBase::type() const {
    HOST_MAIN_THREAD_ONLY();
    return MFn::kBase;
}

bool MFnBase::hasObj(MFn::Type fnType) const {
    HOST_MAIN_THREAD_ONLY();
    return object_.hasFn(fnType);
}

bool MFnBase::hasObj(const MObject& object) const {
    HOST_MAIN_THREAD_ONLY();
    return object.hasFn(type());
}

MObject MFnBase::object(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    if (ReturnStatus) {
        *ReturnStatus = object_.isNull() ? MStatus::kFailure : MStatus::kSuccess;
    }
    return object_;
}

MStatus MFnBase::setObject(const MObject& object) {
    HOST_MAIN_THREAD_ONLY();
    if (!object.hasFn(type())) {
        object_ = MObject();
        return MStatus::kInvalidParameter;
    }
    object_ = object;
    return MStatus::kSuccess;
}
