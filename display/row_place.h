// Where the row windows stand around the overlay, kept inside the monitor
// the overlay stands on. The menu row runs to the right of the overlay and
// rows two and three under it; a row that would run past the monitor's right
// edge runs to the left instead (mirrored about the overlay), rows two and
// three that would run past its bottom stand above the overlay. Where the
// usual layout fits it is kept exactly.
#pragma once

#include <vector>

#include "platform/platform.h"
#include "program/state.h"

namespace pallo {

// A rectangle in screen pixels.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// What the places of the row windows depend on: the overlay's picture
// square and the monitor it stands on (width 0: no known edges), in screen
// pixels, the monitor's dpi, and the spacing W and H from the settings.
struct RowFrame {
    ScreenRect overlay;
    ScreenRect monitor;
    int dpi = platform::kDesignDpi;
    int W = 0;
    int H = 0;
};

struct NodePlace {
    int left = 0;
    int top = 0;
    friend bool operator==(const NodePlace&, const NodePlace&) = default;
};

// Where window `position` (1-based) of the row stands. Neighbours are one
// grid step apart (gridStep of W, or of H between rows); the menu row starts
// one step right of the overlay, rows two and three under its left edge.
// A row that fits on neither side fills the usual side as far as the monitor
// goes and continues on the other side of the overlay.
NodePlace nodePlace(const RowFrame& frame, RowIndex row, int position);

// How far the overlay at `overlay` must rise for a panel `height` pixels
// tall from its top to end on the monitor: none when it fits, never above
// the monitor's top.
int panelLift(const ScreenRect& overlay, int height, const ScreenRect& monitor);

// The monitor a rectangle stands on: the one it overlaps most, else the
// nearest; the primary (first) one on a tie. None when the list is empty.
const platform::Monitor* monitorOf(const ScreenRect& rect, const std::vector<platform::Monitor>& monitors);

// The frame of the overlay as the settings place it, on its monitor.
RowFrame rowFrame(const platform::Platform& platform, const ProgramState& state);

}  // namespace pallo
