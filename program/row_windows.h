// Operations on the overlay and the row windows that several features use.
#pragma once

#include <array>
#include <cstddef>

#include "platform/platform.h"
#include "program/state.h"
#include "ui/layout.h"

namespace pallo {

// Makes the window translucent with the given alpha (255 = opaque).
inline void setTranslucency(platform::Platform& platform, platform::WindowRef window, int alpha) {
    platform.setLayeredAlpha(window, alpha);
}

// Hides every window of the second and third rows.
inline void hideDetailRows(Context& ctx) {
    for (const RowIndex row : {kSecondRow, kThirdRow})
        for (const WindowInfo& info : ctx.state.rows[row]) ctx.platform.setVisible(info.self, false);
}

// The record of the row window window, or nullptr when it is none.
inline const WindowInfo* findRowWindow(const ProgramState& st, platform::WindowRef window) {
    for (const RowWindowList& row : st.rows)
        for (const WindowInfo& info : row)
            if (info.self == window) return &info;
    return nullptr;
}

// One step of the grid beside the overlay on a monitor of dpi dots per inch:
// the spacing W (or H) and the one-pixel gap, each scaled on its own, so every
// gap of a row is the same (at 96 DPI the step is W + 1). Positions stay
// screen pixels: a row window stands at X + step * place.
inline int gridStep(int spacing, int dpi) {
    return platform::scaleToDpi(spacing, dpi) + platform::scaleToDpi(ui::layout::kGridGap, dpi);
}

// Calls fn(info) for the windows of every row that follow the overlay
// (ui::layout::kFollowingWindows), in the order window 1 of rows one, two,
// three, then window 2 of each, and so on.
template <typename Fn>
void forLeadingRowWindows(const std::array<RowWindowList, 3>& rows, Fn&& fn) {
    for (std::size_t i = 0; i < std::size_t{ui::layout::kFollowingWindows}; ++i)
        for (const RowWindowList& row : rows)
            if (i < row.size()) fn(row[i]);
}

}  // namespace pallo
