// The detail view: the children of a main node in the second and third
// rows, and the catalog entries a child links to in the third row.
//
// showChildren keeps in the record of each window it fills (WindowInfo::shows)
// what the next click on it needs: the main node's index, the child's
// number, and the node's In and Link.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/pack.h"
#include "program/state.h"
#include "ui/layout.h"

namespace pallo {

inline constexpr int kRowCapacity = ui::layout::kEntryRowLength;     // windows of a detail row
inline constexpr int kChildCapacity = ui::layout::kEntriesPerView;  // children shown at most

// A description as a hover tip: every "#" becomes a line break.
std::string tipText(std::string_view description);

// What a press on a Link "1" child shows of its nMembers linked entries when
// its main node has nChildren children: the entries use the third row, which
// is free only while the children fit in the second.
enum class LinkedRoom {
    All,      // every entry (up to 14)
    First14,  // the first 14, with a notice
    TooMany,  // none: 28 or more, refused with a message
    NoRoom,   // none, silently: the third row holds children 15 to 28
};
LinkedRoom linkedRoom(int nChildren, int nMembers);

// The window child j (1 to 28) of a main node is shown in: second-row
// window j, or third-row window j - 14; nullptr when the row has none.
const WindowInfo* childWindow(const ProgramState& st, int j);
WindowInfo* childWindow(ProgramState& st, int j);

// The picture a child of node shows: its file in the node's folder (for a
// Link "2" child, the file of the catalog entry it stands for), or the
// placeholder when there is no such file.
platform::PictureSource childPicture(const ProgramState& st, const MainNode& node, const ChildNode& child);

// What a show has to tell the user, when anything: that it left a part
// out, or why it showed nothing. The caller decides whether to tell it.
struct ShowNote {
    enum class Kind {
        Partial,  // shown, all but the part the text names
        Refused,  // nothing shown, for the reason in the text
    };
    Kind kind = Kind::Refused;
    std::string text;
};

// Shows main node mainIndex (1 to 10): children 1-14 in the second row,
// 15-28 in the third (Partial beyond). A child of a Link "2" node stands
// for the catalog entry its first positive member names.
std::optional<ShowNote> showChildren(Context& ctx, int mainIndex);

// Shows the catalog entries (kind "Item" or "Hero") that child childNumber of
// main node mainIndex links to, in the third row (Partial beyond 14).
std::optional<ShowNote> showContent(Context& ctx, int mainIndex, int childNumber, const InValue& kind);

// A click on a second-row window: opens the linked entries of a Link "1" child.
void onSecondRowClick(Context& ctx, platform::WindowRef window);

}  // namespace pallo
