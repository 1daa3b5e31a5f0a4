#include "display/predecode.h"

#include "display/detail.h"

namespace pallo {

bool predecodeStep(Context& ctx, PredecodeCursor& cursor) {
    platform::Platform& p = ctx.platform;
    const ProgramState& st = ctx.state;
    const RowWindowList& menu = st.rows[kFirstRow];
    while (cursor.menu < menu.size()) {
        // The section a press on this window shows.
        const int section = menu[cursor.menu].shows.mainIndex;
        const MainNode* node =
            section >= 1 && section <= kMainNodeCount ? &st.nodeTable[static_cast<std::size_t>(section - 1)] : nullptr;
        // Every page: each child in the box its page shows it in.
        const int shown = node ? static_cast<int>(node->children.size()) : 0;
        if (cursor.child > shown) {
            ++cursor.menu;
            cursor.child = 1;
            continue;
        }
        const int j = cursor.child++;
        if (const WindowInfo* box = childWindow(st, j))
            p.preparePicture(box->picture, childPicture(st, *node, node->children[static_cast<std::size_t>(j - 1)]));
        return true;
    }
    return false;
}

void startPredecode(Context& ctx) {
    ctx.platform.setIdleTask([&ctx, cursor = PredecodeCursor{}]() mutable { return predecodeStep(ctx, cursor); });
}

}  // namespace pallo
