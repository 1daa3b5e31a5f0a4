// The catalog editor's rules as plain functions: the checks of "保存",
// "新增" and "删除" in their order, the question before a deletion, and how
// the table changes. No window and no file is touched here.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editors/node_rules.h"
#include "model/pack.h"
#include "model/tables.h"

namespace pallo {

// What the catalog editor's form holds when a button is pressed.
struct CatalogForm {
    int section = 0;          // selection index of the section box
    std::string storedName;   // Name of the chosen section as Cfg.ini holds it
    std::string directory;    // text of the selected directory item
    std::string id;           // the ID box
    std::string picture;      // the picture box
    std::string name;         // the name box
    std::string description;  // the description box, line breaks as CR LF
    bool rowChosen = false;   // the entry list has a current row
    std::string rowName;         // its "名称" cell
    std::string rowDescription;  // its "说明" cell
};

// The controls a check can blame, by role.
enum class CatalogField { SectionBox, DirectoryBox, EntryList, Picture, Name };

// One message a check ends with.
struct CatalogPrompt {
    enum class Kind {
        Refusal,  // OK box; the operation stops
        Continue  // Yes/No: the operation goes on only on Yes
    };
    Kind kind = Kind::Refusal;
    std::string text;
    std::string caption;
    CatalogField focus = CatalogField::SectionBox;
};

// Where pictures are looked for.
struct CatalogFolders {
    PicturePlaces places;
    std::function<bool(const std::string&)> exists;
};

// "保存" (and the first checks of "新增"): no section; then, unless the
// user already said Yes to it, the question when the section's stored Name
// differs from the directory ignoring case; the picture, that neither it
// nor the folder holds a blank, that it exists, and the name. Nothing when the entry can be written.
std::optional<CatalogPrompt> checkCatalogEntry(const CatalogForm& form, const CatalogFolders& folders,
                                               DirectoryQuestion directory);

// "新增" refuses a section that already holds the most entries the file
// can hold, before anything else is asked.
std::optional<CatalogPrompt> checkCatalogRoom(const CatalogForm& form, std::size_t entries);

// "删除": the first check that fails before the question, or nothing.
std::optional<CatalogPrompt> checkCatalogDelete(const CatalogForm& form);

// The question asked before an entry is deleted.
std::string catalogDeleteQuestion(const CatalogForm& form);

// The picture, name and description an entry gets from the form: the
// picture without blanks, the name with its spaces kept (storedSpaces),
// the description as stored ("0" when empty).
void applyCatalogFields(CatalogEntry& entry, const CatalogForm& form);

// The entry "新增" appends: numbered number, members (empty, "0&0").
CatalogEntry newCatalogEntry(const CatalogForm& form, std::int32_t number);

// The 1-based position of the first entry numbered number; 0 when none is.
std::int32_t catalogPosition(const CatalogTable& table, std::int32_t number);

// Removes the first entry numbered number; false when none is.
bool removeCatalogEntry(CatalogTable& table, std::int32_t number);

// Numbers every entry by its position again and returns the positions
// whose number changed: the keys a deletion rewrites.
std::vector<int> renumberCatalog(CatalogTable& table);

}  // namespace pallo
