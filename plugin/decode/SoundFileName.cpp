#include "decode/SoundFileName.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

namespace video {
namespace {

// The clip's file name without its folder and its last extension.
std::string clipName(const std::string& clipPath) {
    const size_t slash = clipPath.find_last_of('/');
    std::string name = slash == std::string::npos ? clipPath : clipPath.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) {
        name.erase(dot);
    }
    return name.empty() ? "sound" : name;
}

// Whether the regular file at `path` (not a link) holds the bytes of `made`, read from its
// start.
bool sameBytes(const std::string& path, int made) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat mine {};
    struct stat theirs {};
    bool same = ::fstat(fd, &theirs) == 0 && ::fstat(made, &mine) == 0 && S_ISREG(theirs.st_mode) &&
                theirs.st_size == mine.st_size;
    std::vector<char> a(1 << 16);
    std::vector<char> b(a.size());
    for (off_t at = 0; same && at < mine.st_size;) {
        const ssize_t got = ::pread(made, a.data(), a.size(), at);
        same = got > 0 && ::pread(fd, b.data(), static_cast<size_t>(got), at) == got &&
               std::memcmp(a.data(), b.data(), static_cast<size_t>(got)) == 0;
        at += got;
    }
    ::close(fd);
    return same;
}

bool isFree(const std::string& path, int made) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        return errno == ENOENT;
    }
    return S_ISREG(status.st_mode) && sameBytes(path, made);
}

}  // namespace

std::string nameWithin(const std::string& name, size_t limit) {
    if (name.size() <= limit) {
        return name;
    }
    size_t end = limit;
    // Bytes 10xxxxxx continue the character before them.
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) {
        --end;
    }
    return name.substr(0, end);
}

std::string soundFilePath(const std::string& folder, const std::string& clipPath) {
    const std::string prefix = folder + (folder.empty() || folder.back() == '/' ? "" : "/");
    const std::string ending = ".wav";
    return prefix + nameWithin(clipName(clipPath), NAME_MAX - ending.size()) + ending;
}

std::string freeSoundFilePath(const std::string& preferred, int made) {
    const size_t slash = preferred.find_last_of('/');
    const std::string prefix = slash == std::string::npos ? "" : preferred.substr(0, slash + 1);
    std::string name = preferred.substr(prefix.size());
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".wav") == 0) {
        name.erase(name.size() - 4);
    }
    // A folder that cannot be looked into gives no name at all rather than an endless search.
    constexpr int kNumbers = 10000;
    for (int number = 0; number < kNumbers; ++number) {
        const std::string ending = (number == 0 ? "" : "_" + std::to_string(number)) + ".wav";
        const std::string candidate = prefix + nameWithin(name, NAME_MAX - ending.size()) + ending;
        if (isFree(candidate, made)) {
            return candidate;
        }
    }
    return "";
}

}  // namespace video
