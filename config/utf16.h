// UTF-16LE files held as UTF-8 text, and UTF-8 checks for what may enter
// such a file.
#pragma once

#include <string>
#include <string_view>

namespace pallo::ini {

// UTF-16LE code units (an even number of bytes, no byte-order mark) as
// UTF-8. A surrogate without its partner becomes the three-byte form of its
// own code point (ED A0 80 to ED BF BF, which is not valid UTF-8), so that
// utf16LeFromUtf8 gives the very same units back.
std::string utf8FromUtf16Le(std::string_view bytes);

// The reverse: UTF-8, plus those three-byte surrogate forms, as UTF-16LE
// code units. Any other invalid byte becomes U+FFFD.
std::string utf16LeFromUtf8(std::string_view text);

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view text);

// The text with U+FFFD for each surrogate form and for each other byte
// that does not start a valid UTF-8 character.
std::string replaceInvalidUtf8(std::string_view text);

}  // namespace pallo::ini
