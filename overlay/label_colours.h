// The colours of the overlay's toggle labels, which the options panel and
// the donation window both set.
#pragma once

#include <cstdint>

namespace pallo {

// A toggle label is green while the window it stands for is open or its
// action is under way, black otherwise.
inline constexpr std::int32_t kLabelGreen = 65280;
inline constexpr std::int32_t kLabelBlack = 0;

}  // namespace pallo
