// UTF-8 (the core's texts) <-> UTF-16 (the wide system functions). Used at
// the platform boundary only.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pallo::platform::win32 {

// Invalid UTF-8 sequences become U+FFFD; nothing else is changed.
std::wstring toWide(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
std::string toUtf8(std::wstring_view wide);

// A tip's text as the tooltip control can show it: at most units UTF-16
// units, a longer one cut (never between the halves of a pair or of a line
// break) and ended
// with "…", so the reader sees that more was written.
std::wstring fitTip(std::wstring text, std::size_t units);

}  // namespace pallo::platform::win32
