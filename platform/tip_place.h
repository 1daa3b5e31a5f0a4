// Where a hover tip stands: wholly on its monitor, clear of the windows it
// must not hide (the picture it belongs to and the rows around it), and as
// near that picture as it can. The usual place, centred under the picture,
// is kept whenever it is clear; otherwise the tip moves to the nearest clear
// place above, beside or beyond those windows. Only when no place is clear
// does it cover the least it can.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <tuple>
#include <vector>

namespace pallo::platform {

// A rectangle in screen pixels; right and bottom lie just outside it.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct PixelPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

namespace tip_place {

inline std::int64_t overlapArea(const PixelRect& a, const PixelRect& b) {
    const std::int64_t w = std::min(a.right, b.right) - std::max(a.left, b.left);
    const std::int64_t h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

// How far apart two rectangles stand, across and down added: 0 when they
// touch or overlap.
inline std::int64_t gapBetween(const PixelRect& a, const PixelRect& b) {
    const std::int64_t dx = std::max({0, a.left - b.right, b.left - a.right});
    const std::int64_t dy = std::max({0, a.top - b.bottom, b.top - a.bottom});
    return dx + dy;
}

// The start of a length inside [low, high); at low when it is longer.
inline int clampInto(int start, int length, int low, int high) { return std::max(low, std::min(start, high - length)); }

}  // namespace tip_place

// The top-left corner of a tip of width x height pixels for the picture at
// anchor. It stands inside monitor (at its left and top when larger), keeps
// gap pixels clear of the anchor and of every rectangle of keepClear, and of
// the places that do so it takes the one nearest the anchor; then one under
// the anchor before one above it and that before one beside it; then the
// one whose centre is nearest the anchor's, the usual place first.
inline PixelPoint placeTip(int width, int height, const PixelRect& anchor, std::span<const PixelRect> keepClear,
                           const PixelRect& monitor, int gap = 0) {
    using namespace tip_place;
    std::vector<PixelRect> clear{{anchor.left - gap, anchor.top - gap, anchor.right + gap, anchor.bottom + gap}};
    for (const PixelRect& r : keepClear) clear.push_back({r.left - gap, r.top - gap, r.right + gap, r.bottom + gap});

    // Every edge a tip could stand against: centred on the anchor, or
    // beside one of the rectangles to keep clear (the anchor's first).
    std::vector<int> xs{(anchor.left + anchor.right - width) / 2};
    std::vector<int> ys{clear.front().bottom, clear.front().top - height, (anchor.top + anchor.bottom - height) / 2};
    for (const PixelRect& r : clear) {
        xs.insert(xs.end(), {r.right, r.left - width});
        ys.insert(ys.end(), {r.bottom, r.top - height});
    }

    const auto centreDistance = [&](const PixelRect& tip) {
        const std::int64_t dx = std::int64_t{tip.left} + tip.right - anchor.left - anchor.right;
        const std::int64_t dy = std::int64_t{tip.top} + tip.bottom - anchor.top - anchor.bottom;
        return (dx < 0 ? -dx : dx) + (dy < 0 ? -dy : dy);
    };
    const auto side = [&](const PixelRect& tip) {
        return tip.top >= anchor.bottom ? 0 : tip.bottom <= anchor.top ? 1 : 2;
    };
    using Cost = std::tuple<std::int64_t, std::int64_t, int, std::int64_t>;
    PixelPoint best;
    std::optional<Cost> bestCost;
    for (const int y0 : ys) {
        for (const int x0 : xs) {
            const int x = clampInto(x0, width, monitor.left, monitor.right);
            const int y = clampInto(y0, height, monitor.top, monitor.bottom);
            const PixelRect tip{x, y, x + width, y + height};
            std::int64_t covered = 0;
            for (const PixelRect& r : clear) covered += overlapArea(tip, r);
            const Cost cost{covered, gapBetween(tip, anchor), side(tip), centreDistance(tip)};
            if (!bestCost || cost < *bestCost) {
                bestCost = cost;
                best = {x, y};
            }
        }
    }
    return best;
}

}  // namespace pallo::platform
