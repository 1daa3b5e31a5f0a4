// The node editor's "导出分享包…": the pack beside the program, checked and
// written as one zip a player unpacks anywhere (editors/check/export.h).
#pragma once

#include "program/state.h"

namespace pallo {

class HandlerRegistry;

// Asks where to save the zip, checks the pack (errors stop it, warnings
// ask whether to go on), writes it with the program's files and says how
// it went.
void exportPackForPlayers(Context& ctx);

void registerPackExportHandlers(HandlerRegistry& handlers);

}  // namespace pallo
