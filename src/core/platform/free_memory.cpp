#include "platform/free_memory.h"

#include <cstdlib>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#if defined(__GLIBC__) && defined(__linux__)
#include <unistd.h>
#endif

namespace parvex {

void Return_Free_Memory() {
#ifdef __GLIBC__
    (void)::malloc_trim(0);
#endif
}

void Reuse_Freed_Memory() {
#ifdef __GLIBC__
    (void)::mallopt(M_MMAP_THRESHOLD, static_cast<int>(2 * kLargeText));
    (void)::mallopt(M_TRIM_THRESHOLD, static_cast<int>(4 * kLargeText));
#endif
}

void Restart_With_Large_Heap_Pages(char** argv, bool one_heap) {
#if defined(__GLIBC__) && defined(__linux__)
    if (std::getenv("GLIBC_TUNABLES") != nullptr)
        return; // the caller's settings (or the restart's own) stand
    const char* tunables =
        one_heap ? "glibc.malloc.hugetlb=1:glibc.malloc.arena_max=1" : "glibc.malloc.hugetlb=1";
    if (::setenv("GLIBC_TUNABLES", tunables, 1) != 0)
        return;
    ::execv("/proc/self/exe", argv);
    ::unsetenv("GLIBC_TUNABLES"); // not restarted: it goes on with the usual heap
#else
    (void)argv;
    (void)one_heap;
#endif
}

} // namespace parvex
