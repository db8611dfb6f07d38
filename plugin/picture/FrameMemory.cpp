#include "picture/FrameMemory.h"

#include <sys/mman.h>

#include <cstdlib>

namespace video {
namespace {

constexpr size_t kHugePageBytes = size_t{2} << 20;
constexpr size_t kPageBytes = 4096;
// Linux 5.14's value, for headers that predate it. An older kernel refuses the advice, and the
// pages are then faulted in as they are first written.
#ifndef MADV_POPULATE_WRITE
constexpr int MADV_POPULATE_WRITE = 23;
#endif

}  // namespace

unsigned char* allocateFrameBuffer(size_t bytes) {
    return allocateFrameBuffer(bytes, FrameMemoryPolicy{});
}

unsigned char* allocateFrameBuffer(size_t bytes, const FrameMemoryPolicy& policy) {
    if (bytes < kHugePageBytes) {
        return static_cast<unsigned char*>(std::malloc(bytes));
    }
    void* buffer = nullptr;
    if (posix_memalign(&buffer, policy.hugePages ? kHugePageBytes : kPageBytes, bytes) != 0) {
        return nullptr;
    }
    // Only whole huge pages inside the buffer: the advice must not reach memory it does not own.
    // Advice the system cannot follow changes nothing.
    if (policy.hugePages) {
        madvise(buffer, bytes / kHugePageBytes * kHugePageBytes, MADV_HUGEPAGE);
    }
    // The pages are made ready in one call rather than one fault at a time while the frame is
    // written: in a virtual machine each fault can cost more than the writing itself.
    if (policy.populate) {
        madvise(buffer, bytes / kPageBytes * kPageBytes, MADV_POPULATE_WRITE);
    }
    return static_cast<unsigned char*>(buffer);
}

}  // namespace video
