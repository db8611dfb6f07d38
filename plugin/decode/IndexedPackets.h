#pragma once

#include "decode/PacketRecord.h"
#include "picture/FfmpegPointers.h"

namespace video {

// Lists the packets of a stream from the container's index alone, without reading any, where
// the index gives what the full scan would: the demuxer's packets are the samples its index
// lists (QuickTime and MP4 files whose header lists every sample), all of them lie within the
// file, and the codec shows its pictures in the order they are stored, since the index holds
// decoding times only. Each record's time stamps are the sample's decoding time, which then is
// also its place in presentation order; checksums are left unknown. False, with `packets` left
// empty, for any other stream.
bool listPacketsFromIndex(AVFormatContext& input, int streamIndex, PacketList& packets);

// How many samples the container's index lists for the stream when some of them lie past the end
// of the file (a QuickTime or MP4 file with its index at the start, cut short); 0 when none do or
// the file's size is unknown.
int samplesListedPastEnd(AVFormatContext& input, int streamIndex);

}  // namespace video
