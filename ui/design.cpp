#include "ui/design.h"

#include <algorithm>

namespace pallo::ui {

const ControlDesign* WindowDesign::find(const std::string& controlName) const {
    const auto it = std::find_if(controls.begin(), controls.end(),
                                 [&](const ControlDesign& c) { return c.name == controlName; });
    return it == controls.end() ? nullptr : &*it;
}

}  // namespace pallo::ui
