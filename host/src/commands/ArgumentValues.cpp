#include "commands/ArgumentValues.h"

#include "script/Lexer.h"

#include <climits>
#include <cmath>

namespace host {
namespace {

bool wordAsBool(const std::string& text, bool* value) {
    if (text == "true" || text == "on" || text == "yes") {
        *value = true;
        return true;
    }
    if (text == "false" || text == "off" || text == "no") {
        *value = false;
        return true;
    }
    return false;
}

// Numbers, the boolean words (as 1 and 0) and quoted strings that hold a number.
bool numericValue(const host::ArgItem& item, double* value) {
    switch (item.kind) {
        case host::ArgItem::kNumber:
            *value = item.number;
            return true;
        case host::ArgItem::kWord: {
            bool flag = false;
            if (wordAsBool(item.text, &flag)) {
                *value = flag ? 1.0 : 0.0;
                return true;
            }
            return false;
        }
        case host::ArgItem::kQuoted:
            return script::parseNumber(item.text, value);
        default:
            return false;
    }
}

bool wholeNumber(const host::ArgItem& item, double low, double high, double* value) {
    return numericValue(item, value) && std::floor(*value) == *value && *value >= low &&
           *value <= high;
}

}  // namespace

bool argumentAsBool(const host::ArgItem& item, bool* value) {
    if (item.kind == host::ArgItem::kWord || item.kind == host::ArgItem::kQuoted) {
        if (wordAsBool(item.text, value)) {
            return true;
        }
    }
    double number = 0.0;
    if (item.kind == host::ArgItem::kNumber && numericValue(item, &number)) {
        *value = number != 0.0;
        return true;
    }
    return false;
}

bool argumentAsInt(const host::ArgItem& item, int* value) {
    double number = 0.0;
    if (!wholeNumber(item, INT_MIN, INT_MAX, &number)) {
        return false;
    }
    *value = static_cast<int>(number);
    return true;
}

bool argumentAsUnsigned(const host::ArgItem& item, unsigned int* value) {
    double number = 0.0;
    if (!wholeNumber(item, 0, UINT_MAX, &number)) {
        return false;
    }
    *value = static_cast<unsigned int>(number);
    return true;
}

bool argumentAsDouble(const host::ArgItem& item, double* value) {
    return numericValue(item, value);
}

bool argumentAsString(const host::ArgItem& item, std::string* value) {
    if (item.kind == host::ArgItem::kFlag) {
        return false;
    }
    *value = item.text;
    return true;
}

}  // namespace host
