#include "footage/MediaKind.h"

#include <cctype>
#include <cstring>

bool isVideoPath(const std::string& path) {
    static const char* const extensions[] = {".mp4",  ".mov", ".avi", ".3gp", ".mkv", ".webm",
                                             ".mpeg", ".flv", ".mpg", ".m4v", ".ts",  ".mts",
                                             ".m2ts", ".mxf", ".wmv", ".ogv", ".y4m"};
    // At least as long as any extension, so every suffix below exists.
    if (path.size() <= 4) {
        return false;
    }
    std::string lower = path;
    for (char& character : lower) {
        character = static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
    }
    for (const char* extension : extensions) {
        const std::size_t extensionLength = std::strlen(extension);
        if (lower.compare(lower.size() - extensionLength, extensionLength, extension) == 0) {
            return true;
        }
    }
    return false;
}
