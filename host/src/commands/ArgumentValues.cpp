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
bool numericValue(const MArgList::Item& item, double* value) {
    switch (item.kind) {
        case MArgList::Item::kNumber:
            *value = item.number;
            return true;
        case MArgList::Item::kWord: {
            bool flag = false;
            if (wordAsBool(item.text, &flag)) {
                *value = flag ? 1.0 : 0.0;
                return true;
            }
            return false;
        }
        case MArgList::Item::kQuoted:
            return script::parseNumber(item.text, value);
        default:
            return false;
    }
}

bool wholeNumber(const MArgList::Item& item, double low, double high, double* value) {
    return numericValue(item, value) && std::floor(*value) == *value && *value >= low &&
           *value <= high;
}

}  // namespace

bool argumentAsBool(const MArgList::Item& item, bool* value) {
    if (item.kind == MArgList::Item::kWord || item.kind == MArgList::Item::kQuoted) {
        if (wordAsBool(item.text, value)) {
            return true;
        }
    }
    double number = 0.0;
    if (item.kind == MArgList::Item::kNumber && numericValue(item, &number)) {
        *value = number != 0.0;
        return true;
    }
    return false;
}

bool argumentAsInt(const MArgList::Item& item, int* value) {
    double number = 0.0;
    if (!wholeNumber(item, INT_MIN, INT_MAX, &number)) {
        return false;
    }
    *value = static_cast<int>(number);
    return true;
}

bool argumentAsUnsigned(const MArgList::Item& item, unsigned int* value) {
    double number = 0.0;
    if (!wholeNumber(item, 0, UINT_MAX, &number)) {
        return false;
    }
    *value = static_cast<unsigned int>(number);
    return true;
}

bool argumentAsDouble(const MArgList::Item& item, double* value) {
    return numericValue(item, value);
}

bool argumentAsString(const MArgList::Item& item, std::string* value) {
    if (item.kind == MArgList::Item::kFlag) {
        return false;
    }
    *value = item.text;
    return true;
}

}  // namespace host
