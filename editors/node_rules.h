// The node editor's rules as plain functions: how member lists and
// descriptions are shown and stored, the cells of a child row, the checks
// of "新增", "保存" and "删除" in their order, and how the form sets a main
// node or a child. No window and no file is touched here.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/pack.h"
#include "model/tables.h"

namespace pallo {

// The member list as the child list shows it: a member before the last is
// shown, followed by ",", only when it is not blank; the last one is always
// shown as stored. (empty, 7) gives "7"; (3, empty, 9) gives "3,9".
std::string joinMembersForList(const std::vector<std::string>& members);

// The member list as it is written: as for the list, but a blank last
// member is written as "0". (3, empty, 9) gives "3,9"; (empty, 0) gives
// "0"; (3, 5, empty) gives "3,5,0".
std::string joinMembersForFile(const std::vector<std::string>& members);

// picture|name|description|members, the members joined for the file.
std::string entryValue(const ChildNode& child);

// A child the loader kept blank because it could not read its line (not
// four parts, or an unknown Link): empty texts and one empty member.
bool isUnreadChild(const ChildNode& child);

// The description box's text as it is stored: every line break (CR LF, or
// a lone LF or CR) becomes "#", every blank a no-break space
// (storedSpaces), and a text of blanks alone is "0".
std::string storedDescription(std::string_view boxText);

// A stored description as a box shows it: every "#" becomes CR LF, every
// no-break space a space.
std::string shownDescription(std::string_view stored);

// A typed title as it is stored: its spaces kept as no-break spaces, like
// a name's; a title of blanks alone is empty. The menu shows a Title as
// written but the editors read it without blanks, so only no-break spaces
// survive both.
std::string storedTitle(std::string_view typed);

// A picture file or folder name cannot hold a blank: the loaders remove
// every blank, so the name would read back as another file. The refusal's
// text for the field called label, or nothing when the name has none.
std::optional<std::string> blankNameRefusal(std::string_view name, std::string_view label);

// The five cells of a child row (ID, 图片, 名称, 说明, 关联) at position
// (1-based) in the list, as loading a main node fills them (spaces shown
// as spaces, see shownSpaces): with Link "2"
// the picture cell says "引" + In and the name cell "ID:" + the members.
using RowCells = std::array<std::string, 5>;
RowCells loadedRowCells(const MainNode& node, const ChildNode& child, int position);

// The same row as refilling the list after a save or a delete gives it:
// with Link "2" only the picture cell, "转" + In + the first member.
RowCells refilledRowCells(const MainNode& node, const ChildNode& child, int position);

// What the form holds when a button is pressed.
struct NodeForm {
    int chosen = 0;           // the chosen main node: the main-node box's selection,
                              // while renaming the node the rename started on
    bool renaming = false;    // the main-node box is editable (RenameMode)
    std::string title;        // text of the selected main-node item
    std::string directory;    // text of the selected sub-directory item
    std::string mainPicture;  // the main picture box
    std::string hook;         // text of the selected hook item
    std::int64_t link = 0;    // item data of the selected way item
    bool show = false;
    bool rowChosen = false;   // a child row is selected
    std::string rowId;        // the "ID" cell of the selected row
    std::string id;           // the ID box
    std::string picture;      // the child picture box
    std::string name;         // the child name box
    std::string description;  // the description box, line breaks as CR LF
};

// Where the form's pictures are looked for.
struct PictureFolders {
    PicturePlaces places;
    std::function<bool(const std::string&)> exists;
};

// The controls a check can blame, by role; the editor maps them to its
// design names.
enum class FormField { MainNodeBox, DirectoryBox, MainPicture, ChildList, ChildPicture, ChildName };

// One message a check ends with.
struct Prompt {
    enum class Kind {
        Refusal,   // OK box; the operation stops
        Browse,    // Yes/No: on Yes the folder opens; the operation stops
        Continue,  // Yes/No: the operation goes on only on Yes
    };
    Kind kind = Kind::Refusal;
    std::string text;
    std::string caption;
    FormField focus = FormField::MainNodeBox;
    std::string folder;  // Browse: opened on Yes
};

// "新增": the first check that fails, or nothing when the child can be
// added. With the way "直接引用" the picture and name are not checked.
std::optional<Prompt> checkAdd(const NodeForm& form, const PictureFolders& folders);

// Whether "保存" saves the selected child as well as the main node.
bool savesChild(const NodeForm& form);

// Whether the question about a changed picture folder is still to be
// asked, or the user already said Yes to it.
enum class DirectoryQuestion { Ask, Accepted };

// "保存": the first check that fails, or nothing when the save can go on.
// node is the chosen main node as the table holds it. The question about a
// changed picture folder is a Continue prompt; check again with
// DirectoryQuestion::Accepted once the user said Yes.
std::optional<Prompt> checkSave(const NodeForm& form, const MainNode& node, const PictureFolders& folders,
                                DirectoryQuestion directory);

// "删除": the first check that fails before the question, or nothing.
std::optional<Prompt> checkDelete(const NodeForm& form);

// The question asked before a child is deleted; rowName and rowDescription
// are the selected row's "名称" and "说明" cells.
std::string deleteQuestion(const NodeForm& form, std::string_view rowName, std::string_view rowDescription);

// The text shown when no child has the number of the ID box.
std::string deleteFailure(const NodeForm& form);

// What the second "<<改名" click does with the typed title (as storedTitle gives it).
// chosen is the node the rename started on (0: none), listed the number of
// titles the main-node box lists.
struct RenamePlan {
    enum class Kind {
        Write,       // title becomes the Title of section number
        AskRemove,   // the last listed node's title emptied: ask, then write
        RefuseBlank, // an empty title would hide this node and all after it
        RefuseFull,  // no section is left for a new topic
    };
    Kind kind = Kind::Write;
    int number = 0;
};
RenamePlan planRename(int chosen, int listed, std::string_view title);

// Sets Name, Title, Pic, In, Link and Show of a main node from the form.
void setMainNodeFromForm(MainNode& node, const NodeForm& form);

// The child "新增" appends, numbered number.
ChildNode newChild(const NodeForm& form, std::int32_t number);

// "保存" sets the picture, name and description of the edited child; its
// members stay.
void applyChildFields(ChildNode& child, const NodeForm& form);

// Removes the first child numbered number; false when none is. The
// children after it move up a place, their numbers still the old ones.
bool removeChild(MainNode& node, std::int32_t number);

// Numbers every child by its position again and returns the positions
// (1-based) whose number changed: the keys a deletion rewrites.
std::vector<int> renumberChildren(MainNode& node);

// ASCII letters compared without regard to case; other bytes exactly.
bool equalIgnoringCase(std::string_view a, std::string_view b);

}  // namespace pallo
