#include <maya/MPlug.h>

#include "core/MainThreadOnly.h"
#include "dg/Access.h"
#include "dg/Node.h"
#include "dg/StatusOut.h"

#include <cmath>

using host::Access;
using host::Attribute;
using host::Node;
using host::setStatus;
using host::Value;

namespace {

// The evaluated value of a plug that holds one; null (with a failure) otherwise.
const Value* readValue(const std::shared_ptr<Node>& node, const Attribute* attribute, int index,
                       MStatus* status) {
    if (!node || !attribute || attribute->kind == Attribute::Kind::Compound ||
        (attribute->array && index < 0)) {
        setStatus(status, MStatus::kFailure);
        return nullptr;
    }
    const Value& value = node->evaluate({attribute, index});
    setStatus(status, MStatus::kSuccess);
    return &value;
}

const Value* readNumber(const std::shared_ptr<Node>& node, const Attribute* attribute, int index,
                        MStatus* status) {
    const Value* value = readValue(node, attribute, index, status);
    if (value && value->kind != Value::Kind::Number && value->kind != Value::Kind::Time) {
        setStatus(status, MStatus::kInvalidParameter);
        return nullptr;
    }
    return value;
}

MStatus writeValue(const std::shared_ptr<Node>& node, const Attribute* attribute, int index,
                   const Value& value) {
    if (!node || !attribute) {
        return MStatus::kFailure;
    }
    return host::setPlugValue(*node, {attribute, index}, value);
}

template <typename T>
MStatus getInto(const MPlug& plug, T (MPlug::*getter)(MStatus*) const, T& value) {
    MStatus status;
    T read = (plug.*getter)(&status);
    if (status) {
        value = read;
    }
    return status;
}

}  // namespace

double MPlug::asDouble(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    const Value* value = readNumber(node_, attribute_.get(), index_, ReturnStatus);
    return value ? value->asNumber() : 0.0;
}

float MPlug::asFloat(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return static_cast<float>(asDouble(ReturnStatus));
}

int MPlug::asInt(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return static_cast<int>(std::lround(asDouble(ReturnStatus)));
}

short MPlug::asShort(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return static_cast<short>(asInt(ReturnStatus));
}

char MPlug::asChar(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return static_cast<char>(asInt(ReturnStatus));
}

bool MPlug::asBool(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return asDouble(ReturnStatus) != 0.0;
}

MString MPlug::asString(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    const Value* value = readValue(node_, attribute_.get(), index_, ReturnStatus);
    if (value && value->kind != Value::Kind::Text) {
        setStatus(ReturnStatus, MStatus::kInvalidParameter);
        return MString();
    }
    return value ? value->text : MString();
}

MTime MPlug::asMTime(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return MTime(asDouble(ReturnStatus), MTime::uiUnit());
}

MObject MPlug::asMObject(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    const Value* value = readValue(node_, attribute_.get(), index_, ReturnStatus);
    if (!value || (value->kind != Value::Kind::Matrix && value->kind != Value::Kind::Text)) {
        setStatus(ReturnStatus, MStatus::kInvalidParameter);
        return MObject();
    }
    const bool matrix = value->kind == Value::Kind::Matrix;
    auto data = std::make_shared<host::Data>(matrix ? MFn::kMatrixData : MFn::kStringData);
    data->matrix = value->matrix;
    data->text = value->text;
    return Access::object(data);
}

MStatus MPlug::getValue(double& value) const {
    HOST_MAIN_THREAD_ONLY();
    return getInto(*this, &MPlug::asDouble, value);
}
MStatus MPlug::getValue(float& value) const {
    HOST_MAIN_THREAD_ONLY();
    return getInto(*this, &MPlug::asFloat, value);
}
MStatus MPlug::getValue(int& value) const {
    HOST_MAIN_THREAD_ONLY();
    return getInto(*this, &MPlug::asInt, value);
}
MStatus MPlug::getValue(short& value) const {
    HOST_MAIN_THREAD_ONLY();
    return getInto(*this, &MPlug::asShort, value);
}
MStatus MPlug::getValue(bool& value) const {
    HOST_MAIN_THREAD_ONLY();
    return getInto(*this, &MPlug::asBool, value);
}
MStatus MPlug::getValue(MString& value) const {
    HOST_MAIN_THREAD_ONLY();
    return getInto(*this, &MPlug::asString, value);
}
MStatus MPlug::getValue(MTime& value) const {
    HOST_MAIN_THREAD_ONLY();
    return getInto(*this, &MPlug::asMTime, value);
}
MStatus MPlug::getValue(MObject& value) const {
    HOST_MAIN_THREAD_ONLY();
    return getInto(*this, &MPlug::asMObject, value);
}

MStatus MPlug::setDouble(double value) {
    HOST_MAIN_THREAD_ONLY();
    return writeValue(node_, attribute_.get(), index_, Value::ofNumber(value));
}

MStatus MPlug::setFloat(float value) {
    HOST_MAIN_THREAD_ONLY();
    return setDouble(value);
}
MStatus MPlug::setInt(int value) {
    HOST_MAIN_THREAD_ONLY();
    return setDouble(value);
}
MStatus MPlug::setShort(short value) {
    HOST_MAIN_THREAD_ONLY();
    return setDouble(value);
}
MStatus MPlug::setChar(char value) {
    HOST_MAIN_THREAD_ONLY();
    return setDouble(value);
}
MStatus MPlug::setBool(bool value) {
    HOST_MAIN_THREAD_ONLY();
    return setDouble(value ? 1.0 : 0.0);
}

MStatus MPlug::setString(const MString& value) {
    HOST_MAIN_THREAD_ONLY();
    return writeValue(node_, attribute_.get(), index_, Value::ofText(value));
}

MStatus MPlug::setMTime(const MTime& value) {
    HOST_MAIN_THREAD_ONLY();
    return writeValue(node_, attribute_.get(), index_, Value::ofTime(value));
}

MStatus MPlug::setMObject(const MObject& value) {
    HOST_MAIN_THREAD_ONLY();
    auto data = Access::as<host::Data>(value);
    if (!data) {
        return MStatus::kInvalidParameter;
    }
    return writeValue(
        node_, attribute_.get(), index_,
        data->hasFn(MFn::kMatrixData) ? Value::ofMatrix(data->matrix) : Value::ofText(data->text));
}

MStatus MPlug::setValue(double value) {
    HOST_MAIN_THREAD_ONLY();
    return setDouble(value);
}
MStatus MPlug::setValue(float value) {
    HOST_MAIN_THREAD_ONLY();
    return setFloat(value);
}
MStatus MPlug::setValue(int value) {
    HOST_MAIN_THREAD_ONLY();
    return setInt(value);
}
MStatus MPlug::setValue(short value) {
    HOST_MAIN_THREAD_ONLY();
    return setShort(value);
}
MStatus MPlug::setValue(bool value) {
    HOST_MAIN_THREAD_ONLY();
    return setBool(value);
}
MStatus MPlug::setValue(const char* value) {
    HOST_MAIN_THREAD_ONLY();
    return setString(value);
}
MStatus MPlug::setValue(const MString& value) {
    HOST_MAIN_THREAD_ONLY();
    return setString(value);
}
MStatus MPlug::setValue(const MTime& value) {
    HOST_MAIN_THREAD_ONLY();
    return setMTime(value);
}
MStatus MPlug::setValue(const MObject& value) {
    HOST_MAIN_THREAD_ONLY();
    return setMObject(value);
}
