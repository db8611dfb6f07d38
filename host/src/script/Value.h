#pragma once

#include <string>
#include <vector>

// A value of the script language: nothing (a command without a result), an int, a float or a
// string, or an array of one of them.
namespace host::script {

class Value {
public:
    enum Type { kNone, kInt, kFloat, kString, kIntArray, kFloatArray, kStringArray };

    Value() = default;
    static Value ofInt(long long value);
    static Value ofFloat(double value);
    static Value ofString(std::string value);
    // An empty value of the type: 0, 0.0, "" or an empty array.
    static Value empty(Type type);

    Type type() const { return type_; }
    bool isArray() const { return type_ >= kIntArray; }
    // The type of the elements of an array type, the type itself for a scalar.
    static Type elementType(Type type);
    static Type arrayType(Type element);

    // Scalar readings as the language converts them: a string reads as the number it starts
    // with (0 when none), a float as an int truncates, a number as text prints short.
    long long asInt() const;
    double asFloat() const;
    std::string asString() const;
    bool isTrue() const { return asFloat() != 0.0; }

    // The value converted to the type; an array and a scalar do not convert into each other.
    bool convertTo(Type type, Value* converted) const;

    const std::vector<Value>& elements() const { return elements_; }
    std::size_t size() const { return elements_.size(); }
    // Element i, or the empty element past the end.
    Value element(std::size_t index) const;
    // Sets element i, growing the array with empty elements as the language does.
    void setElement(std::size_t index, const Value& scalar);
    void append(const Value& scalar);

    static const char* typeName(Type type);

private:
    Type type_ = kNone;
    long long int_ = 0;
    double float_ = 0.0;
    std::string string_;
    std::vector<Value> elements_;
};

}  // namespace host::script
