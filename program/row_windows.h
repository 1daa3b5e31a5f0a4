// Operations on the overlay and the row windows that several features use.
#pragma once

#include <array>
#include <cstddef>

#include "platform/platform.h"
#include "program/state.h"

namespace pallo {

// Makes the window translucent with the given alpha (255 = opaque).
inline void setTranslucency(platform::Platform& platform, platform::NativeHandle handle, int alpha) {
    platform.setLayeredAlpha(handle, alpha);
}

// Calls fn(info) for the first 15 windows of every row, in the order
// window 1 of rows one, two, three, then window 2 of each, and so on.
template <typename Fn>
void forLeadingRowWindows(const std::array<RowWindowList, 3>& rows, Fn&& fn) {
    for (std::size_t i = 0; i < 15; ++i)
        for (const RowWindowList& row : rows)
            if (i < row.size()) fn(row[i]);
}

}  // namespace pallo
