#pragma once

#include "decode/LocalFile.h"

#include <string>

// Whether a path names a regular file that can be opened for reading. Directories, devices,
// pipes and the kernel's pseudo-files count as missing: opening a pipe could block the drawing
// thread and reading a device might never end. One probe per node: it remembers what it refused.
class FileProbe {
public:
    bool isReadableRegularFile(const std::string& path) {
        return check_.isReadableRegularFile(path);
    }

private:
    video::RegularFileCheck check_;
};

// Whether anything at all is at the path.
bool pathExists(const std::string& path);

// Why the path is no readable regular file, as the end of "cannot show <file>: ...": "path is
// empty", "no such file at <the path in full>", "is a folder", "is not a regular file", or the
// system's reason.
std::string whyUnreadable(const std::string& path);
