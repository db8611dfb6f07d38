#pragma once

#include "cache/CachedFrame.h"
#include "cache/FrameBufferPool.h"
#include "cache/FrameWindow.h"
#include "decode/BlockDecoder.h"
#include "decode/CacheDepth.h"
#include "decode/VideoSource.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <queue>
#include <string>
#include <vector>

// Whether the value is in the list (the lists of frames and blocks are a window's worth at most).
inline bool listed(const std::vector<int>& values, int value) {
    for (unsigned int i = 0; i < values.size(); ++i) {
        if (values[i] == value) {
            return true;
        }
    }
    return false;
}

// A request for the caching worker: the wanted frame, how many frames to keep around it, and
// where the frame lies. All −1 until filled.
struct CachingJob {
    int32_t frame = -1;
    int32_t windowFrames = -1;
    int32_t block = -1;
    int32_t frameInBlock = -1;
};

// Where the file asked for stands.
enum class VideoOpenState { kClosed, kOpening, kOpen, kFailed };

// A file for the worker to open; the generation tells a request from the ones before it.
struct OpenRequest {
    std::string path;
    long generation = 0;
};

// The open video and the resolution settings, shared by the drawing thread and the worker.
struct DecoderState {
    std::atomic<bool> running{true};
    // Set by the drawing thread while it waits for decoderMutex, and for good when the worker is
    // to stop: the pass stops at its next frame, an open at its next read of the file.
    std::atomic<bool> interrupt{false};
    // Frames of the window's blocks that their block's last whole decoding could not deliver (no
    // picture, or no memory for it): asking for them fails at once instead of waiting.
    std::vector<int> failedFrames;
    // The first frame a whole decoding found the file ended before (a file cut short), −1 for
    // none so far; guarded by storeMutex.
    int endedEarlyAt = -1;
    // The frames the file's index declares when the file was cut short (see
    // VideoSource::framesDeclared), 0 otherwise; written as openState.
    int framesDeclared = 0;
    // Owns the demuxer and decoder of the open file.
    video::VideoSource source;
    // Decodes the file's blocks into cache images; its converters live as long as the file.
    video::BlockDecoder blocks{source};
    // What is known of the open file: written by the worker holding decoderMutex and storeMutex,
    // so read under either.
    VideoOpenState openState = VideoOpenState::kClosed;
    // The file's packets are still being scanned: frames past the blocks may still come.
    bool scanning = false;
    int streamIndex = -1;
    // The size of the pictures as shown (a video turned upright), and the shape of their pixels.
    int frameWidth = 0;
    int frameHeight = 0;
    AVRational pixelAspect{1, 1};
    double videoFrameRate = 0.0;
    // The file's timecode of its first picture; empty when it has none.
    std::string startTimecode;
    std::atomic<int> resolutionDivisor{1};
    // How deep the frames are asked to be kept, and the pixel format the open file's pictures
    // decode to (none while closed): together they make the frames 8-bit or half float. Written
    // holding decoderMutex and storeMutex, so read under either.
    decode::CacheDepth depth = decode::CacheDepth::kAuto;
    AVPixelFormat pictureFormat = AV_PIX_FMT_NONE;
};

// The frame store, its job queue and the locks. Lock order: decoderMutex first, then storeMutex;
// queueMutex last (no other lock is ever taken while it is held). decoderMutex is held by the
// worker for a whole pass and by the drawing thread whenever it changes the file or the frame
// size, so the store is only ever emptied while no block is being decoded. The threads wake each
// other through the two condition variables instead of polling: this changes when they look,
// never what they find.
struct FrameCache {
    // Frame buffers are charged to `account`'s frames.
    explicit FrameCache(video::BudgetAccount* account)
        : frameBuffers(std::make_shared<FrameBufferPool>(account)) {}

    // Guarded by storeMutex; blockStarts, activeBlocks and window are written holding
    // decoderMutex too, so the worker reads them under either.
    std::vector<int> blockStarts;
    // The blocks holding frames of the window, in the order the worker fills them.
    std::vector<int> activeBlocks;
    // The frames kept: whole blocks within the cacheFrames frames around the wanted one, or part
    // of the wanted block when it is longer. The window narrows when the process-wide budget
    // takes frames at its edges.
    video::FrameWindow window;
    // The frame the window was set around, and the frame last asked for by a refresh: neither,
    // nor the frame after either, is given up to the budget.
    int wantedFrame = -1;
    int shownFrame = -1;
    // Block index → one RGBA frame per frame of the block, null until stored (and for frames
    // outside the window). Frames taken out are let go of once storeMutex is released: the last
    // reference frees or keeps the buffer.
    std::map<int, std::vector<video::FrameRef>> blocks;
    // Buffers of evicted frames for the next ones; locks itself.
    const std::shared_ptr<FrameBufferPool> frameBuffers;
    // Waits the drawing thread has begun for frames not yet there (the cost a viewport refresh
    // pays).
    long long waitPolls = 0;
    // The frame whose wait ran out (kFileAwaited: the file's), −1 for none: once it is ready
    // the worker asks for a refresh.
    int lateWait = -1;
    static constexpr int kFileAwaited = -2;

    // Guarded by queueMutex: the jobs asked for; the file the worker is to open, and the count
    // of opens and closes; whether the packet scan has more to read, the packets it has read and
    // the count it pauses at (a test's hold; −1 for none); and a job for a frame past the
    // blocks, served once the scan has settled that frame's block.
    std::queue<CachingJob> jobs;
    std::optional<OpenRequest> toOpen;
    long openGeneration = 0;
    bool scanDue = false;
    int packetsScanned = 0;
    int scanHold = -1;
    std::optional<CachingJob> parkedJob;

    // The worker's own, kept while it holds decoderMutex: the job it served last, which it serves
    // again when the scan settles blocks past the end its window was cut at.
    CachingJob servedJob;

    // The drawing thread's own: the block, frame and window length of the last request queued.
    int lastQueuedBlock = -1;
    int lastQueuedFrame = -1;
    int lastQueuedWindow = -1;

    std::mutex queueMutex;
    std::mutex decoderMutex;
    mutable std::mutex storeMutex;
    // With storeMutex: a frame was stored, frames were found undecodable, the window changed, a
    // file was opened or found unplayable, or the worker is to stop; a frame waited for may have
    // come or may never come.
    std::condition_variable storeChanged;
};
