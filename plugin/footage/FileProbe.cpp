#include "footage/FileProbe.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

// The system's text for the error, as the end of a sentence.
std::string systemReason(int error) {
    std::string reason = std::strerror(error);
    if (!reason.empty()) {
        reason[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(reason[0])));
    }
    return reason;
}

}  // namespace

bool pathExists(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0;
}

std::string whyUnreadable(const std::string& path) {
    if (path.empty()) {
        return "path is empty";
    }
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        if (errno != ENOENT && errno != ENOTDIR) {
            return systemReason(errno);
        }
        // The path tried in full: the node's may be relative, hold variables or a frame mark.
        std::error_code error;
        const std::filesystem::path tried = std::filesystem::absolute(path, error);
        return "no such file at " + (error ? path : tried.string());
    }
    if (S_ISDIR(status.st_mode)) {
        return "is a folder";
    }
    if (!S_ISREG(status.st_mode)) {
        return "is not a regular file";
    }
    if (access(path.c_str(), R_OK) != 0) {
        return systemReason(errno);
    }
    // A regular file in name only: one of the kernel's.
    return "is not a regular file";
}
