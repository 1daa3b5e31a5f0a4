// The three rows of node windows beside and under the overlay: the menu of
// main nodes to the right of it, and two rows under it for the children of
// the chosen node (filled by the detail view, display/detail.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/config_store.h"
#include "program/row_windows.h"
#include "program/state.h"

namespace pallo {

class HandlerRegistry;

// One main node taken into the menu row.
struct MenuEntry {
    int section = 0;          // 1 to 10
    std::string picturePath;  // MenuImageDir + Pic
    std::string name;
    std::string title;
};

// A main node is taken into the menu only when its Name, blanks removed, is
// longer than 1 byte and its Pic longer than 3 bytes (counted as the local
// double-byte code page counts them).
bool takenIntoMenu(std::string_view name, std::string_view pic);

// The main nodes of sections 1 to 10 taken into the menu, in section order;
// menuDir ends with a separator.
std::vector<MenuEntry> readMenu(const ConfigStore::Snapshot& ini, const std::string& menuDir);

// Where window `position` (1-based) of a row stands beside the overlay at
// settings.X, settings.Y with the spacing W and H, in screen pixels, on a
// monitor of dpi dots per inch (gridStep).
struct NodePlace {
    int left = 0;
    int top = 0;
};
NodePlace nodePlace(RowIndex row, int position, const WindowSettings& settings, int dpi);

bool buildFirstRow(Context& ctx, std::string& message, bool report);
bool buildSecondRow(Context& ctx, std::string& message, bool report);
bool buildThirdRow(Context& ctx, std::string& message, bool report);

// Left button pressed on a first-row window: shows the children of the main
// node it was built from.
void onFirstRowPress(Context& ctx, platform::WindowRef window);
// Right button pressed on a first-row window: hides the detail rows.
void onFirstRowRightPress(Context& ctx, platform::WindowRef window);

void registerRowHandlers(HandlerRegistry& handlers);

}  // namespace pallo
