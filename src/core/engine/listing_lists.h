#pragma once
// The seven text lists a listing session works on, as the window's panes show them.

#include "engine/collected_list.h"
#include "platform/text_file.h"

namespace parvex {

struct ListingLists {
    TextList src;     // tlb_SRC "Original-Work": source lines, then the work lines
    TextList src_o;   // tlb_SRC_O: the new text
    TextList src_tmp; // tlb_SRC_tmp "Check-Work"
    // The collection lists hold one Collected_Line per item found; they read like text lists.
    CollectedList a_const; // tlb_A_Const "Alpha"
    CollectedList n_const; // tlb_N_Const "Numeric"
    CollectedList t_cref;  // tlb_T_Cref "Tokens-CRef"
    TextList w_area;       // tlb_WArea "Work-Area"
    // The first line of a literal of several lines that runs to the end of the text without
    // closing (0: none); the check names it.
    std::size_t open_literal_line = 0;

    void Clear_Lists() {
        open_literal_line = 0;
        for (TextList* l : {&src, &src_o, &src_tmp, &w_area})
            TextList().swap(*l);
        for (CollectedList* l : {&a_const, &n_const, &t_cref})
            l->clear();
    }
};

} // namespace parvex
