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
inline constexpr int kChildCapacity = ui::layout::kEntriesPerView;  // children one page shows

// A description as a hover tip: every "#" becomes a line break.
std::string tipText(std::string_view description);

// Pages: a view shows perPage of count things; page 0 is the first. There
// is always one page, an empty one for nothing.
int pageCount(int count, int perPage);
// The sign a page carries while there are more than one: "2/3"; empty for one.
std::string pageSign(int page, int pages);

// The window child j of a main node is shown in: on its page, the place
// p = (j - 1) % 28 + 1 is second-row window p or third-row window p - 14;
// nullptr when the row has none.
const WindowInfo* childWindow(const ProgramState& st, int j);
WindowInfo* childWindow(ProgramState& st, int j);

// The picture a child of node shows: its file in the node's folder (for a
// Link "2" child, the file of the catalog entry it stands for), or the
// placeholder when there is no such file.
platform::PictureSource childPicture(const ProgramState& st, const MainNode& node, const ChildNode& child);

// Why a show showed nothing, when it did not. The caller decides whether
// to tell it.
struct ShowNote {
    enum class Kind {
        Refused,  // nothing shown, for the reason in the text
    };
    Kind kind = Kind::Refused;
    std::string text;
};

// Shows page `page` of main node mainIndex (1 to 10): 28 children, the
// first 14 in the second row, the rest in the third; page 0 is children
// 1-28, and a page past the last is the first again. A child of a Link "2"
// node stands for the catalog entry its first positive member names. With
// more than one page the last window shown carries the page sign.
std::optional<ShowNote> showChildren(Context& ctx, int mainIndex, int page = 0);

// Shows page `page` of the catalog entries (kind "Item" or "Hero") that
// child childNumber of main node mainIndex links to: 14 at a time in the
// third row, where children of the node give way until its next press.
std::optional<ShowNote> showContent(Context& ctx, int mainIndex, int childNumber, const InValue& kind,
                                    int page = 0);

// A click on a second-row window: opens the linked entries of a Link "1"
// child, and on the same child again their next page.
void onSecondRowClick(Context& ctx, platform::WindowRef window);

// The menu press on main node mainIndex: its first page, or while it is the
// node shown, its next page (the same one when linked entries hold children
// of it in the third row).
void turnChildren(Context& ctx, int mainIndex);

// The wheel over a detail row: the next page away from the user (delta < 0),
// the one before towards. Over the third row while it holds linked entries
// it turns those, elsewhere the children.
void onDetailWheel(Context& ctx, const platform::Event& event);

}  // namespace pallo
