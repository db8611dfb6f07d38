#pragma once

#include <maya/MString.h>

#include <iosfwd>

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

    bool error() const { return code_ != kSuccess; }
    void clear() { code_ = kSuccess; }
    MStatusCode statusCode() const { return code_; }
    MString errorString() const;
    // Writes the prefix, ": " when the prefix is not empty, and the description to standard error.
    void perror(const char* prefix = nullptr) const;
    void perror(const MString& prefix) const;

private:
    MStatusCode code_ = kSuccess;
};

std::ostream& operator<<(std::ostream& out, const MStatus& status);
