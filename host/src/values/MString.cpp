#include <maya/MString.h>
#include <maya/MStringArray.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <limits>
#include <ostream>

#include "NumberText.h"

namespace {

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Number of UTF-8 characters in the first byteCount bytes.
int charsBefore(const std::string& text, size_t byteCount) {
    return static_cast<int>(std::count_if(text.begin(), text.begin() + byteCount,
                                          [](char c) { return !isContinuationByte(c); }));
}

// Byte offset of the character with the given index, or the text size past the end.
size_t byteOffsetOfChar(const std::string& text, int charIndex) {
    int seen = -1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (!isContinuationByte(text[i]) && ++seen == charIndex) {
            return i;
        }
    }
    return text.size();
}

// A whole number that fits Whole; anything else reads as not a number.
template <typename Whole>
bool parseWhole(const std::string& text, Whole& value) {
    long parsed = 0;
    if (!values::parseLong(text, parsed) ||
        parsed < static_cast<long>(std::numeric_limits<Whole>::min()) ||
        parsed > static_cast<long>(std::numeric_limits<Whole>::max())) {
        return false;
    }
    value = static_cast<Whole>(parsed);
    return true;
}

// The number as Whole, 0 when the text is not one.
template <typename Whole>
Whole wholeOrZero(const std::string& text) {
    Whole value = 0;
    return parseWhole(text, value) ? value : 0;
}

int positionOrMinusOne(size_t position) {
    return position == std::string::npos ? -1 : static_cast<int>(position);
}

}  // namespace

MString::MString() = default;
MString::MString(const char* charString) : text_(charString != nullptr ? charString : "") {}
MString::MString(const char* charString, int charLength) {
    set(charString, charLength);
}
MString::MString(const MString& other) = default;
MString::~MString() = default;

MString& MString::operator=(const MString& other) = default;

MString& MString::operator=(const char* other) {
    set(other);
    return *this;
}

MString& MString::operator+=(const MString& other) {
    text_ += other.text_;
    return *this;
}

MString& MString::operator+=(const char* other) {
    if (other != nullptr) {
        text_ += other;
    }
    return *this;
}

MString& MString::operator+=(double other) {
    text_ += values::formatDouble(other);
    return *this;
}

MString& MString::operator+=(int other) {
    text_ += std::to_string(other);
    return *this;
}

MString& MString::operator+=(unsigned int other) {
    text_ += std::to_string(other);
    return *this;
}

MString& MString::operator+=(float other) {
    text_ += values::formatFloat(other);
    return *this;
}

MString MString::operator+(const MString& other) const {
    return MString(*this) += other;
}
MString MString::operator+(const char* other) const {
    return MString(*this) += other;
}
MString MString::operator+(double other) const {
    return MString(*this) += other;
}

bool MString::operator==(const MString& other) const {
    return text_ == other.text_;
}
bool MString::operator==(const char* other) const {
    return text_ == (other ? other : "");
}
bool MString::operator!=(const MString& other) const {
    return !(*this == other);
}
bool MString::operator!=(const char* other) const {
    return !(*this == other);
}

MStatus MString::setUTF8(const char* utf8String) {
    return set(utf8String);
}

#if MAYA_API_VERSION >= 20230000
bool MString::isEmpty() const {
    return text_.empty();
}
#endif

MStatus MString::set(const char* charString) {
    text_ = charString != nullptr ? charString : "";
    return MStatus::kSuccess;
}

MStatus MString::set(const char* charString, int charLength) {
    if (charString == nullptr || charLength < 0) {
        text_.clear();
        return charString == nullptr ? MStatus::kSuccess : MStatus::kInvalidParameter;
    }
    text_.assign(charString, static_cast<size_t>(charLength));
    return MStatus::kSuccess;
}

MStatus MString::set(double value) {
    text_ = values::formatDouble(value);
    return MStatus::kSuccess;
}

MStatus MString::set(double value, int precision) {
    if (precision < 0) {
        return MStatus::kInvalidParameter;
    }
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%.*f", precision, value);
    text_ = buffer;
    return MStatus::kSuccess;
}

void MString::clear() {
    text_.clear();
}

const char* MString::asChar() const {
    return text_.c_str();
}

const char* MString::asChar(int& length) const {
    length = static_cast<int>(text_.size());
    return text_.c_str();
}

const char* MString::asUTF8() const {
    return text_.c_str();
}

const char* MString::asUTF8(int& length) const {
    return asChar(length);
}

unsigned int MString::length() const {
    return static_cast<unsigned int>(text_.size());
}

unsigned int MString::numChars() const {
    return static_cast<unsigned int>(charsBefore(text_, text_.size()));
}

int MString::index(char c) const {
    return positionOrMinusOne(text_.find(c));
}

int MString::rindex(char c) const {
    return positionOrMinusOne(text_.rfind(c));
}

int MString::indexW(char c) const {
    const size_t position = text_.find(c);
    return position == std::string::npos ? -1 : charsBefore(text_, position);
}

int MString::indexW(const MString& other) const {
    const size_t position = text_.find(other.text_);
    return position == std::string::npos ? -1 : charsBefore(text_, position);
}

int MString::rindexW(char c) const {
    const size_t position = text_.rfind(c);
    return position == std::string::npos ? -1 : charsBefore(text_, position);
}

int MString::rindexW(const MString& other) const {
    const size_t position = text_.rfind(other.text_);
    return position == std::string::npos ? -1 : charsBefore(text_, position);
}

MStatus MString::split(char delimiter, MStringArray& output) const {
    // Empty pieces between consecutive delimiters are dropped.
    output.clear();
    size_t start = 0;
    while (start <= text_.size()) {
        size_t end = text_.find(delimiter, start);
        if (end == std::string::npos) {
            end = text_.size();
        }
        if (end > start) {
            output.append(MString(text_.substr(start, end - start).c_str()));
        }
        start = end + 1;
    }
    return MStatus::kSuccess;
}

MString MString::substring(int start, int end) const {
    start = std::max(start, 0);
    end = std::min(end, static_cast<int>(text_.size()) - 1);
    if (start > end) {
        return MString();
    }
    return MString(text_.c_str() + start, end - start + 1);
}

MString MString::substringW(int start, int end) const {
    start = std::max(start, 0);
    if (start > end) {
        return MString();
    }
    const size_t first = byteOffsetOfChar(text_, start);
    const size_t pastLast = byteOffsetOfChar(text_, end + 1);
    return MString(text_.c_str() + first, static_cast<int>(pastLast - first));
}

MString& MString::toUpperCase() {
    for (char& c : text_) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return *this;
}

MString& MString::toLowerCase() {
    for (char& c : text_) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return *this;
}

MStatus MString::substitute(const MString& first, const MString& second) {
    if (first.text_.empty()) {
        return MStatus::kInvalidParameter;
    }
    std::string result;
    size_t start = 0;
    for (size_t found = text_.find(first.text_); found != std::string::npos;
         found = text_.find(first.text_, start)) {
        result.append(text_, start, found - start).append(second.text_);
        start = found + first.text_.size();
    }
    text_ = result.append(text_, start, std::string::npos);
    return MStatus::kSuccess;
}

MStatus MString::substituteFirst(const MString& first, const MString& second) {
    if (first.text_.empty()) {
        return MStatus::kInvalidParameter;
    }
    const size_t found = text_.find(first.text_);
    if (found != std::string::npos) {
        text_.replace(found, first.text_.size(), second.text_);
    }
    return MStatus::kSuccess;
}

const MString MString::argUnused;

MStatus MString::format(const MString& fmt, const MString& arg1, const MString& arg2,
                        const MString& arg3, const MString& arg4, const MString& arg5,
                        const MString& arg6, const MString& arg7, const MString& arg8,
                        const MString& arg9, const MString& arg10) {
    const MString* args[] = {&arg1, &arg2, &arg3, &arg4, &arg5, &arg6, &arg7, &arg8, &arg9, &arg10};
    MStringArray list;
    for (const MString* arg : args) {
        list.append(*arg);
    }
    return format(fmt, list);
}

// "^Ns" (N from 1 to 9) is the Nth argument; a marker past the arguments is left as written.
MStatus MString::format(const MString& fmt, const MStringArray& args) {
    std::string result;
    const std::string& pattern = fmt.text_;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const bool isMarker = pattern[i] == '^' && i + 2 < pattern.size() &&
                              pattern[i + 1] >= '1' && pattern[i + 1] <= '9' &&
                              pattern[i + 2] == 's';
        const unsigned int argument =
            isMarker ? static_cast<unsigned int>(pattern[i + 1] - '1') : 0;
        if (isMarker && argument < args.length()) {
            result += args[argument].text_;
            i += 2;
        } else {
            result += pattern[i];
        }
    }
    text_ = result;
    return MStatus::kSuccess;
}

bool MString::isShort() const {
    short value = 0;
    return parseWhole(text_, value);
}

short MString::asShort() const {
    return wholeOrZero<short>(text_);
}

bool MString::isInt() const {
    int value = 0;
    return parseWhole(text_, value);
}

int MString::asInt() const {
    return wholeOrZero<int>(text_);
}

bool MString::isUnsigned() const {
    unsigned int value = 0;
    return parseWhole(text_, value);
}

unsigned int MString::asUnsigned() const {
    return wholeOrZero<unsigned int>(text_);
}

bool MString::isFloat() const {
    return isDouble();
}

float MString::asFloat() const {
    return static_cast<float>(asDouble());
}

bool MString::isDouble() const {
    double value = 0.0;
    return values::parseDouble(text_, value);
}

double MString::asDouble() const {
    double value = 0.0;
    return values::parseDouble(text_, value) ? value : 0.0;
}

OPENMAYA_MAJOR_NAMESPACE_OPEN

MString operator+(const char* left, const MString& right) {
    return MString(left) += right;
}

std::ostream& operator<<(std::ostream& out, const MString& text) {
    return out << text.asChar();
}

OPENMAYA_NAMESPACE_CLOSE
