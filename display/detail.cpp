#include "display/detail.h"

#include <algorithm>

#include "model/picture_dirs.h"
#include "model/text.h"
#include "program/row_windows.h"
#include "ui/names.h"

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

// Shows a row window unless it already stands shown: a page turn refills
// windows in place, and showing one again would only cost a system call.
void showRowWindow(platform::Platform& p, const WindowInfo& info) {
    if (!p.isVisible(info.self)) p.setVisible(info.self, true);
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
    showRowWindow(p, info);
}

int childCount(const MainNode& node) { return static_cast<int>(node.children.size()); }

// Children a page of node shows: first (1-based) and how many.
struct PageSpan {
    int first = 1;
    int count = 0;
};
PageSpan childSpan(const MainNode& node, int page) {
    const int first = page * kChildCapacity + 1;
    return {first, std::max(0, std::min(kChildCapacity, childCount(node) - first + 1))};
}

// The page sign of a window: shown with text, hidden without.
void setSign(Context& ctx, const WindowInfo& info, const std::string& text) {
    const platform::ControlRef sign{info.self, ui::names::node::pageSign};
    ctx.platform.setText(sign, text);
    ctx.platform.setVisible(sign, !text.empty());
}

void clearSigns(Context& ctx, RowIndex row) {
    for (const WindowInfo& info : ctx.state.rows[row]) setSign(ctx, info, "");
}

// Whether the detail rows show the children of mainIndex now: its first
// child of the page stands in the second row's first window.
bool childrenShown(const Context& ctx, int mainIndex) {
    const RowWindowList& second = ctx.state.rows[kSecondRow];
    return ctx.state.detailPages.mainIndex == mainIndex && !second.empty() &&
           second.front().shows.mainIndex == mainIndex && ctx.platform.isVisible(second.front().self);
}

// Whether linked entries now stand where children of the page shown were.
bool linkedOverChildren(const ProgramState& st, const MainNode& node) {
    return st.detailPages.linkedChild != 0 && childSpan(node, st.detailPages.page).count > kRowCapacity;
}

void fillWithEntry(Context& ctx, const WindowInfo& info, const MainNode& node, const CatalogEntry& e,
                   const InValue& kind, const std::string& childName) {
    platform::Platform& p = ctx.platform;
    p.setPicture(info.picture, pictureAt(ctx.state, entryPicture(node.In.text(), e)));
    p.setText(info.caption, shownSpaces(e.name));
    // The Item tip names the clicked child first: "child+entry".
    const std::string tip =
        kind.kind() == CatalogKind::Item ? childName + "+" + e.name + "\r\n" + tipText(e.description) : tipText(e.description);
    p.setTooltip(info.picture, shownSpaces(tip));
    showRowWindow(p, info);
}

// One page of a child's linked entries, as the third row shows them.
struct LinkedPage {
    const std::vector<std::string>& members;
    const CatalogTable& entries;
    const InValue& kind;
    const std::string& childName;
    int page = 0;
};

// Each window of the third row shows its entry of the page where it stands,
// or hides: past the last entry, and for an ID no entry has. Returns the
// last window filled (nullptr: none).
const WindowInfo* fillWithEntries(Context& ctx, const MainNode& node, const LinkedPage& linked) {
    const RowWindowList& third = ctx.state.rows[kThirdRow];
    const int nMembers = static_cast<int>(linked.members.size());
    const WindowInfo* last = nullptr;
    // From the last place to the first, as for the children.
    for (int t = static_cast<int>(third.size()); t >= 1; --t) {
        const int m = linked.page * kRowCapacity + t;
        const CatalogEntry* e = t <= kRowCapacity && m <= nMembers
                                    ? findEntry(linked.entries, toInt(linked.members[static_cast<std::size_t>(m - 1)]))
                                    : nullptr;
        const WindowInfo& info = third[static_cast<std::size_t>(t - 1)];
        if (!e) {
            ctx.platform.setVisible(info.self, false);
            continue;
        }
        if (!last) last = &info;
        fillWithEntry(ctx, info, node, *e, linked.kind, linked.childName);
    }
    return last;
}

}  // namespace

WindowInfo* childWindow(ProgramState& st, int j) {
    return const_cast<WindowInfo*>(childWindow(static_cast<const ProgramState&>(st), j));
}

const WindowInfo* childWindow(const ProgramState& st, int j) {
    if (j < 1) return nullptr;
    const int place = (j - 1) % kChildCapacity + 1;
    const RowIndex row = place <= kRowCapacity ? kSecondRow : kThirdRow;
    const int position = place <= kRowCapacity ? place : place - kRowCapacity;
    const RowWindowList& list = st.rows[row];
    if (static_cast<std::size_t>(position) > list.size()) return nullptr;
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

int pageCount(int count, int perPage) { return count <= perPage ? 1 : (count + perPage - 1) / perPage; }

std::string pageSign(int page, int pages) {
    return pages > 1 ? toText(page + 1) + "/" + toText(pages) : std::string();
}

std::optional<ShowNote> showChildren(Context& ctx, int mainIndex, int page) {
    ProgramState& st = ctx.state;
    const MainNode* node = mainNode(st, mainIndex);
    if (!node) {
        hideDetailRows(ctx);
        return ShowNote{ShowNote::Kind::Refused, "参数错误，索引：" + toText(mainIndex)};
    }
    clearSigns(ctx, kSecondRow);
    clearSigns(ctx, kThirdRow);

    const int pages = pageCount(childCount(*node), kChildCapacity);
    page = ((page % pages) + pages) % pages;
    const PageSpan span = childSpan(*node, page);
    // Windows past the page's last child hide; the others are filled where
    // they stand, so a page turn or another topic redraws them in place
    // instead of hiding and showing each one again.
    for (int place = span.count + 1; place <= kChildCapacity; ++place)
        if (const WindowInfo* info = childWindow(st, place)) ctx.platform.setVisible(info->self, false);
    // Filled from the last place to the first: a row's windows stack in the
    // order they were made, later ones above, and each window shown then
    // finds a shown one right above it. Wine looks for that window one step
    // at a time, each a request to its server: in place order, a press made
    // 406 such requests instead of 28.
    WindowInfo* last = nullptr;
    for (int j = span.first + span.count - 1; j >= span.first; --j) {
        // Each child is shown from a copy: the Link "2" substitution never
        // reaches the table.
        if (WindowInfo* info = childWindow(st, j)) {
            fillWithChild(ctx, *info, *node, mainIndex, node->children[static_cast<std::size_t>(j - 1)]);
            if (!last) last = info;
        }
    }
    st.detailPages = DetailPages{mainIndex, page, 0, 0};
    if (last) setSign(ctx, *last, pageSign(page, pages));
    return std::nullopt;
}

std::optional<ShowNote> showContent(Context& ctx, int mainIndex, int childNumber, const InValue& kind, int page) {
    ProgramState& st = ctx.state;
    const MainNode* node = mainNode(st, mainIndex);
    if (!node) return ShowNote{ShowNote::Kind::Refused, "参数错误，索引：" + toText(mainIndex)};
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

    // The third row is the entries' row: each of its windows is filled anew
    // or hidden, so the entries of the child clicked before never stand
    // beside this child's. Children the page shows there give way, but not
    // to a child that links no entry.
    const bool samePage = st.detailPages.mainIndex == mainIndex;
    const bool childrenBelow =
        samePage ? st.detailPages.linkedChild == 0 && childSpan(*node, st.detailPages.page).count > kRowCapacity
                 : childCount(*node) > kRowCapacity;
    const bool linksAny = std::any_of(members.begin(), members.end(),
                                      [&](const std::string& m) { return findEntry(entries, toInt(m)) != nullptr; });
    if (!linksAny && childrenBelow) return std::nullopt;
    clearSigns(ctx, kThirdRow);

    const int pages = pageCount(nMembers, kRowCapacity);
    page = ((page % pages) + pages) % pages;
    const std::string childName = clicked ? clicked->name : std::string();
    const WindowInfo* last = fillWithEntries(ctx, *node, LinkedPage{members, entries, kind, childName, page});
    st.detailPages.linkedChild = childNumber;
    st.detailPages.linkedPage = page;
    if (last) setSign(ctx, *last, pageSign(page, pages));
    // Children of the topic gave way: the second row's last window says
    // that the topic has more, as the third row's did.
    // A topic of one page says how many of its entries gave way.
    const int topicPages = pageCount(childCount(*node), kChildCapacity);
    const int covered = childSpan(*node, st.detailPages.page).count - kRowCapacity;
    if (samePage && linkedOverChildren(st, *node) && !st.rows[kSecondRow].empty()) {
        setSign(ctx, st.rows[kSecondRow].back(),
                topicPages > 1 ? pageSign(st.detailPages.page, topicPages) : "+" + toText(covered));
    }
    return std::nullopt;
}

void onSecondRowClick(Context& ctx, platform::WindowRef window) {
    const WindowInfo* info = findRowWindow(ctx.state, window);
    // Only a mutual association opens entries; "0", "2" and anything else do nothing.
    if (!info || info->shows.Link != LinkMode::Mutual) return;
    const RowWindowContent shows = info->shows;
    const DetailPages& now = ctx.state.detailPages;
    // The same child again: the next page of its entries.
    const int page = now.mainIndex == shows.mainIndex && now.linkedChild == shows.childNumber ? now.linkedPage + 1 : 0;
    if (const auto note = showContent(ctx, shows.mainIndex, shows.childNumber, shows.In, page))
        ctx.platform.messageBox(ctx.state.overlay, note->text, "提示", platform::MessageButtons::Ok);
}

void turnChildren(Context& ctx, int mainIndex) {
    const ProgramState& st = ctx.state;
    const MainNode* node = mainNode(st, mainIndex);
    int page = 0;
    if (node && childrenShown(ctx, mainIndex))
        page = linkedOverChildren(st, *node) ? st.detailPages.page : st.detailPages.page + 1;
    showChildren(ctx, mainIndex, page);
}

void onDetailWheel(Context& ctx, const platform::Event& event) {
    const ProgramState& st = ctx.state;
    const DetailPages now = st.detailPages;
    const WindowInfo* info = findRowWindow(st, event.window);
    if (!info || event.wheelDelta == 0 || !childrenShown(ctx, now.mainIndex)) return;
    const int step = event.wheelDelta < 0 ? 1 : -1;
    const RowWindowList& third = st.rows[kThirdRow];
    const bool overEntries = now.linkedChild != 0 && std::any_of(third.begin(), third.end(), [&](const WindowInfo& w) {
                                 return w.self == info->self;
                             });
    if (overEntries)
        showContent(ctx, now.mainIndex, now.linkedChild, st.rows[kSecondRow].front().shows.In, now.linkedPage + step);
    else
        showChildren(ctx, now.mainIndex, now.page + step);
}

}  // namespace pallo
