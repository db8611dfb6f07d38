#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace video {

// A 16-bit PCM WAV file being written: the header goes first with empty sizes, the samples
// follow as they come, and finish() fills in the sizes. The file names the clip it was made
// from in its INFO list ("ISRC"), so that a later import can tell its own file from another
// clip's.
class WavWriter {
public:
    // Opens `path` for writing (replacing it); isOpen() tells whether that worked.
    WavWriter(const std::string& path, int sampleRate, int channels, const std::string& source);
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    // Interleaved samples, `frames` × channels of them. False when the file cannot take them:
    // a write error, or more than a WAV's 32-bit sizes can count.
    bool write(const int16_t* samples, int64_t frames);
    bool writeSilence(int64_t frames);
    // Writes the sizes and closes the file; false on any error since opening.
    bool finish();

    int channels() const { return channels_; }
    int64_t framesWritten() const { return frames_; }

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    std::unique_ptr<std::FILE, Closer> file_;
    int channels_;
    int64_t frames_ = 0;
    int64_t dataSizeOffset_ = 0;
    bool good_ = true;
};

// The clip named in the INFO list of the WAV file at `path`; empty when the file does not
// exist, is no WAV or names none.
std::string wavSource(const std::string& path);

}  // namespace video
