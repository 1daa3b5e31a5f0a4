// Text and list helpers. Every text in memory is UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pallo {

// Splits on delim. An empty text gives no pieces, an empty delimiter the
// whole text. Empty pieces between delimiters are kept; an empty last piece
// is not. maxCount > 0 stops after that many pieces (the rest is dropped).
std::vector<std::string> split(std::string_view text, std::string_view delim, std::size_t maxCount = 0);

// Removes every ASCII space and every full-width space (U+3000).
std::string removeBlanks(std::string_view text);

// removeBlanks on the text itself, without a copy.
void eraseBlanks(std::string& text);

// Whether the text holds an ASCII space or a full-width space.
bool hasBlank(std::string_view text);

// A name, title or description as typed, as it is stored: every ASCII space
// and every full-width space becomes a no-break space (U+00A0), which the
// loaders keep, so the text reads back with its spaces where they were.
std::string storedSpaces(std::string_view typed);

// A stored name, title or description as it is drawn: every no-break space
// becomes an ASCII space, so lines wrap there.
std::string shownSpaces(std::string_view stored);

// Text read from Cfg.ini or written to it: invalid UTF-8 sequences become
// U+FFFD, everything else passes unchanged.
std::string repairUtf8(std::string_view bytes);
// The same cleaning on the text itself; copies only when there is
// something to mend.
void mendUtf8(std::string& text);

// Length counted as the local double-byte code page would: 1 for an ASCII
// character, 2 for any other character.
std::size_t localLength(std::string_view text);

// Byte-wise comparison as unsigned bytes: -1, 0 or 1.
int compare(std::string_view a, std::string_view b);

// The leading decimal integer (blanks and a sign allowed before it); 0 when
// the text does not start with one. Saturates at the 32-bit limits.
std::int32_t toInt(std::string_view text);
std::string toText(std::int64_t value);

// Rounds toward zero (window geometry is computed in double precision).
std::int32_t truncate(double value);

}  // namespace pallo
