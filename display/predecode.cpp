#include "display/predecode.h"

#include <algorithm>

#include "display/detail.h"

namespace pallo {

namespace {

const MainNode* nodeOf(const ProgramState& st, int section) {
    return section >= 1 && section <= kMainNodeCount ? &st.nodeTable[static_cast<std::size_t>(section - 1)] : nullptr;
}

void prepareChild(Context& ctx, const MainNode& node, int j) {
    const ProgramState& st = ctx.state;
    if (const WindowInfo* box = childWindow(st, j))
        ctx.platform.preparePicture(box->picture, childPicture(st, node, node.children[static_cast<std::size_t>(j - 1)]));
}

// Each hidden window of the second and third rows, made ready to show.
bool windowsStep(Context& ctx, DecodeAhead& ahead) {
    const ProgramState& st = ctx.state;
    const std::size_t second = st.rows[kSecondRow].size();
    if (ahead.windowsReady >= second + st.rows[kThirdRow].size()) return false;
    const std::size_t i = ahead.windowsReady++;
    const WindowInfo& info = i < second ? st.rows[kSecondRow][i] : st.rows[kThirdRow][i - second];
    ctx.platform.prepareToShow(info.self);
    return true;
}

// A menu window shows once what a press on it opens is ready (its windows
// prepared, its first page decoded), so no press on a menu picture waits for
// that work. While the hotkey hides the program, the window joins those the
// hotkey shows again.
void showMenuWindow(Context& ctx, const WindowInfo& info) {
    if (info.shows.mainIndex == 0) return;  // no topic: the window stays hidden
    HotkeyHiding& hiding = ctx.state.hiddenByHotkey;
    if (hiding.active) hiding.windows.push_back(info.self);
    else ctx.platform.setVisible(info.self, true);
}

// The first page of each menu window's topic, child by child; then the
// menu window shows.
bool firstPagesStep(Context& ctx, DecodeAhead& ahead) {
    const RowWindowList& menu = ctx.state.rows[kFirstRow];
    while (ahead.menu < menu.size()) {
        const MainNode* node = nodeOf(ctx.state, menu[ahead.menu].shows.mainIndex);
        const int shown = node ? std::min(static_cast<int>(node->children.size()), kChildCapacity) : 0;
        if (ahead.child > shown) {
            showMenuWindow(ctx, menu[ahead.menu]);
            ++ahead.menu;
            ahead.child = 1;
            continue;
        }
        prepareChild(ctx, *node, ahead.child++);
        return true;
    }
    return false;
}

// The page after the one shown, when the topic has more than one.
bool nextPageStep(Context& ctx, DecodeAhead& ahead) {
    const DetailPages& now = ctx.state.detailPages;
    const MainNode* node = nodeOf(ctx.state, now.mainIndex);
    if (!node) return false;
    const int count = static_cast<int>(node->children.size());
    const int pages = pageCount(count, kChildCapacity);
    if (pages < 2) return false;
    if (ahead.nextOf.mainIndex != now.mainIndex || ahead.nextOf.page != now.page) {
        ahead.nextOf = now;
        ahead.nextChild = (now.page + 1) % pages * kChildCapacity + 1;
    }
    const int end = std::min(count, ((now.page + 1) % pages + 1) * kChildCapacity);
    if (ahead.nextChild > end) return false;
    prepareChild(ctx, *node, ahead.nextChild++);
    return true;
}

}  // namespace

bool predecodeStep(Context& ctx) {
    DecodeAhead& ahead = ctx.state.decodeAhead;
    return windowsStep(ctx, ahead) || firstPagesStep(ctx, ahead) || nextPageStep(ctx, ahead);
}

void showMenuNow(Context& ctx) {
    const ProgramState& st = ctx.state;
    while (st.decodeAhead.menu < st.rows[kFirstRow].size() && !ctx.platform.exitRequested() && predecodeStep(ctx))
        ctx.platform.waitProcessingEvents(1);
}

void startPredecode(Context& ctx) {
    ctx.platform.setIdleTask([&ctx]() { return predecodeStep(ctx); });
}

}  // namespace pallo
