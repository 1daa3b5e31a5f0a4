// Decoding ahead: while the program waits for the user, the pictures a menu
// press would show are decoded into the picture cache, so the first press on
// a menu picture shows its children as fast as a second one. Nothing shown
// changes: a picture is only prepared for the box that will show it.
#pragma once

#include <cstddef>

#include "program/state.h"

namespace pallo {

// How far decoding ahead has come: menu window `menu` (0-based), its child
// `child` (1-based) next.
struct PredecodeCursor {
    std::size_t menu = 0;
    int child = 1;
};

// Prepares the next picture: child by child of each menu node as far as a
// press shows them, page after page, menu window by menu window. False when there is
// nothing left.
bool predecodeStep(Context& ctx, PredecodeCursor& cursor);

// Decodes ahead in the event loop's idle time, one picture per call.
void startPredecode(Context& ctx);

}  // namespace pallo
