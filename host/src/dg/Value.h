#pragma once

#include <maya/MMatrix.h>
#include <maya/MString.h>
#include <maya/MTime.h>

namespace host {

// The value held by one plug of a node.
struct Value {
    enum class Kind { Empty, Number, Time, Text, Matrix };

    Kind kind = Kind::Empty;
    double number = 0.0;
    MTime time;
    MString text;
    MMatrix matrix;

    static Value ofNumber(double number);
    static Value ofTime(const MTime& time);
    static Value ofText(const MString& text);
    static Value ofMatrix(const MMatrix& matrix);

    // Numbers and times as a number (times in the UI unit); 0 for text and matrices.
    double asNumber() const;
    bool operator==(const Value& other) const;
};

}  // namespace host
