#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <vector>

#define kIffStringDefault MString("iff")

OPENMAYA_MAJOR_NAMESPACE_OPEN

// An image in memory. As in the plug-in API, rows are stored bottom row first and pixels
// of images read from files are 8-bit red, green, blue, alpha.
class MImage {
public:
    enum MPixelType {
        kUnknown = 0,
        kByte,
        kFloat,
    };

    MImage();
    virtual ~MImage();
    MImage(const MImage&) = delete;
    MImage& operator=(const MImage&) = delete;

    // A zero-filled image. Only kByte images with 1 to 4 channels are available here.
    MStatus create(unsigned int width, unsigned int height, unsigned int channels = 4,
                   MPixelType type = kByte);
    // Reads PNG, JPEG, TIFF, EXR, DPX, TGA, BMP and the other still-image formats FFmpeg
    // decodes. Anything else, or a damaged file, gives kFailure and leaves the image empty.
    MStatus readFromFile(MString pathname, MPixelType type = kByte);
    // Only the "png" output format is available; others give kNotImplemented.
    MStatus writeToFile(MString fileName, MString outputFormat = kIffStringDefault) const;
    // Fails when no image is held.
    MStatus getSize(unsigned int& width, unsigned int& height) const;
    MPixelType pixelType() const;
    // Null when the image is empty.
    unsigned char* pixels() const;
    // Copies width * height * depth() bytes, bottom row first.
    void setPixels(unsigned char* pixels, unsigned int width, unsigned int height);
    // Bytes per pixel.
    unsigned int depth() const;
    bool isRGBA() const;
    void verticalFlip();
    MStatus release();

private:
    mutable std::vector<unsigned char> pixels_;
    unsigned int width_ = 0;
    unsigned int height_ = 0;
    unsigned int channels_ = 0;
    MPixelType type_ = kUnknown;
};

OPENMAYA_NAMESPACE_CLOSE
