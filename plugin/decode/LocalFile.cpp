#include "decode/LocalFile.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <utility>

namespace video {
namespace {

// Whether the mounted file system with this device number is of the given type. devtmpfs
// reports itself as tmpfs, so only the mount table tells /dev from /tmp.
bool mountedAs(dev_t device, const std::string& type) {
    std::ifstream mounts("/proc/self/mountinfo");
    const std::string wanted = std::to_string(major(device)) + ":" + std::to_string(minor(device));
    std::string line;
    while (std::getline(mounts, line)) {
        std::istringstream fields(line);
        std::string id;
        std::string parent;
        std::string numbers;
        fields >> id >> parent >> numbers;
        const std::string::size_type separator = line.find(" - ");
        if (numbers != wanted || separator == std::string::npos) {
            continue;
        }
        std::istringstream rest(line.substr(separator + 3));
        std::string fileSystem;
        rest >> fileSystem;
        return fileSystem == type;
    }
    return false;
}

bool isPseudoFileSystem(const struct statfs& fileSystem, const struct stat& status) {
    switch (fileSystem.f_type) {
        case PROC_SUPER_MAGIC:
        case SYSFS_MAGIC:
        case DEBUGFS_MAGIC:
        case TRACEFS_MAGIC:
        case SECURITYFS_MAGIC:
        case CGROUP_SUPER_MAGIC:
        case CGROUP2_SUPER_MAGIC:
        case DEVPTS_SUPER_MAGIC:
        case BPF_FS_MAGIC:
        case PSTOREFS_MAGIC:
        case EFIVARFS_MAGIC:
            return true;
        case TMPFS_MAGIC:
            return mountedAs(status.st_dev, "devtmpfs");
        default:
            return false;
    }
}

bool onPseudoFileSystem(int fd, const struct stat& status) {
    struct statfs fileSystem {};
    return fstatfs(fd, &fileSystem) != 0 || isPseudoFileSystem(fileSystem, status);
}

// What the path names now, judged without opening it.
bool namesLocalRegularFile(const std::string& path) {
    struct stat status {};
    struct statfs fileSystem {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           statfs(path.c_str(), &fileSystem) == 0 && !isPseudoFileSystem(fileSystem, status);
}

}  // namespace

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)) {}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        FileDescriptor old(std::move(*this));
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

FileDescriptor openLocalRegularFile(const std::string& path) {
    if (path.empty() || !namesLocalRegularFile(path)) {
        return FileDescriptor();
    }
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat status {};
    if (!file.isOpen() || fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        onPseudoFileSystem(file.get(), status)) {
        return FileDescriptor();
    }
    return file;
}

bool RegularFileCheck::Seen::operator==(const Seen& other) const {
    return path == other.path && exists == other.exists && device == other.device &&
           inode == other.inode && mode == other.mode && modified.tv_sec == other.modified.tv_sec &&
           modified.tv_nsec == other.modified.tv_nsec && changed.tv_sec == other.changed.tv_sec &&
           changed.tv_nsec == other.changed.tv_nsec;
}

bool RegularFileCheck::isReadableRegularFile(const std::string& path) {
    struct stat status {};
    Seen now{path, stat(path.c_str(), &status) == 0};
    if (now.exists) {
        now.device = status.st_dev;
        now.inode = status.st_ino;
        now.mode = status.st_mode;
        now.modified = status.st_mtim;
        now.changed = status.st_ctim;
    }
    if (seen_ && *seen_ == now) {
        return readable_;
    }
    readable_ = now.exists && openLocalRegularFile(path).isOpen();
    seen_ = std::move(now);
    return readable_;
}

}  // namespace video
