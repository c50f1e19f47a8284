// glibc lets a program define malloc and its relatives; libstdc++ and libc
// then call these. Each size is taken from malloc_usable_size, so a block
// counts the same when it is freed as when it was made.
#include "tests/bench/heap_peak.h"

#include <malloc.h>

#include <atomic>
#include <cerrno>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* block);
}

namespace {

std::atomic<size_t> g_inUse{0};
std::atomic<size_t> g_peak{0};

void* Counted(void* block) {
    if (!block) return block;
    size_t now = g_inUse.fetch_add(malloc_usable_size(block)) + malloc_usable_size(block);
    size_t peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
    return block;
}

void Uncount(void* block) {
    if (block) g_inUse.fetch_sub(malloc_usable_size(block));
}

}  // namespace

size_t HeapInUse() { return g_inUse.load(); }
void ResetHeapPeak() { g_peak.store(g_inUse.load()); }
size_t HeapPeak() { return g_peak.load(); }

extern "C" {

void* malloc(size_t size) { return Counted(__libc_malloc(size)); }
void* calloc(size_t count, size_t size) { return Counted(__libc_calloc(count, size)); }
void free(void* block) {
    Uncount(block);
    __libc_free(block);
}
void* realloc(void* block, size_t size) {
    Uncount(block);
    void* moved = __libc_realloc(block, size);
    // A failed realloc keeps the old block; a realloc to 0 frees it.
    if (!moved && block && size) return Counted(block);
    return Counted(moved);
}
void* memalign(size_t alignment, size_t size) { return Counted(__libc_memalign(alignment, size)); }
void* aligned_alloc(size_t alignment, size_t size) { return memalign(alignment, size); }
int posix_memalign(void** out, size_t alignment, size_t size) {
    void* block = memalign(alignment, size);
    if (!block) return ENOMEM;
    *out = block;
    return 0;
}
void* valloc(size_t size) { return memalign(4096, size); }

}  // extern "C"
