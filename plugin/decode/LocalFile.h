#pragma once

#include <sys/types.h>

#include <ctime>
#include <optional>
#include <string>

namespace video {

// A file descriptor, closed with the object.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept;
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool isOpen() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// Opens the path for reading without ever blocking, and keeps it only when what was opened is a
// regular file on an ordinary file system: a FIFO would hold the caller until a writer comes, a
// device may never end, and the kernel's pseudo-files (/proc, /sys, /dev) are no media. The path
// is looked at first and anything else is refused unopened (opening a device or a pseudo-file
// can have effects of its own); the opened descriptor is judged again, as the path may name
// something else by the time it is opened.
FileDescriptor openLocalRegularFile(const std::string& path);

// Tells, for one caller asking again and again, whether a path names a local regular file. The
// answer is remembered until the path, or what it names (device, inode, type, modification or
// change time: a chmod changes the latter only), changes, so asking at every refresh costs one
// stat, whether the path names a clip or a device.
class RegularFileCheck {
public:
    bool isReadableRegularFile(const std::string& path);

private:
    struct Seen {
        std::string path;
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
        mode_t mode = 0;
        timespec modified{};
        timespec changed{};
        bool operator==(const Seen& other) const;
    };
    std::optional<Seen> seen_;
    bool readable_ = false;
};

}  // namespace video
