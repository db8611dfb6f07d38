#pragma once

#include <maya/MStatus.h>

#include <climits>
#include <string>
#include <vector>

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

    void setObjectType(MObjectFormat objectFormat, unsigned int minimumObjects = 0,
                       unsigned int maximumObjects = UINT_MAX);
    MStatus setMinObjects(unsigned int minimumObjects);
    MStatus setMaxObjects(unsigned int maximumObjects);
    void useSelectionAsDefault(bool useSelection);
    void enableQuery(bool supportsQuery = true);
    void enableEdit(bool supportsEdit = true);
    void clear();

    // Host side: what was declared.
    struct Flag {
        std::string shortName;  // without '-'
        std::string longName;   // without '-'
        std::vector<MArgType> argTypes;
        bool multiUse = false;
        bool queryWithArgs = false;
    };
    const std::vector<Flag>& flags() const { return flags_; }
    const std::vector<MArgType>& commandArgs() const { return commandArgs_; }
    MObjectFormat objectFormat() const { return objectFormat_; }
    unsigned int minObjects() const { return minObjects_; }
    unsigned int maxObjects() const { return maxObjects_; }
    bool selectionAsDefault() const { return useSelection_; }
    bool queryEnabled() const { return queryEnabled_; }
    bool editEnabled() const { return editEnabled_; }
    // The declared flag matching a short or long name (with or without '-'), or null.
    const Flag* findFlag(const std::string& name) const;

private:
    Flag* findFlagToChange(const char* name);

    std::vector<Flag> flags_;
    std::vector<MArgType> commandArgs_;
    MObjectFormat objectFormat_ = kNone;
    unsigned int minObjects_ = 0;
    unsigned int maxObjects_ = UINT_MAX;
    bool useSelection_ = false;
    bool queryEnabled_ = false;
    bool editEnabled_ = false;
};
