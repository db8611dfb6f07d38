#pragma once

#include "decode/BlockLayout.h"
#include "decode/LocalMediaInput.h"
#include "decode/PacketRecord.h"
#include "decode/PresentationOrder.h"
#include "picture/FfmpegPointers.h"
#include "picture/Orientation.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace video {

class PacketScan;
class ScanOrder;

// What a stretch of the packet scan brought.
enum class ScanProgress {
    nothingNew,
    // More blocks, after the ones there were.
    moreBlocks,
    // The blocks from the start: the whole list ordered the pictures otherwise than the scan
    // had numbered them (a file whose time stamps go back).
    renumbered,
};

// An open video file: its first video stream with a decoder set up, the picture size, shape and
// frame rate, and the block boundaries, from the container's index or found by one scan of the
// file's packets. The scan can be read on a stretch at a time, with blocks decodable from the
// start while it goes on. Not thread-safe: the owner serialises opening, scanning, closing and
// block decoding.
class VideoSource {
public:
    VideoSource();
    ~VideoSource();
    VideoSource(const VideoSource&) = delete;
    VideoSource& operator=(const VideoSource&) = delete;

    // How the packets are listed: from the container's index wherever it covers the stream,
    // else by reading the whole file once; or always by reading it.
    enum class Listing { indexWhereComplete, fullScan };

    // Opens a local video file and lists all its packets. On failure the source is closed: zero
    // size, zero rate and block starts [0, 0]. Setting `abandon` (if given) meanwhile makes the
    // open fail at its next read.
    bool open(const std::string& path, Listing listing = Listing::indexWhereComplete,
              const std::atomic<bool>* abandon = nullptr);
    // Opens the file as open() does but leaves the packets that the index does not list to
    // scanOn(): until the scan ends, the blocks are those whose frames the scan has settled.
    bool start(const std::string& path, Listing listing = Listing::indexWhereComplete,
               const std::atomic<bool>* abandon = nullptr);
    // Reads on with the scan until `pause` returns true (asked before each packet), the scan
    // ends, or it settles more blocks: at once for the first ones and for those up to
    // `wantedFrame` (−1 for none), else after a stretch that grows with the file read.
    ScanProgress scanOn(const std::function<bool()>& pause, int wantedFrame = -1);
    // Whether every packet is listed: the blocks, the frame count and the keyframe interval are
    // final.
    bool listingComplete() const { return !scan_; }
    // The packets the scan has read so far.
    int packetsScanned() const { return static_cast<int>(packets_.size()); }
    void close();
    // Lets go of the decoder and the pictures it holds, keeping the file open and its packets
    // listed; isOpen() is false until restoreDecoder() opens a decoder of the stream again (with
    // the thread count in force then), which fails when the stream no longer decodes as before.
    void releaseDecoder();
    bool restoreDecoder();
    // Why the last open failed, as the end of "cannot show <file>: ..."; "" after a success.
    const std::string& failure() const { return failure_; }
    bool isOpen() const { return decoder_ != nullptr; }
    // The frames the container's index declares when it lists samples past the end of the file
    // (the file was cut short: the packets listed are those it still holds); 0 otherwise.
    int framesDeclared() const { return framesDeclared_; }
    // Whether the packets of the open file were listed from its index.
    bool listedFromIndex() const { return listedFromIndex_; }
    // Changes whenever what a block decoder left standing may no longer hold: the file opened or
    // closed, the decoder let go or restored, the frames numbered anew or more blocks settled.
    long generation() const { return generation_.load(); }

    // The size the pictures are stored and decoded at.
    int width() const { return width_; }
    int height() const { return height_; }
    // The turn the stream's display matrix asks for, and the size of the picture turned upright.
    const Orientation& orientation() const { return orientation_; }
    int uprightWidth() const { return orientation_.uprightWidth(width_, height_); }
    int uprightHeight() const { return orientation_.uprightHeight(width_, height_); }
    // Width over height of one pixel of the upright picture, in lowest terms; 1:1 when the file
    // does not say or says 0.
    AVRational uprightPixelAspect() const;
    // The stream's average frame rate, 0 when unknown.
    double averageFrameRate() const { return averageFrameRate_; }
    // First frame of each block, then the frame count (while the scan goes on: the first frame
    // after the settled blocks).
    const std::vector<int>& blockStarts() const { return layout_.blockStarts; }
    int blockCount() const { return static_cast<int>(layout_.plans.size()); }
    int frameCount() const { return layout_.blockStarts.back(); }
    // Length of the first block; 0 when there is no block.
    int keyframeInterval() const;

    // For the block decoder.
    AVFormatContext* input() const { return input_.get(); }
    AVCodecContext* decoder() const { return decoder_.get(); }
    int streamIndex() const { return streamIndex_; }
    const PacketList& packets() const { return packets_; }
    const PresentationOrder& order() const { return order_; }
    const BlockPlan& plan(int block) const { return layout_.plans[block]; }

private:
    bool openStream(const std::string& path, Listing listing, const std::atomic<bool>* abandon);
    bool startScan(const std::string& path, const std::atomic<bool>* abandon);
    void noteSeekPoint(const AVPacket& packet);
    bool settle(int wantedFrame);
    ScanProgress finishScan();

    LocalMediaPtr input_;
    CodecContextPtr decoder_;
    int streamIndex_ = -1;
    int width_ = 0;
    int height_ = 0;
    Orientation orientation_;
    AVRational sampleAspect_{1, 1};
    double averageFrameRate_ = 0.0;
    PacketList packets_;
    int framesDeclared_ = 0;
    bool listedFromIndex_ = false;
    PresentationOrder order_;
    BlockLayout layout_{{0, 0}, {}};
    std::string failure_;
    std::unique_ptr<PacketScan> scan_;
    std::unique_ptr<ScanOrder> scanOrder_;
    // The settled frame count at which blocks are next settled without a frame asked for.
    int nextSettling_ = 0;
    // Read by the decoders of other threads (intra-only lanes) while the worker may change it.
    std::atomic<long> generation_{0};
};

}  // namespace video
