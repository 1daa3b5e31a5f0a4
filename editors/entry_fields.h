// How the catalog editor and the association window show and write member
// lists and entries: plain functions, no window and no file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/tables.h"

namespace pallo {

// The member list as the editors show and write it: every member that is
// not blank is taken as stored, followed by "," unless it stands at the
// last position of the whole list. So (3, 5, empty) gives "3,5," and
// (empty, 7) gives "7".
std::string memberText(const std::vector<std::string>& members);

// The back-references of a catalog entry: the members holding "&" that are
// longer than 2 characters, with memberText's comma rule (a taken member
// followed only by untaken ones leaves a trailing ","), all blanks removed.
// (1&4, 7, 2&9) gives "1&4,2&9"; (1&4, 7) gives "1&4,".
std::string backReferenceText(const std::vector<std::string>& members);

// picture|name|description|memberText(members): a catalog entry as written.
std::string catalogEntryValue(const CatalogEntry& entry);

// A stored description as the catalog editor's box shows it: all blanks
// go, then every "#" becomes a line break and every no-break space a space.
std::string catalogDescriptionForBox(std::string_view stored);

}  // namespace pallo
