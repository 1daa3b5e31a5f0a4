// Listing the picture sub-directories under Img into a chooser box.
#pragma once

#include <string>

#include "platform/platform.h"

namespace pallo {

// Fills combo with firstItem (data 0, selected) and then every
// sub-directory of imageRoot except Menu (any case), with data 1, 2, ...
// in the order the system lists them. Does nothing when the combo box's
// window does not exist. Returns true.
bool listPictureDirectories(platform::Platform& platform, const platform::ControlRef& combo,
                            const std::string& imageRoot, const std::string& firstItem);

}  // namespace pallo
