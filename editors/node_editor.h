// The node editor: the main nodes and their children.
#pragma once

#include <string>

#include "config/config_store.h"
#include "platform/platform.h"
#include "program/state.h"

namespace pallo {

// Fills the node editor's node chooser: "选择项目" (data 0, selected), then
// the Title of sections 1..10 with data i, up to the first empty one.
void fillNodeChooser(platform::Platform& platform, const platform::ControlRef& combo,
                     const ConfigStore::Snapshot& ini);

// Fills a picture-folder chooser with firstItem (data 0, selected) and then
// the picture sub-directories under imageRoot with data 1, 2, ... Does
// nothing when the combo box's window does not exist.
void fillDirectoryChooser(platform::Platform& platform, const platform::ControlRef& combo,
                          const std::string& imageRoot, const std::string& firstItem);

// Opens the node editor (closing an open one first), filled and placed
// beside the overlay.
void openNodeEditor(Context& ctx);

}  // namespace pallo
