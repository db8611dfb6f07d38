#include <maya/MFnEnumAttribute.h>

#include "core/MainThreadOnly.h"
#include "dg/Access.h"
#include "dg/AttributeCreation.h"
#include "dg/StatusOut.h"

#include <algorithm>

using host::Access;
using host::Attribute;
using host::setStatus;

namespace {

std::shared_ptr<Attribute> enumAttribute(const MObject& object) {
    auto attribute = Access::as<Attribute>(object);
    return attribute && attribute->kind == Attribute::Kind::Enum ? attribute : nullptr;
}

}  // namespace

MFnEnumAttribute::MFnEnumAttribute() = default;

MFnEnumAttribute::MFnEnumAttribute(const MObject& object, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, setObject(object));
}

MFnEnumAttribute::~MFnEnumAttribute() = default;

MFn::Type MFnEnumAttribute::type() const {
    HOST_MAIN_THREAD_ONLY();
    return MFn::kEnumAttribute;
}

MObject MFnEnumAttribute::create(const MString& fullName, const MString& briefName,
                                 short defaultValue, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    auto attribute =
        host::makeAttribute(Attribute::Kind::Enum, fullName, briefName, object_, ReturnStatus);
    if (attribute) {
        attribute->defaultValue = host::Value::ofNumber(defaultValue);
    }
    return object_;
}

MStatus MFnEnumAttribute::addField(const MString& fieldString, short index) {
    HOST_MAIN_THREAD_ONLY();
    auto attribute = enumAttribute(object_);
    if (!attribute) {
        return MStatus::kFailure;
    }
    const bool taken = std::any_of(
        attribute->fields.begin(), attribute->fields.end(),
        [&](const auto& field) { return field.first == fieldString || field.second == index; });
    if (taken) {
        return MStatus::kInvalidParameter;
    }
    attribute->fields.emplace_back(fieldString, index);
    return MStatus::kSuccess;
}

MString MFnEnumAttribute::fieldName(short index, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    if (auto attribute = enumAttribute(object_)) {
        for (const auto& field : attribute->fields) {
            if (field.second == index) {
                setStatus(ReturnStatus, MStatus::kSuccess);
                return field.first;
            }
        }
    }
    setStatus(ReturnStatus, MStatus::kFailure);
    return MString();
}

short MFnEnumAttribute::fieldIndex(const MString& fieldString, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    if (auto attribute = enumAttribute(object_)) {
        for (const auto& field : attribute->fields) {
            if (field.first == fieldString) {
                setStatus(ReturnStatus, MStatus::kSuccess);
                return field.second;
            }
        }
    }
    setStatus(ReturnStatus, MStatus::kFailure);
    return 0;
}

MStatus MFnEnumAttribute::getMin(short& minValue) const {
    HOST_MAIN_THREAD_ONLY();
    auto attribute = enumAttribute(object_);
    if (!attribute || attribute->fields.empty()) {
        return MStatus::kFailure;
    }
    minValue = std::min_element(attribute->fields.begin(), attribute->fields.end(),
                                [](const auto& a, const auto& b) { return a.second < b.second; })
                   ->second;
    return MStatus::kSuccess;
}

MStatus MFnEnumAttribute::getMax(short& maxValue) const {
    HOST_MAIN_THREAD_ONLY();
    auto attribute = enumAttribute(object_);
    if (!attribute || attribute->fields.empty()) {
        return MStatus::kFailure;
    }
    maxValue = std::max_element(attribute->fields.begin(), attribute->fields.end(),
                                [](const auto& a, const auto& b) { return a.second < b.second; })
                   ->second;
    return MStatus::kSuccess;
}

MStatus MFnEnumAttribute::setDefault(short index) {
    HOST_MAIN_THREAD_ONLY();
    auto attribute = enumAttribute(object_);
    if (!attribute) {
        return MStatus::kFailure;
    }
    attribute->defaultValue = host::Value::ofNumber(index);
    return MStatus::kSuccess;
}

MStatus MFnEnumAttribute::setDefault(const MString& fieldString) {
    HOST_MAIN_THREAD_ONLY();
    MStatus status;
    const short index = fieldIndex(fieldString, &status);
    return status ? setDefault(index) : MStatus(MStatus::kInvalidParameter);
}

MStatus MFnEnumAttribute::getDefault(short& index) const {
    HOST_MAIN_THREAD_ONLY();
    auto attribute = enumAttribute(object_);
    if (!attribute) {
        return MStatus::kFailure;
    }
    index = static_cast<short>(attribute->defaultValue.number);
    return MStatus::kSuccess;
}

MString MFnEnumAttribute::defaultValue(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    short index = 0;
    MStatus status = getDefault(index);
    if (!status) {
        setStatus(ReturnStatus, status);
        return MString();
    }
    return fieldName(index, ReturnStatus);
}
