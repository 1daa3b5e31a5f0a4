#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/row_place.h"
#include "program/row_windows.h"
#include "ui/layout.h"

namespace pallo::testing {
namespace {

int rowLength(RowIndex row) {
    return row == kFirstRow ? ui::layout::kMenuRowLength : ui::layout::kEntryRowLength;
}

// The layout without edges: the menu row from one step right of the overlay,
// rows two and three from under its left edge, one and two steps down.
NodePlace usualPlace(const RowFrame& f, RowIndex row, int position) {
    const int stepX = gridStep(f.W, f.dpi);
    if (row == kFirstRow) return {f.overlay.left + stepX * position, f.overlay.top};
    return {f.overlay.left + stepX * (position - 1), f.overlay.top + gridStep(f.H, f.dpi) * static_cast<int>(row)};
}

bool inside(const ScreenRect& m, NodePlace at, int side) {
    return at.left >= m.left && at.top >= m.top && at.left + side <= m.left + m.width &&
           at.top + side <= m.top + m.height;
}

bool apart(NodePlace a, NodePlace b, int side) {
    return a.left + side <= b.left || b.left + side <= a.left || a.top + side <= b.top || b.top + side <= a.top;
}

// Grid columns (whole steps from the overlay's left edge) inside the monitor,
// the overlay's own column only under it.
int freeColumns(const RowFrame& f, RowIndex row) {
    int n = 0;
    for (int k = -40; k <= 40; ++k) {
        const int left = f.overlay.left + gridStep(f.W, f.dpi) * k;
        n += (k != 0 || row != kFirstRow) && left >= f.monitor.left &&
             left + f.overlay.width <= f.monitor.left + f.monitor.width;
    }
    return n;
}

// Checks one frame: every window lies inside the overlay's monitor wherever
// the grid has columns enough for its row and the monitor room for three
// rows; no two windows and no window and the overlay
// cover each other; a row whose usual layout fits keeps it exactly. Returns
// how many rows run to the left of the overlay.
int checkFrame(const RowFrame& f) {
    const ScreenRect& m = f.monitor;
    const int side = f.overlay.width;
    const bool tallEnough = 2 * gridStep(f.H, f.dpi) + side <= m.height;
    std::vector<NodePlace> all{{f.overlay.left, f.overlay.top}};
    int mirrored = 0;
    for (const RowIndex row : {kFirstRow, kSecondRow, kThirdRow}) {
        const int n = rowLength(row);
        const bool wideEnough = freeColumns(f, row) >= n;
        bool usualFits = true;
        for (int p = 1; p <= n; ++p)
            usualFits = usualFits && inside(m, usualPlace(f, row, p), side) &&
                        (row == kFirstRow || inside(m, usualPlace(f, kThirdRow, p), side));
        for (int p = 1; p <= n; ++p) {
            SCOPED_TRACE("row " + std::to_string(row) + " window " + std::to_string(p));
            const NodePlace at = nodePlace(f, row, p);
            if (usualFits) {
                EXPECT_EQ(at, usualPlace(f, row, p));
            }
            if (wideEnough && tallEnough) {
                EXPECT_TRUE(inside(m, at, side));
            }
            for (const NodePlace other : all) EXPECT_TRUE(apart(at, other, side));
            all.push_back(at);
        }
        if (nodePlace(f, row, 2).left < f.overlay.left) ++mirrored;
    }
    return mirrored;
}

// Overlay places x monitors x scales x spacings.
TEST(RowPlace, RowsStayOnTheOverlaysMonitorAndKeepTheUsualLayoutWhereItFits) {
    const ScreenRect monitors[] = {{0, 0, 1280, 720}, {0, 0, 1920, 1080}, {-1366, -200, 1366, 768},
                                   {1920, 0, 2560, 1440}};
    // Where the overlay stands, as fractions of the room the monitor leaves it.
    const double places[] = {0.0, 0.1, 0.5, 0.85, 1.0};
    int mirroredRows = 0;
    for (const ScreenRect& m : monitors)
        for (const int dpi : {96, 120, 144, 192})
            for (const int spacing : {70, 100})
                for (const double fx : places)
                    for (const double fy : places) {
                        const int side = platform::scaleToDpi(ui::layout::kSquare, dpi);
                        const RowFrame f{.overlay = {m.left + static_cast<int>((m.width - side) * fx),
                                                     m.top + static_cast<int>((m.height - side) * fy), side, side},
                                         .monitor = m, .dpi = dpi, .W = spacing, .H = spacing};
                        SCOPED_TRACE("monitor " + std::to_string(m.width) + "x" + std::to_string(m.height) +
                                     " dpi " + std::to_string(dpi) + " W=H=" + std::to_string(spacing) + " at " +
                                     std::to_string(f.overlay.left) + "," + std::to_string(f.overlay.top));
                        mirroredRows += checkFrame(f);
                    }
    EXPECT_GT(mirroredRows, 0);
}

// The 150 % menu on a 1280-pixel monitor from X = 200: ten windows of 106
// pixels fit neither side, so nine stand to the right and the tenth to the
// left. Near the right edge the row is mirrored; near the bottom rows two and
// three stand above the overlay, row two nearest.
TEST(RowPlace, NamedCases) {
    const ScreenRect screen{0, 0, 1280, 720};
    const RowFrame menu{.overlay = {200, 100, 105, 105}, .monitor = screen, .dpi = 144, .W = 70, .H = 70};
    EXPECT_EQ(nodePlace(menu, kFirstRow, 9), (NodePlace{200 + 9 * 106, 100}));
    EXPECT_EQ(nodePlace(menu, kFirstRow, 10), (NodePlace{200 - 106, 100}));

    const RowFrame corner{.overlay = {1200, 640, 70, 70}, .monitor = screen, .dpi = 96, .W = 70, .H = 70};
    EXPECT_EQ(nodePlace(corner, kFirstRow, 1), (NodePlace{1129, 640}));
    EXPECT_EQ(nodePlace(corner, kFirstRow, 10), (NodePlace{490, 640}));
    EXPECT_EQ(nodePlace(corner, kSecondRow, 1), (NodePlace{1200, 569}));
    EXPECT_EQ(nodePlace(corner, kThirdRow, 14), (NodePlace{1200 - 13 * 71, 498}));

    // Without known edges the usual layout stands, wherever it runs.
    const RowFrame unbounded{.overlay = {5000, 5000, 70, 70}, .monitor = {}, .dpi = 96, .W = 70, .H = 70};
    EXPECT_EQ(nodePlace(unbounded, kThirdRow, 2), (NodePlace{5071, 5142}));
}

// The open panel rises by what it would run past the bottom, never above the
// monitor's top.
TEST(RowPlace, ThePanelRisesToEndOnTheMonitor) {
    const ScreenRect screen{0, -100, 1280, 820};
    EXPECT_EQ(panelLift({200, 400, 70, 70}, 210, screen), 0);
    EXPECT_EQ(panelLift({200, 510, 70, 70}, 210, screen), 0);  // ends exactly at the bottom
    EXPECT_EQ(panelLift({200, 650, 70, 70}, 210, screen), 140);
    EXPECT_EQ(panelLift({200, 650, 105, 105}, 315, screen), 245);
    EXPECT_EQ(panelLift({200, -50, 70, 70}, 900, screen), 50);  // a monitor too low for it
    EXPECT_EQ(panelLift({200, 650, 70, 70}, 210, {}), 0);       // no known edges
}

TEST(RowPlace, TheMonitorIsTheOneOverlappedMostElseTheNearest) {
    const std::vector<platform::Monitor> monitors{{0, 0, 1920, 1080, true, 96}, {1920, 0, 1280, 1024, false, 144}};
    const auto on = [&](ScreenRect r) { return monitorOf(r, monitors) - monitors.data(); };
    EXPECT_EQ(on({100, 100, 70, 70}), 0);
    EXPECT_EQ(on({1900, 100, 70, 70}), 1);  // 50 of 70 columns on the second
    EXPECT_EQ(on({1885, 100, 70, 70}), 0);
    EXPECT_EQ(on({4000, 500, 70, 70}), 1);  // on none: the nearest
    EXPECT_EQ(on({-500, -500, 70, 70}), 0);
    EXPECT_EQ(monitorOf({0, 0, 70, 70}, {}), nullptr);
}

}  // namespace
}  // namespace pallo::testing
