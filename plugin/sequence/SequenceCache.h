#pragma once

#include "cache/BudgetAccount.h"
#include "cache/CachedFrame.h"
#include "cache/CachedFrames.h"
#include "cache/DecodingPool.h"
#include "cache/FrameBufferPool.h"
#include "cache/FrameSource.h"
#include "picture/RgbaImage.h"
#include "sequence/SequenceImage.h"
#include "sequence/SequencePattern.h"
#include "sequence/SequenceWindow.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>

namespace video {

// One frame of a sequence as handed out: RGBA, rows packed, top row first.
struct SequenceFrame {
    const unsigned char* pixels = nullptr;
    int width = 0;
    int height = 0;
    decode::TexelFormat format = decode::TexelFormat::kRgba8;
};

// Reads a file through the host's own image reader, on the main thread only; false, with the
// image emptied, when the host cannot read it either.
using HostImageRead = std::function<bool(const std::string& path, decode::RgbaImage& image)>;

// What became of a frame asked for.
enum class SequenceAnswer {
    kShown,       // handed over, and the taker showed it
    kNotShown,    // handed over, and the taker could not show it
    kUnreadable,  // the file is gone or is no image FFmpeg or the host's reader understands
    kNotInTime,   // not read by the deadline, or nothing is open: ask again later
};

// The frames of one image sequence around the frame asked for, decoded with FFmpeg on the
// process's decoding pool, several at once where the pool has threads free: the frame asked for
// first, then those ahead in the direction of play, then the others nearest first. Frames leaving
// the window are dropped (their buffers kept for the next ones). Each frame takes
// width × height × 4 bytes (8 for a frame kept as half float), counted in the process-wide cache
// budget, which may ask for frames beyond the cache's share back for other caches. The drawing
// thread waits for the readers until a deadline, and when that passes first, the reader asks for
// a refresh once the frame is read. A file FFmpeg cannot read is read by the host's image reader,
// by the drawing thread only. All calls come from the drawing thread, Maya's main thread.
class SequenceCache final : public BudgetClient, public PoolClient, public FrameSource {
public:
    using Deadline = std::chrono::steady_clock::time_point;

    // `lateFrameDone` is called from a reader when a frame the drawing thread stopped waiting
    // for is read (or found unreadable); `hostRead` reads what FFmpeg cannot.
    SequenceCache(std::function<void()> lateFrameDone, HostImageRead hostRead,
                  DecodingPool& pool = DecodingPool::instance());
    // Drops what was to be read, and waits for the pool to finish the reads under way.
    ~SequenceCache() override;
    SequenceCache(const SequenceCache&) = delete;
    SequenceCache& operator=(const SequenceCache&) = delete;

    // The sequence to read from now on; the frames of another one are dropped. The first call
    // has the pool serve the cache.
    void open(const std::string& pattern) override;
    bool isOpen(const std::string& pattern) const;
    // How many frames to keep around the one asked for; the one asked for is always kept.
    void setWindow(int frames);
    // How deep frames are kept; frames held at another depth are read again.
    void setDepth(decode::CacheDepth depth) override;
    // Waits for the frame, until `deadline`, and hands it to `show`, during which it stays whole
    // (held by reference, even when the readers drop it meanwhile; the cache is not locked).
    // With `checkFile`, a frame held whose file changed since it was read is read again. A still
    // (an unnumbered pattern) is one frame, whatever frame is asked for.
    SequenceAnswer show(int frame, bool checkFile, const std::function<bool(SequenceFrame)>& show,
                        Deadline deadline);
    HeldFrame nearestHeld(int frame) const override;
    // Drops every frame; the readers wait for the next sequence.
    void close() override;

    // How many frames are held now.
    size_t framesHeld() const;
    // Which frames are held now, among those found on disk.
    CachedFrames cachedFrames() const override;

    // Gives up the spare buffers, else the frame farthest from the one asked for (never that
    // one nor the next in the direction of play), narrowing the window past it.
    bool giveUpFarthest() override;

    // For the pool: the next frame to read (or the folder to look through), and reading it.
    std::optional<Urgency> nextWork() override;
    void runWork() override;
    int parallelism() const override { return pool_.threadCount(); }

private:
    struct Held {
        FrameRef frame;
        int width = 0;
        int height = 0;
        decode::TexelFormat format = decode::TexelFormat::kRgba8;
        FileStamp stamp;
    };

    // What reads a file: FFmpeg on any thread, or the host's image reader, on the main thread
    // only, for a file FFmpeg could not read.
    enum class FrameReader { kFfmpeg, kHost };

    void wakePool();
    // The next frame the window lacks, in reading order; none when nothing is left to read.
    std::optional<int> nextFrame() const;
    // Reads one frame with the lock released and stores it, or notes that it failed; asks for a
    // refresh when the drawing thread stopped waiting for it.
    void readFrame(std::unique_lock<std::mutex>& lock, int frame, FrameReader reader);
    // What a read frame may be kept with: the charge of its bytes, none when there is no room for
    // it and it is not the frame asked for.
    using RoomFor = std::function<std::optional<FrameReservation>(size_t)>;
    // Reads the file, by FFmpeg or the host's image reader, and writes it into a buffer of the
    // cache's pool, which takes the charge `roomFor` its bytes gives over; none when it cannot be
    // read, is not to be kept, or there is no memory. The stamp is left to the caller.
    std::optional<Held> readWithFfmpeg(FrameFile file, const std::string& path,
                                       decode::CacheDepth depth, const RoomFor& roomFor);
    std::optional<Held> readWithHost(const std::string& path, const RoomFor& roomFor);
    // Whether the frame last asked for is held, or failed since it was last asked for.
    bool wantedSettled() const;
    // Whether the frames on disk should be looked for (again) before reading on.
    bool scanDue() const;
    void scanFolder(std::unique_lock<std::mutex>& lock);
    // Sets the window around the wanted frame and drops what is outside it.
    void moveWindow();
    void drop(std::map<int, Held>::iterator held);
    void dropAll();
    // Charges what the kept decoders hold, the lock held.
    void chargeStillDecoders();
    // Closes the kept decoders, with the lock let go of.
    void closeStillDecoders();

    mutable std::mutex mutex_;
    // Wakes the drawing thread: a frame was stored or could not be read, or the readers stop.
    std::condition_variable frameSettled_;

    SequencePattern pattern_;
    bool open_ = false;
    // Changes with every open and close, so that a read begun for a former sequence is dropped.
    long generation_ = 0;
    // Whether a frame was asked for since the sequence was opened.
    bool asked_ = false;
    // The window around the frame asked for, which way they move, and what the budget may take.
    WindowRule rule_;
    // Counts the requests, so that a read that failed before the latest request for its frame
    // is tried again.
    long request_ = 0;
    int windowFrames_ = 1;
    decode::CacheDepth depth_ = decode::CacheDepth::kAuto;
    std::optional<FrameWindow> onDisk_;
    long scannedGeneration_ = -1;
    int scannedWanted_ = 0;
    std::map<int, Held> frames_;
    // Frames whose read failed → the request count when the read began.
    std::map<int, long> failed_;
    // Frames being read, and whether the folder is being looked through.
    std::set<int> reading_;
    bool scanning_ = false;
    // Bytes of the last frame read: what the next one is expected to take.
    size_t expectedBytes_ = 0;
    const std::shared_ptr<FrameBufferPool> buffers_ = std::make_shared<FrameBufferPool>(&account());
    // One decoder kept for each reader, from one file of the sequence to the next, and its charge.
    decode::StillDecoders stillDecoders_;
    BudgetCharge stillDecodersCharge_;

    // The frame whose wait ran out, until it is read or found unreadable.
    std::optional<int> lateFrame_;
    const std::function<void()> lateFrameDone_;
    const HostImageRead hostRead_;

    // Set once the pool serves the cache, and cleared for good when it is to stop.
    bool running_ = false;
    DecodingPool& pool_;
    // Written by the drawing thread only, before the pool first runs the cache's work.
    bool enrolled_ = false;
};

}  // namespace video
