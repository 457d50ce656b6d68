#pragma once
// Handing memory the program has let go back to the system, where the C library can: a large
// text freed in the middle of the heap would otherwise stay with the process while the next
// large list is built beside it.

namespace parvex {

void Return_Free_Memory();

} // namespace parvex
