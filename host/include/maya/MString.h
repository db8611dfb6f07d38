#pragma once

#include <maya/MApiNamespace.h>

#include <iosfwd>
#include <string>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MStatus;
class MStringArray;

// Text value of the plug-in API: UTF-8 bytes, indices count bytes unless the method ends in W.
class MString {
public:
    MString();
    MString(const char* charString);
    MString(const char* charString, int charLength);
    MString(const MString& other);
    ~MString();

    MString& operator=(const MString& other);
    MString& operator=(const char* other);

    MString& operator+=(const MString& other);
    MString& operator+=(const char* other);
    MString& operator+=(double other);
    MString& operator+=(int other);
    MString& operator+=(unsigned int other);
    MString& operator+=(float other);

    MString operator+(const MString& other) const;
    MString operator+(const char* other) const;
    MString operator+(double other) const;

    bool operator==(const MString& other) const;
    bool operator==(const char* other) const;
    bool operator!=(const MString& other) const;
    bool operator!=(const char* other) const;

    MStatus set(const char* charString);
    MStatus set(const char* charString, int charLength);
    MStatus set(double value);
    MStatus set(double value, int precision);
    MStatus setUTF8(const char* utf8String);
    void clear();

    const char* asChar() const;
    const char* asChar(int& length) const;
    const char* asUTF8() const;
    const char* asUTF8(int& length) const;
    unsigned int length() const;
    unsigned int numChars() const;
#if MAYA_API_VERSION >= 20230000
    bool isEmpty() const;
#endif

    int index(char c) const;
    int rindex(char c) const;
    int indexW(char c) const;
    int indexW(const MString& other) const;
    int rindexW(char c) const;
    int rindexW(const MString& other) const;

    // Pieces between delimiters; empty pieces are dropped.
    MStatus split(char delimiter, MStringArray& output) const;
    // Characters start to end, both inclusive; out-of-range indices are clamped.
    MString substring(int start, int end) const;
    MString substringW(int start, int end) const;
    MString& toUpperCase();
    MString& toLowerCase();
    MStatus substitute(const MString& first, const MString& second);
    MStatus substituteFirst(const MString& first, const MString& second);
    // This string becomes fmt with ^1s .. ^9s replaced by the arguments.
    MStatus format(
        const MString& fmt, const MString& arg1 = MString::argUnused,
        const MString& arg2 = MString::argUnused, const MString& arg3 = MString::argUnused,
        const MString& arg4 = MString::argUnused, const MString& arg5 = MString::argUnused,
        const MString& arg6 = MString::argUnused, const MString& arg7 = MString::argUnused,
        const MString& arg8 = MString::argUnused, const MString& arg9 = MString::argUnused,
        const MString& arg10 = MString::argUnused);
    MStatus format(const MString& fmt, const MStringArray& args);

    bool isShort() const;
    short asShort() const;
    bool isInt() const;
    int asInt() const;
    bool isUnsigned() const;
    unsigned int asUnsigned() const;
    bool isFloat() const;
    float asFloat() const;
    bool isDouble() const;
    double asDouble() const;

    // $VAR and ${VAR} become the variable's value; an unset variable is kept as written and the
    // status is kNotFound. A leading ~ becomes $HOME.
    MString expandFilePath(MStatus* ReturnStatus = nullptr) const;
    MString expandEnvironmentVariablesAndTilde(MStatus* ReturnStatus = nullptr) const;

    static const MString argUnused;

private:
    std::string text_;
};

MString operator+(const char* left, const MString& right);
std::ostream& operator<<(std::ostream& out, const MString& text);

OPENMAYA_NAMESPACE_CLOSE

// Last, so that either of MString.h and MStatus.h can be included first.
#include <maya/MStatus.h>
