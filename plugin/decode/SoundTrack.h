#pragma once

#include <atomic>
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
    kCancelled,    // stopped through SoundProgress::cancel
};

// What another thread sees of an extraction while it runs, and how it stops it.
struct SoundProgress {
    // How far through the clip's file the reading is, 0 to 100.
    std::atomic<int> percent{0};
    // Set to stop the extraction at the next read; nothing is written then.
    std::atomic<bool> cancel{false};
};

struct SoundTrack {
    SoundOutcome outcome = SoundOutcome::kUnreadable;
    // The WAV file written.
    std::string wavPath;
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
// `wavPath`, or under the next free name beside it (freeSoundFilePath), at the stream's own rate,
// with one channel for mono and two for everything else (more channels are mixed down to stereo).
// Sample 0 of the WAV is the sound at the start of the clip's first video frame: sound that begins
// later is preceded by silence, sound before it is left out, so that video frame n and its sound
// lie n frame durations into both. The WAV is written next to `wavPath` under another name and
// renamed into place only when complete, so a failed or cancelled decode leaves no partial file,
// and a file of that name is only replaced whole. A sound whose WAV file would pass the 4 GB limit
// is refused before any decoding when the clip's durations tell so. Touches nothing but FFmpeg and
// files, so it may run on any thread; `progress`, when given, is updated and read for cancelling.
SoundTrack extractSoundTrack(const std::string& clipPath, const std::string& wavPath,
                             SoundProgress* progress = nullptr);

}  // namespace video
