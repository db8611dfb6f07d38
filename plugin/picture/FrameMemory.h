#pragma once

#include <cstddef>

namespace video {

// A buffer for one cached frame, released with std::free like any malloc'd block; null when
// there is no memory. A frame of a few megabytes has its pages made ready in one call: the
// cache's frames are written once into fresh memory, and faulting that in a page at a time costs
// as much as writing it, or several times that in a virtual machine.
unsigned char* allocateFrameBuffer(size_t bytes);

// How a large frame buffer's memory is laid out and made ready; the default is the cache's.
// Huge pages are not asked for: on the 2-core virtual test machine, memory new to the process
// cost about twice as much CPU in huge pages as in small ones (bench_frame_memory,
// bench_first_pass), as the host has to provide a huge page afresh where small pages come from
// memory the machine already holds.
struct FrameMemoryPolicy {
    bool hugePages = false;
    bool populate = true;
};

// allocateFrameBuffer with another policy, to compare them.
unsigned char* allocateFrameBuffer(size_t bytes, const FrameMemoryPolicy& policy);

}  // namespace video
