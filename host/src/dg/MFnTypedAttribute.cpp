#include <maya/MFnTypedAttribute.h>

#include "core/MainThreadOnly.h"
#include "dg/Access.h"
#include "dg/AttributeCreation.h"
#include "dg/StatusOut.h"

using host::Access;
using host::Attribute;
using host::setStatus;

namespace {

// The value a data object gives an attribute of the type; Empty when it does not fit.
host::Value valueOfData(MFnData::Type type, const MObject& data) {
    auto held = Access::as<host::Data>(data);
    if (type == MFnData::kString) {
        return host::Value::ofText(held && held->hasFn(MFn::kStringData) ? held->text : MString());
    }
    return host::Value::ofMatrix(held && held->hasFn(MFn::kMatrixData) ? held->matrix : MMatrix());
}

}  // namespace

MFnTypedAttribute::MFnTypedAttribute() = default;

MFnTypedAttribute::MFnTypedAttribute(const MObject& object, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, setObject(object));
}

MFnTypedAttribute::~MFnTypedAttribute() = default;

MFn::Type MFnTypedAttribute::type() const {
    HOST_MAIN_THREAD_ONLY();
    return MFn::kTypedAttribute;
}

MObject MFnTypedAttribute::create(const MString& fullName, const MString& briefName,
                                  MFnData::Type type, const MObject& defaultData,
                                  MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    if (type != MFnData::kString && type != MFnData::kMatrix) {
        object_ = MObject();
        setStatus(ReturnStatus, MStatus::kNotImplemented);
        return object_;
    }
    auto attribute =
        host::makeAttribute(Attribute::Kind::Typed, fullName, briefName, object_, ReturnStatus);
    if (attribute) {
        attribute->dataType = type;
        attribute->defaultValue = valueOfData(type, defaultData);
    }
    return object_;
}

MFnData::Type MFnTypedAttribute::attrType(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto attribute = Access::as<Attribute>(object_);
    setStatus(ReturnStatus, attribute ? MStatus::kSuccess : MStatus::kFailure);
    return attribute ? attribute->dataType : MFnData::kInvalid;
}

MStatus MFnTypedAttribute::getDefault(MObject& defaultValue) {
    HOST_MAIN_THREAD_ONLY();
    auto attribute = Access::as<Attribute>(object_);
    if (!attribute) {
        return MStatus::kFailure;
    }
    const bool text = attribute->dataType == MFnData::kString;
    auto data = std::make_shared<host::Data>(text ? MFn::kStringData : MFn::kMatrixData);
    data->text = attribute->defaultValue.text;
    data->matrix = attribute->defaultValue.matrix;
    defaultValue = Access::object(data);
    return MStatus::kSuccess;
}

MStatus MFnTypedAttribute::setDefault(const MObject& defaultValue) {
    HOST_MAIN_THREAD_ONLY();
    auto attribute = Access::as<Attribute>(object_);
    if (!attribute) {
        return MStatus::kFailure;
    }
    attribute->defaultValue = valueOfData(attribute->dataType, defaultValue);
    return MStatus::kSuccess;
}
