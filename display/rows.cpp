#include "display/rows.h"

#include <utility>

#include "program/handlers.h"
#include "program/row_windows.h"
#include "display/detail.h"
#include "display/predecode.h"
#include "model/picture_dirs.h"
#include "model/text.h"
#include "ui/designs.h"
#include "ui/layout.h"
#include "ui/names.h"

namespace pallo {

// The menu row holds one window per main node.
static_assert(ui::layout::kMenuRowLength == kMainNodeCount);

namespace {

ui::Row designRow(RowIndex row) {
    switch (row) {
        case kFirstRow: return ui::Row::First;
        case kSecondRow: return ui::Row::Second;
        case kThirdRow: return ui::Row::Third;
    }
    return ui::Row::First;
}

// Destroys the row's old windows, then creates the row afresh: hidden,
// owned by the overlay, one record each.
void recreateRow(Context& ctx, RowIndex row) {
    platform::Platform& p = ctx.platform;
    ProgramState& st = ctx.state;
    RowWindowList& list = st.rows[row];
    for (const WindowInfo& info : list)
        if (p.exists(info.self)) p.destroy(info.self);

    const ui::Row r = designRow(row);
    std::vector<platform::WindowRef> created;
    for (int i = 1; i <= ui::rowLength(r); ++i) created.push_back(p.createWindow(ui::nodeWindow(r, i), st.overlay));

    list.clear();
    // New windows: what was done ahead for the old ones starts again.
    st.decodeAhead = DecodeAhead{};
    for (const platform::WindowRef w : created) {
        WindowInfo info;
        info.self = w;
        info.picture = platform::ControlRef{w, ui::names::node::picture};
        info.caption = platform::ControlRef{w, ui::names::node::caption};
        list.push_back(std::move(info));
    }
}

void buildDetailRow(Context& ctx, RowIndex row) {
    recreateRow(ctx, row);
    platform::Platform& p = ctx.platform;
    RowWindowList& list = ctx.state.rows[row];
    const RowFrame frame = rowFrame(p, ctx.state);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const WindowInfo& info = list[i];
        const NodePlace place = nodePlace(frame, row, static_cast<int>(i) + 1);
        p.setText(info.caption, "");
        p.move(info.self, place.left, place.top);
        setTranslucency(p, info.self, ctx.state.settings.S);
    }
}

}  // namespace

void buildFirstRow(Context& ctx) {
    recreateRow(ctx, kFirstRow);
    platform::Platform& p = ctx.platform;
    ProgramState& st = ctx.state;
    RowWindowList& list = st.rows[kFirstRow];

    // The menu is packed: a skipped section leaves no gap.
    const std::vector<MenuEntry> menu = readMenu(st.store.snapshot(st.CfgPath), PicturePlaces(st.ImageRoot));
    const RowFrame frame = rowFrame(p, st);
    for (std::size_t k = 0; k < menu.size() && k < list.size(); ++k) {
        const MenuEntry& entry = menu[k];
        WindowInfo& info = list[k];
        const NodePlace place = nodePlace(frame, kFirstRow, static_cast<int>(k) + 1);
        // A missing menu picture leaves the box blank; the caption still shows.
        p.setPicture(info.picture, isPictureFile(entry.picturePath)
                                       ? platform::PictureSource::file(entry.picturePath)
                                       : platform::PictureSource::none());
        info.shows.mainIndex = entry.section;
        p.setText(info.caption, shownSpaces(entry.title));
        p.move(info.self, place.left, place.top);
        setTranslucency(p, info.self, st.settings.S);
    }
}

void buildSecondRow(Context& ctx) { buildDetailRow(ctx, kSecondRow); }
void buildThirdRow(Context& ctx) { buildDetailRow(ctx, kThirdRow); }

void onFirstRowPress(Context& ctx, platform::WindowRef window) {
    const WindowInfo* info = findRowWindow(ctx.state, window);
    const int mainIndex = info ? info->shows.mainIndex : 0;
    // The menu press reports nothing: a node that cannot be shown shows nothing.
    turnChildren(ctx, mainIndex);
    // The page after this one is decoded while the user looks at it.
    startPredecode(ctx);
}

void onRowWheel(Context& ctx, const platform::Event& event) {
    onDetailWheel(ctx, event);
    startPredecode(ctx);
}

void onFirstRowRightPress(Context& ctx, platform::WindowRef) { hideDetailRows(ctx); }

void registerRowHandlers(HandlerRegistry& handlers) {
    namespace node = ui::names::node;
    using enum ui::EventKind;
    for (int p = 1; p <= ui::rowLength(ui::Row::First); ++p) {
        const std::string& window = ui::nodeWindow(ui::Row::First, p).name;
        handlers.add({
            {window, node::picture, LeftDown, &onFirstRowPress},
            {window, node::picture, RightDown, &onFirstRowRightPress},
        });
    }
    // Windows 1 and 6 of the second row answer the press, the others the
    // release. Third-row windows answer no click.
    for (int p = 1; p <= ui::rowLength(ui::Row::Second); ++p) {
        const ui::EventKind event = (p == 1 || p == 6) ? LeftDown : LeftUp;
        handlers.add({{ui::nodeWindow(ui::Row::Second, p).name, node::picture, event, &onSecondRowClick}});
    }
    // The wheel over either detail row turns its pages.
    for (const ui::Row row : {ui::Row::Second, ui::Row::Third})
        for (int p = 1; p <= ui::rowLength(row); ++p)
            handlers.add({{ui::nodeWindow(row, p).name, node::picture, Wheel, &onRowWheel}});
}

}  // namespace pallo
