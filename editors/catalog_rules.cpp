#include "editors/catalog_rules.h"

#include <algorithm>

#include "editors/node_rules.h"
#include "model/text.h"

namespace pallo {

namespace {

CatalogPrompt refusal(std::string text, const char* caption, CatalogField focus) {
    return CatalogPrompt{.kind = CatalogPrompt::Kind::Refusal, .text = std::move(text), .caption = caption,
                         .focus = focus};
}

constexpr const char* kChooseEntry = "请先选择要删除的子节点。";

}  // namespace

std::optional<CatalogPrompt> checkCatalogEntry(const CatalogForm& form, const CatalogFolders& folders,
                                               DirectoryQuestion directory) {
    if (form.section <= 0) return refusal("请先选择项目。", "提示", CatalogField::SectionBox);
    // A catalog without a folder yet has no pictures to move.
    if (directory == DirectoryQuestion::Ask && !form.storedName.empty() &&
        !equalIgnoringCase(form.storedName, form.directory))
        return CatalogPrompt{
            .kind = CatalogPrompt::Kind::Continue,
            .text = "由于子节点图片目录被更改，需要自行移动原图片到新目录下。\r\n需自行将[" + form.storedName +
                    "]目录中，有被使用的图片移动到[" + form.directory + "]目录中\r\n是否继续保存？",
            .caption = "提示：" + form.storedName + "->" + form.directory,
            .focus = CatalogField::DirectoryBox};
    const std::string picture = removeBlanks(form.picture);
    if (picture.empty()) return refusal("图片名称不能为空。", "提示", CatalogField::Picture);
    if (auto text = blankNameRefusal(form.directory, "图片目录"))
        return refusal(std::move(*text), "错误", CatalogField::DirectoryBox);
    if (auto text = blankNameRefusal(form.picture, "图片名称"))
        return refusal(std::move(*text), "错误", CatalogField::Picture);
    const std::string path = folders.places.path({form.directory, picture});
    if (!folders.exists(path))
        return refusal(path + "\r\n该图片不存在，或文件名、路径带空格。", "提示", CatalogField::Picture);
    if (removeBlanks(form.name).empty()) return refusal("显示名称为空。", "错误", CatalogField::Name);
    return std::nullopt;
}

std::optional<CatalogPrompt> checkCatalogRoom(const CatalogForm& form, std::size_t entries) {
    if (form.section <= 0) return refusal("请先选择项目。", "提示", CatalogField::SectionBox);
    // Key 100 would be written but never read back.
    if (entries >= static_cast<std::size_t>(kMaxEntries))
        return refusal("已达99项上限，无法新增。", "错误", CatalogField::EntryList);
    return std::nullopt;
}

std::optional<CatalogPrompt> checkCatalogDelete(const CatalogForm& form) {
    if (form.section <= 0) return refusal("请先选择要删除项目的主节点。", "提示", CatalogField::SectionBox);
    if (!form.rowChosen) return refusal(kChooseEntry, "提示", CatalogField::EntryList);
    const std::string id = removeBlanks(form.id);
    if (id.empty()) return refusal(kChooseEntry, "提示", CatalogField::EntryList);
    const std::int32_t n = toInt(id);
    if (n < 1 || n > kMaxEntries) return refusal("请选择正确的子节点进行操作。", "提示", CatalogField::EntryList);
    return std::nullopt;
}

std::string catalogDeleteQuestion(const CatalogForm& form) {
    return "ID：" + form.id + "\r\nName：" + form.rowName + "\r\nText：" + shownDescription(form.rowDescription) +
           "\r\n是否删除所选子节点？";
}

void applyCatalogFields(CatalogEntry& entry, const CatalogForm& form) {
    entry.picture = removeBlanks(form.picture);
    entry.name = storedSpaces(form.name);
    entry.description = storedDescription(form.description);
}

CatalogEntry newCatalogEntry(const CatalogForm& form, std::int32_t number) {
    CatalogEntry entry;
    entry.number = number;
    applyCatalogFields(entry, form);
    entry.members = {std::string(), "0&0"};
    return entry;
}

std::int32_t catalogPosition(const CatalogTable& table, std::int32_t number) {
    const auto it = std::find_if(table.begin(), table.end(), [&](const CatalogEntry& e) { return e.number == number; });
    return it == table.end() ? 0 : static_cast<std::int32_t>(it - table.begin()) + 1;
}

bool removeCatalogEntry(CatalogTable& table, std::int32_t number) {
    const std::int32_t position = catalogPosition(table, number);
    if (position == 0) return false;
    table.erase(table.begin() + (position - 1));
    return true;
}

std::vector<int> renumberCatalog(CatalogTable& table) {
    std::vector<int> moved;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto position = static_cast<std::int32_t>(i + 1);
        if (table[i].number == position) continue;
        table[i].number = position;
        moved.push_back(position);
    }
    return moved;
}

}  // namespace pallo
