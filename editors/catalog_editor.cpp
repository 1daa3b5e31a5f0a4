#include "editors/catalog_editor.h"

#include <optional>
#include <utility>

#include "editors/combo_choice.h"
#include "editors/catalog_rules.h"
#include "editors/catalog_writers.h"
#include "editors/entry_fields.h"
#include "editors/links.h"
#include "editors/outside_change.h"
#include "editors/node_rules.h"
#include "model/loaders.h"
#include "model/picture_dirs.h"
#include "model/text.h"
#include "platform/files.h"
#include "program/editor_window.h"
#include "program/handlers.h"
#include "ui/names.h"

namespace pallo {

namespace {

namespace names = ui::names::catalogEditor;
using platform::Answer;
using platform::ControlRef;
using platform::MessageButtons;
using platform::WindowRef;

const char* fieldControl(CatalogField field) {
    switch (field) {
        case CatalogField::SectionBox: return names::sectionChooser;
        case CatalogField::DirectoryBox: return names::directoryChooser;
        case CatalogField::EntryList: return names::entryList;
        case CatalogField::Picture: return names::pictureEdit;
        case CatalogField::Name: return names::nameEdit;
    }
    return names::sectionChooser;
}

// Shows what a check ended with; true only for a question answered Yes.
// Otherwise the focus goes to the control at fault.
bool showPrompt(Context& ctx, const CatalogPrompt& prompt) {
    const bool question = prompt.kind == CatalogPrompt::Kind::Continue;
    const std::optional<Answer> answer =
        kCatalogEditor.tell(ctx, prompt.text, prompt.caption, question ? MessageButtons::YesNo : MessageButtons::Ok);
    if (!answer) return false;
    if (question && *answer == Answer::Yes) return true;
    ctx.platform.setFocus(kCatalogEditor.control(ctx, fieldControl(prompt.focus)));
    return false;
}

// The picture folder the form stands for: the chosen item; on the prompt
// item "图片目录" (no folder of that name on disk) the section's stored
// Name, or the section's own name. The prompt's text is never a folder.
std::string shownDirectory(const platform::Platform& p, const ControlRef& directories, const std::string& section,
                           const std::string& storedName) {
    if (p.selection(directories) > 0) return selectedText(p, directories);
    return storedName.empty() ? section : storedName;
}

void clearEntryFields(Context& ctx) {
    for (const char* edit : {names::idEdit, names::pictureEdit, names::nameEdit, names::membersEdit,
                             names::descriptionEdit})
        ctx.platform.setText(kCatalogEditor.control(ctx, edit), "");
}

// The row whose "ID" cell names entry number; -1 when none does.
int rowOfEntry(const platform::Platform& p, const ControlRef& list, std::int32_t number) {
    for (int row = 0; row < p.rowCount(list); ++row)
        if (toInt(p.cell(list, row, 0)) == number) return row;
    return -1;
}

const char* writtenControl(WrittenField field) {
    switch (field) {
        case WrittenField::Picture: return names::pictureEdit;
        case WrittenField::Name: return names::nameEdit;
        case WrittenField::Description: return names::descriptionEdit;
        case WrittenField::Members: return names::membersEdit;
        case WrittenField::Directory: return names::directoryChooser;
        default: break;
    }
    return nullptr;
}

bool showWriteFailure(Context& ctx, const Refusal& refusal) {
    if (refusal.fileChanged) return takeOutsideChange(ctx, kCatalogEditor.window(ctx), refusal.text);
    return kCatalogEditor.showWriteFailure(ctx, refusal.text, writtenControl(refusal.field));
}

CatalogForm readForm(Context& ctx) {
    const platform::Platform& p = ctx.platform;
    const ProgramState& st = ctx.state;
    const ControlRef sections = kCatalogEditor.control(ctx, names::sectionChooser);
    const ControlRef list = kCatalogEditor.control(ctx, names::entryList);
    CatalogForm form;
    form.section = p.selection(sections);
    const std::string section = selectedText(p, sections);
    if (form.section > 0) form.storedName = cleanValue(ctx.state.store.snapshot(st.CfgPath), section, "Name");
    form.directory = shownDirectory(p, kCatalogEditor.control(ctx, names::directoryChooser), section, form.storedName);
    form.id = p.text(kCatalogEditor.control(ctx, names::idEdit));
    form.picture = p.text(kCatalogEditor.control(ctx, names::pictureEdit));
    form.name = p.text(kCatalogEditor.control(ctx, names::nameEdit));
    form.description = p.text(kCatalogEditor.control(ctx, names::descriptionEdit));
    form.rowChosen = p.currentRow(list) >= 0;
    // The question before a deletion names the entry the ID box names: the
    // one deleted, whichever row is selected.
    const int row = rowOfEntry(p, list, toInt(removeBlanks(form.id)));
    if (row >= 0) {
        form.rowName = p.cell(list, row, 2);
        form.rowDescription = p.cell(list, row, 3);
    }
    return form;
}

CatalogFolders folders(const ProgramState& st) {
    return CatalogFolders{.places = PicturePlaces(st.ImageRoot),
                          .exists = [](const std::string& path) { return files::exists(path); }};
}

// The checks "保存" and "新增" share; false when one stopped the action.
bool passEntryChecks(Context& ctx, const CatalogForm& form) {
    std::optional<CatalogPrompt> prompt = checkCatalogEntry(form, folders(ctx.state), DirectoryQuestion::Ask);
    if (prompt && prompt->kind == CatalogPrompt::Kind::Continue) {
        if (!showPrompt(ctx, *prompt)) return false;
        prompt = checkCatalogEntry(form, folders(ctx.state), DirectoryQuestion::Accepted);
    }
    if (!prompt) return true;
    showPrompt(ctx, *prompt);
    return false;
}

void addEntryRow(platform::Platform& p, const ControlRef& list, const CatalogEntry& entry) {
    const int row = p.addRow(list, toText(entry.number));
    p.setCell(list, row, 1, entry.picture);
    p.setCell(list, row, 2, shownSpaces(entry.name));
    p.setCell(list, row, 3, shownSpaces(entry.description));
    p.setCell(list, row, 4, memberText(entry.members));
}

}  // namespace

CatalogTable* catalogTable(ProgramState& state, std::string_view section) {
    return state.catalog(catalogKindOf(section));
}

std::optional<Refusal> fillCatalogList(Context& ctx, const ControlRef& list, const std::string& section) {
    platform::Platform& p = ctx.platform;
    if (!p.hasControl(list)) return std::nullopt;
    p.clearRows(list);
    const CatalogTable* table = catalogTable(ctx.state, section);
    if (!table) return Refusal{.text = "参数错误：" + section};
    for (const CatalogEntry& entry : *table) addEntryRow(p, list, entry);
    return std::nullopt;
}

std::optional<Refusal> showEntryFields(Context& ctx, int id, const std::string& section) {
    const CatalogTable* table = catalogTable(ctx.state, section);
    if (!table) return Refusal{.text = "参数错误：" + section};
    if (!kCatalogEditor.isOpen(ctx)) return std::nullopt;
    const std::int32_t position = catalogPosition(*table, id);
    if (position == 0) return std::nullopt;
    const CatalogEntry& entry = (*table)[static_cast<std::size_t>(position - 1)];
    platform::Platform& p = ctx.platform;
    p.setText(kCatalogEditor.control(ctx, names::idEdit), toText(id));
    p.setText(kCatalogEditor.control(ctx, names::pictureEdit), removeBlanks(entry.picture));
    p.setText(kCatalogEditor.control(ctx, names::nameEdit), shownSpaces(removeBlanks(entry.name)));
    p.setText(kCatalogEditor.control(ctx, names::membersEdit), backReferenceText(entry.members));
    p.setText(kCatalogEditor.control(ctx, names::descriptionEdit), catalogDescriptionForBox(entry.description));
    return std::nullopt;
}

void initCatalogEditor(Context& ctx, WindowRef window) {
    platform::Platform& p = ctx.platform;
    const ProgramState& st = ctx.state;
    if (p.exists(st.nodeEditor))
        p.move(window, p.left(st.nodeEditor), p.top(st.nodeEditor) + p.outerHeight(st.nodeEditor) + 1);
    // The section box starts on its prompt item, "选择项目": no choice yet.
    p.setSelection(ControlRef{window, names::sectionChooser}, 0);
    const ControlRef directories{window, names::directoryChooser};
    p.clearItems(directories);
    p.addItem(directories, "图片目录", 0);
    p.setSelection(directories, 0);
    std::int64_t data = 0;
    for (const std::string& name : listCatalogPictureDirectories(st.ImageRoot)) p.addItem(directories, name, ++data);
    p.setVisible(window, true);
}

void onSectionChosen(Context& ctx) {
    if (!kCatalogEditor.isOpen(ctx)) return;
    platform::Platform& p = ctx.platform;
    const ControlRef sections = kCatalogEditor.control(ctx, names::sectionChooser);
    const ControlRef group = kCatalogEditor.control(ctx, names::group);
    const ControlRef directories = kCatalogEditor.control(ctx, names::directoryChooser);
    const ControlRef list = kCatalogEditor.control(ctx, names::entryList);
    const int i = p.selection(sections);
    // What the fields showed belongs to the catalog chosen before.
    clearEntryFields(ctx);
    if (i <= 0) {
        p.setSelection(directories, 0);
        p.setText(group, "关联操作：");
        p.clearRows(list);
        return;
    }
    p.setEnabled(sections, false);
    p.setEnabled(group, false);
    const std::string section = p.itemText(sections, i);
    p.setText(group, "对" + section + "进行");
    // Folder names match as Windows matches them, in any case; without
    // one the prompt shows, never the folder of the catalog before.
    p.setSelection(directories, 0);
    for (int k = 1; k < p.itemCount(directories); ++k) {
        if (!equalIgnoringCase(p.itemText(directories, k), section)) continue;
        p.setSelection(directories, k);
        break;
    }
    // A section the tables do not hold leaves the list empty, silently.
    (void)fillCatalogList(ctx, list, section);
    if (!kCatalogEditor.wait(ctx, 333)) return;
    p.setEnabled(group, true);
    p.setEnabled(sections, true);
}

void refreshCatalogEditorList(Context& ctx) {
    if (!kCatalogEditor.isOpen(ctx)) return;
    platform::Platform& p = ctx.platform;
    const ControlRef list = kCatalogEditor.control(ctx, names::entryList);
    const KeptFields kept(p, kCatalogEditor.window(ctx),
                          {names::idEdit, names::pictureEdit, names::nameEdit, names::membersEdit,
                           names::descriptionEdit},
                          {names::directoryChooser});
    const int row = p.currentRow(list);
    const std::int32_t entry = row >= 0 ? toInt(p.cell(list, row, 0)) : 0;
    const std::string section = selectedText(p, kCatalogEditor.control(ctx, names::sectionChooser));
    if (fillCatalogList(ctx, list, section)) return;  // no catalog chosen
    if (entry > 0 && rowOfEntry(p, list, entry) >= 0) p.setCurrentRow(list, rowOfEntry(p, list, entry));
    kept.restore(p);
}

void onEntryChosen(Context& ctx) {
    if (!kCatalogEditor.isOpen(ctx)) return;
    const platform::Platform& p = ctx.platform;
    const ControlRef list = kCatalogEditor.control(ctx, names::entryList);
    const int row = p.currentRow(list);
    if (row < 0) return;
    const int id = toInt(p.cell(list, row, 0));
    const std::string section = selectedText(p, kCatalogEditor.control(ctx, names::sectionChooser));
    (void)showEntryFields(ctx, id, section);
}

void previewEntryPicture(Context& ctx) {
    if (!kCatalogEditor.isOpen(ctx)) return;
    platform::Platform& p = ctx.platform;
    const ControlRef box = kCatalogEditor.control(ctx, names::pictureEdit);
    const std::string name = removeBlanks(p.text(box));
    const CatalogForm form = readForm(ctx);
    const auto blank = name.empty() ? std::nullopt : blankNameRefusal(p.text(box), "图片名称");
    if (name.empty() || blank) {
        if (kCatalogEditor.tell(ctx, blank ? *blank : "请先填写图片名称。", "错误")) p.setFocus(box);
        return;
    }
    const PicturePlaces places(ctx.state.ImageRoot);
    const std::string folder = places.folder(form.directory);
    const std::string path = places.path({form.directory, name});
    if (!files::exists(path)) {
        const std::optional<Answer> browse =
            kCatalogEditor.tell(ctx, path + "\r\n图片不存在，是否浏览该路径？", "错误", MessageButtons::YesNo);
        if (!browse) return;
        if (*browse == Answer::Yes) p.openFolder(folder);
        p.setFocus(box);
        return;
    }
    const ControlRef preview = kCatalogEditor.control(ctx, names::preview);
    p.setPicture(preview, platform::PictureSource::file(path));
    if (!p.isVisible(preview)) p.setVisible(preview, true);
}

void hideEntryPreview(Context& ctx) {
    if (!kCatalogEditor.isOpen(ctx)) return;
    const ControlRef preview = kCatalogEditor.control(ctx, names::preview);
    if (ctx.platform.isVisible(preview)) ctx.platform.setVisible(preview, false);
}

void saveCatalogEntry(Context& ctx) {
    if (!kCatalogEditor.isOpen(ctx)) return;
    platform::Platform& p = ctx.platform;
    ProgramState& st = ctx.state;
    const CatalogForm form = readForm(ctx);
    if (!passEntryChecks(ctx, form)) return;
    const std::string section = selectedText(p, kCatalogEditor.control(ctx, names::sectionChooser));
    CatalogTable* table = catalogTable(st, section);
    const std::int32_t number = toInt(form.id);
    const std::int32_t position = table ? catalogPosition(*table, number) : 0;
    // Writing without an entry would put nothing under no key and still
    // say "保存成功。".
    if (position == 0) {
        showPrompt(ctx, CatalogPrompt{.kind = CatalogPrompt::Kind::Refusal, .text = "ID非法。", .caption = "错误",
                                      .focus = CatalogField::EntryList});
        return;
    }
    // Edited on a copy that becomes the table only once the file took it.
    CatalogTable next = *table;
    CatalogEntry& edited = next[static_cast<std::size_t>(position - 1)];
    applyCatalogFields(edited, form);
    if (const auto refusal =
            writeCatalogEntry(st.store, st.CfgPath, section, next, position, form.directory, SectionName::Write)) {
        showWriteFailure(ctx, *refusal);
        return;
    }
    *table = std::move(next);
    const CatalogEntry& entry = (*table)[static_cast<std::size_t>(position - 1)];
    // The row of the saved entry shows its new texts (the current row, when
    // the ID box came from it).
    const ControlRef list = kCatalogEditor.control(ctx, names::entryList);
    for (int row = 0; row < p.rowCount(list); ++row) {
        if (toInt(p.cell(list, row, 0)) != number) continue;
        p.setCell(list, row, 1, entry.picture);
        p.setCell(list, row, 2, shownSpaces(entry.name));
        p.setCell(list, row, 3, shownSpaces(entry.description));
        break;
    }
    kCatalogEditor.tell(ctx, "保存成功。", "提示");
}

void addCatalogEntry(Context& ctx) {
    if (!kCatalogEditor.isOpen(ctx)) return;
    platform::Platform& p = ctx.platform;
    ProgramState& st = ctx.state;
    const CatalogForm form = readForm(ctx);
    const std::string section = selectedText(p, kCatalogEditor.control(ctx, names::sectionChooser));
    CatalogTable* table = catalogTable(st, section);
    if (const auto prompt = checkCatalogRoom(form, table ? table->size() : 0)) {
        showPrompt(ctx, *prompt);
        return;
    }
    if (!passEntryChecks(ctx, form) || !table) return;
    const auto number = static_cast<std::int32_t>(table->size() + 1);
    table->push_back(newCatalogEntry(form, number));
    if (const auto refusal =
            writeCatalogEntry(st.store, st.CfgPath, section, *table, number, form.directory, SectionName::Write)) {
        // The entry is not in the file: kept, it would number the next one
        // after a key that was never written, and a reader stops there.
        table->pop_back();
        showWriteFailure(ctx, *refusal);
        return;
    }
    // The new entry is the chosen one, its fields shown as saved.
    const ControlRef list = kCatalogEditor.control(ctx, names::entryList);
    addEntryRow(p, list, table->back());
    p.setCurrentRow(list, p.rowCount(list) - 1);
    kCatalogEditor.tell(ctx, "保存成功。", "提示");
}

void deleteCatalogEntry(Context& ctx) {
    if (!kCatalogEditor.isOpen(ctx)) return;
    platform::Platform& p = ctx.platform;
    ProgramState& st = ctx.state;
    const CatalogForm form = readForm(ctx);
    if (const auto prompt = checkCatalogDelete(form)) {
        showPrompt(ctx, *prompt);
        return;
    }
    if (rowOfEntry(p, kCatalogEditor.control(ctx, names::entryList), toInt(removeBlanks(form.id))) < 0) {
        kCatalogEditor.tell(ctx, "ID:" + removeBlanks(form.id) + " 删除失败。", "错误");
        return;
    }
    if (kCatalogEditor.tell(ctx, catalogDeleteQuestion(form), "确认", MessageButtons::YesNo) != Answer::Yes) return;
    const std::string section = selectedText(p, kCatalogEditor.control(ctx, names::sectionChooser));
    CatalogTable* table = catalogTable(st, section);
    if (!table) return;
    // The file is changed first: if it is not, the tables stay as they
    // are, or the next add or delete would write over entries the file
    // still holds.
    CatalogTable next = *table;
    const std::int32_t deleted = toInt(removeBlanks(form.id));
    const std::int32_t deletedPosition = catalogPosition(next, deleted);
    if (!removeCatalogEntry(next, deleted)) {
        kCatalogEditor.tell(ctx, "ID:" + removeBlanks(form.id) + " 删除失败。", "错误");
        return;
    }
    const std::vector<int> moved = renumberCatalog(next);
    // Every child keeps linking the entries it linked: the deleted one
    // leaves its list and the IDs after it follow their entries up.
    NodeTable nodes = st.nodeTable;
    std::vector<ChildRewrite> relinked;
    for (const ChildAt& at : relinkAfterCatalogDelete(nodes, section, deletedPosition)) {
        relinked.push_back({at.node, at.position,
                            nodes[static_cast<std::size_t>(at.node - 1)].children[static_cast<std::size_t>(at.position - 1)]});
    }
    if (const auto refusal = writeCatalogEntriesMovedUp(st.store, st.CfgPath, section, next, moved, relinked)) {
        if (refusal->fileChanged) takeOutsideChange(ctx, kCatalogEditor.window(ctx), refusal->text);
        else kCatalogEditor.tell(ctx, refusal->text, "错误");
        return;
    }
    *table = std::move(next);
    st.nodeTable = std::move(nodes);
    // No entry is chosen after a deletion, and the fields show none.
    (void)fillCatalogList(ctx, kCatalogEditor.control(ctx, names::entryList), section);
    clearEntryFields(ctx);
    kCatalogEditor.tell(ctx, "删除完成。", "提示");
}

void registerCatalogEditorHandlers(HandlerRegistry& handlers) {
    using enum ui::EventKind;
    handlers.add({
        {names::window, Created, &pallo::initCatalogEditor},
        {names::window, names::sectionChooser, ItemChosen, &pallo::onSectionChosen},
        {names::window, names::entryList, CurrentItemChanged, &pallo::onEntryChosen},
        {names::window, names::previewButton, Clicked, &pallo::previewEntryPicture},
        // Dismissed as the node editor's is, each editor its own.
        {names::window, names::preview, RightUp, &pallo::hideEntryPreview},
        {names::window, names::saveButton, Clicked, &pallo::saveCatalogEntry},
        {names::window, names::addButton, Clicked, &pallo::addCatalogEntry},
        {names::window, names::deleteButton, Clicked, &pallo::deleteCatalogEntry},
    });
}

}  // namespace pallo
