#pragma once
// The seven text lists a listing session works on, as the window's panes show them.

#include "platform/text_file.h"

namespace parvex {

struct ListingLists {
    TextList src;     // tlb_SRC "Original-Work": source lines, then the work lines
    TextList src_o;   // tlb_SRC_O: the new text
    TextList src_tmp; // tlb_SRC_tmp "Check-Work"
    TextList a_const; // tlb_A_Const "Alpha"
    TextList n_const; // tlb_N_Const "Numeric"
    TextList t_cref;  // tlb_T_Cref "Tokens-CRef"
    TextList w_area;  // tlb_WArea "Work-Area"

    void Clear_Lists() {
        for (TextList* l : {&src, &src_o, &src_tmp, &a_const, &n_const, &t_cref, &w_area})
            TextList().swap(*l);
    }
};

} // namespace parvex
