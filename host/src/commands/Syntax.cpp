#include <maya/MSyntax.h>

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
    Flag flag;
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
    Flag* flag = findFlagToChange(flagName);
    if (!flag) {
        return MStatus::kFailure;
    }
    flag->multiUse = true;
    return MStatus::kSuccess;
}

MStatus MSyntax::makeFlagQueryWithFullArgs(const char* flagName, bool) {
    Flag* flag = findFlagToChange(flagName);
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

void MSyntax::setObjectType(MObjectFormat objectFormat, unsigned int minimumObjects,
                            unsigned int maximumObjects) {
    objectFormat_ = objectFormat;
    minObjects_ = minimumObjects;
    maxObjects_ = maximumObjects;
}

MStatus MSyntax::setMinObjects(unsigned int minimumObjects) {
    minObjects_ = minimumObjects;
    return MStatus::kSuccess;
}

MStatus MSyntax::setMaxObjects(unsigned int maximumObjects) {
    maxObjects_ = maximumObjects;
    return MStatus::kSuccess;
}

void MSyntax::useSelectionAsDefault(bool useSelection) {
    useSelection_ = useSelection;
}
void MSyntax::enableQuery(bool supportsQuery) {
    queryEnabled_ = supportsQuery;
}
void MSyntax::enableEdit(bool supportsEdit) {
    editEnabled_ = supportsEdit;
}
void MSyntax::clear() {
    *this = MSyntax();
}

const MSyntax::Flag* MSyntax::findFlag(const std::string& name) const {
    std::string key = withoutDash(name.c_str());
    for (const Flag& flag : flags_) {
        if (flag.shortName == key || flag.longName == key) {
            return &flag;
        }
    }
    return nullptr;
}

MSyntax::Flag* MSyntax::findFlagToChange(const char* name) {
    return const_cast<Flag*>(findFlag(withoutDash(name)));
}
