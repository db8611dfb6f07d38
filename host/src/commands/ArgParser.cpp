#include <host/SyntaxAccess.h>
#include <maya/MArgParser.h>

#include "commands/ArgumentParser.h"
#include "commands/ArgumentValues.h"

namespace {

void setStatus(MStatus* status, MStatus value) {
    if (status) {
        *status = value;
    }
}

// The index-th value of the first use of a flag, or null.
const host::ArgItem* flagValue(const host::ParsedArguments* parsed, const char* flag,
                               unsigned int index) {
    if (!parsed || !parsed->ok()) {
        return nullptr;
    }
    auto uses = parsed->usesOf(flag);
    if (uses.empty() || index >= uses.front()->values.size()) {
        return nullptr;
    }
    return &uses.front()->values[index];
}

const host::ArgItem* positionalValue(const host::ParsedArguments* parsed, unsigned int index) {
    if (!parsed || !parsed->ok() || index >= parsed->positional.size()) {
        return nullptr;
    }
    return &parsed->positional[index];
}

template <typename T, typename Convert>
MStatus readInto(const host::ArgItem* item, T& result, Convert convert) {
    T value{};
    if (!item || !convert(*item, &value)) {
        return MStatus::kFailure;
    }
    result = value;
    return MStatus::kSuccess;
}

MStatus readString(const host::ArgItem* item, MString& result) {
    std::string text;
    if (!item || !host::argumentAsString(*item, &text)) {
        return MStatus::kFailure;
    }
    result = MString(text.c_str());
    return MStatus::kSuccess;
}

}  // namespace

MArgParser::MArgParser() = default;

MArgParser::MArgParser(const MSyntax& syntax, const MArgList& argList, MStatus* ReturnStatus)
    : parsed_(host::parseArguments(syntax, argList)) {
    setStatus(ReturnStatus, parsed_->ok() ? MStatus::kSuccess : MStatus::kInvalidParameter);
}

MArgParser::MArgParser(const MArgParser& other) = default;
MArgParser::~MArgParser() = default;
MArgParser& MArgParser::operator=(const MArgParser& other) = default;

bool MArgParser::isFlagSet(const char* flag, MStatus* ReturnStatus) const {
    bool ok =
        parsed_ && parsed_->ok() && host::SyntaxAccess::findFlag(parsed_->syntax, flag ? flag : "");
    setStatus(ReturnStatus, ok ? MStatus::kSuccess : MStatus::kFailure);
    return ok && !parsed_->usesOf(flag).empty();
}

bool MArgParser::isEdit(MStatus* ReturnStatus) const {
    bool ok = parsed_ && parsed_->ok();
    setStatus(ReturnStatus, ok ? MStatus::kSuccess : MStatus::kFailure);
    return ok && parsed_->edit;
}

bool MArgParser::isQuery(MStatus* ReturnStatus) const {
    bool ok = parsed_ && parsed_->ok();
    setStatus(ReturnStatus, ok ? MStatus::kSuccess : MStatus::kFailure);
    return ok && parsed_->query;
}

unsigned int MArgParser::numberOfFlagsUsed() const {
    return parsed_ && parsed_->ok() ? static_cast<unsigned int>(parsed_->uses.size()) : 0;
}

unsigned int MArgParser::numberOfFlagUses(const char* flag) const {
    return parsed_ && parsed_->ok() ? static_cast<unsigned int>(parsed_->usesOf(flag).size()) : 0;
}

MStatus MArgParser::getFlagArgument(const char* flag, unsigned int index, bool& result) const {
    return readInto(flagValue(parsed_.get(), flag, index), result, host::argumentAsBool);
}

MStatus MArgParser::getFlagArgument(const char* flag, unsigned int index, int& result) const {
    return readInto(flagValue(parsed_.get(), flag, index), result, host::argumentAsInt);
}

MStatus MArgParser::getFlagArgument(const char* flag, unsigned int index, double& result) const {
    return readInto(flagValue(parsed_.get(), flag, index), result, host::argumentAsDouble);
}

MStatus MArgParser::getFlagArgument(const char* flag, unsigned int index,
                                    unsigned int& result) const {
    return readInto(flagValue(parsed_.get(), flag, index), result, host::argumentAsUnsigned);
}

MStatus MArgParser::getFlagArgument(const char* flag, unsigned int index, MString& result) const {
    return readString(flagValue(parsed_.get(), flag, index), result);
}

bool MArgParser::flagArgumentBool(const char* flag, unsigned int index,
                                  MStatus* ReturnStatus) const {
    bool value = false;
    setStatus(ReturnStatus, getFlagArgument(flag, index, value));
    return value;
}

int MArgParser::flagArgumentInt(const char* flag, unsigned int index, MStatus* ReturnStatus) const {
    int value = 0;
    setStatus(ReturnStatus, getFlagArgument(flag, index, value));
    return value;
}

double MArgParser::flagArgumentDouble(const char* flag, unsigned int index,
                                      MStatus* ReturnStatus) const {
    double value = 0.0;
    setStatus(ReturnStatus, getFlagArgument(flag, index, value));
    return value;
}

MString MArgParser::flagArgumentString(const char* flag, unsigned int index,
                                       MStatus* ReturnStatus) const {
    MString value;
    setStatus(ReturnStatus, getFlagArgument(flag, index, value));
    return value;
}

MStatus MArgParser::getFlagArgumentList(const char* flag, unsigned int i, MArgList& args) const {
    if (!parsed_ || !parsed_->ok()) {
        return MStatus::kFailure;
    }
    auto uses = parsed_->usesOf(flag);
    if (i >= uses.size()) {
        return MStatus::kFailure;
    }
    MArgList values;
    for (const host::ArgItem& item : uses[i]->values) {
        host::ArgListAccess::append(values, item);
    }
    args = values;
    return MStatus::kSuccess;
}

MStatus MArgParser::getCommandArgument(unsigned int index, bool& result) const {
    return readInto(positionalValue(parsed_.get(), index), result, host::argumentAsBool);
}

MStatus MArgParser::getCommandArgument(unsigned int index, int& result) const {
    return readInto(positionalValue(parsed_.get(), index), result, host::argumentAsInt);
}

MStatus MArgParser::getCommandArgument(unsigned int index, double& result) const {
    return readInto(positionalValue(parsed_.get(), index), result, host::argumentAsDouble);
}

MStatus MArgParser::getCommandArgument(unsigned int index, MString& result) const {
    return readString(positionalValue(parsed_.get(), index), result);
}

MStatus MArgParser::getObjects(MStringArray& result) const {
    if (!parsed_ || !parsed_->ok()) {
        return MStatus::kFailure;
    }
    MStringArray objects;
    for (const host::ArgItem& item : parsed_->positional) {
        objects.append(MString(item.text.c_str()));
    }
    result = objects;
    return MStatus::kSuccess;
}
