#pragma once

#include <cstddef>

namespace video {

// A buffer for one cached frame, released with std::free like any malloc'd block; null when
// there is no memory. A frame of a few megabytes is laid on huge pages where the system offers
// them: the cache's frames are written once into fresh memory, and faulting that in 4 KiB at a
// time costs about as much as writing it.
unsigned char* allocateFrameBuffer(size_t bytes);

}  // namespace video
