#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MArgList.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MSyntax.h>

#include <memory>

namespace host {
struct ParsedArguments;
}

OPENMAYA_MAJOR_NAMESPACE_OPEN

// A command call read through its syntax. When the call does not fit the syntax the status is a
// failure and every later query fails too, leaving its output alone.
class MArgParser {
public:
    MArgParser();
    MArgParser(const MSyntax& syntax, const MArgList& argList, MStatus* ReturnStatus = nullptr);
    MArgParser(const MArgParser& other);
    virtual ~MArgParser();
    MArgParser& operator=(const MArgParser& other);

    bool isFlagSet(const char* flag, MStatus* ReturnStatus = nullptr) const;
    bool isEdit(MStatus* ReturnStatus = nullptr) const;
    bool isQuery(MStatus* ReturnStatus = nullptr) const;
    unsigned int numberOfFlagsUsed() const;
    unsigned int numberOfFlagUses(const char* flag) const;

    MStatus getFlagArgument(const char* flag, unsigned int index, bool& result) const;
    MStatus getFlagArgument(const char* flag, unsigned int index, int& result) const;
    MStatus getFlagArgument(const char* flag, unsigned int index, double& result) const;
    MStatus getFlagArgument(const char* flag, unsigned int index, unsigned int& result) const;
    MStatus getFlagArgument(const char* flag, unsigned int index, MString& result) const;
    bool flagArgumentBool(const char* flag, unsigned int index,
                          MStatus* ReturnStatus = nullptr) const;
    int flagArgumentInt(const char* flag, unsigned int index,
                        MStatus* ReturnStatus = nullptr) const;
    double flagArgumentDouble(const char* flag, unsigned int index,
                              MStatus* ReturnStatus = nullptr) const;
    MString flagArgumentString(const char* flag, unsigned int index,
                               MStatus* ReturnStatus = nullptr) const;
    // The arguments of the i-th use of a multi-use flag.
    MStatus getFlagArgumentList(const char* flag, unsigned int i, MArgList& args) const;

    MStatus getCommandArgument(unsigned int index, bool& result) const;
    MStatus getCommandArgument(unsigned int index, int& result) const;
    MStatus getCommandArgument(unsigned int index, double& result) const;
    MStatus getCommandArgument(unsigned int index, MString& result) const;
    MStatus getObjects(MStringArray& result) const;

protected:
    std::shared_ptr<const host::ParsedArguments> parsed_;
};

OPENMAYA_NAMESPACE_CLOSE
