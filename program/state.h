// The program-wide state: created at program entry before any window, freed
// by one clean-up at exit. Handlers reach it through the App, never through
// a global.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "config/config_store.h"
#include "model/tables.h"
#include "platform/platform.h"

namespace pallo {

// The window settings of section Config: where the overlay stands (X, Y),
// the spacing of the rows beside it (W, H), always on top (T, 0 or 1) and
// its opacity (S, 255 = opaque). The overlay's record holds them while the
// program runs; a row window's record holds a copy made with it.
struct WindowSettings {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t W = 0;
    std::int32_t H = 0;
    std::int32_t T = 0;
    std::int32_t S = 0;
};

// What a row window shows, kept for the next press on it. A menu window:
// the main node (mainIndex) it was built from. A detail window showing a
// child: its main node, the child's number and the node's In and Link as
// they were when it was filled. Zero and empty otherwise.
struct RowWindowContent {
    int mainIndex = 0;
    int childNumber = 0;
    InValue In;
    LinkMode Link = LinkMode::Unknown;
};

// The record kept for the overlay and for every row window: its window
// settings, its window and controls, and what it shows.
struct WindowInfo : WindowSettings {
    platform::WindowRef self;
    platform::ControlRef picture;       // the overlay's / node window's picture box
    platform::ControlRef caption;  // overlay: "收起选项"; node window: its caption label
    RowWindowContent shows;             // row windows only

    WindowSettings& settings() { return *this; }
    const WindowSettings& settings() const { return *this; }
};

using RowWindowList = std::vector<WindowInfo>;

enum RowIndex : std::size_t { kFirstRow = 0, kSecondRow = 1, kThirdRow = 2 };

struct ProgramState {
    // The catalog of this kind; nullptr for none.
    CatalogTable* catalog(CatalogKind kind) { return catalogOf(kind, itemTable, heroTable); }
    const CatalogTable* catalog(CatalogKind kind) const { return catalogOf(kind, itemTable, heroTable); }

    platform::WindowRef overlay;  // the overlay window
    WindowInfo OverlayInfo;
    std::array<RowWindowList, 3> rows;
    NodeTable nodeTable;
    CatalogTable itemTable;
    CatalogTable heroTable;
    std::string CfgPath;
    std::string ImageRoot;
    std::string MenuImageDir;
    ConfigStore store;
    // The windows opened on demand. Ids are never reused, so a reference
    // kept after its window was destroyed is simply one that does not exist.
    platform::WindowRef nodeEditor;         // NodeEditorWindow
    // The main node the node editor last chose (0: none), which a rename
    // works on: typing a title leaves its box no selection.
    int nodeEditorChosen = 0;
    platform::WindowRef catalogEditor;      // CatalogEditorWindow
    platform::WindowRef associationWindow;  // AssociationWindow
    platform::WindowRef donationWindow;     // DonationWindow
    // While the hotkey has hidden everything: the windows it hid, to show
    // again on the next press.
    bool hiddenByHotkey = false;
    std::vector<platform::WindowRef> windowsHiddenByHotkey;
};

// What every handler works on.
struct Context {
    platform::Platform& platform;
    ProgramState& state;
};

}  // namespace pallo
