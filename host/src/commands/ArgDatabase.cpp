#include <maya/MArgDatabase.h>
#include <maya/MSelectionList.h>

#include "commands/ArgumentParser.h"

namespace {

// Adds each name to a fresh list; an unknown name fails and leaves the caller's list alone.
MStatus selectNames(const std::vector<MString>& names, MSelectionList& result) {
    MSelectionList list;
    for (const MString& name : names) {
        if (!list.add(name)) {
            return MStatus::kInvalidParameter;
        }
    }
    result = list;
    return MStatus::kSuccess;
}

}  // namespace

MArgDatabase::MArgDatabase() = default;

MArgDatabase::MArgDatabase(const MSyntax& syntax, const MArgList& argList, MStatus* ReturnStatus)
    : MArgParser(syntax, argList, ReturnStatus) {}

MArgDatabase::~MArgDatabase() = default;

MStatus MArgDatabase::getFlagArgument(const char* flag, unsigned int index,
                                      MSelectionList& result) const {
    MString name;
    if (!getFlagArgument(flag, index, name)) {
        return MStatus::kFailure;
    }
    return selectNames({name}, result);
}

MStatus MArgDatabase::getCommandArgument(unsigned int index, MSelectionList& result) const {
    MString name;
    if (!getCommandArgument(index, name)) {
        return MStatus::kFailure;
    }
    return selectNames({name}, result);
}

MStatus MArgDatabase::getObjects(MSelectionList& result) const {
    MStringArray objects;
    if (!getObjects(objects)) {
        return MStatus::kFailure;
    }
    std::vector<MString> names;
    for (unsigned int i = 0; i < objects.length(); ++i) {
        names.push_back(objects[i]);
    }
    return selectNames(names, result);
}
