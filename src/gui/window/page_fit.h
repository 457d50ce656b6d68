#pragma once
// Passes over a finished window: pages that could be taller or wider than the window get a
// scroll area, the Tab key follows the layout (reading order) instead of creation order, and
// the window stays on its screen.

class QWidget;

namespace parvex {

// Every innermost page of every page control under `root` gets its content inside a scroll
// area, so the window may be as small as 640 x 480 whatever a page holds. The page itself stays
// the tab page (object names and page switching are unchanged). Pages without a layout and
// pages already wrapped are left alone.
void Fit_Pages_In_Scroll_Areas(QWidget* root);

// Chains the focusable controls under `root` in layout order: box layouts in their order, grid
// layouts row by row, a page control's tab bar before its pages, splitter panes left to right.
void Tab_Order_By_Layout(QWidget* root);

// Shrinks a top-level window to the available area of the screen it is on and moves it so that
// its frame lies inside that area.
void Keep_On_Screen(QWidget* window);

} // namespace parvex
