#include "display/detail.h"

#include "model/picture_dirs.h"
#include "model/text.h"
#include "program/row_windows.h"

namespace pallo {

namespace {

const MainNode* mainNode(const ProgramState& st, int mainIndex) {
    if (mainIndex < 1 || mainIndex > kMainNodeCount) return nullptr;
    return &st.nodeTable[static_cast<std::size_t>(mainIndex - 1)];
}

// The picture of a child or entry: its file, or the placeholder when there
// is no such file (an empty picture name names the folder itself).
platform::PictureSource pictureAt(const ProgramState& st, const PictureRef& picture) {
    const std::string path = PicturePlaces(st.ImageRoot).path(picture);
    if (!picture.file.empty() && isPictureFile(path)) return platform::PictureSource::file(path);
    return platform::PictureSource::builtIn(assets::Picture::PlaceholderPicture);
}

// The child as its window shows it. A direct reference shows the catalog
// entry in the child's place; with no entry to show, the child keeps its
// own picture, name and text.
ChildNode shownChild(const ProgramState& st, const MainNode& node, ChildNode child) {
    if (const CatalogEntry* entry = standInEntry(node, child, st.catalog(node.In.kind()))) {
        child.picture = entry->picture;
        child.name = entry->name;
        child.description = entry->description;
    }
    return child;
}

// Fills a row window with a child and keeps what it shows for the next
// press on it.
void fillWithChild(Context& ctx, WindowInfo& info, const MainNode& node, int mainIndex, const ChildNode& child) {
    platform::Platform& p = ctx.platform;
    info.shows = RowWindowContent{mainIndex, child.number, node.In, node.Link.kind()};

    const ChildNode shown = shownChild(ctx.state, node, child);
    p.setPicture(info.picture, childPicture(ctx.state, node, child));
    p.setText(info.caption, shownSpaces(shown.name));
    p.setTooltip(info.picture, shownSpaces(tipText(shown.description)));
    p.setVisible(info.self, true);
}

}  // namespace

WindowInfo* childWindow(ProgramState& st, int j) {
    return const_cast<WindowInfo*>(childWindow(static_cast<const ProgramState&>(st), j));
}

const WindowInfo* childWindow(const ProgramState& st, int j) {
    const RowIndex row = j <= kRowCapacity ? kSecondRow : kThirdRow;
    const int position = j <= kRowCapacity ? j : j - kRowCapacity;
    const RowWindowList& list = st.rows[row];
    if (position < 1 || static_cast<std::size_t>(position) > list.size()) return nullptr;
    return &list[static_cast<std::size_t>(position - 1)];
}

platform::PictureSource childPicture(const ProgramState& st, const MainNode& node, const ChildNode& child) {
    return pictureAt(st, childPicture(node, child, st.catalog(node.In.kind())));
}

std::string tipText(std::string_view description) {
    std::string out;
    out.reserve(description.size());
    for (const char c : description) {
        if (c == '#') out += "\r\n";
        else out += c;
    }
    return out;
}

LinkedRoom linkedRoom(int nChildren, int nMembers) {
    if (nMembers + 1 - kChildCapacity > 0) return LinkedRoom::TooMany;
    if (nChildren > kRowCapacity) return LinkedRoom::NoRoom;
    return nMembers > kRowCapacity ? LinkedRoom::First14 : LinkedRoom::All;
}

std::optional<ShowNote> showChildren(Context& ctx, int mainIndex) {
    hideDetailRows(ctx);
    ProgramState& st = ctx.state;
    const MainNode* node = mainNode(st, mainIndex);
    if (!node) return ShowNote{ShowNote::Kind::Refused, "参数错误，索引：" + toText(mainIndex)};

    std::optional<ShowNote> note;
    int n = static_cast<int>(node->children.size());
    if (n - kChildCapacity > 0) {
        note = ShowNote{ShowNote::Kind::Partial,
                        "内容（" + toText(n) + "）过多，将只展示未超限（" + toText(kChildCapacity) + "）部分。"};
        n = kChildCapacity;
    }

    for (int j = 1; j <= n; ++j) {
        // Each child is shown from a copy: the Link "2" substitution never
        // reaches the table.
        if (WindowInfo* info = childWindow(st, j))
            fillWithChild(ctx, *info, *node, mainIndex, node->children[static_cast<std::size_t>(j - 1)]);
    }
    return note;
}

std::optional<ShowNote> showContent(Context& ctx, int mainIndex, int childNumber, const InValue& kind) {
    ProgramState& st = ctx.state;
    platform::Platform& p = ctx.platform;
    const MainNode* node = mainNode(st, mainIndex);
    if (!node) return ShowNote{ShowNote::Kind::Refused, "参数错误，索引：" + toText(mainIndex)};
    const int nChildren = static_cast<int>(node->children.size());
    const ChildNode* clicked = nullptr;
    for (const ChildNode& c : node->children)
        if (c.number == childNumber) {
            clicked = &c;
            break;
        }
    const std::vector<std::string> members = clicked ? clicked->members : std::vector<std::string>{};
    const int nMembers = static_cast<int>(members.size());

    const CatalogTable* table = st.catalog(kind.kind());
    if (!table) return ShowNote{ShowNote::Kind::Refused, "参数错误参In：" + kind.text()};
    const CatalogTable entries = *table;

    // With up to 14 children the third row is the entries' row: it is
    // cleared first, so the entries of the child clicked before never stand
    // beside this child's. With more, it holds children and there is no room
    // for entries at all.
    const RowWindowList& third = st.rows[kThirdRow];
    const LinkedRoom room = linkedRoom(nChildren, nMembers);
    if (nChildren <= kRowCapacity)
        for (const WindowInfo& info : third) p.setVisible(info.self, false);
    if (room == LinkedRoom::TooMany) return ShowNote{ShowNote::Kind::Refused, "子节点内容过多，无法展示。"};
    if (room == LinkedRoom::NoRoom) return std::nullopt;
    std::optional<ShowNote> note;
    if (room == LinkedRoom::First14)
        note = ShowNote{ShowNote::Kind::Partial,
                        "内容（" + toText(nMembers) + "）过多，将只展示未超限（" + toText(kRowCapacity) + "）部分。"};

    // The Item tip names the clicked child first: "child+entry".
    const std::string childName = clicked ? clicked->name : std::string();

    for (int t = 1; t <= nMembers && t <= kRowCapacity && static_cast<std::size_t>(t) <= third.size(); ++t) {
        const CatalogEntry* e = findEntry(entries, toInt(members[static_cast<std::size_t>(t - 1)]));
        if (!e) continue;  // no such entry: its window stays hidden
        const WindowInfo& info = third[static_cast<std::size_t>(t - 1)];
        p.setPicture(info.picture, pictureAt(st, entryPicture(node->In.text(), *e)));
        p.setText(info.caption, shownSpaces(e->name));
        const std::string tip =
            kind.kind() == CatalogKind::Item ? childName + "+" + e->name + "\r\n" + tipText(e->description) : tipText(e->description);
        p.setTooltip(info.picture, shownSpaces(tip));
        p.setVisible(info.self, true);
    }
    return note;
}

void onSecondRowClick(Context& ctx, platform::WindowRef window) {
    const WindowInfo* info = findRowWindow(ctx.state, window);
    // Only a mutual association opens entries; "0", "2" and anything else do nothing.
    if (!info || info->shows.Link != LinkMode::Mutual) return;
    const RowWindowContent& shows = info->shows;
    // A child with more entries than the row holds shows the first 14 and
    // says so; one that cannot be shown at all says why.
    if (const auto note = showContent(ctx, shows.mainIndex, shows.childNumber, shows.In))
        ctx.platform.messageBox(ctx.state.overlay, note->text, "提示", platform::MessageButtons::Ok);
}

}  // namespace pallo
