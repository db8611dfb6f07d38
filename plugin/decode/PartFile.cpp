#include "decode/PartFile.h"

#include "decode/SoundFileName.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>

namespace video {

PartFile::PartFile(const std::string& nearPath) {
    const size_t slash = nearPath.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : nearPath.substr(0, slash + 1);
    const std::string name = nearPath.substr(folder.size());
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts && fd_ < 0; ++attempt) {
        // The final name may already fill the file-name limit: the temporary one gives up the
        // end of it for its own ending.
        const std::string ending =
            ".part" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        const std::string candidate = folder + nameWithin(name, NAME_MAX - ending.size()) + ending;
        fd_ = ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            path_ = candidate;
        } else if (errno != EEXIST) {
            return;
        }
    }
    struct stat status {};
    if (fd_ >= 0 && ::fstat(fd_, &status) == 0) {
        device_ = status.st_dev;
        inode_ = status.st_ino;
    }
}

PartFile::~PartFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!path_.empty() && leadsToFile(path_)) {
        ::unlink(path_.c_str());
    }
}

bool PartFile::leadsToFile(const std::string& name) const {
    struct stat status {};
    return ::lstat(name.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           status.st_dev == device_ && status.st_ino == inode_;
}

bool PartFile::moveIntoPlace(const std::string& finalPath) {
    // Another process may have put something else under the temporary name since it was made;
    // that is never given the final name.
    if (path_.empty() || !leadsToFile(path_) ||
        std::rename(path_.c_str(), finalPath.c_str()) != 0) {
        return false;
    }
    path_.clear();
    // The name may still have been swapped between that look and the rename: what the rename put
    // in place is looked at, and anything but the file written is taken away again.
    if (!leadsToFile(finalPath)) {
        ::unlink(finalPath.c_str());
        return false;
    }
    return true;
}

}  // namespace video
