#include <maya/MStatus.h>

#include <cstdio>
#include <ostream>

namespace {

const char* describe(MStatus::MStatusCode code) {
    switch (code) {
        case MStatus::kSuccess:
            return "(kSuccess): Success";
        case MStatus::kFailure:
            return "(kFailure): Unexpected Internal Failure";
        case MStatus::kInsufficientMemory:
            return "(kInsufficientMemory): Insufficient Memory";
        case MStatus::kInvalidParameter:
            return "(kInvalidParameter): Invalid Parameter";
        case MStatus::kLicenseFailure:
            return "(kLicenseFailure): License Failure";
        case MStatus::kUnknownParameter:
            return "(kUnknownParameter): Unknown Parameter";
        case MStatus::kNotImplemented:
            return "(kNotImplemented): Not Implemented";
        case MStatus::kNotFound:
            return "(kNotFound): Not Found";
        case MStatus::kEndOfFile:
            return "(kEndOfFile): End of File";
    }
    return "(kFailure): Unexpected Internal Failure";
}

}  // namespace

MString MStatus::errorString() const {
    return MString(describe(code_));
}

void MStatus::perror(const char* prefix) const {
    if (prefix != nullptr && prefix[0] != '\0') {
        std::fprintf(stderr, "%s: %s\n", prefix, describe(code_));
    } else {
        std::fprintf(stderr, "%s\n", describe(code_));
    }
    std::fflush(stderr);
}

void MStatus::perror(const MString& prefix) const {
    perror(prefix.asChar());
}

void MStatus::pAPIerror(const char* file, int line) const {
    std::fprintf(stderr, "\nAPI error detected in %s at line %d\n", file, line);
    perror("");
}

OPENMAYA_MAJOR_NAMESPACE_OPEN

std::ostream& operator<<(std::ostream& out, MStatus& status) {
    return out << describe(status.statusCode());
}

OPENMAYA_NAMESPACE_CLOSE
