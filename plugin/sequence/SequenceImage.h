#pragma once

#include "decode/CacheDepth.h"
#include "decode/LocalFile.h"
#include "decode/StillDecoders.h"
#include "picture/FfmpegPointers.h"
#include "picture/RgbaImage.h"

#include <sys/types.h>
#include <cstddef>
#include <ctime>
#include <optional>
#include <string>
#include <utility>

namespace video {

// Which file, and which version of it, a frame was read from: once any of these changes, the
// frame held is out of date. The change time is there because a copy tool may put the old
// modification time back on a file rewritten at the same size; nothing can put back a change time.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};
    bool operator==(const FileStamp& other) const;
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

// A frame's file opened for reading and found a local regular file, with the stamp of what was
// opened: the image is read from this very descriptor, so the stamp tells what was read.
struct FrameFile {
    FileDescriptor file;
    FileStamp stamp;
};

// None for anything but a local regular file (a missing file, a folder, a pipe, a device or a
// kernel pseudo-file), which is not read as an image either.
std::optional<FrameFile> openFrameFile(const std::string& path);
// The stamp of whatever the path names now, none when nothing: a cheaper look, for telling
// whether a frame held is still what the file holds.
std::optional<FileStamp> currentFileStamp(const std::string& path);

// A frame's file decoded with FFmpeg and not yet converted: its size and texel format tell the
// buffer it needs, and it is then written straight into that buffer, as a cache keeps it.
class SequenceImage {
public:
    // Decodes the file, kept at the texel format the depth asks for, with a decoder of
    // `decoders` when one fits (see decode::decodeStillImage); none for a file FFmpeg cannot
    // read. The path lends its extension to format probing. Safe on any thread.
    static std::optional<SequenceImage> read(FrameFile file, const std::string& path,
                                             decode::CacheDepth depth,
                                             decode::StillDecoders* decoders = nullptr);

    int width() const { return picture_->width; }
    int height() const { return picture_->height; }
    decode::TexelFormat format() const { return format_; }
    size_t bytes() const;
    // Writes the picture as RGBA, rows packed, top row first, into `pixels` of bytes().
    bool writeTo(unsigned char* pixels) const;

private:
    SequenceImage(FramePtr picture, decode::TexelFormat format)
        : picture_(std::move(picture)), format_(format) {}

    FramePtr picture_;
    decode::TexelFormat format_;
};

}  // namespace video
