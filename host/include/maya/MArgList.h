#pragma once

#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>

#include <string>
#include <vector>

// The words of one command call, as the script gave them.
class MArgList {
public:
    MArgList();
    MArgList(const MArgList& other);
    ~MArgList();
    MArgList& operator=(const MArgList& other);

    unsigned int length(MStatus* ReturnStatus = nullptr) const;
    bool asBool(unsigned int index, MStatus* ReturnStatus = nullptr) const;
    int asInt(unsigned int index, MStatus* ReturnStatus = nullptr) const;
    double asDouble(unsigned int index, MStatus* ReturnStatus = nullptr) const;
    MString asString(unsigned int index, MStatus* ReturnStatus = nullptr) const;
    // Reads a count followed by that many strings, starting at index; index moves past them.
    MStringArray asStringArray(unsigned int& index, MStatus* ReturnStatus = nullptr) const;
    // Index of the first word that is the flag, or kInvalidArgIndex.
    unsigned int flagIndex(const char* shortFlag, const char* longFlag = nullptr) const;

    MArgList& addArg(bool arg);
    MArgList& addArg(int arg);
    MArgList& addArg(double arg);
    MArgList& addArg(const MString& arg);

    static const unsigned int kInvalidArgIndex;

    // Host side: one word and how it was written.
    struct Item {
        enum Kind { kWord, kQuoted, kNumber, kFlag };
        Kind kind = kWord;
        std::string text;  // flags without the leading '-'
        double number = 0.0;
    };
    void append(const Item& item) { items_.push_back(item); }
    const std::vector<Item>& items() const { return items_; }

private:
    std::vector<Item> items_;
};
