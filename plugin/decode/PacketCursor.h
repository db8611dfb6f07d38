#pragma once

#include "decode/PacketRecord.h"
#include "picture/FfmpegPointers.h"

namespace video {

// Reads the packets of one stream from a chosen packet of the scan onwards, telling for each
// packet read its index in the scan. Seeking by time stamp lands wherever the format's index
// says; the cursor recognises the wanted packet among those read after the seek, and falls back
// to earlier seek points when the seek landed past it.
class PacketCursor {
public:
    PacketCursor(AVFormatContext* input, int streamIndex, const PacketList& packets);

    // Positions the cursor so that the next packet read is packet `index` of the scan.
    bool seekTo(int index);
    // Reads the next packet of the stream into `packet` (which the caller unreferences) and
    // returns its scan index; -1 at the end of the input, on a read error, or when the packets
    // read no longer match the scan.
    int next(AVPacket* packet);
    // The scan index of the packet next() reads next; -1 when the cursor must be sought first.
    int upcoming() const { return nextIndex_; }
    // Gives back the packet next() just read (moving it out of `packet`), to be read again next.
    void putBack(AVPacket* packet);
    // Whether a read since the last seek found the input ended: its end, or a read error other
    // than a lack of memory. A file cut short ends this way before its listed packets.
    bool inputEnded() const { return inputEnded_; }

private:
    bool seekNear(int wanted, int64_t timestamp, int64_t position, bool giveUpWhenPast);
    bool readStreamPacket(AVPacket* packet);

    AVFormatContext* input_;
    int streamIndex_;
    const PacketList& packets_;
    PacketPtr pending_;
    bool hasPending_ = false;
    int nextIndex_ = -1;
    bool inputEnded_ = false;
};

}  // namespace video
