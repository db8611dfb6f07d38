#include "decode/LocalFile.h"
#include "node/FrameShape.h"

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Every header read here fits in the first bytes of the file, except JPEG's, whose frame header
// follows the metadata segments (an embedded preview can be large).
constexpr size_t kHeaderBytes = 64 * 1024;
constexpr size_t kJpegBytes = 1024 * 1024;

class Bytes {
public:
    explicit Bytes(std::vector<unsigned char> data) : data_(std::move(data)) {}
    size_t size() const { return data_.size(); }
    bool has(size_t offset, size_t count) const {
        return offset <= data_.size() && count <= data_.size() - offset;
    }
    uint32_t big(size_t offset, int count) const {
        uint32_t value = 0;
        for (int i = 0; i < count; ++i) {
            value = (value << 8) | data_[offset + i];
        }
        return value;
    }
    uint32_t little(size_t offset, int count) const {
        uint32_t value = 0;
        for (int i = count - 1; i >= 0; --i) {
            value = (value << 8) | data_[offset + i];
        }
        return value;
    }
    uint32_t read(size_t offset, int count, bool bigEndian) const {
        return bigEndian ? big(offset, count) : little(offset, count);
    }
    bool startsWith(const char* text, size_t length) const {
        return has(0, length) && std::memcmp(data_.data(), text, length) == 0;
    }
    const unsigned char* at(size_t offset) const { return data_.data() + offset; }

private:
    std::vector<unsigned char> data_;
};

std::vector<unsigned char> readStart(const std::string& path, size_t limit) {
    std::vector<unsigned char> data;
    const video::FileDescriptor file = video::openLocalRegularFile(path);
    if (!file.isOpen()) {
        return data;
    }
    data.resize(limit);
    size_t got = 0;
    while (got < limit) {
        const ssize_t count = ::read(file.get(), data.data() + got, limit - got);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            break;
        }
        got += static_cast<size_t>(count);
    }
    data.resize(got);
    return data;
}

std::optional<FrameShape> sized(long long width, long long height) {
    if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX) {
        return std::nullopt;
    }
    FrameShape shape;
    shape.width = static_cast<int>(width);
    shape.height = static_cast<int>(height);
    return shape;
}

std::optional<FrameShape> png(const Bytes& b) {
    if (!b.has(8, 16) || std::memcmp(b.at(12), "IHDR", 4) != 0) {
        return std::nullopt;
    }
    return sized(b.big(16, 4), b.big(20, 4));
}

std::optional<FrameShape> jpeg(const Bytes& b) {
    size_t offset = 2;
    while (b.has(offset, 4)) {
        if (b.big(offset, 1) != 0xFF) {
            return std::nullopt;
        }
        const uint32_t marker = b.big(offset + 1, 1);
        if (marker == 0xFF) {
            ++offset;  // fill byte
            continue;
        }
        const uint32_t length = b.big(offset + 2, 2);
        // Start of frame, any coding but the DHT, JPG and DAC markers that share the range.
        const bool frameHeader =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frameHeader) {
            if (!b.has(offset + 5, 4)) {
                return std::nullopt;
            }
            return sized(b.big(offset + 7, 2), b.big(offset + 5, 2));
        }
        if (marker == 0xDA || length < 2) {
            return std::nullopt;
        }
        offset += 2 + length;
    }
    return std::nullopt;
}

// The display window, which is what the ffmpeg tool makes the picture's size.
std::optional<FrameShape> exr(const Bytes& b) {
    size_t offset = 8;
    while (b.has(offset, 1) && b.big(offset, 1) != 0) {
        const auto* name = reinterpret_cast<const char*>(b.at(offset));
        const size_t nameLength = strnlen(name, b.size() - offset);
        const size_t typeOffset = offset + nameLength + 1;
        if (!b.has(typeOffset, 1)) {
            return std::nullopt;
        }
        const auto* type = reinterpret_cast<const char*>(b.at(typeOffset));
        const size_t sizeOffset = typeOffset + strnlen(type, b.size() - typeOffset) + 1;
        if (!b.has(sizeOffset, 4)) {
            return std::nullopt;
        }
        const uint32_t size = b.little(sizeOffset, 4);
        const size_t valueOffset = sizeOffset + 4;
        if (std::strcmp(name, "displayWindow") == 0 && size == 16 && b.has(valueOffset, 16)) {
            const auto corner = [&](size_t at) {
                return static_cast<long long>(static_cast<int32_t>(b.little(at, 4)));
            };
            return sized(corner(valueOffset + 8) - corner(valueOffset) + 1,
                         corner(valueOffset + 12) - corner(valueOffset + 4) + 1);
        }
        offset = valueOffset + size;
    }
    return std::nullopt;
}

std::optional<FrameShape> dpx(const Bytes& b, bool bigEndian) {
    // The image information header follows the 768-byte file header.
    if (!b.has(768, 12)) {
        return std::nullopt;
    }
    return sized(b.read(772, 4, bigEndian), b.read(776, 4, bigEndian));
}

std::optional<FrameShape> bmp(const Bytes& b) {
    if (!b.has(14, 12)) {
        return std::nullopt;
    }
    if (b.little(14, 4) == 12) {  // OS/2 header: 16-bit sizes
        return sized(b.little(18, 2), b.little(20, 2));
    }
    // A negative height means the rows are stored top row first.
    const auto height = static_cast<int32_t>(b.little(22, 4));
    return sized(static_cast<int32_t>(b.little(18, 4)), height < 0 ? -1LL * height : height);
}

std::optional<FrameShape> sgi(const Bytes& b) {
    return b.has(0, 10) ? sized(b.big(6, 2), b.big(8, 2)) : std::nullopt;
}

std::optional<FrameShape> tiff(const Bytes& b, bool bigEndian) {
    const uint32_t directory = b.read(4, 4, bigEndian);
    if (!b.has(directory, 2)) {
        return std::nullopt;
    }
    const uint32_t entries = b.read(directory, 2, bigEndian);
    long long width = 0;
    long long height = 0;
    for (uint32_t i = 0; i < entries; ++i) {
        const size_t entry = directory + 2 + 12 * static_cast<size_t>(i);
        if (!b.has(entry, 12)) {
            return std::nullopt;
        }
        const uint32_t tag = b.read(entry, 2, bigEndian);
        const uint32_t type = b.read(entry + 2, 2, bigEndian);
        // SHORT values sit left-aligned in the value field.
        const uint32_t value =
            type == 3 ? b.read(entry + 8, 2, bigEndian) : b.read(entry + 8, 4, bigEndian);
        if (tag == 256) {
            width = value;
        } else if (tag == 257) {
            height = value;
        }
    }
    return sized(width, height);
}

// Targa has no signature: its header is judged by the values it may hold.
std::optional<FrameShape> targa(const Bytes& b) {
    if (!b.has(0, 18)) {
        return std::nullopt;
    }
    const uint32_t colourMapType = b.big(1, 1);
    const uint32_t imageType = b.big(2, 1);
    const bool knownType = imageType == 1 || imageType == 2 || imageType == 3 || imageType == 9 ||
                           imageType == 10 || imageType == 11;
    if (colourMapType > 1 || !knownType) {
        return std::nullopt;
    }
    return sized(b.little(12, 2), b.little(14, 2));
}

bool hasExtension(const std::string& path, const char* extension) {
    const size_t length = std::strlen(extension);
    if (path.size() < length) {
        return false;
    }
    for (size_t i = 0; i < length; ++i) {
        const char c = path[path.size() - length + i];
        if (std::tolower(static_cast<unsigned char>(c)) != extension[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<FrameShape> readImageShape(const std::string& path) {
    const bool jpegName = hasExtension(path, ".jpg") || hasExtension(path, ".jpeg");
    const Bytes b(readStart(path, jpegName ? kJpegBytes : kHeaderBytes));
    if (b.startsWith("\x89PNG\r\n\x1a\n", 8)) {
        return png(b);
    }
    if (b.startsWith("\xFF\xD8", 2)) {
        if (!jpegName) {
            return jpeg(Bytes(readStart(path, kJpegBytes)));
        }
        return jpeg(b);
    }
    if (b.startsWith("\x76\x2f\x31\x01", 4)) {
        return exr(b);
    }
    if (b.startsWith("SDPX", 4) || b.startsWith("XPDS", 4)) {
        return dpx(b, b.startsWith("SDPX", 4));
    }
    if (b.startsWith("BM", 2)) {
        return bmp(b);
    }
    if (b.startsWith("\x01\xda", 2)) {
        return sgi(b);
    }
    if (b.startsWith("II*\0", 4) || b.startsWith("MM\0*", 4)) {
        return tiff(b, b.startsWith("MM", 2));
    }
    return hasExtension(path, ".tga") ? targa(b) : std::nullopt;
}
