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

// The record kept for the overlay and for every row window.
struct WindowInfo {
    platform::WindowRef self;
    platform::ControlRef picture;       // the overlay's / node window's picture box
    platform::ControlRef optionsLabel;  // overlay: "收起选项"; node window: its caption label
    platform::NativeHandle handle = 0;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t H = 0;
    std::int32_t W = 0;
    std::int32_t T = 0;
    std::int32_t S = 0;
};

using RowWindowList = std::vector<WindowInfo>;

enum RowIndex : std::size_t { kFirstRow = 0, kSecondRow = 1, kThirdRow = 2 };

struct ProgramState {
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
