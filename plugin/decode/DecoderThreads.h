#pragma once

namespace video {

// The decoding thread count `setting` names: the value of the environment variable
// CINESHEET_DECODER_THREADS (a whole number from 1 to 64); unset or anything else gives 0, the
// machine's own choice from its cores.
int decoderThreadCount(const char* setting);

// The thread count for a video decoder opened now on this thread: the count a
// DecoderThreadsHere in force on it gives, else the one CINESHEET_DECODER_THREADS gives.
int decoderThreadsForOpen();

// While it lives, decoders opened on this thread get `threads` threads (0: FFmpeg's choice). The
// caches choose the count from how many videos the decoding pool has open at once.
class DecoderThreadsHere {
public:
    explicit DecoderThreadsHere(int threads);
    ~DecoderThreadsHere();
    DecoderThreadsHere(const DecoderThreadsHere&) = delete;
    DecoderThreadsHere& operator=(const DecoderThreadsHere&) = delete;

private:
    const int previous_;
};

}  // namespace video
