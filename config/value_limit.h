// How long a stored value may be, shared by the INI reader and the store.
#pragma once

#include <cstddef>

namespace pallo {

// Values are read into a buffer of this many bytes: a longer value is cut
// to at most kValueLimit - 1 bytes, backed up to a whole UTF-8 character.
inline constexpr std::size_t kValueLimit = 10240;

}  // namespace pallo
