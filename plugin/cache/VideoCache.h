#pragma once

#include "cache/CacheImageWriter.h"
#include "cache/FrameCache.h"

#include <maya/MIntArray.h>
#include <maya/MString.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

class VideoCache;

// The worker's argument: its cache, and its own end, so that the cache is never freed while its
// worker may still touch it, whatever other workers are doing.
struct ThreadData {
    VideoCache* owner = nullptr;
    std::mutex endMutex;
    std::condition_variable ended;
    std::atomic<bool> finished{false};
};

// The open video of one node, the cache of its decoded frames and the background worker that
// fills it. The drawing thread opens or closes a file, sets the resolution frames are kept at,
// and asks for frames; the worker decodes the blocks around the frame asked for, nearest first,
// into the store, and evicts what leaves the window. All locking stays inside.
class VideoCache {
public:
    // Starts the worker; without one (workerStarted() false) nothing is ever decoded.
    VideoCache();
    // Stops the worker, waits for its end, and frees every frame.
    ~VideoCache();
    VideoCache(const VideoCache&) = delete;
    VideoCache& operator=(const VideoCache&) = delete;

    bool workerStarted() const { return threadData_ != nullptr; }

    // Closes what was open and opens the video at `path`; false (nothing open) when it cannot be
    // played.
    bool open(const MString& path);
    // Forgets the open video and every cached frame.
    void close();
    bool isOpen() const { return decoder.streamIndex >= 0; }

    // The open video: the size of its pictures turned upright, the shape of their pixels, its
    // frame rate (0 when unknown) and the first frame of each block, then the frame count.
    int frameWidth() const { return decoder.frameWidth; }
    int frameHeight() const { return decoder.frameHeight; }
    AVRational pixelAspect() const { return decoder.pixelAspect; }
    double videoFrameRate() const { return decoder.videoFrameRate; }
    const MIntArray& blockStarts() const { return cache.blockStarts; }

    // Frames are kept at 1/divisor of their size (1, 2 or 4). A change drops the frames of the
    // former size.
    int resolutionDivisor() const { return decoder.resolutionDivisor; }
    void setResolutionDivisor(int divisor);

    // Finds the frame's block and asks the worker for the `windowFrames` frames around it, unless
    // the window being served already holds it well inside. False (job.block −1) when the frame
    // is not in the video.
    bool addBlockCachingJob(int frame, int windowFrames, CachingJob& job);
    // The frame is handed to `show` (with the store locked, so that it stays while it is copied)
    // as soon as it is cached: at once when it is, after a bounded wait while it is being
    // decoded. Returns what `show` returned; false without calling it when the frame does not
    // come (it cannot be decoded, no worker runs, or the wait ran out).
    using FrameUse = std::function<bool(const unsigned char* pixels)>;
    bool awaitFrame(const CachingJob& job, const FrameUse& show);

    // Waits the drawing thread began for frames not yet there.
    long long waitPolls() const { return cache.waitPolls; }

    // True while any caching worker of any cache runs.
    static std::atomic<bool> threadIsRunning;

private:
    friend struct VideoCacheInternals;

    // The worker.
    bool startBlockCachingThreaded();
    static void* blockCachingWorker(void* data);
    static void blockCachingFinished(void* data);
    void stopWorker();
    void waitForWorkerEnd();
    bool awaitNewestJob(CachingJob& job);
    bool jobWaiting();
    // Whether the newest waiting job wants a frame outside first..last that is not stored yet:
    // someone waits for it (a scrub), and the block being decoded is of no use to them. While
    // playing, the newer job's frame is usually stored, and the block ahead is finished.
    bool newerJobWaitsElsewhere(int first, int last);
    void serveJob(const CachingJob& job);
    bool blockLacksFrames(int block) const;
    bool setActiveBlocks(const CachingJob& job);
    void clearInactiveBlockImages();
    static void clearAllBlockImages(std::map<int, std::vector<unsigned char*>>& blocks);

    // Decoding into the store.
    // Decodes the blocks firstBlock to lastBlock in one pass into the store.
    void decodeBlocks(int firstBlock, int lastBlock);
    // Makes the picture's cache image and stores it.
    void storePicture(int block, int slot, const video::CachePicture& picture);
    // Puts a finished cache image of `bytes` bytes into a slot; null records the frame as failed
    // (no memory for it). The caller holds storeMutex.
    bool storeFrameInCache(int block, int index, unsigned char* image, size_t bytes);
    // A frame the budget has no room for: the window narrows past it.
    void keepOutOfWindow(int frame);
    // The frame of the newest request waiting for the worker, −1 for none.
    int newestJobFrame();

    // The drawing thread's side.
    void analyzeGOPs();
    // Takes decoderMutex, first asking a running pass to stop.
    std::unique_lock<std::mutex> lockDecoder();
    // Empties the store and the queue and closes the file; decoderMutex held.
    void clearAllData();
    bool workerRunning() const;
    // Queues the job unless another is waiting; true when queued.
    bool queueIfIdle(const CachingJob& job);

    DecoderState decoder;
    FrameCache cache;
    std::unique_ptr<ThreadData> threadData_;
};
