// The association window: which catalog entries belong to each child of a
// main node, and in which order. Opened from the catalog editor, it takes
// the place of both other editors. The rules are plain functions in
// association_rules.h.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "editors/write_check.h"
#include "platform/platform.h"
#include "program/state.h"

namespace pallo {

class HandlerRegistry;

// Fills the left list with the children of main node nodeId and disables
// the right list. Refused with "参数错误：" + nodeId for a node out of
// range. Does nothing while the window is closed.
[[nodiscard]] std::optional<Refusal> fillAssociationChildren(Context& ctx, std::int32_t nodeId);

// Selects exactly the right-list rows whose ID cell is one of ids, written
// as decimal text.
void selectTargets(Context& ctx, const std::vector<std::int32_t>& ids);

// Event handlers, each bound by the event table.
void openAssociationWindow(Context& ctx);
void initAssociationWindow(Context& ctx, platform::WindowRef window);
void onNodeChosen(Context& ctx);
void onChildSelected(Context& ctx);
void onTargetSelectionChanged(Context& ctx);
void focusTargetList(Context& ctx);
void onIdTextChanged(Context& ctx);
void onSortChosen(Context& ctx);
void clearAssociation(Context& ctx);
void saveAssociation(Context& ctx);

void registerAssociationHandlers(HandlerRegistry& handlers);

}  // namespace pallo
