#include "decode/DecoderThreads.h"

#include <cerrno>
#include <cstdlib>

namespace video {
namespace {

constexpr long kMostThreads = 64;
constexpr int kNoChoice = -1;

thread_local int threadsHere = kNoChoice;

}  // namespace

int decoderThreadCount(const char* setting) {
    if (!setting || !*setting) {
        return 0;
    }
    char* end = nullptr;
    errno = 0;
    const long threads = std::strtol(setting, &end, 10);
    if (errno != 0 || *end != '\0' || threads < 1 || threads > kMostThreads) {
        return 0;
    }
    return static_cast<int>(threads);
}

int decoderThreadsForOpen() {
    return threadsHere != kNoChoice ? threadsHere
                                    : decoderThreadCount(std::getenv("CINESHEET_DECODER_THREADS"));
}

DecoderThreadsHere::DecoderThreadsHere(int threads) : previous_(threadsHere) {
    threadsHere = threads;
}

DecoderThreadsHere::~DecoderThreadsHere() {
    threadsHere = previous_;
}

}  // namespace video
