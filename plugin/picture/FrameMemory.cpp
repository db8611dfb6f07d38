#include "picture/FrameMemory.h"

#include <sys/mman.h>
#include <sys/sysinfo.h>

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

// Whether the system holds so much free memory that huge pages come without compaction: an
// eighth of it free besides the buffer. A page cache full of plates leaves far less.
bool plentyFree(size_t bytes) {
    struct sysinfo memory {};
    if (sysinfo(&memory) != 0) {
        return false;
    }
    const unsigned long long unit = memory.mem_unit;
    return memory.freeram * unit >= bytes + memory.totalram * unit / 8;
}

}  // namespace

unsigned char* allocateFrameBuffer(size_t bytes) {
    return allocateFrameBuffer(bytes, FrameMemoryPolicy{plentyFree(bytes), true});
}

unsigned char* allocateFrameBuffer(size_t bytes, const FrameMemoryPolicy& policy) {
    if (bytes < kHugePageBytes) {
        return static_cast<unsigned char*>(std::malloc(bytes));
    }
    void* buffer = nullptr;
    if (posix_memalign(&buffer, kHugePageBytes, bytes) != 0) {
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
