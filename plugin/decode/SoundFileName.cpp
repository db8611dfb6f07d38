#include "decode/SoundFileName.h"

#include "decode/WavFile.h"

#include <sys/stat.h>

#include <cerrno>

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

std::string soundFilePath(const std::string& folder, const std::string& clipPath) {
    const std::string stem =
        folder + (folder.empty() || folder.back() == '/' ? "" : "/") + clipName(clipPath);
    // A folder that cannot be looked into gives no name at all rather than an endless search.
    constexpr int kNumbers = 10000;
    std::string candidate = stem + ".wav";
    for (int number = 1; number < kNumbers; ++number) {
        if (isFree(candidate, clipPath)) {
            return candidate;
        }
        candidate = stem + "_" + std::to_string(number) + ".wav";
    }
    return "";
}

}  // namespace video
