#pragma once

#include <cstddef>

namespace video {

// A buffer for one cached frame, released with std::free like any malloc'd block; null when
// there is no memory. A frame of a few megabytes has its pages made ready in one call: the
// cache's frames are written once into fresh memory, and faulting that in a page at a time costs
// as much as writing it, or several times that in a virtual machine.
unsigned char* allocateFrameBuffer(size_t bytes);

// How a large frame buffer's memory is laid out and made ready; the default is the cache's.
// Huge pages are asked for: a 1080p frame is then four pages to map rather than two thousand, and
// on the 2-core virtual test machine fresh huge pages cost half the CPU of small ones on two days
// out of three (bench_frame_memory, bench_first_pass); on the third, with the machine's memory
// long in use, they cost twice as much. A workstation is no virtual machine: there a huge page
// is cleared as fast as the small pages it replaces.
struct FrameMemoryPolicy {
    bool hugePages = true;
    bool populate = true;
};

// allocateFrameBuffer with another policy, to compare them.
unsigned char* allocateFrameBuffer(size_t bytes, const FrameMemoryPolicy& policy);

}  // namespace video
