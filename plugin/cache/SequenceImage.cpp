#include "cache/SequenceImage.h"

#include "cache/LocalFile.h"

#include <sys/stat.h>

#include <cstring>

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

bool readImage(const std::string& path, MImage& image) {
    if (!image.readFromFile(MString(path.c_str()), MImage::kByte)) {
        image.release();
        return false;
    }
    return true;
}

size_t frameBytes(const MImage& image) {
    unsigned int width = 0;
    unsigned int height = 0;
    image.getSize(width, height);
    return static_cast<size_t>(width) * height * 4;
}

void copyTopRowFirst(const MImage& image, unsigned char* frame) {
    unsigned int width = 0;
    unsigned int height = 0;
    image.getSize(width, height);
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    const unsigned char* pixels = image.pixels();
    for (unsigned int row = 0; row < height; ++row) {
        std::memcpy(frame + rowBytes * row, pixels + rowBytes * (height - 1 - row), rowBytes);
    }
}

}  // namespace video
