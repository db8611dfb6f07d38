#pragma once

#include <optional>
#include <string>

// The shape of the pictures a file holds as they are meant to be seen: the size turned upright
// and the width over height of one pixel.
struct FrameShape {
    int width = 0;
    int height = 0;
    int pixelAspectNum = 1;
    int pixelAspectDen = 1;

    // Width over height of the whole picture, each pixel stretched to its shape.
    double ratio() const {
        return static_cast<double>(static_cast<long long>(width) * pixelAspectNum) /
               static_cast<double>(static_cast<long long>(height) * pixelAspectDen);
    }
};

// What a video file's header says of its first video stream, read without decoding the file or
// reading it through: none when it is no playable video.
std::optional<FrameShape> readVideoShape(const std::string& path);

// The size an image file's header gives (PNG, JPEG, OpenEXR, DPX, Targa, BMP, TIFF, SGI), read
// from its first bytes only; pixels count as square, as the sequence path shows them. None for
// another format or a damaged header.
std::optional<FrameShape> readImageShape(const std::string& path);
