#include "draw/FileProbe.h"

#include <sys/stat.h>

#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

bool isReadableRegularFile(const MString& path) {
    struct stat before;
    if (stat(path.asChar(), &before) != 0 || !S_ISREG(before.st_mode)) {
        return false;
    }
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.asChar(), "r"));
    if (!file) {
        return false;
    }
    // The path may have been replaced between the two looks; judge what was opened.
    struct stat opened;
    return fstat(fileno(file.get()), &opened) == 0 && S_ISREG(opened.st_mode);
}
