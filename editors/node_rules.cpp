#include "editors/node_rules.h"

#include <algorithm>

#include "model/text.h"

namespace pallo {

namespace {

bool isBlankText(std::string_view text) { return removeBlanks(text).empty(); }

// Members before the last, each followed by "," when it is not blank.
std::string leadingMembers(const std::vector<std::string>& members) {
    std::string out;
    for (std::size_t i = 0; i + 1 < members.size(); ++i) {
        if (isBlankText(members[i])) continue;
        out += members[i];
        out += ',';
    }
    return out;
}

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (true) {
        const std::size_t hit = text.find(from, pos);
        if (hit == std::string_view::npos) break;
        out.append(text, pos, hit - pos);
        out.append(to);
        pos = hit + from.size();
    }
    out.append(text, pos);
    return out;
}

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

const ChildNode* findChild(const MainNode& node, std::int32_t number) {
    const auto it = std::find_if(node.children.begin(), node.children.end(),
                                 [number](const ChildNode& c) { return c.number == number; });
    return it == node.children.end() ? nullptr : &*it;
}

Prompt refusal(std::string text, const char* caption, FormField focus) {
    return Prompt{.kind = Prompt::Kind::Refusal, .text = std::move(text), .caption = caption, .focus = focus,
                  .folder = {}};
}

constexpr const char* kFinishRenameFirst = "请先点击\"<<改名\"按钮完成改名。";

// The picture, folder and name checks that adding and saving a child share.
std::optional<Prompt> checkChildFields(const NodeForm& form, const PictureFolders& folders) {
    const std::string picture = removeBlanks(form.picture);
    if (picture.empty()) return refusal("图片名称为空。", "错误", FormField::ChildPicture);
    if (auto text = blankNameRefusal(form.directory, "图片目录"))
        return refusal(std::move(*text), "错误", FormField::DirectoryBox);
    if (auto text = blankNameRefusal(form.picture, "图片名称"))
        return refusal(std::move(*text), "错误", FormField::ChildPicture);
    const std::string folder = folders.places.folder(form.directory);
    const std::string path = folders.places.path({form.directory, picture});
    if (!folders.exists(path))
        return Prompt{.kind = Prompt::Kind::Browse, .text = path + "\r\n图片不存在，是否浏览该路径？",
                      .caption = "错误", .focus = FormField::ChildPicture, .folder = folder};
    if (isBlankText(form.name)) return refusal("显示名称为空。", "错误", FormField::ChildName);
    return std::nullopt;
}

}  // namespace

std::optional<std::string> blankNameRefusal(std::string_view name, std::string_view label) {
    if (!hasBlank(name)) return std::nullopt;
    return std::string(label) + "不能含有空格：“" + std::string(name) +
           "”。文件名和文件夹名中的空格无法保存，请改用没有空格的名字。";
}

std::string storedTitle(std::string_view typed) { return isBlankText(typed) ? std::string() : storedSpaces(typed); }

std::string joinMembersForList(const std::vector<std::string>& members) {
    std::string out = leadingMembers(members);
    if (!members.empty()) out += members.back();
    return out;
}

std::string joinMembersForFile(const std::vector<std::string>& members) {
    std::string out = leadingMembers(members);
    out += members.empty() || isBlankText(members.back()) ? std::string("0") : members.back();
    return out;
}

std::string entryValue(const ChildNode& child) {
    std::string value = child.picture;
    value += '|';
    value += child.name;
    value += '|';
    value += child.description;
    value += '|';
    value += joinMembersForFile(child.members);
    return value;
}

bool isUnreadChild(const ChildNode& child) {
    return child.picture.empty() && child.name.empty() && child.description.empty() && child.members.size() == 1 &&
           child.members.front().empty();
}

std::string storedDescription(std::string_view boxText) {
    const std::string lines = replaceAll(replaceAll(replaceAll(boxText, "\r\n", "#"), "\r", "#"), "\n", "#");
    return isBlankText(lines) ? std::string("0") : storedSpaces(lines);
}

std::string shownDescription(std::string_view stored) { return replaceAll(shownSpaces(stored), "#", "\r\n"); }

RowCells loadedRowCells(const MainNode& node, const ChildNode& child, int position) {
    RowCells cells{toText(position), child.picture, shownSpaces(child.name), shownSpaces(child.description),
                   joinMembersForList(child.members)};
    if (node.Link.kind() == LinkMode::Direct) {
        cells[1] = "引" + node.In.text();
        cells[2] = "ID:" + cells[4];
    }
    return cells;
}

RowCells refilledRowCells(const MainNode& node, const ChildNode& child, int position) {
    if (node.Link.kind() == LinkMode::Direct) {
        const std::string first = child.members.empty() ? std::string() : child.members.front();
        return RowCells{toText(position), "转" + node.In.text() + first, {}, {}, {}};
    }
    return RowCells{toText(position), child.picture, shownSpaces(child.name), shownSpaces(child.description),
                    joinMembersForList(child.members)};
}

std::optional<Prompt> checkAdd(const NodeForm& form, const PictureFolders& folders) {
    if (form.chosen <= 0) return refusal("请先选择要新增项目的主节点。", "提示", FormField::MainNodeBox);
    if (form.renaming) return refusal(kFinishRenameFirst, "提示", FormField::MainNodeBox);
    // A direct reference takes no picture or name of its own.
    if (form.link == 2) return std::nullopt;
    return checkChildFields(form, folders);
}

bool savesChild(const NodeForm& form) { return form.rowChosen && form.link != 2; }

std::optional<Prompt> checkSave(const NodeForm& form, const MainNode& node, const PictureFolders& folders,
                                DirectoryQuestion directory) {
    if (form.chosen <= 0) return refusal("请先选择项目。", "提示", FormField::MainNodeBox);
    if (form.renaming)
        return refusal("请点击\"<<改名\"按钮完成改名后再保存。", "提示", FormField::MainNodeBox);
    // A node without a folder yet has no pictures to move.
    if (directory == DirectoryQuestion::Ask && !node.Name.empty() && !equalIgnoringCase(node.Name, form.directory)) {
        return Prompt{.kind = Prompt::Kind::Continue,
                      .text = "由于子节点图片目录被更改，需要自行移动原图片到新目录下。\r\n需自行将[" + node.Name +
                              "]目录中，有被使用的图片移动到[" + form.directory + "]目录中\r\n是否继续保存？",
                      .caption = "提示：" + node.Name + "->" + form.directory,
                      .focus = FormField::DirectoryBox, .folder = {}};
    }
    if (auto text = blankNameRefusal(form.directory, "图片目录"))
        return refusal(std::move(*text), "错误", FormField::DirectoryBox);
    const std::string mainPicture = removeBlanks(form.mainPicture);
    if (mainPicture.empty()) return refusal("图片名称不能为空。", "提示", FormField::MainPicture);
    if (auto text = blankNameRefusal(form.mainPicture, "图片名"))
        return refusal(std::move(*text), "错误", FormField::MainPicture);
    const std::string mainPath = folders.places.path(menuPicture(mainPicture));
    if (!folders.exists(mainPath))
        return refusal(mainPath + "\r\n该图片不存在，或文件名、路径带空格。", "提示", FormField::MainPicture);
    if (!savesChild(form)) return std::nullopt;

    if (auto prompt = checkChildFields(form, folders)) return prompt;
    // The ID box has to name a child, and so does the selected row: it is
    // the row's child that is edited.
    // The refusal keeps what the user typed: no row is chosen for them.
    if (!findChild(node, toInt(form.id)) || !findChild(node, toInt(form.rowId)))
        return refusal("ID非法。", "错误", FormField::ChildList);
    return std::nullopt;
}

std::optional<Prompt> checkDelete(const NodeForm& form) {
    if (form.chosen <= 0) return refusal("请先选择要删除项目的主节点。", "提示", FormField::MainNodeBox);
    if (form.renaming) return refusal(kFinishRenameFirst, "提示", FormField::MainNodeBox);
    const std::string id = removeBlanks(form.id);
    if (!form.rowChosen || id.empty()) return refusal("请先选择要删除的子节点。", "提示", FormField::ChildList);
    const std::int32_t n = toInt(id);
    if (n < 1 || n > kMaxEntries) return refusal("请选择正确的子节点进行操作。", "提示", FormField::ChildList);
    return std::nullopt;
}

std::string deleteQuestion(const NodeForm& form, std::string_view rowName, std::string_view rowDescription) {
    std::string text = "ID：" + form.id + "\r\nName：";
    text += rowName;
    text += "\r\nText：" + shownDescription(rowDescription) + "\r\n是否删除所选子节点？";
    return text;
}

std::string deleteFailure(const NodeForm& form) { return "ID:" + removeBlanks(form.id) + " 删除失败。"; }

RenamePlan planRename(int chosen, int listed, std::string_view title) {
    using Kind = RenamePlan::Kind;
    const bool blank = isBlankText(title);
    if (chosen >= 1) {
        if (!blank) return {Kind::Write, chosen};
        return {chosen == listed ? Kind::AskRemove : Kind::RefuseBlank, chosen};
    }
    // No node chosen: the title names a new topic, in the first section
    // the box does not list.
    if (listed >= kMainNodeCount) return {Kind::RefuseFull, 0};
    if (blank) return {Kind::RefuseBlank, 0};
    return {Kind::Write, listed + 1};
}

void setMainNodeFromForm(MainNode& node, const NodeForm& form) {
    node.Name = form.directory;
    node.Title = storedTitle(form.title);
    node.Pic = removeBlanks(form.mainPicture);
    const bool catalog = equalIgnoringCase(form.hook, "item") || equalIgnoringCase(form.hook, "hero");
    node.In = InValue(catalog ? form.hook : std::string());
    node.Link = LinkValue(toText(form.link));
    node.Show = form.show;
}

ChildNode newChild(const NodeForm& form, std::int32_t number) {
    const bool direct = form.link == 2;
    return ChildNode{.number = number,
                     .picture = direct ? std::string("0") : removeBlanks(form.picture),
                     .name = direct ? std::string("0") : storedSpaces(form.name),
                     .description = storedDescription(form.description),
                     .members = {std::string(), "0"}};
}

void applyChildFields(ChildNode& child, const NodeForm& form) {
    child.picture = removeBlanks(form.picture);
    child.name = storedSpaces(form.name);
    child.description = storedDescription(form.description);
}

bool removeChild(MainNode& node, std::int32_t number) {
    const auto it = std::find_if(node.children.begin(), node.children.end(),
                                 [number](const ChildNode& c) { return c.number == number; });
    if (it == node.children.end()) return false;
    node.children.erase(it);
    return true;
}

std::vector<int> renumberChildren(MainNode& node) {
    std::vector<int> changed;
    for (std::size_t i = 0; i < node.children.size(); ++i) {
        const auto position = static_cast<std::int32_t>(i + 1);
        if (node.children[i].number == position) continue;
        node.children[i].number = position;
        changed.push_back(position);
    }
    return changed;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

}  // namespace pallo
