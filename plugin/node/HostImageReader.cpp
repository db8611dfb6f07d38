#include "node/HostImageReader.h"

#include <maya/MImage.h>
#include <maya/MString.h>

#include <cstring>

namespace video {

bool readWithHostReader(const std::string& path, decode::RgbaImage& image) {
    image = decode::RgbaImage{};
    MImage read;
    if (!read.readFromFile(MString(path.c_str()), MImage::kByte)) {
        return false;
    }
    unsigned int width = 0;
    unsigned int height = 0;
    // Maya converts every file to four channels; anything else is not taken apart by guesswork.
    if (!read.getSize(width, height) || width == 0 || height == 0 || read.depth() != 4 ||
        read.pixelType() != MImage::kByte || read.pixels() == nullptr) {
        return false;
    }
    copyHostPixels(read.pixels(), static_cast<int>(width), static_cast<int>(height), read.isRGBA(),
                   image);
    return true;
}

void copyHostPixels(const unsigned char* pixels, int width, int height, bool rgbaOrder,
                    decode::RgbaImage& image) {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    image.width = width;
    image.height = height;
    image.pixels.resize(rowBytes * static_cast<std::size_t>(height));
    for (int row = 0; row < height; ++row) {
        const unsigned char* from = pixels + rowBytes * static_cast<std::size_t>(height - 1 - row);
        unsigned char* to = image.pixels.data() + rowBytes * static_cast<std::size_t>(row);
        if (rgbaOrder) {
            std::memcpy(to, from, rowBytes);
            continue;
        }
        for (std::size_t pixel = 0; pixel < rowBytes; pixel += 4) {
            to[pixel] = from[pixel + 2];
            to[pixel + 1] = from[pixel + 1];
            to[pixel + 2] = from[pixel];
            to[pixel + 3] = from[pixel + 3];
        }
    }
}

}  // namespace video
