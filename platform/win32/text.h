// UTF-8 (the core's texts) <-> UTF-16 (the wide system functions). Used at
// the platform boundary only.
#pragma once

#include <string>
#include <string_view>

namespace pallo::platform::win32 {

// Invalid UTF-8 sequences become U+FFFD; nothing else is changed.
std::wstring toWide(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
std::string toUtf8(std::wstring_view wide);

}  // namespace pallo::platform::win32
