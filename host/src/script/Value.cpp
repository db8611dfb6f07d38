#include "script/Value.h"

#include <host/Commands.h>

#include <cmath>
#include <cstdlib>

namespace host::script {

Value Value::ofInt(long long value) {
    Value result;
    result.type_ = kInt;
    result.int_ = value;
    return result;
}

Value Value::ofFloat(double value) {
    Value result;
    result.type_ = kFloat;
    result.float_ = value;
    return result;
}

Value Value::ofString(std::string value) {
    Value result;
    result.type_ = kString;
    result.string_ = std::move(value);
    return result;
}

Value Value::empty(Type type) {
    Value result;
    result.type_ = type;
    return result;
}

Value::Type Value::elementType(Type type) {
    switch (type) {
        case kIntArray:
            return kInt;
        case kFloatArray:
            return kFloat;
        case kStringArray:
            return kString;
        default:
            return type;
    }
}

Value::Type Value::arrayType(Type element) {
    switch (element) {
        case kInt:
            return kIntArray;
        case kFloat:
            return kFloatArray;
        default:
            return kStringArray;
    }
}

long long Value::asInt() const {
    switch (type_) {
        case kInt:
            return int_;
        case kFloat:
            return static_cast<long long>(std::trunc(float_));
        default:
            return static_cast<long long>(std::trunc(asFloat()));
    }
}

double Value::asFloat() const {
    switch (type_) {
        case kInt:
            return static_cast<double>(int_);
        case kFloat:
            return float_;
        case kString:
            return std::strtod(string_.c_str(), nullptr);
        default:
            return 0.0;
    }
}

std::string Value::asString() const {
    switch (type_) {
        case kInt:
            return std::to_string(int_);
        case kFloat:
            return formatNumber(float_);
        case kString:
            return string_;
        default:
            return "";
    }
}

bool Value::convertTo(Type type, Value* converted) const {
    if (type == type_) {
        *converted = *this;
        return true;
    }
    if (isArray() != (type >= kIntArray) && type_ != kNone) {
        return false;
    }
    if (type >= kIntArray) {
        Value array = empty(type);
        for (const Value& element : elements_) {
            Value item;
            element.convertTo(elementType(type), &item);
            array.elements_.push_back(item);
        }
        *converted = array;
        return true;
    }
    switch (type) {
        case kInt:
            *converted = ofInt(asInt());
            return true;
        case kFloat:
            *converted = ofFloat(asFloat());
            return true;
        case kString:
            *converted = ofString(asString());
            return true;
        default:
            *converted = Value();
            return true;
    }
}

Value Value::element(std::size_t index) const {
    return index < elements_.size() ? elements_[index] : empty(elementType(type_));
}

void Value::setElement(std::size_t index, const Value& scalar) {
    while (elements_.size() <= index) {
        elements_.push_back(empty(elementType(type_)));
    }
    scalar.convertTo(elementType(type_), &elements_[index]);
}

void Value::append(const Value& scalar) {
    setElement(elements_.size(), scalar);
}

const char* Value::typeName(Type type) {
    static const char* const names[] = {"nothing", "int",     "float",   "string",
                                        "int[]",   "float[]", "string[]"};
    return names[type];
}

}  // namespace host::script
