#include "sequence/SequenceImage.h"

#include "decode/StillImage.h"

#include <sys/stat.h>

namespace video {
namespace {

bool sameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

FileStamp stampOf(const struct stat& status) {
    return FileStamp{status.st_dev, status.st_ino, status.st_size, status.st_mtim, status.st_ctim};
}

}  // namespace

bool FileStamp::operator==(const FileStamp& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           sameTime(modified, other.modified) && sameTime(changed, other.changed);
}

std::optional<FrameFile> openFrameFile(const std::string& path) {
    FileDescriptor file = openLocalRegularFile(path);
    struct stat status {};
    if (!file.isOpen() || fstat(file.get(), &status) != 0) {
        return std::nullopt;
    }
    return FrameFile{std::move(file), stampOf(status)};
}

std::optional<FileStamp> currentFileStamp(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return stampOf(status);
}

std::optional<SequenceImage> SequenceImage::read(FrameFile file, const std::string& path,
                                                 decode::CacheDepth depth,
                                                 decode::StillDecoders* decoders) {
    FramePtr picture = decode::decodeStillImage(std::move(file.file), path, decoders);
    if (!picture) {
        return std::nullopt;
    }
    const decode::TexelFormat format = decode::stillTexelFormat(depth, *picture);
    return SequenceImage(std::move(picture), format);
}

size_t SequenceImage::bytes() const {
    return static_cast<size_t>(width()) * static_cast<size_t>(height()) *
           decode::bytesPerTexel(format_);
}

bool SequenceImage::writeTo(unsigned char* pixels) const {
    return decode::writeForCache(*picture_, format_, pixels);
}

}  // namespace video
