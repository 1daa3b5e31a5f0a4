// The three rows of node windows beside and under the overlay: the menu of
// main nodes to the right of it (readMenu, model/pack.h), and two rows under
// it for the children of the chosen node (filled by the detail view,
// display/detail.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "display/row_place.h"
#include "model/pack.h"
#include "program/row_windows.h"
#include "program/state.h"

namespace pallo {

class HandlerRegistry;

// Each builds its row afresh, hidden: the detail rows until a menu press,
// each menu window until what a press on it opens is ready (startPredecode,
// display/predecode.h, shows it).
void buildFirstRow(Context& ctx);
void buildSecondRow(Context& ctx);
void buildThirdRow(Context& ctx);

// Left button pressed on a first-row window: shows the children of the main
// node it was built from.
void onFirstRowPress(Context& ctx, platform::WindowRef window);
// Right button pressed on a first-row window: hides the detail rows.
void onFirstRowRightPress(Context& ctx, platform::WindowRef window);
// The wheel over a window of the second or third row turns the page under it.
void onRowWheel(Context& ctx, const platform::Event& event);

void registerRowHandlers(HandlerRegistry& handlers);

}  // namespace pallo
