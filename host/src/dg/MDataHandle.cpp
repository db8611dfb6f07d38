#include <maya/MDataHandle.h>

#include "dg/Access.h"
#include "dg/Node.h"

#include <cmath>

using host::Access;
using host::Attribute;
using host::Value;

MDataHandle::MDataHandle() = default;
MDataHandle::MDataHandle(const MDataHandle& other) = default;
MDataHandle& MDataHandle::operator=(const MDataHandle& other) = default;
MDataHandle::~MDataHandle() = default;

bool MDataHandle::isNumeric() const {
    return attribute_ && attribute_->kind == Attribute::Kind::Numeric;
}

MFnNumericData::Type MDataHandle::numericType() const {
    return attribute_ ? attribute_->numericType : MFnNumericData::kInvalid;
}

MFnData::Type MDataHandle::type() const {
    if (!attribute_) {
        return MFnData::kInvalid;
    }
    if (attribute_->holdsText()) {
        return MFnData::kString;
    }
    return attribute_->holdsMatrix() ? MFnData::kMatrix : MFnData::kNumeric;
}

MObject MDataHandle::attribute() {
    return attribute_ ? Access::object(attribute_->sharedFromThis()) : MObject();
}

bool MDataHandle::asBool() const {
    return asDouble() != 0.0;
}
char MDataHandle::asChar() const {
    return static_cast<char>(asInt());
}
short MDataHandle::asShort() const {
    return static_cast<short>(asInt());
}
int MDataHandle::asInt() const {
    return static_cast<int>(std::lround(asDouble()));
}
int MDataHandle::asLong() const {
    return asInt();
}
float MDataHandle::asFloat() const {
    return static_cast<float>(asDouble());
}

double MDataHandle::asDouble() const {
    return slot_ ? slot_->value.asNumber() : 0.0;
}

const MMatrix& MDataHandle::asMatrix() const {
    return slot_ && slot_->value.kind == Value::Kind::Matrix ? slot_->value.matrix
                                                             : MMatrix::identity;
}

MTime MDataHandle::asTime() const {
    return MTime(asDouble(), MTime::uiUnit());
}

const MString& MDataHandle::asString() const {
    static const MString empty;
    return slot_ && slot_->value.kind == Value::Kind::Text ? slot_->value.text : empty;
}

MObject MDataHandle::data() {
    if (!slot_ ||
        (slot_->value.kind != Value::Kind::Matrix && slot_->value.kind != Value::Kind::Text)) {
        return MObject();
    }
    const bool matrix = slot_->value.kind == Value::Kind::Matrix;
    auto held = std::make_shared<host::Data>(matrix ? MFn::kMatrixData : MFn::kStringData);
    held->matrix = slot_->value.matrix;
    held->text = slot_->value.text;
    return Access::object(held);
}

void MDataHandle::set(bool value) {
    setDouble(value ? 1.0 : 0.0);
}
void MDataHandle::set(char value) {
    setDouble(value);
}
void MDataHandle::set(short value) {
    setDouble(value);
}
void MDataHandle::set(int value) {
    setDouble(value);
}
void MDataHandle::set(float value) {
    setDouble(value);
}
void MDataHandle::set(double value) {
    setDouble(value);
}
void MDataHandle::set(const MMatrix& value) {
    setMMatrix(value);
}
void MDataHandle::set(const MString& value) {
    setString(value);
}
void MDataHandle::set(const MTime& value) {
    setMTime(value);
}
MStatus MDataHandle::set(const MObject& value) {
    return setMObject(value);
}
void MDataHandle::setBool(bool value) {
    setDouble(value ? 1.0 : 0.0);
}
void MDataHandle::setChar(char value) {
    setDouble(value);
}
void MDataHandle::setShort(short value) {
    setDouble(value);
}
void MDataHandle::setInt(int value) {
    setDouble(value);
}
void MDataHandle::setFloat(float value) {
    setDouble(value);
}

// Values written by compute are not clamped: limits apply to what users set.
void MDataHandle::setDouble(double value) {
    if (slot_ && writable_ && attribute_->isNumberLike()) {
        slot_->value = attribute_->fromNumber(value, false);
    }
}

void MDataHandle::setMMatrix(const MMatrix& value) {
    if (slot_ && writable_ && attribute_->holdsMatrix()) {
        slot_->value = Value::ofMatrix(value);
    }
}

void MDataHandle::setString(const MString& value) {
    if (slot_ && writable_ && attribute_->holdsText()) {
        slot_->value = Value::ofText(value);
    }
}

void MDataHandle::setMTime(const MTime& value) {
    if (slot_ && writable_ && attribute_->isNumberLike()) {
        slot_->value = attribute_->converted(Value::ofTime(value));
    }
}

MStatus MDataHandle::setMObject(const MObject& value) {
    auto held = Access::as<host::Data>(value);
    if (!slot_ || !writable_ || !held) {
        return MStatus::kInvalidParameter;
    }
    if (held->hasFn(MFn::kMatrixData) && attribute_->holdsMatrix()) {
        slot_->value = Value::ofMatrix(held->matrix);
        return MStatus::kSuccess;
    }
    if (held->hasFn(MFn::kStringData) && attribute_->holdsText()) {
        slot_->value = Value::ofText(held->text);
        return MStatus::kSuccess;
    }
    return MStatus::kInvalidParameter;
}

void MDataHandle::setClean() {
    if (slot_) {
        slot_->dirty = false;
    }
}
