// The association window's rules as plain functions: reading IDs out of a
// list cell, the ID text of a selection, the orderings, the text a save
// writes, and the writer of a child's association list.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/config_store.h"
#include "editors/write_check.h"
#include "model/tables.h"

namespace pallo {

// The IDs a child's association cell names: its ","-pieces that are not
// blank, each as an integer (blanks removed first).
std::vector<std::int32_t> idsFromMemberText(std::string_view cell);

// The ID cells of the selected rows, in row order, joined by ",".
std::string idTextOfRows(const std::vector<std::string>& idCells);

// Whether the ordering box may be used: the ID text without blanks holds
// at least 3 characters (at least two IDs).
bool orderingAllowed(std::string_view idText);

// The ordering box's items, by index.
enum class IdOrder { AsIs = 0, Ascending = 1, Descending = 2, Manual = 3 };

// The ID text after ordering: the blank-free text split at ",", each piece
// as an integer (0 when it is none), ordered; then each non-zero number
// followed by "," unless it stands at the last position, so zeros vanish
// and a zero ordered last leaves a trailing ",". Nothing (the text stays)
// for Manual and for a text with no pieces.
std::optional<std::string> orderedIdText(std::string_view idText, IdOrder order);

// The ID text a save writes: blank-free; "0" when empty; a text of at most
// 2 characters read as an integer ("07" gives "7", "x" gives "0"). Longer
// texts are checked by checkIdText first.
std::string idTextForSave(std::string_view idText);

// A longer ID text may hold only decimal IDs and commas: the refusal's
// text (caption "错误") for anything else, nothing when it is valid.
std::optional<std::string> checkIdText(std::string_view idText);

// The IDs a valid ID text names: its pieces that are not empty, in order;
// {"0"} (no links, as the loader reads it) when none is left.
std::vector<std::string> idsForSave(std::string_view idText);

// The members part a save writes for ids: a single ID x as "x,0", so it
// reads back in the first place (a lone "x" reads as (empty, x)); "0" for
// a single "0" or blank; otherwise memberText, "0" when that is
// empty, so the entry keeps its four parts.
std::string associationMembers(const std::vector<std::string>& ids);

// Writes the association list ids of child childId of main node parentId:
// the child's whole entry under key childId of section parentId, and, in
// the same group, the entries of linkedCatalog (the catalog the node hooks
// into) whose back-references change. Of several children with that ID the
// last is taken; an ID below 1 names none (the table's blank records carry
// 0). A child the loader could not read (its line was not four parts) is
// refused: writing it would put empty fields over its picture and name.
// Only after the file took it do the tables change: the child's member
// list becomes what a restart reads. Nothing when written, otherwise the
// refusal to tell.
[[nodiscard]] std::optional<Refusal> writeAssociation(ConfigStore& store, const std::string& cfgPath,
                                                      NodeTable& nodes, std::int32_t parentId, std::int32_t childId,
                                                      const std::vector<std::string>& ids,
                                                      CatalogTable* linkedCatalog = nullptr);

}  // namespace pallo
