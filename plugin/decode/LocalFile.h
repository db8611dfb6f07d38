#pragma once

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
// regular file on an ordinary file system. The opened descriptor is judged, not the path, which
// may name something else by the time it is opened: a FIFO would hold the caller until a writer
// comes, a device may never end, and the kernel's pseudo-files (/proc, /sys, /dev) are no media.
FileDescriptor openLocalRegularFile(const std::string& path);

}  // namespace video
