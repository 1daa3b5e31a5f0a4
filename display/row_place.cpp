#include "display/row_place.h"

#include <algorithm>
#include <cstdint>

#include "model/text.h"
#include "program/row_windows.h"
#include "ui/layout.h"

namespace pallo {

namespace {

// One axis of a row: its windows stand at origin + step * slot for whole
// slots, each size pixels long; the usual side counts slots up from
// firstSlot, the other side down from -firstSlot. lo and hi are the
// monitor's edges on this axis.
struct Axis {
    double origin = 0;
    double step = 0;
    int size = 0;
    int firstSlot = 0;
    bool bounded = false;
    double lo = 0;
    double hi = 0;

    bool fitsAfter(int slot) const { return origin + step * slot + size <= hi; }
    bool fitsBefore(int slot) const { return origin + step * slot >= lo; }
};

// The slot of item (0-based) of count items laid out from the overlay
// outward: all on the usual side when they fit there, else all on the other
// side when they fit there, else as many on the usual side as fit and the
// rest on the other side.
int outwardSlot(const Axis& a, int item, int count) {
    const int last = a.firstSlot + count - 1;
    if (!a.bounded || a.step <= 0 || a.fitsAfter(last)) return a.firstSlot + item;
    if (a.fitsBefore(-last)) return -(a.firstSlot + item);
    int after = 0;
    while (after < count && a.fitsAfter(a.firstSlot + after)) ++after;
    if (item < after) return a.firstSlot + item;
    return -(std::max(a.firstSlot, 1) + item - after);
}

std::int64_t overlap(int aLo, int aLength, int bLo, int bLength) {
    const std::int64_t lo = std::max<std::int64_t>(aLo, bLo);
    const std::int64_t hi = std::min<std::int64_t>(std::int64_t{aLo} + aLength, std::int64_t{bLo} + bLength);
    return hi - lo;  // negative: the gap between them
}

}  // namespace

NodePlace nodePlace(const RowFrame& f, RowIndex row, int position) {
    const bool bounded = f.monitor.width > 0 && f.monitor.height > 0;
    const int size = platform::scaleToDpi(ui::layout::kSquare, f.dpi);
    const Axis across{.origin = static_cast<double>(f.overlay.left),
                      .step = static_cast<double>(gridStep(f.W, f.dpi)),
                      .size = size,
                      .firstSlot = row == kFirstRow ? 1 : 0,
                      .bounded = bounded,
                      .lo = static_cast<double>(f.monitor.left),
                      .hi = static_cast<double>(f.monitor.left) + f.monitor.width};
    const int length = row == kFirstRow ? ui::layout::kMenuRowLength : ui::layout::kEntryRowLength;
    const double left = across.origin + across.step * outwardSlot(across, position - 1, length);
    if (row == kFirstRow) return {truncate(left), f.overlay.top};

    const Axis down{.origin = static_cast<double>(f.overlay.top),
                    .step = static_cast<double>(gridStep(f.H, f.dpi)),
                    .size = size,
                    .firstSlot = 1,
                    .bounded = bounded,
                    .lo = static_cast<double>(f.monitor.top),
                    .hi = static_cast<double>(f.monitor.top) + f.monitor.height};
    const double top = down.origin + down.step * outwardSlot(down, static_cast<int>(row) - 1, 2);
    return {truncate(left), truncate(top)};
}

int panelLift(const ScreenRect& overlay, int height, const ScreenRect& monitor) {
    if (monitor.height <= 0) return 0;
    const std::int64_t over = std::int64_t{overlay.top} + height - (std::int64_t{monitor.top} + monitor.height);
    const std::int64_t room = std::int64_t{overlay.top} - monitor.top;
    return static_cast<int>(std::max<std::int64_t>(0, std::min(over, room)));
}

const platform::Monitor* monitorOf(const ScreenRect& r, const std::vector<platform::Monitor>& monitors) {
    const platform::Monitor* best = nullptr;
    std::int64_t bestScore = 0;
    for (const platform::Monitor& m : monitors) {
        const std::int64_t x = overlap(r.left, r.width, m.left, m.width);
        const std::int64_t y = overlap(r.top, r.height, m.top, m.height);
        // Overlapping: the area shared; apart: minus the distance's square.
        const std::int64_t score = x > 0 && y > 0 ? x * y
                                                  : -(std::min<std::int64_t>(x, 0) * std::min<std::int64_t>(x, 0) +
                                                      std::min<std::int64_t>(y, 0) * std::min<std::int64_t>(y, 0));
        if (!best || score > bestScore) {
            best = &m;
            bestScore = score;
        }
    }
    return best;
}

RowFrame rowFrame(const platform::Platform& p, const ProgramState& st) {
    RowFrame f;
    f.dpi = p.dpi(st.overlay);
    const int side = platform::scaleToDpi(ui::layout::kSquare, f.dpi);
    f.overlay = {st.settings.X, st.settings.Y, side, side};
    const std::vector<platform::Monitor> monitors = p.monitors();
    if (const platform::Monitor* m = monitorOf(f.overlay, monitors))
        f.monitor = {m->left, m->top, m->width, m->height};
    f.W = st.settings.W;
    f.H = st.settings.H;
    return f;
}

}  // namespace pallo
