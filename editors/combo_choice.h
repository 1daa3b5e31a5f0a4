// Reading what a combo box has chosen, safe when nothing is.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace pallo {

// The data of item index; 0 when there is no such item.
inline std::int64_t itemDataAt(const platform::Platform& p, const platform::ControlRef& combo, int index) {
    return index >= 0 && index < p.itemCount(combo) ? p.itemData(combo, index) : 0;
}

// The text of the selected item; empty when none is selected.
inline std::string selectedText(const platform::Platform& p, const platform::ControlRef& combo) {
    const int index = p.selection(combo);
    return index >= 0 && index < p.itemCount(combo) ? p.itemText(combo, index) : std::string();
}

}  // namespace pallo
