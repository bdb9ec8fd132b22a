#include "platform/system/heap_pages.h"

#include <malloc.h>
#include <sys/mman.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform::system {

namespace {

// The heap grows by at least this much each time it grows.
constexpr int HeapReserve = 64 << 20;

}  // namespace

void preferLargeHeapPages() noexcept {
    if (::mallopt(M_TOP_PAD, HeapReserve) == 0) return;
    // Blocks small enough to come from the heap (not mapped apart) make it
    // grow now, by the new reserve; given back, the reserve stays.
    void* blocks[4];
    for (void*& block : blocks) block = std::malloc(100 << 10);
    for (void* block : blocks) std::free(block);
    // The heap as the system maps it, marked for large pages.
    std::FILE* maps = std::fopen("/proc/self/maps", "re");
    if (!maps) return;
    char line[512];
    while (std::fgets(line, sizeof line, maps)) {
        if (!std::strstr(line, "[heap]")) continue;
        unsigned long from = 0, to = 0;
        if (std::sscanf(line, "%lx-%lx", &from, &to) == 2 && to > from)
            ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
        break;
    }
    std::fclose(maps);
}

}  // namespace platform::system
