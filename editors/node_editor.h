// The node editor: choosing, previewing, renaming, adding, saving and
// deleting main nodes and their children, and the catalog editor docked
// under it. The rules themselves are plain functions in node_rules.h; the
// writers are in node_writers.h.
#pragma once

#include <string>

#include "platform/platform.h"
#include "program/state.h"

namespace pallo {

class HandlerRegistry;

// Fills a picture-folder chooser with firstItem (data 0, selected) and then
// the picture sub-directories under imageRoot with data 1, 2, ... Does
// nothing when the combo box's window does not exist.
void fillDirectoryChooser(platform::Platform& platform, const platform::ControlRef& combo,
                          const std::string& imageRoot, const std::string& firstItem);

// Opens the node editor (closing an open one first), filled and placed
// beside the overlay.
void openNodeEditor(Context& ctx);

// The main-node box: "选择项目" (data 0, selected), then the Title of
// sections 1..10 as the file holds them, up to the first empty one.
void fillMainNodeBox(Context& ctx);

// Empties the form: the main-node box a drop-down list again at index 0,
// the other boxes at their first item, the edit boxes empty, the check box
// cleared, the preview hidden, no child rows.
void resetNodeForm(Context& ctx);

// Shows main node index (1..10) with its children.
void loadMainNodeForm(Context& ctx, int index);

// Refills the child list of main node index from the node table.
void fillChildList(Context& ctx, int index);

// Shows the selected row's child of the main node at table position
// nodePosition in the edit boxes, spaces kept.
void showChildFields(Context& ctx, int nodePosition);

// Event handlers, each bound by the event table.
void onMainNodeChosen(Context& ctx);
void renameMainNode(Context& ctx);
void previewMainPicture(Context& ctx);
void previewChildPicture(Context& ctx);
void addChildNode(Context& ctx);
void saveNode(Context& ctx);
void deleteChildNode(Context& ctx);
void onChildRowChosen(Context& ctx);
void hidePreview(Context& ctx);
void toggleCatalogEditor(Context& ctx);
void dockCatalogEditor(Context& ctx);

// Registers the editors' handlers by the names the event table binds.
void registerEditorHandlers(HandlerRegistry& handlers);

}  // namespace pallo
