#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MStatus.h>

#include <climits>
#include <string>
#include <vector>

namespace host {
struct SyntaxFlag;
struct SyntaxAccess;
}  // namespace host

OPENMAYA_MAJOR_NAMESPACE_OPEN

// The flags, objects and arguments a command accepts; the host checks a call against it before
// doIt runs, and MArgDatabase reads the call through it.
class MSyntax {
public:
    enum MArgType {
        kInvalidArgType,
        kNoArg,
        kBoolean,
        kLong,
        kDouble,
        kString,
        kUnsigned,
        kDistance,
        kAngle,
        kTime,
        kSelectionItem,
        kLastArgType
    };

    enum MObjectFormat {
        kInvalidObjectFormat,
        kNone,
        kStringObjects,
        kSelectionList,
        kLastObjectFormat
    };

    MSyntax();
    MSyntax(const MSyntax& other);
    ~MSyntax();
    MSyntax& operator=(const MSyntax& other);

    // Names may be given with or without the leading '-'. A name already used fails.
    MStatus addFlag(const char* shortName, const char* longName, MArgType argType1 = kNoArg,
                    MArgType argType2 = kNoArg, MArgType argType3 = kNoArg,
                    MArgType argType4 = kNoArg, MArgType argType5 = kNoArg,
                    MArgType argType6 = kNoArg);
    MStatus makeFlagMultiUse(const char* flagName);
    MStatus makeFlagQueryWithFullArgs(const char* flagName, bool queryArgsOptional);
    // A positional argument after the flags (used when the object format is kNone).
    MStatus addArg(MArgType argType);

    MStatus setObjectType(MObjectFormat objectFormat, unsigned int minimumObjects = 0);
    MStatus setObjectType(MObjectFormat objectFormat, unsigned int minimumObjects,
                          unsigned int maximumObjects);
    void setMinObjects(unsigned int minimumObjects);
    void setMaxObjects(unsigned int maximumObjects);
    unsigned int minObjects() const;
    unsigned int maxObjects() const;
    void useSelectionAsDefault(bool useSelectionList = false);
    void enableQuery(bool supportsQuery = true);
    void enableEdit(bool supportsEdit = true);
    bool canQuery() const;
    bool canEdit() const;

private:
    friend struct host::SyntaxAccess;
    const host::SyntaxFlag* findFlag(const std::string& name) const;
    host::SyntaxFlag* findFlagToChange(const char* name);

    std::vector<host::SyntaxFlag> flags_;
    std::vector<MArgType> commandArgs_;
    MObjectFormat objectFormat_ = kNone;
    unsigned int minObjects_ = 0;
    unsigned int maxObjects_ = UINT_MAX;
    bool useSelection_ = false;
    bool queryEnabled_ = false;
    bool editEnabled_ = false;
};

OPENMAYA_NAMESPACE_CLOSE
