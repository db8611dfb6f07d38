#pragma once

#include "image/FfmpegHandles.h"

#include <memory>
#include <string>

namespace host {

// Closes a demuxer opened by openLocalFileInput, with the file it reads.
struct LocalInputCloser {
    void operator()(AVFormatContext* context) const;
};
using LocalInputPtr = std::unique_ptr<AVFormatContext, LocalInputCloser>;

// Opens one local file for demuxing as a single file: the path is opened without blocking and
// kept only when the opened descriptor is a regular file outside the kernel's pseudo-file systems
// (/proc, /sys, /dev); FFmpeg then reads that descriptor and nothing else (no protocol may be
// opened), with one of the demuxers in `formats` (a comma-separated list). Null when refused.
LocalInputPtr openLocalFileInput(const std::string& path, const std::string& formats,
                                 AVDictionary** options);

}  // namespace host
