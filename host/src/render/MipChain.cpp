#include "render/MipChain.h"

#include "render/HalfFloat.h"

#include <algorithm>
#include <cstring>

namespace host {
namespace {

constexpr unsigned int kBytesPerTexel = 4;
constexpr unsigned int kHalfChannels = 4;

std::uint16_t halfAt(const std::vector<std::uint8_t>& level, std::size_t index) {
    std::uint16_t value = 0;
    std::memcpy(&value, level.data() + index * 2, sizeof value);
    return value;
}

std::vector<std::uint8_t> halveHalfFloat(const std::vector<std::uint8_t>& above, unsigned int width,
                                         unsigned int height) {
    const unsigned int nextWidth = std::max(1u, width / 2);
    const unsigned int nextHeight = std::max(1u, height / 2);
    std::vector<std::uint8_t> level(static_cast<std::size_t>(nextWidth) * nextHeight *
                                    kHalfChannels * 2);
    for (unsigned int y = 0; y < nextHeight; ++y) {
        const unsigned int rows[2] = {std::min(2 * y, height - 1), std::min(2 * y + 1, height - 1)};
        for (unsigned int x = 0; x < nextWidth; ++x) {
            const unsigned int columns[2] = {std::min(2 * x, width - 1),
                                             std::min(2 * x + 1, width - 1)};
            for (unsigned int channel = 0; channel < kHalfChannels; ++channel) {
                float sum = 0;
                for (unsigned int row : rows) {
                    for (unsigned int column : columns) {
                        sum += fromHalf(halfAt(
                            above,
                            (static_cast<std::size_t>(row) * width + column) * kHalfChannels +
                                channel));
                    }
                }
                const std::uint16_t mean = toHalf(sum / 4);
                std::memcpy(
                    level.data() +
                        ((static_cast<std::size_t>(y) * nextWidth + x) * kHalfChannels + channel) *
                            2,
                    &mean, sizeof mean);
            }
        }
    }
    return level;
}

std::vector<std::uint8_t> halve(const std::vector<std::uint8_t>& above, unsigned int width,
                                unsigned int height) {
    const unsigned int nextWidth = std::max(1u, width / 2);
    const unsigned int nextHeight = std::max(1u, height / 2);
    std::vector<std::uint8_t> level(static_cast<std::size_t>(nextWidth) * nextHeight *
                                    kBytesPerTexel);
    for (unsigned int y = 0; y < nextHeight; ++y) {
        const unsigned int rows[2] = {std::min(2 * y, height - 1), std::min(2 * y + 1, height - 1)};
        for (unsigned int x = 0; x < nextWidth; ++x) {
            const unsigned int columns[2] = {std::min(2 * x, width - 1),
                                             std::min(2 * x + 1, width - 1)};
            for (unsigned int channel = 0; channel < kBytesPerTexel; ++channel) {
                unsigned int sum = 0;
                for (unsigned int row : rows) {
                    for (unsigned int column : columns) {
                        sum += above[(static_cast<std::size_t>(row) * width + column) *
                                         kBytesPerTexel +
                                     channel];
                    }
                }
                level[(static_cast<std::size_t>(y) * nextWidth + x) * kBytesPerTexel + channel] =
                    static_cast<std::uint8_t>((sum + 2) / 4);
            }
        }
    }
    return level;
}

}  // namespace

unsigned int fullMipChainLength(unsigned int width, unsigned int height) {
    unsigned int levels = 1;
    for (unsigned int size = std::max(width, height); size > 1; size /= 2) {
        ++levels;
    }
    return levels;
}

unsigned int mipLevelSize(unsigned int size, unsigned int level) {
    return std::max(1u, size >> level);
}

void generateMipLevels(std::vector<std::vector<std::uint8_t>>& levels, unsigned int width,
                       unsigned int height, bool halfFloat) {
    for (std::size_t level = 1; level < levels.size(); ++level) {
        const auto above = static_cast<unsigned int>(level - 1);
        const unsigned int aboveWidth = mipLevelSize(width, above);
        const unsigned int aboveHeight = mipLevelSize(height, above);
        levels[level] = halfFloat ? halveHalfFloat(levels[level - 1], aboveWidth, aboveHeight)
                                  : halve(levels[level - 1], aboveWidth, aboveHeight);
    }
}

}  // namespace host
