#include "Media.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace testsupport {
namespace {

std::string runOrThrow(const std::string& commandLine) {
    CommandResult result = runCommand(commandLine);
    if (result.exitCode != 0) {
        throw std::runtime_error(commandLine + " failed: " + result.err);
    }
    return result.out;
}

}  // namespace

void makeMedia(const std::string& arguments, const std::string& path) {
    runOrThrow("ffmpeg -nostdin -hide_banner -loglevel error -y " + arguments + " " +
               shellQuote(path));
}

ReferenceVideo referenceDecode(const std::string& path) {
    ReferenceVideo video;
    std::istringstream entries(
        runOrThrow("ffprobe -v error -select_streams v:0 -show_entries "
                   "stream=width,height:stream_side_data=rotation -of default=nw=1 " +
                   shellQuote(path)));
    int rotation = 0;
    std::string line;
    while (std::getline(entries, line)) {
        const size_t equals = line.find('=');
        const std::string key = line.substr(0, equals);
        const int value = equals == std::string::npos ? 0 : std::atoi(line.c_str() + equals + 1);
        if (key == "width") {
            video.width = value;
        } else if (key == "height") {
            video.height = value;
        } else if (key == "rotation") {
            rotation = value;
        }
    }
    if (video.width <= 0 || video.height <= 0) {
        throw std::runtime_error("no video size for " + path);
    }
    // The tool turns a picture by a quarter turn upright, so its frames are stored height wide.
    if (std::abs(rotation) % 180 == 90) {
        std::swap(video.width, video.height);
    }
    TempDir scratch;
    std::string raw = scratch.file("frames.rgb");
    runOrThrow("ffmpeg -nostdin -v error -i " + shellQuote(path) +
               " -fps_mode passthrough -pix_fmt rgb24 -sws_flags bilinear -f rawvideo " +
               shellQuote(raw));
    std::vector<unsigned char> bytes = readBytes(raw);
    const size_t frameBytes = static_cast<size_t>(video.width) * video.height * 3;
    for (size_t offset = 0; offset + frameBytes <= bytes.size(); offset += frameBytes) {
        video.frames.emplace_back(bytes.begin() + offset, bytes.begin() + offset + frameBytes);
    }
    return video;
}

std::vector<uint8_t> pointSampledRgba(const std::vector<uint8_t>& rgb, int width, int height,
                                      int divisor) {
    const int outWidth = std::max(1, width / divisor);
    const int outHeight = std::max(1, height / divisor);
    std::vector<uint8_t> rgba(static_cast<size_t>(outWidth) * outHeight * 4);
    uint8_t* out = rgba.data();
    for (int y = 0; y < outHeight; ++y) {
        const uint8_t* row = rgb.data() + static_cast<size_t>(y) * divisor * width * 3;
        for (int x = 0; x < outWidth; ++x, out += 4) {
            const uint8_t* pixel = row + static_cast<size_t>(x) * divisor * 3;
            out[0] = pixel[0];
            out[1] = pixel[1];
            out[2] = pixel[2];
            out[3] = 255;
        }
    }
    return rgba;
}

}  // namespace testsupport
