#pragma once

#include <host/Messages.h>
#include <maya/MGlobal.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// What a script gives back, read as a plug-in reads it through MGlobal::executeCommand.
namespace scriptresults {

inline std::string text(const std::string& script) {
    MString result;
    EXPECT_EQ(MGlobal::executeCommand(script.c_str(), result), MStatus::kSuccess) << script;
    return result.asChar();
}

inline std::vector<std::string> strings(const std::string& script) {
    MStringArray result;
    EXPECT_EQ(MGlobal::executeCommand(script.c_str(), result), MStatus::kSuccess) << script;
    std::vector<std::string> values;
    for (unsigned int i = 0; i < result.length(); ++i) {
        values.push_back(result[i].asChar());
    }
    return values;
}

// The error the failing script showed.
inline std::string failure(const std::string& script) {
    host::resetMessageCounts();
    EXPECT_NE(MGlobal::executeCommand(script.c_str()), MStatus::kSuccess) << script;
    return host::lastMessage(host::MessageKind::kError);
}

}  // namespace scriptresults
