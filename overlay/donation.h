// The donation window: a thank-you note with two payment codes, opened and
// closed from the overlay's label "支持作者".
#pragma once

#include "program/state.h"

namespace pallo {

class HandlerRegistry;

// Opens the donation window when it is closed, closes it when it is open;
// the label "支持作者" is green exactly while the window exists.
void toggleSupportWindow(Context& ctx);
// The window's creation: pictures, place beside the overlay, shown on top.
void initDonationWindow(Context& ctx, platform::WindowRef window);
// "关闭" and the frame's close button: label black, hide, destroy.
void closeDonationWindow(Context& ctx, platform::WindowRef window);

void registerDonationHandlers(HandlerRegistry& handlers);

}  // namespace pallo
