// The numbers of the screen layout, in one place: how many windows a row
// holds, how many entries a view shows, the size of the squares and of the
// options panel. The designs are built with them and the features that
// place, fill and page the rows count with them.
#pragma once

namespace pallo::ui::layout {

// The overlay's picture and every node window are squares of this side, in
// design pixels; the overlay is this bare square at start-up.
inline constexpr int kSquare = 70;

// The options panel, open, is this many squares tall: the picture and the
// controls under it (the overlay's design holds the open panel).
inline constexpr int kPanelSquares = 3;
inline constexpr int kPanelHeight = kSquare * kPanelSquares;

// Windows of the menu row (one per main node) and of each entry row.
inline constexpr int kMenuRowLength = 10;
inline constexpr int kEntryRowLength = 14;

// Entries one view shows: the second and the third row, full.
inline constexpr int kEntriesPerView = 2 * kEntryRowLength;

// The gap the grid beside the overlay adds to the spacing W (or H) between
// two windows, in design pixels.
inline constexpr int kGridGap = 1;

// How many windows of each row follow the overlay's moves, translucency and
// on-top state: the leading ones, more than a row holds.
inline constexpr int kFollowingWindows = 15;

}  // namespace pallo::ui::layout
