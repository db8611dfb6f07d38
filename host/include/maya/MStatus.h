#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MString.h>

#include <iosfwd>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Result of a host call. Codes and their numbering follow the plug-in API.
class MStatus {
public:
    enum MStatusCode {
        kSuccess = 0,
        kFailure,
        kInsufficientMemory,
        kInvalidParameter,
        kLicenseFailure,
        kUnknownParameter,
        kNotImplemented,
        kNotFound,
        kEndOfFile,
    };

    MStatus() = default;
    MStatus(MStatusCode code) : code_(code) {}
    MStatus(const MStatus&) = default;
    MStatus& operator=(const MStatus&) = default;

    bool operator==(const MStatus& other) const { return code_ == other.code_; }
    bool operator==(MStatusCode code) const { return code_ == code; }
    bool operator!=(const MStatus& other) const { return code_ != other.code_; }
    bool operator!=(MStatusCode code) const { return code_ != code; }
    explicit operator bool() const { return code_ == kSuccess; }
    friend bool operator==(MStatusCode code, const MStatus& status) { return status == code; }
    friend bool operator!=(MStatusCode code, const MStatus& status) { return status != code; }

    bool error() const { return code_ != kSuccess; }
    void clear() { code_ = kSuccess; }
    MStatusCode statusCode() const { return code_; }
    MString errorString() const;
    // Writes the prefix, ": " when the prefix is not empty, and the description to standard error.
    void perror(const char* prefix) const;
    void perror(const MString& prefix) const;
    // "\nAPI error detected in <file> at line <line>\n", then the description.
    void pAPIerror(const char* file, int line) const;
    friend std::ostream& operator<<(std::ostream& out, MStatus& status);

private:
    MStatusCode code_ = kSuccess;
};

OPENMAYA_NAMESPACE_CLOSE

// Maya's checking macros: report a failed status with the place of the check.
#define MFAIL(status) (MStatus::kSuccess != (status))

#define CHECK_MSTATUS(status)                           \
    {                                                   \
        MStatus _maya_status = (status);                \
        if (MStatus::kSuccess != _maya_status) {        \
            _maya_status.pAPIerror(__FILE__, __LINE__); \
        }                                               \
    }

#define CHECK_MSTATUS_AND_RETURN(status, retVal)        \
    {                                                   \
        MStatus _maya_status = (status);                \
        if (MStatus::kSuccess != _maya_status) {        \
            _maya_status.pAPIerror(__FILE__, __LINE__); \
            return (retVal);                            \
        }                                               \
    }

#define CHECK_MSTATUS_AND_RETURN_IT(status) CHECK_MSTATUS_AND_RETURN((status), (status))
