#include <gtest/gtest.h>
#include <maya/MStatus.h>

#include <sstream>

namespace {

TEST(MStatus, CodesKeepTheirApiNumbers) {
    EXPECT_EQ(MStatus::kSuccess, 0);
    EXPECT_EQ(MStatus::kUnknownParameter, 5);
    EXPECT_EQ(MStatus::kEndOfFile, 8);
}

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

TEST(MStatus, PerrorSeparatesOnlyANonEmptyPrefix) {
    testing::internal::CaptureStderr();
    MStatus(MStatus::kFailure).perror("");
    MStatus(MStatus::kNotFound).perror("lookup");
    MStatus(MStatus::kSuccess).perror(MString("ok"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "(kFailure): Unexpected Internal Failure\n"
              "lookup: (kNotFound): Not Found\n"
              "ok: (kSuccess): Success\n");
}

// The report Maya's CHECK_MSTATUS macros give, and their early return.
TEST(MStatus, CheckMacrosReportTheFileAndLineOfAFailure) {
    const int checkLine = __LINE__ + 2;
    const auto failing = []() -> MStatus {
        CHECK_MSTATUS_AND_RETURN_IT(MStatus(MStatus::kNotFound));
        return MStatus::kSuccess;
    };
    testing::internal::CaptureStderr();
    CHECK_MSTATUS(MStatus::kSuccess);
    const MStatus returned = failing();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              std::string("\nAPI error detected in ") + __FILE__ + " at line " +
                  std::to_string(checkLine) + "\n(kNotFound): Not Found\n");
    EXPECT_EQ(returned, MStatus::kNotFound);
    EXPECT_TRUE(MFAIL(returned));
    EXPECT_TRUE(MStatus::kNotFound == returned);
}

}  // namespace
