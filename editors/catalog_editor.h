// The catalog editor: the entries of the catalogs Item and Hero and the
// picture directory of each, docked under the node editor. The rules are
// plain functions in catalog_rules.h, the writers in catalog_writers.h.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"
#include "program/state.h"

namespace pallo {

class HandlerRegistry;

// The table of section "Item" or "Hero" (exact); none for any other text.
CatalogTable* catalogTable(ProgramState& state, std::string_view section);

// Fills an entry list with the entries of section: ID, picture, name,
// description and memberText, one row each. A section other than Item and
// Hero leaves the list empty and fails with "参数错误：" + section.
bool fillCatalogList(Context& ctx, const platform::ControlRef& list, const std::string& section,
                     std::string& message, bool report);

// Shows entry id of section in the catalog editor's boxes, blanks removed;
// an id no entry has leaves them as they are. Fails for a section other
// than Item and Hero.
bool showEntryFields(Context& ctx, int id, const std::string& section, std::string& message, bool report);

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
