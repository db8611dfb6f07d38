#include <gtest/gtest.h>
#include <maya/MStatus.h>

#include <sstream>

namespace {

TEST(MStatus, ErrorStringNamesCodeAndMeaning) {
    const std::pair<MStatus::MStatusCode, const char*> cases[] = {
        {MStatus::kSuccess, "(kSuccess): Success"},
        {MStatus::kFailure, "(kFailure): Unexpected Internal Failure"},
        {MStatus::kInsufficientMemory, "(kInsufficientMemory): Insufficient Memory"},
        {MStatus::kInvalidParameter, "(kInvalidParameter): Invalid Parameter"},
        {MStatus::kLicenseFailure, "(kLicenseFailure): License Failure"},
        {MStatus::kUnknownParameter, "(kUnknownParameter): Unknown Parameter"},
        {MStatus::kNotImplemented, "(kNotImplemented): Not Implemented"},
        {MStatus::kNotFound, "(kNotFound): Not Found"},
        {MStatus::kEndOfFile, "(kEndOfFile): End of File"},
    };
    for (const auto& [code, text] : cases) {
        EXPECT_EQ(MStatus(code).errorString(), text);
        std::ostringstream out;
        MStatus status(code);
        out << status;
        EXPECT_EQ(out.str(), text);
    }
}

}  // namespace
