#include "picture/FrameMemory.h"

#include <sys/mman.h>

#include <cstdlib>

namespace video {
namespace {

constexpr size_t kHugePageBytes = size_t{2} << 20;

}  // namespace

unsigned char* allocateFrameBuffer(size_t bytes) {
    if (bytes < kHugePageBytes) {
        return static_cast<unsigned char*>(std::malloc(bytes));
    }
    void* buffer = nullptr;
    if (posix_memalign(&buffer, kHugePageBytes, bytes) != 0) {
        return nullptr;
    }
    // Only whole huge pages inside the buffer: the advice must not reach memory it does not own.
    // Advice the system cannot follow changes nothing.
    madvise(buffer, bytes / kHugePageBytes * kHugePageBytes, MADV_HUGEPAGE);
    return static_cast<unsigned char*>(buffer);
}

}  // namespace video
