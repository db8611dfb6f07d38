#include "decode/WavFile.h"

#include <unistd.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

namespace video {
namespace {

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "samples are written as they lie in memory, which WAV wants little-endian");

constexpr int kBytesPerSample = 2;

void putU16(std::string& out, uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void putU32(std::string& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

std::string chunk(const char* id, const std::string& body) {
    std::string out(id, 4);
    putU32(out, static_cast<uint32_t>(body.size()));
    return out + body;
}

std::string header(int sampleRate, int channels) {
    std::string format;
    putU16(format, 1);  // integer PCM
    putU16(format, static_cast<uint16_t>(channels));
    putU32(format, static_cast<uint32_t>(sampleRate));
    putU32(format, static_cast<uint32_t>(int64_t{sampleRate} * channels * kBytesPerSample));
    putU16(format, static_cast<uint16_t>(channels * kBytesPerSample));
    putU16(format, 16);

    std::string out = "RIFF";
    putU32(out, 0);  // filled in by finish()
    out += "WAVE";
    out += chunk("fmt ", format);
    out += "data";
    putU32(out, 0);  // filled in by finish()
    return out;
}

}  // namespace

int64_t wavFileBytes(int64_t frames, int channels) {
    return static_cast<int64_t>(header(1, channels).size()) + frames * channels * kBytesPerSample;
}

bool wavDescribes(int sampleRate, int channels) {
    return sampleRate > 0 && channels > 0 &&
           int64_t{sampleRate} * channels * kBytesPerSample <=
               std::numeric_limits<uint32_t>::max() &&
           channels * kBytesPerSample <= std::numeric_limits<uint16_t>::max();
}

WavWriter::WavWriter(int fd, int sampleRate, int channels) : channels_(channels) {
    if (!wavDescribes(sampleRate, channels)) {
        return;
    }
    const int own = ::dup(fd);
    file_.reset(own < 0 ? nullptr : ::fdopen(own, "wb"));
    if (!file_) {
        if (own >= 0) {
            ::close(own);
        }
        return;
    }
    const std::string bytes = header(sampleRate, channels);
    dataSizeOffset_ = static_cast<int64_t>(bytes.size()) - 4;
    good_ = std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) == bytes.size();
}

bool WavWriter::write(const int16_t* samples, int64_t frames) {
    const int64_t fileBytes =
        dataSizeOffset_ + 4 + (frames_ + frames) * channels_ * kBytesPerSample;
    full_ = fileBytes > kLargestWavFile;
    if (!good_ || !file_ || full_) {
        good_ = false;
        return false;
    }
    const size_t count = static_cast<size_t>(frames * channels_);
    good_ = std::fwrite(samples, kBytesPerSample, count, file_.get()) == count;
    frames_ += frames;
    return good_;
}

bool WavWriter::writeSilence(int64_t frames) {
    constexpr int64_t kChunkFrames = 4096;
    const std::vector<int16_t> zeros(static_cast<size_t>(kChunkFrames * channels_), 0);
    while (frames > 0 && good_) {
        const int64_t now = std::min(frames, kChunkFrames);
        write(zeros.data(), now);
        frames -= now;
    }
    return good_;
}

bool WavWriter::finish() {
    if (!file_) {
        return false;
    }
    const int64_t dataBytes = frames_ * channels_ * kBytesPerSample;
    std::string sizes;
    putU32(sizes, static_cast<uint32_t>(dataSizeOffset_ + 4 + dataBytes - 8));
    std::string dataSize;
    putU32(dataSize, static_cast<uint32_t>(dataBytes));
    good_ = good_ && std::fseek(file_.get(), 4, SEEK_SET) == 0 &&
            std::fwrite(sizes.data(), 1, 4, file_.get()) == 4 &&
            std::fseek(file_.get(), static_cast<long>(dataSizeOffset_), SEEK_SET) == 0 &&
            std::fwrite(dataSize.data(), 1, 4, file_.get()) == 4;
    const bool closed = std::fclose(file_.release()) == 0;
    return good_ && closed;
}

}  // namespace video
