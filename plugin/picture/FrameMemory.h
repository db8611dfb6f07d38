#pragma once

#include <cstddef>

namespace video {

// A buffer for one cached frame, released with std::free like any malloc'd block; null when
// there is no memory. A frame of a few megabytes is laid on huge pages where the system offers
// them, and its pages are made ready in one call: the cache's frames are written once into fresh
// memory, and faulting that in a page at a time costs as much as writing it, or several times
// that in a virtual machine.
unsigned char* allocateFrameBuffer(size_t bytes);

// How a large frame buffer's memory is laid out and made ready; the default is the cache's.
struct FrameMemoryPolicy {
    bool hugePages = true;
    bool populate = true;
};

// allocateFrameBuffer with another policy, to compare them.
unsigned char* allocateFrameBuffer(size_t bytes, const FrameMemoryPolicy& policy);

}  // namespace video
