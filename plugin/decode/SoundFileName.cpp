#include "decode/SoundFileName.h"

#include "decode/WavFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <climits>

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

bool isFree(const std::string& path, const std::string& clipPath) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        return errno == ENOENT;
    }
    return S_ISREG(status.st_mode) && wavSource(path) == clipPath;
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
    const std::string name = clipName(clipPath);
    // A folder that cannot be looked into gives no name at all rather than an endless search.
    constexpr int kNumbers = 10000;
    for (int number = 0; number < kNumbers; ++number) {
        const std::string ending = (number == 0 ? "" : "_" + std::to_string(number)) + ".wav";
        const std::string candidate = prefix + nameWithin(name, NAME_MAX - ending.size()) + ending;
        if (isFree(candidate, clipPath)) {
            return candidate;
        }
    }
    return "";
}

}  // namespace video
