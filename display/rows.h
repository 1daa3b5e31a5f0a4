// The three rows of node windows beside and under the overlay.
#pragma once

#include <string>

#include "app/state.h"

namespace pallo {

class HandlerRegistry;

bool buildFirstRow(Context& ctx, std::string& message, bool report);
bool buildSecondRow(Context& ctx, std::string& message, bool report);
bool buildThirdRow(Context& ctx, std::string& message, bool report);

void registerRowHandlers(HandlerRegistry& handlers);

}  // namespace pallo
