#include "sequence/SequenceImage.h"

#include "decode/LocalFile.h"
#include "decode/StillImage.h"

#include <sys/stat.h>

namespace video {

bool FileStamp::operator==(const FileStamp& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
}

namespace {

FileStamp stampOf(const struct stat& status) {
    return FileStamp{status.st_dev, status.st_ino, status.st_size, status.st_mtim};
}

}  // namespace

std::optional<FileStamp> readableFileStamp(const std::string& path) {
    const FileDescriptor file = openLocalRegularFile(path);
    struct stat status {};
    if (!file.isOpen() || fstat(file.get(), &status) != 0) {
        return std::nullopt;
    }
    return stampOf(status);
}

std::optional<FileStamp> currentFileStamp(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return stampOf(status);
}

bool readImage(const std::string& path, decode::CacheDepth depth, decode::RgbaImage& image) {
    const FramePtr picture = decode::decodeStillImage(path);
    if (!picture) {
        image = decode::RgbaImage{};
        return false;
    }
    return decode::convertForCache(*picture, depth, image);
}

}  // namespace video
