#include "dg/Attribute.h"

#include <algorithm>
#include <cmath>

namespace host {

Attribute::Attribute(Kind kind, const MString& longName, const MString& shortName)
    : kind(kind), longName(longName), shortName(shortName) {}

MFn::Type Attribute::apiType() const {
    switch (kind) {
        case Kind::Numeric:
            return MFn::kNumericAttribute;
        case Kind::Unit:
            return MFn::kUnitAttribute;
        case Kind::Typed:
            return MFn::kTypedAttribute;
        case Kind::Enum:
            return MFn::kEnumAttribute;
        case Kind::Matrix:
            return MFn::kMatrixAttribute;
        case Kind::Compound:
            return MFn::kCompoundAttribute;
    }
    return MFn::kAttribute;
}

bool Attribute::hasFn(MFn::Type type) const {
    if (type == apiType() || type == MFn::kAttribute || type == MFn::kBase) {
        return true;
    }
    // Numeric compounds are made by the numeric function set.
    return type == MFn::kNumericAttribute && kind == Kind::Compound &&
           numericType != MFnNumericData::kInvalid;
}

bool Attribute::isNumberLike() const {
    return kind == Kind::Numeric || kind == Kind::Unit || kind == Kind::Enum;
}

bool Attribute::isInteger() const {
    if (kind == Kind::Enum) {
        return true;
    }
    if (kind != Kind::Numeric) {
        return false;
    }
    switch (numericType) {
        case MFnNumericData::kBoolean:
        case MFnNumericData::kByte:
        case MFnNumericData::kChar:
        case MFnNumericData::kShort:
        case MFnNumericData::kLong:
            return true;
        default:
            return false;
    }
}

bool Attribute::holdsText() const {
    return kind == Kind::Typed && dataType == MFnData::kString;
}

bool Attribute::holdsMatrix() const {
    return kind == Kind::Matrix || (kind == Kind::Typed && dataType == MFnData::kMatrix);
}

bool Attribute::compatibleWith(const Attribute& destination) const {
    if (isNumberLike() && destination.isNumberLike()) {
        return true;
    }
    if (holdsText() && destination.holdsText()) {
        return true;
    }
    return holdsMatrix() && destination.holdsMatrix();
}

Value Attribute::fromNumber(double number, bool clampToLimits) const {
    const bool isTime = kind == Kind::Unit && unitType == MFnUnitAttribute::kTime;
    if (clampToLimits) {
        // Time limits are kept in seconds; the number is in the UI unit.
        const double scale = isTime ? MTime(1.0, MTime::uiUnit()).as(MTime::kSeconds) : 1.0;
        if (hasMin && number * scale < minimum) {
            number = minimum / scale;
        }
        if (hasMax && number * scale > maximum) {
            number = maximum / scale;
        }
    }
    if (isTime) {
        return Value::ofTime(MTime(number, MTime::uiUnit()));
    }
    if (kind == Kind::Numeric && numericType == MFnNumericData::kBoolean) {
        return Value::ofNumber(number != 0.0 ? 1.0 : 0.0);
    }
    if (isInteger()) {
        return Value::ofNumber(std::round(number));
    }
    if (kind == Kind::Numeric && numericType == MFnNumericData::kFloat) {
        return Value::ofNumber(static_cast<float>(number));
    }
    return Value::ofNumber(number);
}

Value Attribute::converted(const Value& value) const {
    if (isNumberLike()) {
        if (value.kind == Value::Kind::Time && kind == Kind::Unit &&
            unitType == MFnUnitAttribute::kTime) {
            return value;
        }
        return fromNumber(value.asNumber(), false);
    }
    return value;
}

std::shared_ptr<Attribute> Attribute::sharedFromThis() const {
    return std::static_pointer_cast<Attribute>(const_cast<Attribute*>(this)->shared_from_this());
}

}  // namespace host
