#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MArgParser.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MSelectionList;

// MArgParser that can also hand back the command's objects as a selection list.
class MArgDatabase : public MArgParser {
public:
    MArgDatabase();
    MArgDatabase(const MSyntax& syntax, const MArgList& argList, MStatus* ReturnStatus = nullptr);
    ~MArgDatabase() override;

    using MArgParser::getCommandArgument;
    using MArgParser::getFlagArgument;
    using MArgParser::getObjects;
    MStatus getFlagArgument(const char* flag, unsigned int index, MSelectionList& result) const;
    MStatus getCommandArgument(unsigned int index, MSelectionList& result) const;
    MStatus getObjects(MSelectionList& result) const;
};

OPENMAYA_NAMESPACE_CLOSE
