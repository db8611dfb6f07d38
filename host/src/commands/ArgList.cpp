#include <maya/MArgList.h>

#include <host/Commands.h>

#include "commands/ArgumentValues.h"

#include <cctype>

const unsigned int MArgList::kInvalidArgIndex = 0xffffffffu;

namespace {

void setOutcome(MStatus* status, bool ok) {
    if (status) {
        *status = ok ? MStatus::kSuccess : MStatus::kFailure;
    }
}

std::string flagName(const char* flag) {
    std::string name = flag ? flag : "";
    return !name.empty() && name[0] == '-' ? name.substr(1) : name;
}

}  // namespace

MArgList::MArgList() = default;
MArgList::MArgList(const MArgList& other) = default;
MArgList::~MArgList() = default;
MArgList& MArgList::operator=(const MArgList& other) = default;

unsigned int MArgList::length(MStatus* ReturnStatus) const {
    setOutcome(ReturnStatus, true);
    return static_cast<unsigned int>(items_.size());
}

bool MArgList::asBool(unsigned int index, MStatus* ReturnStatus) const {
    bool value = false;
    setOutcome(ReturnStatus, index < items_.size() && host::argumentAsBool(items_[index], &value));
    return value;
}

int MArgList::asInt(unsigned int index, MStatus* ReturnStatus) const {
    int value = 0;
    setOutcome(ReturnStatus, index < items_.size() && host::argumentAsInt(items_[index], &value));
    return value;
}

double MArgList::asDouble(unsigned int index, MStatus* ReturnStatus) const {
    double value = 0.0;
    setOutcome(ReturnStatus,
               index < items_.size() && host::argumentAsDouble(items_[index], &value));
    return value;
}

MString MArgList::asString(unsigned int index, MStatus* ReturnStatus) const {
    setOutcome(ReturnStatus, index < items_.size());
    if (index >= items_.size()) {
        return MString();
    }
    const host::ArgItem& item = items_[index];
    std::string text = item.kind == host::ArgItem::kFlag ? "-" + item.text : item.text;
    return MString(text.c_str());
}

MStringArray MArgList::asStringArray(unsigned int& index, MStatus* ReturnStatus) const {
    MStringArray values;
    unsigned int count = 0;
    if (index >= items_.size() || !host::argumentAsUnsigned(items_[index], &count) ||
        count > items_.size() - index - 1) {
        setOutcome(ReturnStatus, false);
        return values;
    }
    for (unsigned int i = 1; i <= count; ++i) {
        values.append(asString(index + i));
    }
    index += count + 1;
    setOutcome(ReturnStatus, true);
    return values;
}

unsigned int MArgList::flagIndex(const char* shortFlag, const char* longFlag) const {
    std::string shortName = flagName(shortFlag);
    std::string longName = flagName(longFlag);
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const host::ArgItem& item = items_[i];
        if (item.kind == host::ArgItem::kFlag &&
            (item.text == shortName || (!longName.empty() && item.text == longName))) {
            return static_cast<unsigned int>(i);
        }
    }
    return kInvalidArgIndex;
}

MStatus MArgList::addArg(bool arg) {
    host::ArgItem item;
    item.kind = host::ArgItem::kNumber;
    item.number = arg ? 1.0 : 0.0;
    item.text = arg ? "1" : "0";
    items_.push_back(item);
    return MStatus::kSuccess;
}

MStatus MArgList::addArg(int arg) {
    return addArg(static_cast<double>(arg));
}

// A time is its value in the UI unit; a vector or point is three numbers, as scripts write them.
MStatus MArgList::addArg(const MTime& arg) {
    return addArg(arg.as(MTime::uiUnit()));
}

MStatus MArgList::addArg(const MVector& arg) {
    addArg(arg.x);
    addArg(arg.y);
    return addArg(arg.z);
}

MStatus MArgList::addArg(const MPoint& arg) {
    addArg(arg.x);
    addArg(arg.y);
    return addArg(arg.z);
}

MStatus MArgList::addArg(double arg) {
    host::ArgItem item;
    item.kind = host::ArgItem::kNumber;
    item.number = arg;
    item.text = host::formatNumber(arg);
    items_.push_back(item);
    return MStatus::kSuccess;
}

// A string that looks like a flag acts as one, as when the words come from a script.
MStatus MArgList::addArg(const MString& arg) {
    host::ArgItem item;
    item.text = arg.asChar();
    if (item.text.size() > 1 && item.text[0] == '-' &&
        std::isalpha(static_cast<unsigned char>(item.text[1]))) {
        item.kind = host::ArgItem::kFlag;
        item.text.erase(0, 1);
    } else {
        item.kind = host::ArgItem::kQuoted;
    }
    items_.push_back(item);
    return MStatus::kSuccess;
}

namespace host {

void ArgListAccess::append(MArgList& args, const ArgItem& item) {
    args.items_.push_back(item);
}

const std::vector<ArgItem>& ArgListAccess::items(const MArgList& args) {
    return args.items_;
}

}  // namespace host
