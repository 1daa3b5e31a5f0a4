// The picture sub-directories under Img that editors offer as a node's or a
// catalog's picture folder.
#pragma once

#include <string>
#include <vector>

namespace pallo {

// Every sub-directory of imageRoot (which ends with a separator) except
// Menu in any case, in the order the system lists them.
std::vector<std::string> listPictureDirectories(const std::string& imageRoot);

}  // namespace pallo
