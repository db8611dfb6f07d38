#include "image/LocalFileInput.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>

namespace host {
namespace {

constexpr int kReadBufferBytes = 64 * 1024;

// devtmpfs reports itself as tmpfs, so only the mount table tells /dev from /tmp.
bool mountedAsDevtmpfs(dev_t device) {
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
        if (numbers == wanted && separator != std::string::npos) {
            return line.compare(separator + 3, 9, "devtmpfs ") == 0;
        }
    }
    return false;
}

bool onPseudoFileSystem(int fd, const struct stat& status) {
    struct statfs fileSystem {};
    if (fstatfs(fd, &fileSystem) != 0) {
        return true;
    }
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
            return mountedAsDevtmpfs(status.st_dev);
        default:
            return false;
    }
}

int openRegularFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    struct stat status {};
    if (fd >= 0 && fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
        !onPseudoFileSystem(fd, status)) {
        return fd;
    }
    if (fd >= 0) {
        ::close(fd);
    }
    return -1;
}

int readFile(void* opaque, uint8_t* buffer, int size) {
    const int fd = *static_cast<int*>(opaque);
    ssize_t got = 0;
    do {
        got = ::read(fd, buffer, static_cast<size_t>(size));
    } while (got < 0 && errno == EINTR);
    if (got == 0) {
        return AVERROR_EOF;
    }
    return got < 0 ? AVERROR(errno) : static_cast<int>(got);
}

int64_t seekFile(void* opaque, int64_t offset, int whence) {
    const int fd = *static_cast<int*>(opaque);
    if (whence & AVSEEK_SIZE) {
        struct stat status {};
        return fstat(fd, &status) == 0 ? static_cast<int64_t>(status.st_size) : AVERROR(errno);
    }
    const off_t position = ::lseek(fd, offset, whence & ~AVSEEK_FORCE);
    return position < 0 ? AVERROR(errno) : static_cast<int64_t>(position);
}

void freeFileReader(AVIOContext* reader) {
    if (reader) {
        int* fd = static_cast<int*>(reader->opaque);
        ::close(*fd);
        delete fd;
        av_freep(&reader->buffer);
        avio_context_free(&reader);
    }
}

struct FileReaderFreer {
    void operator()(AVIOContext* reader) const { freeFileReader(reader); }
};
using FileReaderPtr = std::unique_ptr<AVIOContext, FileReaderFreer>;

FileReaderPtr makeFileReader(int fd) {
    auto owned = std::make_unique<int>(fd);
    auto* buffer = static_cast<unsigned char*>(av_malloc(kReadBufferBytes));
    AVIOContext* reader = buffer ? avio_alloc_context(buffer, kReadBufferBytes, 0, owned.get(),
                                                      readFile, nullptr, seekFile)
                                 : nullptr;
    if (!reader) {
        av_free(buffer);
        ::close(fd);
        return nullptr;
    }
    owned.release();
    return FileReaderPtr(reader);
}

}  // namespace

void LocalInputCloser::operator()(AVFormatContext* context) const {
    AVIOContext* reader = context->pb;
    avformat_close_input(&context);
    freeFileReader(reader);
}

LocalInputPtr openLocalFileInput(const std::string& path, const std::string& formats,
                                 AVDictionary** options) {
    const int fd = openRegularFile(path);
    if (fd < 0) {
        return nullptr;
    }
    FileReaderPtr reader = makeFileReader(fd);
    AVFormatContext* raw = avformat_alloc_context();
    if (!reader || !raw) {
        avformat_free_context(raw);
        return nullptr;
    }
    raw->pb = reader.get();
    raw->flags |= AVFMT_FLAG_CUSTOM_IO;
    av_dict_set(options, "protocol_whitelist", "none", 0);
    av_dict_set(options, "format_whitelist", formats.c_str(), 0);
    // The path only lends its extension to format probing; the failed open frees the demuxer
    // but not the reader.
    if (avformat_open_input(&raw, path.c_str(), nullptr, options) < 0) {
        return nullptr;
    }
    reader.release();
    return LocalInputPtr(raw);
}

}  // namespace host
