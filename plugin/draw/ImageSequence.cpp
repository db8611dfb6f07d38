#include "draw/CineSheetDrawOverride.h"

#include <algorithm>

namespace {

// The loaded image is still what the frame size describes: neither a failed read (which
// empties it) nor another medium (which sets its own size) came after it.
bool imageFitsFrame(const MImage& image, int frameWidth, int frameHeight) {
    unsigned int width = 0;
    unsigned int height = 0;
    image.getSize(width, height);
    return image.pixels() != nullptr && static_cast<int>(width) == frameWidth &&
           static_cast<int>(height) == frameHeight;
}

}  // namespace

void CineSheetDrawOverride::formatFilePath(MString& path, int frame) {
    if (path.index('#') < 0) {
        return;
    }
    const char* text = path.asChar();
    const unsigned int length = path.length();
    unsigned int longestRun = 0;
    unsigned int run = 0;
    for (unsigned int i = 0; i < length; ++i) {
        run = text[i] == '#' ? run + 1 : 0;
        longestRun = std::max(longestRun, run);
    }
    MString pattern;
    MString padded;
    const MString number = MString() + static_cast<double>(frame);
    for (unsigned int i = 0; i < longestRun; ++i) {
        pattern += "#";
        if (i + number.length() < longestRun) {
            padded += "0";
        }
    }
    padded += number;
    // Every run of the longest length takes the number; shorter runs are literal text.
    path.substitute(pattern, padded);
}

bool CineSheetDrawOverride::openImageFile(const MString& path) {
    medium = LoadedMedium{};
    if (!image.readFromFile(path, MImage::kByte)) {
        return false;
    }
    unsigned int width = 0;
    unsigned int height = 0;
    image.getSize(width, height);
    // Every image is a block of one frame.
    medium = LoadedMedium{static_cast<int>(width), static_cast<int>(height), AVRational{1, 1}, 1};
    // The reader delivers the bottom row first; the texture wants the top row first.
    image.verticalFlip();
    return true;
}

void CineSheetDrawOverride::processImage(MString& path, int frame, float gamma,
                                         CineSheetData* data) {
    const bool sameContent = path == currentPath && frame == lastFrame &&
                             imageFitsFrame(image, medium.frameWidth, medium.frameHeight);
    const bool sameGamma = static_cast<double>(gamma) == tableGamma;
    if (sameContent && sameGamma) {
        return;
    }
    if (!sameGamma) {
        buildGammaTable(gamma);
        if (sameContent) {
            if (!writeImage(data)) {
                defaultImage(data);
            }
            return;
        }
    }

    clearAllData(data);
    MString file = path;
    formatFilePath(file, frame);
    const bool loaded = openImageFile(file);
    createTexture(data);
    if (!loaded) {
        // Forget what was loaded: the texture no longer shows it, so going back to it must read
        // it again, and this frame is tried again on the next refresh.
        currentPath = " ";
        defaultImage(data);
        return;
    }
    currentPath = path;
    lastFrame = frame;
    if (!writeImage(data)) {
        defaultImage(data);
    }
}
