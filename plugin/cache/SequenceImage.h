#pragma once

#include <maya/MImage.h>

#include <sys/types.h>
#include <cstddef>
#include <ctime>
#include <optional>
#include <string>

namespace video {

// Which file, and which version of it, a frame was read from: once any of these changes, the
// frame held is out of date.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    bool operator==(const FileStamp& other) const;
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

// The stamp of a local regular file; none for anything else (a missing file, a folder, a pipe,
// a device or a kernel pseudo-file), which is not read as an image either.
std::optional<FileStamp> readableFileStamp(const std::string& path);
// The stamp of whatever the path names now, none when nothing: a cheaper look, for telling
// whether a frame held is still what the file holds.
std::optional<FileStamp> currentFileStamp(const std::string& path);

// Reads the file through the host's image reader as 8-bit RGBA. False, with the image emptied,
// for a file it cannot read.
bool readImage(const std::string& path, MImage& image);

// Bytes of the image as a frame: width × height × 4.
size_t frameBytes(const MImage& image);

// Copies the image's pixels into `frame` (frameBytes bytes) with the top row first, as the
// texture takes them. The reader keeps the bottom row first, as Maya's does, so this copy is the
// one flip a frame gets here.
void copyTopRowFirst(const MImage& image, unsigned char* frame);

}  // namespace video
