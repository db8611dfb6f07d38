#pragma once

#include <cstdint>
#include <string>

namespace video {

enum class SoundOutcome {
    kWritten,
    kNoSound,      // the file opens but has no audio stream (an image, a silent clip)
    kUnreadable,   // the file cannot be opened, or its sound cannot be decoded
    kNotWritten,   // the WAV file cannot be written
    kTooLong,      // the WAV file would pass the 4 GB a WAV file can hold
    kRateTooHigh,  // a WAV header cannot describe the sound's sample rate
};

struct SoundTrack {
    SoundOutcome outcome = SoundOutcome::kUnreadable;
    int sampleRate = 0;
    int channels = 0;
    int64_t sampleFrames = 0;
    // How long the WAV file was to be as the clip tells before decoding, in seconds; 0 when
    // it does not tell.
    double seconds = 0.0;
    // Frames per second of the clip's pictures; 0 when the file does not tell.
    double videoFrameRate = 0.0;
    // False when the sound or the pictures carry no time stamps, so that the sound could only
    // be made to start with the first picture, in step or not.
    bool aligned = true;
};

// Decodes the first audio stream of the clip at `clipPath` into a 16-bit PCM WAV file at
// `wavPath`, at the stream's own rate, with one channel for mono and two for everything else
// (more channels are mixed down to stereo). Sample 0 of the WAV is the sound at the start of
// the clip's first video frame: sound that begins later is preceded by silence, sound before
// it is left out, so that video frame n and its sound lie n frame durations into both. The WAV
// is written next to `wavPath` under another name and renamed into place only when complete,
// so a failed decode leaves no partial file, and a file of that name is only replaced whole.
// A sound whose WAV file would pass the 4 GB limit is refused before any decoding when the
// clip's durations tell so.
SoundTrack extractSoundTrack(const std::string& clipPath, const std::string& wavPath);

}  // namespace video
