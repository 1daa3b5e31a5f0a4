#include "editors/association_editor.h"

#include <algorithm>

#include "editors/association_rules.h"
#include "editors/catalog_editor.h"
#include "editors/combo_choice.h"
#include "editors/entry_fields.h"
#include "editors/outside_change.h"
#include "model/text.h"
#include "program/editor_window.h"
#include "program/handlers.h"
#include "ui/designs.h"
#include "ui/names.h"

namespace pallo {

namespace {

namespace names = ui::names::association;
using platform::Answer;
using platform::ControlRef;
using platform::MessageButtons;
using platform::WindowRef;

}  // namespace

std::optional<Refusal> fillAssociationChildren(Context& ctx, std::int32_t nodeId) {
    if (!kAssociationWindow.isOpen(ctx)) return std::nullopt;
    platform::Platform& p = ctx.platform;
    const ControlRef list = kAssociationWindow.control(ctx, names::childList);
    p.clearRows(list);
    if (nodeId < 1 || nodeId > kMainNodeCount) return Refusal{.text = "参数错误：" + toText(nodeId)};
    const std::vector<ChildNode> children = ctx.state.nodeTable[static_cast<std::size_t>(nodeId - 1)].children;
    for (const ChildNode& child : children) {
        const int row = p.addRow(list, toText(child.number));
        p.setCell(list, row, 1, child.picture);
        p.setCell(list, row, 2, shownSpaces(child.name));
        p.setCell(list, row, 3, shownSpaces(child.description));
        p.setCell(list, row, 4, memberText(child.members));
    }
    p.setEnabled(kAssociationWindow.control(ctx, names::targetList), false);
    return std::nullopt;
}

void selectTargets(Context& ctx, const std::vector<std::int32_t>& ids) {
    if (!kAssociationWindow.isOpen(ctx)) return;
    platform::Platform& p = ctx.platform;
    const ControlRef list = kAssociationWindow.control(ctx, names::targetList);
    for (int row = 0; row < p.rowCount(list); ++row) {
        p.setRowSelected(list, row, false);
        const std::string id = p.cell(list, row, 0);
        for (const std::int32_t n : ids)
            if (id == toText(n)) p.setRowSelected(list, row, true);
    }
}

void openAssociationWindow(Context& ctx) {
    platform::Platform& p = ctx.platform;
    ProgramState& st = ctx.state;
    if (kAssociationWindow.isOpen(ctx)) {
        kAssociationWindow.close(ctx);
        return;
    }
    // No owner: the window stands on its own once both editors are gone. It
    // shows before they close: a closing window can take a while to leave
    // the screen, and the user should not wait for it.
    st.associationWindow = p.createWindow(ui::associationWindow(), WindowRef{});
    p.setVisible(st.associationWindow, true);
    kNodeEditor.close(ctx);
    kCatalogEditor.close(ctx);
}

void initAssociationWindow(Context& ctx, WindowRef window) {
    platform::Platform& p = ctx.platform;
    const ProgramState& st = ctx.state;
    // Where the node editor stood; without one the design's place stays.
    if (p.exists(st.nodeEditor)) p.move(window, p.left(st.nodeEditor), p.top(st.nodeEditor));
    const ControlRef nodes{window, names::nodeChooser};
    const ControlRef sections{window, names::sectionBox};
    p.clearItems(nodes);
    p.addItem(nodes, "选择项目", 0);
    p.clearItems(sections);
    p.addItem(sections, "选择项目", 0);
    p.addItem(sections, "Item", 1);
    p.addItem(sections, "Hero", 2);
    p.setSelection(nodes, 0);
    p.setSelection(sections, 0);
    // The ordering box starts on its prompt item too, "选择排序".
    p.setSelection(ControlRef{window, names::sortChooser}, 0);
    for (const MainNode& node : st.nodeTable) p.addItem(nodes, shownSpaces(node.Title), node.number);
    p.setTopMost(window, true);
}

void onNodeChosen(Context& ctx) {
    if (!kAssociationWindow.isOpen(ctx)) return;
    platform::Platform& p = ctx.platform;
    const ProgramState& st = ctx.state;
    const ControlRef nodes = kAssociationWindow.control(ctx, names::nodeChooser);
    const ControlRef sections = kAssociationWindow.control(ctx, names::sectionBox);
    const int i = p.selection(nodes);
    if (i <= 0 || i > kMainNodeCount) return;
    p.setEnabled(nodes, false);
    const auto nodeId = static_cast<std::int32_t>(p.itemData(nodes, i));
    p.setSelection(sections, 0);
    std::string section;
    if (nodeId >= 1 && nodeId <= kMainNodeCount) {
        const std::string& in = st.nodeTable[static_cast<std::size_t>(nodeId - 1)].In.text();
        for (int k = 0; k < p.itemCount(sections); ++k) {
            if (in != p.itemText(sections, k)) continue;
            p.setSelection(sections, k);
            section = in;
            break;
        }
    }
    // The box is not emptied first: every choice adds the node's title.
    for (const MainNode& node : st.nodeTable)
        if (node.number == nodeId) p.addItem(sections, shownSpaces(node.Title), nodeId);
    // A node or section out of range leaves its list empty, silently.
    (void)fillAssociationChildren(ctx, nodeId);
    const ControlRef targets = kAssociationWindow.control(ctx, names::targetList);
    if (!fillCatalogList(ctx, targets, section)) p.setEnabled(targets, false);
    p.setText(kAssociationWindow.control(ctx, names::idEdit), "");
    if (!kAssociationWindow.wait(ctx, 333)) return;
    p.setEnabled(nodes, true);
}

void refreshAssociationLists(Context& ctx) {
    if (!kAssociationWindow.isOpen(ctx)) return;
    platform::Platform& p = ctx.platform;
    const ControlRef nodes = kAssociationWindow.control(ctx, names::nodeChooser);
    const ControlRef children = kAssociationWindow.control(ctx, names::childList);
    const ControlRef edit = kAssociationWindow.control(ctx, names::idEdit);
    const int i = p.selection(nodes);
    if (i <= 0) return;
    const auto nodeId = static_cast<std::int32_t>(p.itemData(nodes, i));
    const std::string typed = p.text(edit);
    const int row = p.currentRow(children);
    const std::string child = row >= 0 ? p.cell(children, row, 0) : std::string();
    (void)fillAssociationChildren(ctx, nodeId);
    const std::string section = selectedText(p, kAssociationWindow.control(ctx, names::sectionBox));
    (void)fillCatalogList(ctx, kAssociationWindow.control(ctx, names::targetList), section);
    for (int r = 0; r < p.rowCount(children); ++r) {
        if (child.empty() || p.cell(children, r, 0) != child) continue;
        p.setCurrentRow(children, r);  // shows the child's links; the typed IDs then stand again
        break;
    }
    if (!kAssociationWindow.isOpen(ctx)) return;
    p.setText(edit, typed);
}

void onChildSelected(Context& ctx) {
    if (!kAssociationWindow.isOpen(ctx)) return;
    platform::Platform& p = ctx.platform;
    const ControlRef list = kAssociationWindow.control(ctx, names::childList);
    const int row = p.currentRow(list);
    const bool enabled = row >= 0;
    if (enabled) {
        p.setText(kAssociationWindow.control(ctx, names::idLabel), p.cell(list, row, 0) + " | " + p.cell(list, row, 2));
        const std::string members = p.cell(list, row, 4);
        p.setText(kAssociationWindow.control(ctx, names::idEdit), members);
        // Also with no IDs: a selection left over from the child chosen
        // before would otherwise pass for this child's.
        selectTargets(ctx, idsFromMemberText(members));
        if (!kAssociationWindow.isOpen(ctx)) return;
    }
    for (const char* name : {names::targetList, names::clearButton, names::saveButton})
        p.setEnabled(kAssociationWindow.control(ctx, name), enabled);
}

void onTargetSelectionChanged(Context& ctx) {
    if (!kAssociationWindow.isOpen(ctx)) return;
    platform::Platform& p = ctx.platform;
    const ControlRef list = kAssociationWindow.control(ctx, names::targetList);
    std::vector<std::string> ids;
    for (const int row : p.selectedRows(list)) ids.push_back(p.cell(list, row, 0));
    p.setText(kAssociationWindow.control(ctx, names::idEdit), idTextOfRows(ids));
}

void focusTargetList(Context& ctx) {
    if (kAssociationWindow.isOpen(ctx)) ctx.platform.setFocus(kAssociationWindow.control(ctx, names::targetList));
}

void onIdTextChanged(Context& ctx) {
    if (!kAssociationWindow.isOpen(ctx)) return;
    platform::Platform& p = ctx.platform;
    p.setEnabled(kAssociationWindow.control(ctx, names::sortChooser), orderingAllowed(p.text(kAssociationWindow.control(ctx, names::idEdit))));
}

void onSortChosen(Context& ctx) {
    if (!kAssociationWindow.isOpen(ctx)) return;
    platform::Platform& p = ctx.platform;
    const ControlRef chooser = kAssociationWindow.control(ctx, names::sortChooser);
    const ControlRef edit = kAssociationWindow.control(ctx, names::idEdit);
    p.setEnabled(chooser, false);
    p.setReadOnly(edit, true);
    const auto order = static_cast<IdOrder>(std::clamp(p.selection(chooser), 0, 3));
    if (order == IdOrder::Manual) {
        p.setReadOnly(edit, false);
        p.setFocus(edit);
    }
    if (const auto text = orderedIdText(p.text(edit), order)) p.setText(edit, *text);
    if (!kAssociationWindow.wait(ctx, 333)) return;
    p.setEnabled(chooser, true);
}

void clearAssociation(Context& ctx) {
    if (!kAssociationWindow.isOpen(ctx)) return;
    platform::Platform& p = ctx.platform;
    const std::string question = "是否清除所选择的节点关联？\r\n之后点击\"" +
                                 p.text(kAssociationWindow.control(ctx, names::saveButton)) + "\"按钮生效。";
    if (kAssociationWindow.tell(ctx, question, "确认", MessageButtons::YesNo) != Answer::Yes) return;
    const ControlRef list = kAssociationWindow.control(ctx, names::targetList);
    for (int row = 0; row < p.rowCount(list); ++row) p.setRowSelected(list, row, false);
    p.setText(kAssociationWindow.control(ctx, names::idEdit), "0");
}

void saveAssociation(Context& ctx) {
    if (!kAssociationWindow.isOpen(ctx)) return;
    platform::Platform& p = ctx.platform;
    ProgramState& st = ctx.state;
    const ControlRef nodes = kAssociationWindow.control(ctx, names::nodeChooser);
    const ControlRef children = kAssociationWindow.control(ctx, names::childList);
    const ControlRef button = kAssociationWindow.control(ctx, names::saveButton);
    const ControlRef edit = kAssociationWindow.control(ctx, names::idEdit);
    // Each selection check ends the save: going on would only add the
    // writer's own refusal of ID 0 to the same news.
    const int i = p.selection(nodes);
    if (i < 0) {
        p.setFocus(nodes);
        kAssociationWindow.tell(ctx, "没有选择父节点。", "提示");
        return;
    }
    const auto parentId = static_cast<std::int32_t>(p.itemData(nodes, i));
    const int row = p.currentRow(children);
    if (row < 0) {
        p.setFocus(children);
        kAssociationWindow.tell(ctx, "没有选择子节点。", "提示");
        return;
    }
    const std::int32_t childId = toInt(p.cell(children, row, 0));
    // Only IDs and commas read back as links; anything else is refused
    // before the text is touched, so the user can mend it.
    if (const auto refusal = checkIdText(p.text(edit))) {
        p.setFocus(edit);
        if (kAssociationWindow.tell(ctx, *refusal, "错误")) p.setFocus(edit);
        return;
    }
    p.setEnabled(button, false);
    const std::vector<std::string> ids = idsForSave(p.text(edit));
    const std::string text = associationMembers(ids);
    p.setText(edit, text);
    CatalogTable* linked = nullptr;
    if (parentId >= 1 && parentId <= kMainNodeCount)
        linked = st.catalog(st.nodeTable[static_cast<std::size_t>(parentId - 1)].In.kind());
    const std::optional<Refusal> refusal =
        writeAssociation(st.store, st.CfgPath, st.nodeTable, parentId, childId, ids, linked);
    if (!refusal) {
        const int current = p.currentRow(children);
        if (current >= 0) p.setCell(children, current, 4, text);
        if (!kAssociationWindow.tell(ctx, "关联设置保存成功。", "提示")) return;
    } else {
        if (refusal->fileChanged) {
            if (!takeOutsideChange(ctx, kAssociationWindow.window(ctx), refusal->text)) return;
        } else {
            if (refusal->field == WrittenField::Members) p.setFocus(edit);
            if (!kAssociationWindow.tell(ctx, refusal->text, "错误")) return;
        }
    }
    if (!kAssociationWindow.wait(ctx, 333)) return;
    p.setEnabled(button, true);
}

void registerAssociationHandlers(HandlerRegistry& handlers) {
    namespace c = ui::names::catalogEditor;
    using enum ui::EventKind;
    handlers.add({
        {c::window, c::associationButton, Clicked, &pallo::openAssociationWindow},
        {names::window, Created, &pallo::initAssociationWindow},
        {names::window, names::nodeChooser, ItemChosen, &pallo::onNodeChosen},
        {names::window, names::childList, CurrentItemChanged, &pallo::onChildSelected},
        {names::window, names::targetList, Selection, &pallo::onTargetSelectionChanged},
        // The wheel only takes the focus, so that the list scrolls under
        // the pointer even when another control had the keyboard.
        {names::window, names::targetList, Wheel, &pallo::focusTargetList},
        {names::window, names::idEdit, ContentChanged, &pallo::onIdTextChanged},
        {names::window, names::sortChooser, ItemChosen, &pallo::onSortChosen},
        {names::window, names::clearButton, Clicked, &pallo::clearAssociation},
        {names::window, names::saveButton, Clicked, &pallo::saveAssociation},
    });
}

}  // namespace pallo
