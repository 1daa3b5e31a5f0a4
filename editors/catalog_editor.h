// The catalog editor: the entries of the catalogs Item and Hero and the
// picture directory of each, docked under the node editor. The rules are
// plain functions in catalog_rules.h, the writers in catalog_writers.h.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "editors/write_check.h"
#include "platform/platform.h"
#include "program/state.h"

namespace pallo {

class HandlerRegistry;

// The table of section "Item" or "Hero" (exact); none for any other text.
CatalogTable* catalogTable(ProgramState& state, std::string_view section);

// Fills an entry list with the entries of section: ID, picture, name,
// description and memberText, one row each. A section other than Item and
// Hero leaves the list empty and is refused with "参数错误：" + section. A
// list that does not exist is left alone.
[[nodiscard]] std::optional<Refusal> fillCatalogList(Context& ctx, const platform::ControlRef& list,
                                                     const std::string& section);

// Shows entry id of section in the catalog editor's boxes, blanks removed;
// an id no entry has leaves them as they are. Refused for a section other
// than Item and Hero.
[[nodiscard]] std::optional<Refusal> showEntryFields(Context& ctx, int id, const std::string& section);

// Event handlers, each bound by the event table.
void initCatalogEditor(Context& ctx, platform::WindowRef window);
void onSectionChosen(Context& ctx);
void onEntryChosen(Context& ctx);
void previewEntryPicture(Context& ctx);
void hideEntryPreview(Context& ctx);
void saveCatalogEntry(Context& ctx);
void addCatalogEntry(Context& ctx);
void deleteCatalogEntry(Context& ctx);

void registerCatalogEditorHandlers(HandlerRegistry& handlers);

}  // namespace pallo
