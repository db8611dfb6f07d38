#include <maya/MFnUnitAttribute.h>

#include "core/MainThreadOnly.h"
#include "dg/Access.h"
#include "dg/AttributeCreation.h"
#include "dg/StatusOut.h"

using host::Access;
using host::Attribute;
using host::setStatus;

namespace {

bool isTime(const MObject& object) {
    auto attribute = Access::as<Attribute>(object);
    return attribute && attribute->unitType == MFnUnitAttribute::kTime;
}

// Limits of times are kept in seconds; plain numbers for times are in the UI unit.
double limitValue(const MObject& object, double value) {
    return isTime(object) ? MTime(value, MTime::uiUnit()).as(MTime::kSeconds) : value;
}

}  // namespace

MFnUnitAttribute::MFnUnitAttribute() = default;

MFnUnitAttribute::MFnUnitAttribute(const MObject& object, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, setObject(object));
}

MFnUnitAttribute::~MFnUnitAttribute() = default;

MFn::Type MFnUnitAttribute::type() const {
    HOST_MAIN_THREAD_ONLY();
    return MFn::kUnitAttribute;
}

MObject MFnUnitAttribute::create(const MString& fullName, const MString& briefName,
                                 MFnUnitAttribute::Type unitType, double defaultValue,
                                 MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    if (unitType != kAngle && unitType != kDistance && unitType != kTime) {
        object_ = MObject();
        setStatus(ReturnStatus, MStatus::kInvalidParameter);
        return object_;
    }
    auto attribute =
        host::makeAttribute(Attribute::Kind::Unit, fullName, briefName, object_, ReturnStatus);
    if (attribute) {
        attribute->unitType = unitType;
        attribute->defaultValue = attribute->fromNumber(defaultValue, false);
    }
    return object_;
}

MObject MFnUnitAttribute::create(const MString& fullName, const MString& briefName,
                                 const MTime& defaultValue, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    auto attribute =
        host::makeAttribute(Attribute::Kind::Unit, fullName, briefName, object_, ReturnStatus);
    if (attribute) {
        attribute->unitType = kTime;
        attribute->defaultValue = host::Value::ofTime(defaultValue);
    }
    return object_;
}

MFnUnitAttribute::Type MFnUnitAttribute::unitType(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto attribute = Access::as<Attribute>(object_);
    setStatus(ReturnStatus, attribute ? MStatus::kSuccess : MStatus::kFailure);
    return attribute ? attribute->unitType : kInvalid;
}

bool MFnUnitAttribute::hasMin(MStatus* s) const {
    HOST_MAIN_THREAD_ONLY();
    return host::hasLimit(object_, false, s);
}
bool MFnUnitAttribute::hasMax(MStatus* s) const {
    HOST_MAIN_THREAD_ONLY();
    return host::hasLimit(object_, true, s);
}

MStatus MFnUnitAttribute::getMin(double& min) const {
    HOST_MAIN_THREAD_ONLY();
    MStatus status = host::getLimit(object_, false, min);
    if (status && isTime(object_)) {
        min = MTime(min, MTime::kSeconds).as(MTime::uiUnit());
    }
    return status;
}

MStatus MFnUnitAttribute::getMax(double& max) const {
    HOST_MAIN_THREAD_ONLY();
    MStatus status = host::getLimit(object_, true, max);
    if (status && isTime(object_)) {
        max = MTime(max, MTime::kSeconds).as(MTime::uiUnit());
    }
    return status;
}

MStatus MFnUnitAttribute::setMin(double min) {
    HOST_MAIN_THREAD_ONLY();
    return host::setLimit(object_, false, limitValue(object_, min));
}

MStatus MFnUnitAttribute::setMin(const MTime& min) {
    HOST_MAIN_THREAD_ONLY();
    return isTime(object_) ? host::setLimit(object_, false, min.as(MTime::kSeconds))
                           : MStatus::kFailure;
}

MStatus MFnUnitAttribute::setMax(double max) {
    HOST_MAIN_THREAD_ONLY();
    return host::setLimit(object_, true, limitValue(object_, max));
}

MStatus MFnUnitAttribute::setMax(const MTime& max) {
    HOST_MAIN_THREAD_ONLY();
    return isTime(object_) ? host::setLimit(object_, true, max.as(MTime::kSeconds))
                           : MStatus::kFailure;
}

MStatus MFnUnitAttribute::getDefault(double& value) {
    HOST_MAIN_THREAD_ONLY();
    auto attribute = Access::as<Attribute>(object_);
    if (!attribute) {
        return MStatus::kFailure;
    }
    value = attribute->defaultValue.asNumber();
    return MStatus::kSuccess;
}

MStatus MFnUnitAttribute::getDefault(MTime& value) {
    HOST_MAIN_THREAD_ONLY();
    auto attribute = Access::as<Attribute>(object_);
    if (!attribute || !isTime(object_)) {
        return MStatus::kFailure;
    }
    value = attribute->defaultValue.time;
    return MStatus::kSuccess;
}

MStatus MFnUnitAttribute::setDefault(double value) {
    HOST_MAIN_THREAD_ONLY();
    auto attribute = Access::as<Attribute>(object_);
    if (!attribute) {
        return MStatus::kFailure;
    }
    attribute->defaultValue = attribute->fromNumber(value, false);
    return MStatus::kSuccess;
}

MStatus MFnUnitAttribute::setDefault(const MTime& value) {
    HOST_MAIN_THREAD_ONLY();
    auto attribute = Access::as<Attribute>(object_);
    if (!attribute || !isTime(object_)) {
        return MStatus::kFailure;
    }
    attribute->defaultValue = host::Value::ofTime(value);
    return MStatus::kSuccess;
}
