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

void Restart_With_Large_Heap_Pages(char** argv) {
#if defined(__GLIBC__) && defined(__linux__)
    if (std::getenv("GLIBC_TUNABLES") != nullptr)
        return; // the caller's settings (or the restart's own) stand
    if (::setenv("GLIBC_TUNABLES", "glibc.malloc.hugetlb=1:glibc.malloc.arena_max=1", 1) != 0)
        return;
    ::execv("/proc/self/exe", argv);
    ::unsetenv("GLIBC_TUNABLES"); // not restarted: it goes on with the usual heap
#else
    (void)argv;
#endif
}

} // namespace parvex
