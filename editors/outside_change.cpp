#include "editors/outside_change.h"

#include "model/loaders.h"

namespace pallo {

bool takeOutsideChange(Context& ctx, platform::WindowRef owner, const std::string& message) {
    ProgramState& st = ctx.state;
    st.store.adopt(st.CfgPath);
    (void)loadMainNodes(st.store, st.CfgPath, st.nodeTable);
    loadCatalog(st.store, st.CfgPath, "Item", st.itemTable);
    loadCatalog(st.store, st.CfgPath, "Hero", st.heroTable);
    refreshNodeEditorLists(ctx);
    refreshCatalogEditorList(ctx);
    refreshAssociationLists(ctx);
    ctx.platform.messageBox(owner, message, "提示", platform::MessageButtons::Ok);
    return ctx.platform.exists(owner);
}

KeptFields::KeptFields(platform::Platform& p, platform::WindowRef window, std::vector<const char*> edits,
                       std::vector<const char*> combos, std::vector<const char*> checks)
    : window_(window) {
    for (const char* name : edits) texts_.emplace_back(name, p.text(platform::ControlRef{window, name}));
    for (const char* name : combos) choices_.emplace_back(name, p.selection(platform::ControlRef{window, name}));
    for (const char* name : checks) checks_.emplace_back(name, p.isChecked(platform::ControlRef{window, name}));
}

void KeptFields::restore(platform::Platform& p) const {
    if (!p.exists(window_)) return;
    for (const auto& [name, text] : texts_) p.setText(platform::ControlRef{window_, name}, text);
    for (const auto& [name, choice] : choices_) p.setSelection(platform::ControlRef{window_, name}, choice);
    for (const auto& [name, checked] : checks_) p.setChecked(platform::ControlRef{window_, name}, checked);
}

}  // namespace pallo
