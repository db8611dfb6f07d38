#include "node/ColourConfiguration.h"

#include "node/CineSheet.h"
#include "node/MelString.h"

#include <maya/MFnEnumAttribute.h>
#include <maya/MGlobal.h>

ColourConfiguration& ColourConfiguration::instance() {
    static ColourConfiguration configuration;
    return configuration;
}

void ColourConfiguration::refresh(const MObject& colorSpace) {
    ++generation_;
    if (MGlobal::executeCommand("colorManagementPrefs -q -inputSpaceNames", names_, false, false) !=
        MStatus::kSuccess) {
        names_.clear();
    }
    MFnEnumAttribute enumFn(colorSpace);
    short last = 0;
    enumFn.getMax(last);
    for (unsigned int i = 0; i < names_.length(); ++i) {
        MStatus status;
        enumFn.fieldIndex(names_[i], &status);
        if (status != MStatus::kSuccess &&
            enumFn.addField(names_[i], static_cast<short>(last + 1))) {
            ++last;
        }
    }
}

bool ColourConfiguration::knows(const MString& name) {
    if (names_.length() == 0) {
        refresh(CineSheet::aColorSpace);
    }
    for (unsigned int i = 0; i < names_.length(); ++i) {
        if (names_[i] == name) {
            return true;
        }
    }
    return false;
}

bool ColourConfiguration::fieldOf(const MString& name, bool add, short& field) {
    MFnEnumAttribute enumFn(CineSheet::aColorSpace);
    MStatus status;
    field = enumFn.fieldIndex(name, &status);
    if (status == MStatus::kSuccess || !add) {
        return status == MStatus::kSuccess;
    }
    short last = 0;
    enumFn.getMax(last);
    field = static_cast<short>(last + 1);
    return enumFn.addField(name, field) == MStatus::kSuccess;
}

MString fileRulesSpace(const MString& file) {
    MString space;
    if (MGlobal::executeCommand(
            "colorManagementFileRules -evaluate " + MString(melString(file.asChar()).c_str()),
            space, false, false) != MStatus::kSuccess) {
        return MString();
    }
    return space;
}
