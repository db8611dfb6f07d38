#pragma once

#include "decode/LocalFile.h"
#include "picture/FfmpegPointers.h"

#include <atomic>
#include <memory>
#include <string>

namespace video {

// Closes a demuxer opened by openLocalMedia, with the file it reads.
struct LocalMediaCloser {
    void operator()(AVFormatContext* context) const;
};
using LocalMediaPtr = std::unique_ptr<AVFormatContext, LocalMediaCloser>;

// Opens a media file as a plain local file: only a regular file outside the kernel's
// pseudo-file systems, read through the very descriptor that was checked, and only container
// formats that read nothing but that one file (no playlists, concat lists or file-name patterns),
// so a file's content cannot lead FFmpeg to the network or to other files. Returns null when the
// path is refused or cannot be opened. While `abandon` (if given) is set, every read of the file
// fails, so that a long read (a scan of the whole file) can be left at once.
LocalMediaPtr openLocalMedia(const std::string& path, const std::atomic<bool>* abandon = nullptr);
// Whether openLocalMedia opens content that the demuxer named `format` (FFmpeg's name, possibly a
// comma-separated list of aliases) recognises.
bool isSelfContainedFormat(const char* format);
// From now on no flag abandons the reads of a media opened by openLocalMedia.
void stopAbandoning(AVFormatContext* media);

// Opens a plain local file as openLocalMedia does, with one of the demuxers in `formats` (a
// comma-separated list) and the demuxer options given; options left unused stay in `options`.
LocalMediaPtr openLocalFile(const std::string& path, const std::string& formats,
                            AVDictionary** options, const std::atomic<bool>* abandon = nullptr);
// The same over a file opened and checked by openLocalRegularFile; the path only lends its
// extension to format probing.
LocalMediaPtr openLocalFile(FileDescriptor file, const std::string& path,
                            const std::string& formats, AVDictionary** options,
                            const std::atomic<bool>* abandon = nullptr);

}  // namespace video
