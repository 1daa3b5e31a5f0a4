// The picture sub-directories under Img that editors offer as a node's or a
// catalog's picture folder.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace pallo {

// Every sub-directory of imageRoot (which ends with a separator) except
// Menu in any case and those with a blank in their names, in the order the
// system lists them.
std::vector<std::string> listPictureDirectories(const std::string& imageRoot);

// The catalog editor's scan of the same listing, which is stricter about
// names: each listed name loses all its blanks; an empty result ends the
// scan; the cleaned name must itself be a directory (isDirectory is asked
// with it) and not Menu in any case.
std::vector<std::string> catalogDirectoryNames(const std::vector<std::string>& listed,
                                               const std::function<bool(const std::string&)>& isDirectory);

// Whether path names an existing file (a folder is no picture).
bool isPictureFile(const std::string& path);

// catalogDirectoryNames over the sub-directories of imageRoot.
std::vector<std::string> listCatalogPictureDirectories(const std::string& imageRoot);

}  // namespace pallo
