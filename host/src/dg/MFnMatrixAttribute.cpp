#include <maya/MFnMatrixAttribute.h>

#include "dg/Access.h"
#include "dg/AttributeCreation.h"
#include "dg/StatusOut.h"

using host::Access;
using host::Attribute;
using host::setStatus;

MFnMatrixAttribute::MFnMatrixAttribute() = default;

MFnMatrixAttribute::MFnMatrixAttribute(const MObject& object, MStatus* ReturnStatus) {
    setStatus(ReturnStatus, setObject(object));
}

MFnMatrixAttribute::~MFnMatrixAttribute() = default;

MFn::Type MFnMatrixAttribute::type() const {
    return MFn::kMatrixAttribute;
}

MObject MFnMatrixAttribute::create(const MString& fullName, const MString& briefName,
                                   Type matrixType, MStatus* ReturnStatus) {
    auto attribute =
        host::makeAttribute(Attribute::Kind::Matrix, fullName, briefName, object_, ReturnStatus);
    if (attribute) {
        attribute->matrixType = matrixType;
        attribute->defaultValue = host::Value::ofMatrix(MMatrix());
    }
    return object_;
}

MStatus MFnMatrixAttribute::getDefault(MMatrix& value) {
    auto attribute = Access::as<Attribute>(object_);
    if (!attribute || attribute->kind != Attribute::Kind::Matrix) {
        return MStatus::kFailure;
    }
    value = attribute->defaultValue.matrix;
    return MStatus::kSuccess;
}

MStatus MFnMatrixAttribute::setDefault(const MMatrix& value) {
    auto attribute = Access::as<Attribute>(object_);
    if (!attribute || attribute->kind != Attribute::Kind::Matrix) {
        return MStatus::kFailure;
    }
    attribute->defaultValue = host::Value::ofMatrix(value);
    return MStatus::kSuccess;
}
