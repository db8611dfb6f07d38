#pragma once

#include "decode/PacketRecord.h"
#include "picture/FfmpegPointers.h"

#include <functional>
#include <queue>
#include <utility>
#include <vector>

namespace video {

// Numbers the pictures in presentation order while the packets are still being read, each one
// as soon as no packet read later can come before it; the numbers are those the whole list
// would get (PresentationOrder), and once given they never change.
//
// With time stamps, a picture is numbered once a picture packet with a later or equal decoding
// time stamp has been read: decoding time stamps only grow, and no picture is shown before it
// is decoded, so every packet still to come shows its picture later. A stream that breaks
// either rule, or repeats a time stamp, leaves the numbers given so far where they are and the
// rest to the whole list. A stream whose first picture has no time stamp (raw elementary
// streams) is decoded as it is read, and its pictures numbered in the order they come out.
class ScanOrder {
public:
    using DecoderMaker = std::function<CodecContextPtr()>;
    explicit ScanOrder(DecoderMaker makeDecoder);

    // The packet just read, whose record is the last of `packets`.
    void add(const PacketList& packets, const AVPacket& packet);
    // No packet comes any more: the pictures left are numbered, unless the rest is left to the
    // whole list.
    void finish(const PacketList& packets);

    // Frame number of each packet's picture; −1 for none and for pictures not numbered yet.
    const std::vector<int>& frameOfPacket() const { return frameOf_; }
    // Frames 0 to numbered() − 1 have their packets.
    int numbered() const { return numbered_; }
    // The frame numbers of keyframe packets numbered so far, rising.
    const std::vector<int>& keyFrames() const { return keyFrames_; }
    // Whether the pictures not numbered yet are left to the order of the whole list.
    bool leftToWholeList() const { return mode_ == Mode::wholeList; }

private:
    enum class Mode { firstPicture, timestamps, decoding, wholeList };

    void number(const PacketList& packets, int index);
    void addTimestamped(const PacketList& packets, int index);
    void numberUpTo(const PacketList& packets, int64_t timestamp);
    void decode(const PacketList& packets, const AVPacket* packet);
    void receiveFrames(const PacketList& packets);

    DecoderMaker makeDecoder_;
    Mode mode_ = Mode::firstPicture;
    std::vector<int> frameOf_;
    int numbered_ = 0;
    std::vector<int> keyFrames_;
    // Pictures read but not numbered yet, by presentation time stamp, earliest first.
    using Waiting = std::pair<int64_t, int>;
    std::priority_queue<Waiting, std::vector<Waiting>, std::greater<Waiting>> waiting_;
    int64_t lastDecodingTime_ = AV_NOPTS_VALUE;
    int64_t lastNumberedTime_ = AV_NOPTS_VALUE;
    CodecContextPtr decoder_;
    PacketPtr sent_;
    FramePtr frame_;
};

}  // namespace video
