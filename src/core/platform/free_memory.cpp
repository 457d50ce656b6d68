#include "platform/free_memory.h"

#include <cstdlib>
#ifdef __GLIBC__
#include <malloc.h>
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

} // namespace parvex
