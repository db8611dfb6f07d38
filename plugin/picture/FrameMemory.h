#pragma once

#include <cstddef>

namespace video {

// A buffer for one cached frame, released with std::free like any malloc'd block; null when
// there is no memory. A frame of a few megabytes has its pages made ready in one call: the
// cache's frames are written once into fresh memory, and faulting that in a page at a time costs
// as much as writing it, or several times that in a virtual machine.
unsigned char* allocateFrameBuffer(size_t bytes);

// How a large frame buffer's memory is laid out and made ready. Buffers are aligned to huge pages,
// so that a system giving them to any memory (transparent huge pages "always", as on RHEL and
// Rocky) lays frames on them when it has them free. The cache asks for them (MADV_HUGEPAGE) only
// while an eighth of the memory is free: then a fresh frame costs half the CPU of small pages on
// the 2-core test machine. With less free, as on a workstation whose page cache holds the plates
// it has read, a region asking for huge pages makes the decoding thread wait for the kernel's
// compaction, a wait a refresh may share: with the page cache full, a 96-frame H.264 first pass
// asking made 20 to 255 compactions and took 1.0-2.7 s against 1.1-1.4 s on small pages (a UHD
// one, 1.8-2.4 s against 2.2-3.1 s). Less free memory takes the steady way.
struct FrameMemoryPolicy {
    bool hugePages = false;  // asked for with MADV_HUGEPAGE
    bool populate = true;
};

// allocateFrameBuffer with a given policy, to compare them.
unsigned char* allocateFrameBuffer(size_t bytes, const FrameMemoryPolicy& policy);

}  // namespace video
