// The program-wide state: created at program entry before any window, freed
// by one clean-up at exit. Handlers reach it through the App, never through
// a global.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/config_store.h"
#include "model/settings.h"
#include "model/tables.h"
#include "platform/platform.h"

namespace pallo {

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

// The record kept for every row window: its window and controls, and what
// it shows. Where it stands follows from the settings and its place in the
// row; the settings themselves live once, in ProgramState.
struct WindowInfo {
    platform::WindowRef self;
    platform::ControlRef picture;  // its picture box
    platform::ControlRef caption;  // its caption label
    RowWindowContent shows;
};

using RowWindowList = std::vector<WindowInfo>;

enum RowIndex : std::size_t { kFirstRow = 0, kSecondRow = 1, kThirdRow = 2 };

// While the hotkey has hidden everything: the windows it hid, to show again
// on the next press.
struct HotkeyHiding {
    bool active = false;
    std::vector<platform::WindowRef> windows;
};

// Which page the detail rows show: the main node whose children they show
// and its page (0 is the first), and while the third row holds the linked
// entries of one of its children, that child (0: none) and their page.
struct DetailPages {
    int mainIndex = 0;
    int page = 0;
    int linkedChild = 0;
    int linkedPage = 0;
};

// How far the work done ahead in idle time has come: first each window of
// the second and third rows is prepared to show (`windowsReady` of them so
// far), then the first page of each menu window's topic is decoded (menu
// window `menu`, 0-based, its child `child` next), then the page after the
// one shown (`nextOf`, its child `nextChild` next).
struct DecodeAhead {
    std::size_t windowsReady = 0;
    std::size_t menu = 0;
    int child = 1;
    DetailPages nextOf{0, -1, 0, 0};
    int nextChild = 0;
};

struct ProgramState {
    // The catalog of this kind; nullptr for none.
    CatalogTable* catalog(CatalogKind kind) { return catalogOf(kind, itemTable, heroTable); }
    const CatalogTable* catalog(CatalogKind kind) const { return catalogOf(kind, itemTable, heroTable); }

    // The overlay, the settings of [Config] it was started with (kept
    // current by the handlers that change them) and its three rows.
    platform::WindowRef overlay;
    WindowSettings settings;
    std::array<RowWindowList, 3> rows;

    // The content and where it comes from.
    NodeTable nodeTable;
    CatalogTable itemTable;
    CatalogTable heroTable;
    std::string CfgPath;
    std::string ImageRoot;
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

    HotkeyHiding hiddenByHotkey;
    DetailPages detailPages;
    DecodeAhead decodeAhead;

    // How many pixels the open options panel raised the overlay so that it
    // ends on its monitor; collapsing lowers it again (0: not raised).
    int panelLift = 0;
};

// What every handler works on.
struct Context {
    platform::Platform& platform;
    ProgramState& state;
};

}  // namespace pallo
