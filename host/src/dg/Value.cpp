#include "dg/Value.h"

namespace host {

Value Value::ofNumber(double number) {
    Value value;
    value.kind = Kind::Number;
    value.number = number;
    return value;
}

Value Value::ofTime(const MTime& time) {
    Value value;
    value.kind = Kind::Time;
    value.time = time;
    return value;
}

Value Value::ofText(const MString& text) {
    Value value;
    value.kind = Kind::Text;
    value.text = text;
    return value;
}

Value Value::ofMatrix(const MMatrix& matrix) {
    Value value;
    value.kind = Kind::Matrix;
    value.matrix = matrix;
    return value;
}

double Value::asNumber() const {
    switch (kind) {
        case Kind::Number:
            return number;
        case Kind::Time:
            return time.as(MTime::uiUnit());
        default:
            return 0.0;
    }
}

bool Value::operator==(const Value& other) const {
    if (kind != other.kind) {
        return false;
    }
    switch (kind) {
        case Kind::Number:
            return number == other.number;
        case Kind::Time:
            return time == other.time;
        case Kind::Text:
            return text == other.text;
        case Kind::Matrix:
            return matrix == other.matrix;
        case Kind::Empty:
            break;
    }
    return true;
}

}  // namespace host
