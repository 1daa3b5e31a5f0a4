// What the editors do when Cfg.ini was changed by another program since the
// program read it: nothing was written, the tables are read again from the
// file, and every open editor's lists show the new content while the
// fields the user typed or chose stay, so a second press saves them onto it.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "program/state.h"

namespace pallo {

// Reads the tables again and refreshes every open editor; then tells the
// user once, in a box owned by `owner` (caption "提示"). False when the
// owner closed while the box was up.
bool takeOutsideChange(Context& ctx, platform::WindowRef owner, const std::string& message);

// Each editor refreshes its own lists (defined beside the editor).
void refreshNodeEditorLists(Context& ctx);
void refreshCatalogEditorList(Context& ctx);
void refreshAssociationLists(Context& ctx);

// The texts of edit boxes and the choices of combo boxes and check boxes of
// one window, kept across a refill of its lists and put back after it.
class KeptFields {
public:
    KeptFields(platform::Platform& p, platform::WindowRef window, std::vector<const char*> edits,
               std::vector<const char*> combos, std::vector<const char*> checks = {});
    void restore(platform::Platform& p) const;

private:
    platform::WindowRef window_;
    std::vector<std::pair<const char*, std::string>> texts_;
    std::vector<std::pair<const char*, int>> choices_;
    std::vector<std::pair<const char*, bool>> checks_;
};

}  // namespace pallo
