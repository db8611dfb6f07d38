#pragma once

#include "decode/PacketCursor.h"
#include "decode/PacketRecord.h"
#include "picture/FfmpegPointers.h"

#include <cstdint>
#include <functional>

namespace video {

// Packets `first` to `last` of the scan, both included.
struct PacketRange {
    int first = 0;
    int last = -1;
};
using StampOf = std::function<int64_t(int packetIndex)>;
using FrameHandler = std::function<bool(const AVFrame& frame)>;

// A decoder fed the packets of one stream in file order from a packet sought to on. Each packet
// is sent with the presentation time stamp `stampOf(index)`, which the decoder carries over to
// the picture it holds, so every frame received tells which picture it is whatever the file's
// own time stamps are. Packets the decoder refuses and decoding errors are skipped.
//
// A feed whose handler had enough is left as it stands: the next feed goes on with the frames
// the decoder still holds and the packets after the last one sent, as one uninterrupted decode.
// The decoder and input must be left alone meanwhile; the feed never touches them on its own,
// so it may outlive them as long as it is not fed again.
class PacketFeed {
public:
    PacketFeed(AVFormatContext* input, AVCodecContext* decoder, int streamIndex,
               const PacketList& packets);

    // What a handler does with a frame: asks for more, has enough, or leaves this frame for the
    // next feed (it is handed again first, and nothing after it is taken meanwhile).
    enum class Take { kMore, kEnough, kLater };
    using Handler = std::function<Take(const AVFrame& frame)>;

    // Empties the decoder and positions the input at packet `index`. False when that packet
    // cannot be reached.
    bool seekTo(int index);
    // Sends packets up to `last`, then up to `beyond` more (after where the feed stands when
    // that is past `last`) while the handler wants more, handing every frame the decoder gives
    // to `handler`. Once those are sent, or the input ends, the decoder is drained and emptied,
    // and the feed must be sought again; after the last listed packet, the drained decoder's
    // frames are kept for the next feed as long as the handler leaves some.
    void feed(int last, int beyond, const StampOf& stampOf, const Handler& handler);
    // Empties the decoder; the feed must be sought again.
    void stop();

    // Whether the feed can go on from where it stands, and the packet it sends next.
    bool canGoOn() const { return ready_; }
    int nextPacket() const { return ready_ ? cursor_.upcoming() : -1; }
    // Whether the last feed found the input ended (see PacketCursor::inputEnded) before it had
    // read its packet `last`, or the seek did.
    bool inputEnded() const { return inputEnded_; }
    // Packets sent to the decoder since the feed was made.
    long packetsSent() const { return packetsSent_; }

private:
    // Hands the frames the decoder has ready to the handler, a frame left for later first.
    Take receiveFrames(const Handler& handler);
    // The packets of feed(), then the drain; true when the decoder is left to go on.
    bool sendPackets(int last, int beyond, const StampOf& stampOf, const Handler& handler);

    AVCodecContext* decoder_;
    const PacketList& packets_;
    PacketCursor cursor_;
    PacketPtr packet_;
    FramePtr frame_;
    bool holding_ = false;
    bool ready_ = false;
    bool draining_ = false;
    bool inputEnded_ = false;
    int soughtTo_ = -1;
    long packetsSent_ = 0;
};

// Decodes a range of packets from a fresh decoder state, then drains and empties the decoder.
// Each frame goes to `onFrame`, which returns false when it wants no more. Returns false when
// the first packet could not be reached. `inputEnded`, when given, tells whether the input ended
// (see PacketCursor::inputEnded) before the range's last packet was read.
bool decodePacketRange(AVFormatContext* input, AVCodecContext* decoder, int streamIndex,
                       const PacketList& packets, PacketRange range, const StampOf& stampOf,
                       const FrameHandler& onFrame, bool* inputEnded = nullptr);

}  // namespace video
