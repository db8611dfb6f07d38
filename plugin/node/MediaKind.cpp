#include "node/MediaKind.h"

#include <cstring>

bool isVideoPath(const MString& path) {
    static const char* const extensions[] = {".mp4",  ".mov", ".avi", ".3gp", ".mkv", ".webm",
                                             ".mpeg", ".flv", ".mpg", ".m4v", ".ts",  ".mts",
                                             ".m2ts", ".mxf", ".wmv", ".ogv", ".y4m"};
    // At least as long as any extension, so every suffix below exists.
    const int length = static_cast<int>(path.length());
    if (length <= 4) {
        return false;
    }
    MString lower = path;
    lower.toLowerCase();
    for (const char* extension : extensions) {
        const int extensionLength = static_cast<int>(std::strlen(extension));
        if (lower.substring(length - extensionLength, length - 1) == extension) {
            return true;
        }
    }
    return false;
}
