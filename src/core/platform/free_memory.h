#pragma once
// Handing memory the program has let go back to the system, where the C library can: a large
// text freed in the middle of the heap would otherwise stay with the process while the next
// large list is built beside it.

#include <cstddef>

namespace parvex {

void Return_Free_Memory();

// From this size on a text's freed memory is worth handing back. Below it, handing back costs
// more than it saves: the next files of a batch would only fault the same pages in again.
inline constexpr std::size_t kLargeText = std::size_t{8} << 20;

// For a batch that handles one source after another: blocks of up to 2 * kLargeText come from
// the heap, and up to 4 * kLargeText of freed heap stays with the process, so that the next
// sources' buffers use pages already in place instead of faulting fresh ones in (each fault
// costs the system more than the copy into the page).
void Reuse_Freed_Memory();

// A batch touches hundreds of megabytes of fresh heap: with large pages for the heap the system
// is asked for pages a few thousand times instead of some 40,000. With `one_heap` all threads
// share one heap as well, so that pages one thread lets go serve the next; that suits threads
// that allocate little (new texts only: a fifth off a two-job run), not threads that build
// line lists (they would wait for each other at the one heap). The C library reads these
// settings (GLIBC_TUNABLES) only at start-up, so the program starts itself once more with them,
// as the same process; it does not when the caller set GLIBC_TUNABLES, or where the restart
// fails. Call it before anything is read or written: it returns only when the program goes on
// as it is.
void Restart_With_Large_Heap_Pages(char** argv, bool one_heap);

} // namespace parvex
