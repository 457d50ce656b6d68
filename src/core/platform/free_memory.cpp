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

} // namespace parvex
