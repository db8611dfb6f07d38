#include <host/SyntaxAccess.h>
#include <maya/MSyntax.h>

#include <climits>

namespace {

std::string withoutDash(const char* name) {
    std::string text = name ? name : "";
    return !text.empty() && text[0] == '-' ? text.substr(1) : text;
}

}  // namespace

MSyntax::MSyntax() = default;
MSyntax::MSyntax(const MSyntax& other) = default;
MSyntax::~MSyntax() = default;
MSyntax& MSyntax::operator=(const MSyntax& other) = default;

MStatus MSyntax::addFlag(const char* shortName, const char* longName, MArgType argType1,
                         MArgType argType2, MArgType argType3, MArgType argType4, MArgType argType5,
                         MArgType argType6) {
    host::SyntaxFlag flag;
    flag.shortName = withoutDash(shortName);
    flag.longName = withoutDash(longName);
    if (flag.shortName.empty() || flag.longName.empty() || findFlag(flag.shortName) ||
        findFlag(flag.longName)) {
        return MStatus::kFailure;
    }
    for (MArgType type : {argType1, argType2, argType3, argType4, argType5, argType6}) {
        if (type == kNoArg) {
            break;
        }
        if (type <= kNoArg || type >= kLastArgType) {
            return MStatus::kInvalidParameter;
        }
        flag.argTypes.push_back(type);
    }
    flags_.push_back(flag);
    return MStatus::kSuccess;
}

MStatus MSyntax::makeFlagMultiUse(const char* flagName) {
    host::SyntaxFlag* flag = findFlagToChange(flagName);
    if (!flag) {
        return MStatus::kFailure;
    }
    flag->multiUse = true;
    return MStatus::kSuccess;
}

MStatus MSyntax::makeFlagQueryWithFullArgs(const char* flagName, bool) {
    host::SyntaxFlag* flag = findFlagToChange(flagName);
    if (!flag) {
        return MStatus::kFailure;
    }
    flag->queryWithArgs = true;
    return MStatus::kSuccess;
}

MStatus MSyntax::addArg(MArgType argType) {
    if (argType <= kNoArg || argType >= kLastArgType) {
        return MStatus::kInvalidParameter;
    }
    commandArgs_.push_back(argType);
    return MStatus::kSuccess;
}

MStatus MSyntax::setObjectType(MObjectFormat objectFormat, unsigned int minimumObjects) {
    return setObjectType(objectFormat, minimumObjects, UINT_MAX);
}

MStatus MSyntax::setObjectType(MObjectFormat objectFormat, unsigned int minimumObjects,
                               unsigned int maximumObjects) {
    if (objectFormat <= kInvalidObjectFormat || objectFormat >= kLastObjectFormat ||
        minimumObjects > maximumObjects) {
        return MStatus::kInvalidParameter;
    }
    objectFormat_ = objectFormat;
    minObjects_ = minimumObjects;
    maxObjects_ = maximumObjects;
    return MStatus::kSuccess;
}

void MSyntax::setMinObjects(unsigned int minimumObjects) {
    minObjects_ = minimumObjects;
}

void MSyntax::setMaxObjects(unsigned int maximumObjects) {
    maxObjects_ = maximumObjects;
}

unsigned int MSyntax::minObjects() const {
    return minObjects_;
}

unsigned int MSyntax::maxObjects() const {
    return maxObjects_;
}

void MSyntax::useSelectionAsDefault(bool useSelectionList) {
    useSelection_ = useSelectionList;
}

void MSyntax::enableQuery(bool supportsQuery) {
    queryEnabled_ = supportsQuery;
}
void MSyntax::enableEdit(bool supportsEdit) {
    editEnabled_ = supportsEdit;
}
bool MSyntax::canQuery() const {
    return queryEnabled_;
}
bool MSyntax::canEdit() const {
    return editEnabled_;
}

const host::SyntaxFlag* MSyntax::findFlag(const std::string& name) const {
    std::string key = withoutDash(name.c_str());
    for (const host::SyntaxFlag& flag : flags_) {
        if (flag.shortName == key || flag.longName == key) {
            return &flag;
        }
    }
    return nullptr;
}

host::SyntaxFlag* MSyntax::findFlagToChange(const char* name) {
    return const_cast<host::SyntaxFlag*>(findFlag(withoutDash(name)));
}
