#include "editors/node_editor.h"

#include <optional>
#include <utility>

#include "editors/combo_choice.h"
#include "editors/links.h"
#include "editors/node_rules.h"
#include "editors/node_writers.h"
#include "editors/outside_change.h"
#include "model/loaders.h"
#include "model/picture_dirs.h"
#include "model/text.h"
#include "platform/files.h"
#include "program/editor_window.h"
#include "program/handlers.h"
#include "program/row_windows.h"
#include "ui/designs.h"
#include "ui/names.h"

namespace pallo {

namespace {

namespace names = ui::names::nodeEditor;
using platform::Answer;
using platform::ControlRef;
using platform::MessageButtons;
using platform::WindowRef;

// The main node numbered number (1..10), or none.
MainNode* mainNode(ProgramState& st, int number) {
    if (number < 1 || number > kMainNodeCount) return nullptr;
    return &st.nodeTable[static_cast<std::size_t>(number - 1)];
}

// The picture folder the form stands for: the chosen item, or on the prompt
// item ("子图片目录": the node's folder is not on disk) the node's own.
std::string shownDirectory(const Context& ctx, int chosen) {
    const platform::Platform& p = ctx.platform;
    const ControlRef dirs = kNodeEditor.control(ctx, names::directoryChooser);
    if (p.selection(dirs) > 0) return selectedText(p, dirs);
    if (chosen < 1 || chosen > kMainNodeCount) return {};
    return ctx.state.nodeTable[static_cast<std::size_t>(chosen - 1)].Name;
}

NodeForm readForm(const Context& ctx) {
    const platform::Platform& p = ctx.platform;
    const ControlRef box = kNodeEditor.control(ctx, names::nodeChooser);
    const ControlRef list = kNodeEditor.control(ctx, names::childList);
    NodeForm form;
    form.renaming = p.isEditable(box);
    // Typing a title leaves the box no selection: the rename knows its node.
    form.chosen = form.renaming ? ctx.state.nodeEditorChosen : p.selection(box);
    form.title = selectedText(p, box);
    form.directory = shownDirectory(ctx, form.chosen);
    form.mainPicture = p.text(kNodeEditor.control(ctx, names::mainPictureEdit));
    form.hook = selectedText(p, kNodeEditor.control(ctx, names::sectionChooser));
    const ControlRef way = kNodeEditor.control(ctx, names::linkChooser);
    form.link = itemDataAt(p, way, p.selection(way));
    form.show = p.isChecked(kNodeEditor.control(ctx, names::showBox));
    const int row = p.currentRow(list);
    form.rowChosen = row >= 0;
    form.rowId = form.rowChosen ? p.cell(list, row, 0) : std::string();
    form.id = p.text(kNodeEditor.control(ctx, names::idEdit));
    form.picture = p.text(kNodeEditor.control(ctx, names::pictureEdit));
    form.name = p.text(kNodeEditor.control(ctx, names::nameEdit));
    form.description = p.text(kNodeEditor.control(ctx, names::descriptionEdit));
    return form;
}

PictureFolders pictureFolders(const ProgramState& st) {
    return PictureFolders{.places = PicturePlaces(st.ImageRoot),
                          .exists = [](const std::string& path) { return files::exists(path); }};
}

const char* fieldControl(FormField field) {
    switch (field) {
        case FormField::MainNodeBox: return names::nodeChooser;
        case FormField::DirectoryBox: return names::directoryChooser;
        case FormField::MainPicture: return names::mainPictureEdit;
        case FormField::ChildList: return names::childList;
        case FormField::ChildPicture: return names::pictureEdit;
        case FormField::ChildName: return names::nameEdit;
    }
    return names::nodeChooser;
}

// Shows what a check ended with. Returns true only when a Continue
// question was answered Yes; otherwise the focus goes to the control at
// fault.
bool showPrompt(Context& ctx, const Prompt& prompt) {
    platform::Platform& p = ctx.platform;
    const ControlRef at = kNodeEditor.control(ctx, fieldControl(prompt.focus));
    // The focus is set before the box, so that it comes back there when
    // the box closes, and again afterwards.
    p.setFocus(at);
    const bool question = prompt.kind != Prompt::Kind::Refusal;
    const std::optional<Answer> answer =
        kNodeEditor.tell(ctx, prompt.text, prompt.caption, question ? MessageButtons::YesNo : MessageButtons::Ok);
    if (!answer) return false;
    if (prompt.kind == Prompt::Kind::Continue && *answer == Answer::Yes) return true;
    if (prompt.kind == Prompt::Kind::Browse && *answer == Answer::Yes) p.openFolder(prompt.folder);
    p.setFocus(at);
    return false;
}

const char* writtenControl(WrittenField field) {
    switch (field) {
        case WrittenField::Picture: return names::pictureEdit;
        case WrittenField::Name: return names::nameEdit;
        case WrittenField::Description: return names::descriptionEdit;
        case WrittenField::Members: return names::membersEdit;
        case WrittenField::Directory: return names::directoryChooser;
        case WrittenField::Title: return names::nodeChooser;
        case WrittenField::MainPicture: return names::mainPictureEdit;
        case WrittenField::Other: break;
    }
    return nullptr;
}

bool showWriteFailure(Context& ctx, const Refusal& refusal) {
    if (refusal.fileChanged) return takeOutsideChange(ctx, kNodeEditor.window(ctx), refusal.text);
    return kNodeEditor.showWriteFailure(ctx, refusal.text, writtenControl(refusal.field));
}

void addRowCells(platform::Platform& p, const ControlRef& list, const RowCells& cells) {
    const int row = p.addRow(list, cells[0]);
    for (int column = 1; column < static_cast<int>(cells.size()); ++column)
        p.setCell(list, row, column, cells[static_cast<std::size_t>(column)]);
}

// Selects the first item after the prompt item that matches, or the prompt
// item when none does: a box never shows what the node chosen before had.
template <typename Match>
void selectMatching(platform::Platform& p, const ControlRef& combo, Match match) {
    for (int i = 1; i < p.itemCount(combo); ++i) {
        if (match(i)) {
            p.setSelection(combo, i);
            return;
        }
    }
    p.setSelection(combo, 0);
}

// The row whose "ID" cell names child number; -1 when none does.
int rowOfChild(const platform::Platform& p, const ControlRef& list, std::int32_t number) {
    for (int row = 0; row < p.rowCount(list); ++row)
        if (toInt(p.cell(list, row, 0)) == number) return row;
    return -1;
}

void clearChildFields(Context& ctx) {
    for (const char* edit : {names::idEdit, names::pictureEdit, names::nameEdit, names::membersEdit,
                             names::descriptionEdit})
        ctx.platform.setText(kNodeEditor.control(ctx, edit), "");
}

void previewPicture(Context& ctx, const char* edit, PictureRef picture) {
    platform::Platform& p = ctx.platform;
    const ControlRef box = kNodeEditor.control(ctx, edit);
    const std::string name = removeBlanks(p.text(box));
    const auto blank = name.empty() ? std::nullopt
                                    : blankNameRefusal(p.text(box), std::string_view(edit) == names::mainPictureEdit
                                                                        ? "图片名" : "图片名称");
    if (name.empty() || blank) {
        if (kNodeEditor.tell(ctx, blank ? *blank : "请先填写图片名称。", "错误")) p.setFocus(box);
        return;
    }
    picture.file = name;
    const PicturePlaces places(ctx.state.ImageRoot);
    const std::string path = places.path(picture);
    if (!files::exists(path)) {
        p.setFocus(box);
        const std::optional<Answer> browse =
            kNodeEditor.tell(ctx, path + "\r\n图片不存在，是否浏览该路径？", "错误", MessageButtons::YesNo);
        if (!browse) return;
        if (*browse == Answer::Yes) p.openFolder(places.folder(picture.folder));
        p.setFocus(box);
        return;
    }
    const ControlRef preview = kNodeEditor.control(ctx, names::preview);
    p.setPicture(preview, platform::PictureSource::file(path));
    if (!p.isVisible(preview)) p.setVisible(preview, true);
}

}  // namespace

void fillDirectoryChooser(platform::Platform& platform, const ControlRef& combo, const std::string& imageRoot,
                          const std::string& firstItem) {
    if (!platform.exists(combo.window)) return;
    platform.clearItems(combo);
    platform.addItem(combo, firstItem, 0);
    platform.setSelection(combo, 0);
    std::int64_t data = 0;
    for (const std::string& name : listPictureDirectories(imageRoot)) platform.addItem(combo, name, ++data);
}

void openNodeEditor(Context& ctx) {
    platform::Platform& p = ctx.platform;
    ProgramState& st = ctx.state;
    if (p.exists(st.nodeEditor)) p.destroy(st.nodeEditor);
    st.nodeEditor = p.createWindow(ui::nodeEditorWindow(), st.overlay);
    st.nodeEditorChosen = 0;
    fillMainNodeBox(ctx);
    fillDirectoryChooser(p, kNodeEditor.control(ctx, names::directoryChooser), st.ImageRoot, "子图片目录");
    const WindowSettings& o = st.settings;
    const int dpi = p.dpi(st.overlay);
    p.move(st.nodeEditor, truncate(o.X + static_cast<double>(gridStep(o.W, dpi))),
           truncate(o.Y + static_cast<double>(gridStep(o.H, dpi))));
    p.setVisible(st.nodeEditor, true);
}

void fillMainNodeBox(Context& ctx) {
    if (!kNodeEditor.isOpen(ctx)) return;
    platform::Platform& p = ctx.platform;
    const ControlRef box = kNodeEditor.control(ctx, names::nodeChooser);
    const ConfigStore::Snapshot ini = ctx.state.store.snapshot(ctx.state.CfgPath);
    p.clearItems(box);
    p.addItem(box, "选择项目", 0);
    p.setSelection(box, 0);
    for (int i = 1; i <= kMainNodeCount; ++i) {
        const std::string title = cleanValue(ini, toText(i), "Title");
        if (title.empty()) break;
        p.addItem(box, shownSpaces(title), i);
    }
}

void resetNodeForm(Context& ctx) {
    if (!kNodeEditor.isOpen(ctx)) return;
    platform::Platform& p = ctx.platform;
    const ControlRef box = kNodeEditor.control(ctx, names::nodeChooser);
    p.setEditable(box, false);
    p.setSelection(box, 0);
    for (const char* combo : {names::directoryChooser, names::sectionChooser, names::linkChooser})
        p.setSelection(kNodeEditor.control(ctx, combo), 0);
    for (const char* edit : {names::mainPictureEdit, names::idEdit, names::pictureEdit, names::nameEdit,
                             names::membersEdit, names::descriptionEdit})
        p.setText(kNodeEditor.control(ctx, edit), "");
    p.setChecked(kNodeEditor.control(ctx, names::showBox), false);
    p.setVisible(kNodeEditor.control(ctx, names::preview), false);
    p.clearRows(kNodeEditor.control(ctx, names::childList));
}

void loadMainNodeForm(Context& ctx, int index) {
    if (!kNodeEditor.isOpen(ctx)) return;
    platform::Platform& p = ctx.platform;
    if (index < 1 || index > kMainNodeCount) resetNodeForm(ctx);
    const ControlRef list = kNodeEditor.control(ctx, names::childList);
    p.setTag(list, "");
    p.clearRows(list);
    for (std::size_t i = 0; i < ctx.state.nodeTable.size(); ++i) {
        const MainNode& node = ctx.state.nodeTable[i];
        if (node.number != index) continue;
        const ControlRef dirs = kNodeEditor.control(ctx, names::directoryChooser);
        selectMatching(p, dirs, [&](int item) { return equalIgnoringCase(p.itemText(dirs, item), node.Name); });
        p.setText(kNodeEditor.control(ctx, names::mainPictureEdit), node.Pic);
        const ControlRef hook = kNodeEditor.control(ctx, names::sectionChooser);
        selectMatching(p, hook, [&](int item) { return equalIgnoringCase(p.itemText(hook, item), node.In.text()); });
        const ControlRef way = kNodeEditor.control(ctx, names::linkChooser);
        selectMatching(p, way, [&](int item) { return toText(p.itemData(way, item)) == node.Link.text(); });
        p.setChecked(kNodeEditor.control(ctx, names::showBox), node.Show);
        p.setTag(list, toText(static_cast<std::int64_t>(i + 1)));
        for (std::size_t j = 0; j < node.children.size(); ++j)
            addRowCells(p, list, loadedRowCells(node, node.children[j], static_cast<int>(j + 1)));
        return;
    }
}

void fillChildList(Context& ctx, int index) {
    if (!kNodeEditor.isOpen(ctx)) return;
    platform::Platform& p = ctx.platform;
    const ControlRef list = kNodeEditor.control(ctx, names::childList);
    p.clearRows(list);
    const MainNode* node = mainNode(ctx.state, index);
    if (!node) return;
    for (std::size_t j = 0; j < node->children.size(); ++j)
        addRowCells(p, list, refilledRowCells(*node, node->children[j], static_cast<int>(j + 1)));
}

void showChildFields(Context& ctx, int nodePosition) {
    if (!kNodeEditor.isOpen(ctx)) return;
    platform::Platform& p = ctx.platform;
    const ControlRef list = kNodeEditor.control(ctx, names::childList);
    const int row = p.currentRow(list);
    const MainNode* node = mainNode(ctx.state, nodePosition);
    // The list is filled from the same node row by row; a row without its
    // child (the table changed under the list) shows nothing.
    if (!node || row < 0 || static_cast<std::size_t>(row) >= node->children.size()) return;
    const ChildNode& child = node->children[static_cast<std::size_t>(row)];
    p.setText(kNodeEditor.control(ctx, names::idEdit), toText(child.number));
    p.setText(kNodeEditor.control(ctx, names::pictureEdit), child.picture);
    p.setText(kNodeEditor.control(ctx, names::nameEdit), shownSpaces(child.name));
    p.setText(kNodeEditor.control(ctx, names::membersEdit), p.cell(list, row, 4));
    p.setText(kNodeEditor.control(ctx, names::descriptionEdit), shownDescription(child.description));
}

void refreshNodeEditorLists(Context& ctx) {
    if (!kNodeEditor.isOpen(ctx)) return;
    platform::Platform& p = ctx.platform;
    const ControlRef box = kNodeEditor.control(ctx, names::nodeChooser);
    const ControlRef list = kNodeEditor.control(ctx, names::childList);
    const KeptFields kept(p, kNodeEditor.window(ctx),
                          {names::mainPictureEdit, names::idEdit, names::pictureEdit, names::nameEdit,
                           names::membersEdit, names::descriptionEdit},
                          {names::directoryChooser, names::sectionChooser, names::linkChooser}, {names::showBox});
    const bool renaming = p.isEditable(box);
    const std::string typedTitle = p.text(box);
    const int chosen = renaming ? ctx.state.nodeEditorChosen : p.selection(box);
    const int row = p.currentRow(list);
    const std::int32_t child = row >= 0 ? toInt(p.cell(list, row, 0)) : 0;
    fillMainNodeBox(ctx);
    if (chosen < p.itemCount(box)) p.setSelection(box, chosen);
    if (renaming) p.setText(box, typedTitle);
    fillChildList(ctx, chosen);
    // The chosen child stays chosen (the list fills its fields, which the
    // kept ones then replace).
    if (child > 0 && rowOfChild(p, list, child) >= 0) p.setCurrentRow(list, rowOfChild(p, list, child));
    kept.restore(p);
}

// --- handlers ---------------------------------------------------------------------

void onMainNodeChosen(Context& ctx) {
    if (!kNodeEditor.isOpen(ctx)) return;
    platform::Platform& p = ctx.platform;
    const int s = p.selection(kNodeEditor.control(ctx, names::nodeChooser));
    if (s >= 1) {
        ctx.state.nodeEditorChosen = s;
        loadMainNodeForm(ctx, s);
        return;
    }
    // The prompt item: no node is chosen, so a rename adds a new topic
    // rather than renaming the one chosen before.
    ctx.state.nodeEditorChosen = 0;
    resetNodeForm(ctx);
    fillMainNodeBox(ctx);
}

void renameMainNode(Context& ctx) {
    if (!kNodeEditor.isOpen(ctx)) return;
    platform::Platform& p = ctx.platform;
    ProgramState& st = ctx.state;
    const ControlRef box = kNodeEditor.control(ctx, names::nodeChooser);
    // The node the rename started on; typing leaves the box no selection.
    const int started = st.nodeEditorChosen;
    int r = started;
    if (!p.isEditable(box)) {
        p.setEditable(box, true);
        fillMainNodeBox(ctx);
        p.setSelection(box, r);
        p.setFocus(box);
        return;
    }
    const std::string title = storedTitle(p.text(box));
    const int listed = p.itemCount(box) - 1;
    const RenamePlan plan = planRename(static_cast<int>(itemDataAt(p, box, r)), listed, title);
    // A plain write needs no answer; a refusal can only be answered OK.
    std::optional<Answer> answer = Answer::Yes;
    if (plan.kind == RenamePlan::Kind::RefuseFull) {
        answer = kNodeEditor.tell(ctx, "固定项目限制在10个以内。", "错误");
    } else if (plan.kind == RenamePlan::Kind::RefuseBlank) {
        answer = kNodeEditor.tell(ctx, "标题不能为空：清空标题会使该项目及其后的项目都不再显示。\r\n只有最后一个项目可以清空标题（即删除该项目）。",
             "提示");
    } else if (plan.kind == RenamePlan::Kind::AskRemove) {
        answer = kNodeEditor.tell(ctx, "清空标题后，项目[" + p.itemText(box, r) +
                                   "]不再列在编辑器中；它在菜单中仍然显示，直到在 Cfg.ini 中删去它的 Name 或 Pic。\r\n是否继续？",
                     "确认", MessageButtons::YesNo);
    }
    if (!answer) return;
    if (*answer == Answer::Yes) {
        const std::optional<Refusal> refusal = writeMainTitle(st.store, st.CfgPath, title, plan.number);
        if (!refusal) {
            // A new topic is the chosen one now, ready for its folder and
            // pictures; a removed one is chosen no longer.
            r = title.empty() ? 0 : plan.number;
            if (!kNodeEditor.tell(ctx, "改名成功，重启程序后显示新名称。", "提示")) return;
        } else if (!showWriteFailure(ctx, *refusal) || refusal->fileChanged) {
            // Read again, the typed title waits for a second press.
            return;
        }
    }
    p.setEditable(box, false);
    fillMainNodeBox(ctx);
    p.setSelection(box, r);
    st.nodeEditorChosen = r;
    if (r != started) {
        if (r > 0) loadMainNodeForm(ctx, r);
        else resetNodeForm(ctx);
    }
    p.setFocus(box);
}

void previewMainPicture(Context& ctx) {
    if (!kNodeEditor.isOpen(ctx)) return;
    previewPicture(ctx, names::mainPictureEdit, menuPicture({}));
}

void previewChildPicture(Context& ctx) {
    if (!kNodeEditor.isOpen(ctx)) return;
    const int chosen = ctx.platform.selection(kNodeEditor.control(ctx, names::nodeChooser));
    previewPicture(ctx, names::pictureEdit, PictureRef{shownDirectory(ctx, chosen), {}});
}

void addChildNode(Context& ctx) {
    if (!kNodeEditor.isOpen(ctx)) return;
    platform::Platform& p = ctx.platform;
    ProgramState& st = ctx.state;
    const NodeForm form = readForm(ctx);
    if (const auto prompt = checkAdd(form, pictureFolders(st))) {
        showPrompt(ctx, *prompt);
        return;
    }
    MainNode* node = mainNode(st, form.chosen);
    if (!node) return;
    if (form.link == 2) {
        p.setText(kNodeEditor.control(ctx, names::pictureEdit), "0");
        p.setText(kNodeEditor.control(ctx, names::nameEdit), "0");
    }
    const auto number = static_cast<std::int32_t>(node->children.size() + 1);
    const ChildNode child = newChild(form, number);
    node->children.push_back(child);
    if (const auto refusal = writeChildEntry(st.store, st.CfgPath, st.nodeTable, form.chosen, number)) {
        // The child is not in the file: keeping it would number the next
        // one after a key that was never written, and a reader stops at
        // that gap.
        node->children.pop_back();
        showWriteFailure(ctx, *refusal);
        return;
    }
    const ControlRef list = kNodeEditor.control(ctx, names::childList);
    addRowCells(p, list, RowCells{toText(number), child.picture, shownSpaces(child.name),
                                  shownSpaces(child.description), "0"});
    // The child list reports this selection too, so the new child's fields
    // show and a following "保存" edits it.
    p.setCurrentRow(list, p.rowCount(list) - 1);
    kNodeEditor.tell(ctx, "新增节点已保存，重启程序后生效。", shownSpaces(node->Title));
}

void saveNode(Context& ctx) {
    if (!kNodeEditor.isOpen(ctx)) return;
    ProgramState& st = ctx.state;
    const NodeForm form = readForm(ctx);
    if (form.chosen > kMainNodeCount) return;
    const MainNode none;
    MainNode* node = mainNode(st, form.chosen);
    const PictureFolders folders = pictureFolders(st);
    std::optional<Prompt> prompt = checkSave(form, node ? *node : none, folders, DirectoryQuestion::Ask);
    if (prompt && prompt->kind == Prompt::Kind::Continue) {
        if (!showPrompt(ctx, *prompt)) return;
        prompt = checkSave(form, node ? *node : none, folders, DirectoryQuestion::Accepted);
    }
    if (prompt) {
        showPrompt(ctx, *prompt);
        return;
    }
    if (!node) return;
    // The edit is made on copies, which become the tables only once the
    // file took it: a failed save leaves nothing a later write could carry.
    NodeTable next = st.nodeTable;
    MainNode& edited = next[static_cast<std::size_t>(form.chosen - 1)];
    setMainNodeFromForm(edited, form);
    std::int32_t position = 0;
    if (savesChild(form)) {
        const std::int32_t rowNumber = toInt(form.rowId);
        for (std::size_t k = 0; k < edited.children.size(); ++k) {
            if (edited.children[k].number != rowNumber) continue;
            applyChildFields(edited.children[k], form);
            position = static_cast<std::int32_t>(k + 1);
            break;
        }
    }
    // A changed hook or way changes what the children link.
    CatalogTable item = st.itemTable;
    CatalogTable hero = st.heroTable;
    const std::vector<CatalogRewrite> linked = backReferenceRewrites(st.nodeTable, next, item, hero);
    const std::optional<Refusal> refusal =
        savesChild(form) ? writeMainNodeAndChild(st.store, st.CfgPath, next, form.chosen, position, linked)
                         : writeMainNode(st.store, st.CfgPath, next, form.chosen, linked);
    if (refusal) {
        showWriteFailure(ctx, *refusal);
        return;
    }
    st.nodeTable = std::move(next);
    st.itemTable = std::move(item);
    st.heroTable = std::move(hero);
    if (!savesChild(form)) {
        kNodeEditor.tell(ctx, "主节点设置已保存，重启程序后生效。", shownSpaces(node->Title));
        return;
    }
    fillChildList(ctx, form.chosen);
    // The saved child stays the chosen one, its fields as saved: a
    // second "保存" edits it again.
    if (position > 0) ctx.platform.setCurrentRow(kNodeEditor.control(ctx, names::childList), position - 1);
    kNodeEditor.tell(ctx, "节点设置已保存，重启程序后生效。", shownSpaces(node->Title));
}

void deleteChildNode(Context& ctx) {
    if (!kNodeEditor.isOpen(ctx)) return;
    platform::Platform& p = ctx.platform;
    ProgramState& st = ctx.state;
    const NodeForm form = readForm(ctx);
    if (const auto prompt = checkDelete(form)) {
        showPrompt(ctx, *prompt);
        return;
    }
    // The question names the child the ID box names, which is the one
    // deleted, whichever row is selected.
    const ControlRef list = kNodeEditor.control(ctx, names::childList);
    const std::int32_t number = toInt(removeBlanks(form.id));
    const int row = rowOfChild(p, list, number);
    MainNode* node = mainNode(st, form.chosen);
    if (row < 0 || !node) {
        kNodeEditor.tell(ctx, deleteFailure(form), "错误");
        return;
    }
    const std::string question = deleteQuestion(form, p.cell(list, row, 2), p.cell(list, row, 3));
    if (kNodeEditor.tell(ctx, question, "确认", MessageButtons::YesNo) != Answer::Yes) return;

    // The file is changed first: if it is not, the tables stay as they
    // are, or the next add or delete would write over the children the
    // file still holds.
    NodeTable next = st.nodeTable;
    MainNode& edited = next[static_cast<std::size_t>(form.chosen - 1)];
    if (!removeChild(edited, number)) {
        kNodeEditor.tell(ctx, deleteFailure(form), "错误");
        return;
    }
    const std::vector<int> moved = renumberChildren(edited);
    // The entries the deleted child linked lose it; those of the children
    // that moved up follow them.
    CatalogTable item = st.itemTable;
    CatalogTable hero = st.heroTable;
    const std::vector<CatalogRewrite> linked = backReferenceRewrites(st.nodeTable, next, item, hero);
    if (const auto refusal = writeChildrenMovedUp(st.store, st.CfgPath, next, form.chosen, moved, linked)) {
        if (refusal->fileChanged) takeOutsideChange(ctx, kNodeEditor.window(ctx), refusal->text);
        else kNodeEditor.tell(ctx, refusal->text, "错误");
        return;
    }
    st.nodeTable = std::move(next);
    st.itemTable = std::move(item);
    st.heroTable = std::move(hero);
    // No child is chosen after a deletion, and the fields show none.
    fillChildList(ctx, form.chosen);
    clearChildFields(ctx);
    kNodeEditor.tell(ctx, "删除完成。", "提示");
}

void onChildRowChosen(Context& ctx) {
    if (!kNodeEditor.isOpen(ctx)) return;
    const ControlRef list = kNodeEditor.control(ctx, names::childList);
    if (ctx.platform.currentRow(list) < 0) return;
    showChildFields(ctx, toInt(ctx.platform.tag(list)));
}

void hidePreview(Context& ctx) {
    if (!kNodeEditor.isOpen(ctx)) return;
    const ControlRef preview = kNodeEditor.control(ctx, names::preview);
    if (ctx.platform.isVisible(preview)) ctx.platform.setVisible(preview, false);
}

void toggleCatalogEditor(Context& ctx) {
    platform::Platform& p = ctx.platform;
    ProgramState& st = ctx.state;
    if (kCatalogEditor.isOpen(ctx)) {
        kCatalogEditor.close(ctx);
        return;
    }
    st.catalogEditor = p.createWindow(ui::catalogEditorWindow(), st.overlay);
    dockCatalogEditor(ctx);
    p.setVisible(st.catalogEditor, true);
}

void dockCatalogEditor(Context& ctx) {
    platform::Platform& p = ctx.platform;
    const ProgramState& st = ctx.state;
    if (!p.exists(st.catalogEditor) || !p.exists(st.nodeEditor)) return;
    p.move(st.catalogEditor, p.left(st.nodeEditor), p.top(st.nodeEditor) + p.outerHeight(st.nodeEditor) + 1);
}

void registerEditorHandlers(HandlerRegistry& handlers) {
    using enum ui::EventKind;
    handlers.add({
        {names::window, PositionChanged, &pallo::dockCatalogEditor},
        {names::window, names::nodeChooser, ItemChosen, &pallo::onMainNodeChosen},
        {names::window, names::renameButton, Clicked, &pallo::renameMainNode},
        {names::window, names::previewMainButton, Clicked, &pallo::previewMainPicture},
        {names::window, names::previewButton, Clicked, &pallo::previewChildPicture},
        {names::window, names::saveButton, Clicked, &pallo::saveNode},
        {names::window, names::addButton, Clicked, &pallo::addChildNode},
        {names::window, names::deleteButton, Clicked, &pallo::deleteChildNode},
        {names::window, names::catalogButton, Clicked, &pallo::toggleCatalogEditor},
        {names::window, names::childList, Selection, &pallo::onChildRowChosen},
        {names::window, names::preview, RightUp, &pallo::hidePreview},
    });
}

}  // namespace pallo
