#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>

namespace video {

// The largest WAV file: its RIFF size counts the bytes after the first eight in 32 bits.
constexpr int64_t kLargestWavFile = int64_t{0xFFFFFFFF} + 8;

// Bytes of the WAV file WavWriter makes of `frames` sample frames in `channels` channels.
int64_t wavFileBytes(int64_t frames, int channels);

// Whether a WAV header can describe 16-bit sound of this rate and channel count: it holds the
// bytes per second in 32 bits.
bool wavDescribes(int sampleRate, int channels);

// A 16-bit PCM WAV file being written: the header goes first with empty sizes, the samples
// follow as they come, and finish() fills in the sizes. The file holds a "fmt " and a "data"
// chunk and nothing else, the canonical form every WAV reader takes.
class WavWriter {
public:
    // Writes from the start of the open, empty file `fd`, through a descriptor of its own;
    // isOpen() tells whether that worked and the header can describe the sound.
    WavWriter(int fd, int sampleRate, int channels);
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    // Interleaved samples, `frames` × channels of them. False when the file cannot take them:
    // a write error, or more than a WAV's 32-bit sizes can count (then full() is true).
    bool write(const int16_t* samples, int64_t frames);
    bool writeSilence(int64_t frames);
    // Writes the sizes and closes the file; false on any error since opening.
    bool finish();

    int channels() const { return channels_; }
    int64_t framesWritten() const { return frames_; }
    bool full() const { return full_; }

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    std::unique_ptr<std::FILE, Closer> file_;
    int channels_;
    int64_t frames_ = 0;
    int64_t dataSizeOffset_ = 0;
    bool good_ = true;
    bool full_ = false;
};

}  // namespace video
