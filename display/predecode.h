// Work done ahead: while the program waits for the user, the windows the
// rows show are prepared to show and the pictures the next press would show
// are decoded into the picture cache, so that the first press on a menu
// picture, and a page turn, are as fast as a press that shows them again.
// First the windows, then the first page of every topic, each menu window
// shown as soon as its topic's first page is ready (so a press on any menu
// picture a user can see finds its pictures decoded), then, after each press
// or turn, the page that follows the one shown. Later pages are not decoded
// before they are near: a pack of many pages would otherwise hold all its
// pictures in memory from the start. Nothing else shown changes: a picture
// is only prepared for the box that will show it.
#pragma once

#include "program/state.h"

namespace pallo {

// Prepares the next window or picture; false when there is nothing left.
bool predecodeStep(Context& ctx);

// Works ahead in the event loop's idle time, one step per call, from
// where decoding ahead has come (ProgramState::decodeAhead). Called at
// start-up and after every change of the page shown.
void startPredecode(Context& ctx);

// Does the work ahead at once, up to the last menu window shown, handling
// the user's input between steps: for a start-up that has a box to show,
// whose wait for an answer would hold back the work of idle time.
void showMenuNow(Context& ctx);

}  // namespace pallo
