#include <maya/MFnMatrixAttribute.h>

#include "core/MainThreadOnly.h"
#include "dg/Access.h"
#include "dg/AttributeCreation.h"
#include "dg/StatusOut.h"

using host::Access;
using host::Attribute;
using host::setStatus;

MFnMatrixAttribute::MFnMatrixAttribute() = default;

MFnMatrixAttribute::MFnMatrixAttribute(const MObject& object, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, setObject(object));
}

MFnMatrixAttribute::~MFnMatrixAttribute() = default;

MFn::Type MFnMatrixAttribute::type() const {
    HOST_MAIN_THREAD_ONLY();
    return MFn::kMatrixAttribute;
}

MObject MFnMatrixAttribute::create(const MString& fullName, const MString& briefName,
                                   Type matrixType, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    auto attribute =
        host::makeAttribute(Attribute::Kind::Matrix, fullName, briefName, object_, ReturnStatus);
    if (attribute) {
        attribute->matrixType = matrixType;
        attribute->defaultValue = host::Value::ofMatrix(MMatrix());
    }
    return object_;
}

MStatus MFnMatrixAttribute::getDefault(MMatrix& value) {
    HOST_MAIN_THREAD_ONLY();
    auto attribute = Access::as<Attribute>(object_);
    if (!attribute || attribute->kind != Attribute::Kind::Matrix) {
        return MStatus::kFailure;
    }
    value = attribute->defaultValue.matrix;
    return MStatus::kSuccess;
}

MStatus MFnMatrixAttribute::setDefault(const MMatrix& value) {
    HOST_MAIN_THREAD_ONLY();
    auto attribute = Access::as<Attribute>(object_);
    if (!attribute || attribute->kind != Attribute::Kind::Matrix) {
        return MStatus::kFailure;
    }
    attribute->defaultValue = host::Value::ofMatrix(value);
    return MStatus::kSuccess;
}
