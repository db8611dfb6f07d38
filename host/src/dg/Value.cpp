#include "dg/Value.h"

namespace host {

namespace {

template <typename Content>
Value holding(Value::Kind kind, Content Value::*field, const Content& content) {
    Value value;
    value.kind = kind;
    value.*field = content;
    return value;
}

}  // namespace

Value Value::ofNumber(double number) {
    return holding(Kind::Number, &Value::number, number);
}

Value Value::ofTime(const MTime& time) {
    return holding(Kind::Time, &Value::time, time);
}

Value Value::ofText(const MString& text) {
    return holding(Kind::Text, &Value::text, text);
}

Value Value::ofMatrix(const MMatrix& matrix) {
    return holding(Kind::Matrix, &Value::matrix, matrix);
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
