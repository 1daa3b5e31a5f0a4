#include "model/text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace pallo {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr std::string_view kFullWidthSpace = "\xE3\x80\x80";  // U+3000
constexpr std::string_view kNoBreakSpace = "\xC2\xA0";  // U+00A0

bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// What a lead byte promises: the length of its character and the range its
// second byte must fall in. The ranges reject what a lax decoder lets
// through: overlong forms (C0, C1, E0 80..9F, F0 80..8F), surrogates
// (ED A0..BF) and code points above U+10FFFF (F4 90.., F5..FF).
struct Lead {
    std::size_t length = 0;  // 0: the byte never starts a multi-byte character
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
};

Lead classify(unsigned char b0) {
    if (b0 >= 0xC2 && b0 <= 0xDF) return {2, 0x80, 0xBF};
    if (b0 == 0xE0) return {3, 0xA0, 0xBF};
    if (b0 == 0xED) return {3, 0x80, 0x9F};
    if (b0 >= 0xE1 && b0 <= 0xEF) return {3, 0x80, 0xBF};
    if (b0 == 0xF0) return {4, 0x90, 0xBF};
    if (b0 == 0xF4) return {4, 0x80, 0x8F};
    if (b0 >= 0xF1 && b0 <= 0xF3) return {4, 0x80, 0xBF};
    return {};
}

unsigned char byteAt(std::string_view text, std::size_t i) { return static_cast<unsigned char>(text[i]); }

// Length of the well-formed UTF-8 character at text[i], or 0 when the bytes
// there do not start one.
std::size_t validCharLength(std::string_view text, std::size_t i) {
    const unsigned char b0 = byteAt(text, i);
    if (b0 < 0x80) return 1;
    const Lead lead = classify(b0);
    if (lead.length == 0 || i + lead.length > text.size()) return 0;
    const unsigned char b1 = byteAt(text, i + 1);
    if (b1 < lead.lo || b1 > lead.hi) return 0;
    for (std::size_t k = 2; k < lead.length; ++k) {
        if (!isContinuation(byteAt(text, i + k))) return 0;
    }
    return lead.length;
}

// How many bytes an invalid sequence at text[i] spans: the lead byte plus
// the continuation bytes that could still have belonged to it (the
// "maximal subpart"), so one broken character becomes one U+FFFD and the
// byte after it is decoded afresh.
std::size_t invalidSpan(std::string_view text, std::size_t i) {
    const Lead lead = classify(byteAt(text, i));
    if (lead.length == 0) return 1;  // stray continuation byte, C0, C1, F5..FF
    std::size_t k = i + 1;
    if (k < text.size() && byteAt(text, k) >= lead.lo && byteAt(text, k) <= lead.hi) {
        ++k;
        while (k < i + lead.length && k < text.size() && isContinuation(byteAt(text, k))) ++k;
    }
    return k - i;
}

// Step width for scanning: a whole character where one starts, else one byte.
std::size_t stepAt(std::string_view text, std::size_t i) {
    const std::size_t n = validCharLength(text, i);
    return n == 0 ? 1 : n;
}

// Position of the first byte that does not begin a well-formed character,
// or text.size() when the whole text is well-formed.
std::size_t firstInvalid(std::string_view text, std::size_t from) {
    const std::size_t size = text.size();
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t i = from;
    while (i < size) {
        const unsigned char b0 = p[i];
        if (b0 < 0x80) {
            ++i;
            // Inside an ASCII run, skip eight bytes at a time.
            while (i + 8 <= size) {
                std::uint64_t word;
                std::memcpy(&word, p + i, sizeof word);
                if ((word & 0x8080808080808080ull) != 0) break;
                i += 8;
            }
            continue;
        }
        // Most other characters are three bytes (CJK) whose second byte
        // has no special range: leads E1..EC, EE, EF. Runs of them are
        // checked with one test per character.
        if ((b0 & 0xF0) == 0xE0) {
            while (i + 2 < size) {
                const unsigned char lead = p[i];
                if ((lead & 0xF0) != 0xE0 || lead == 0xE0 || lead == 0xED ||
                    ((p[i + 1] & 0xC0) | ((p[i + 2] & 0xC0) >> 2)) != 0xA0) {
                    break;
                }
                i += 3;
            }
            if (i >= size || p[i] < 0x80) continue;
        }
        const std::size_t n = validCharLength(text, i);
        if (n == 0) return i;
        i += n;
    }
    return i;
}

// The text with every invalid sequence replaced by U+FFFD; bad is the
// position of the first one.
std::string mended(std::string_view bytes, std::size_t bad) {
    std::string out;
    out.reserve(bytes.size() + 8);
    std::size_t from = 0;
    while (bad < bytes.size()) {
        out.append(bytes.substr(from, bad - from));
        out.append(kReplacement);
        from = bad + invalidSpan(bytes, bad);
        bad = firstInvalid(bytes, from);
    }
    out.append(bytes.substr(from));
    return out;
}

std::string sanitiseUtf8(std::string_view bytes) {
    const std::size_t bad = firstInvalid(bytes, 0);
    if (bad == bytes.size()) return std::string(bytes);  // the usual case: nothing to mend
    return mended(bytes, bad);
}

bool isAsciiBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

std::vector<std::string> split(std::string_view text, std::string_view delim, std::size_t maxCount) {
    std::vector<std::string> pieces;
    if (text.empty()) return pieces;
    if (delim.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    pieces.reserve(maxCount != 0 ? maxCount : 4);
    const auto full = [&] { return maxCount != 0 && pieces.size() >= maxCount; };
    // Bytes inside a well-formed multi-byte character are all continuation
    // bytes (80..BF), so a delimiter starting with any other byte can only
    // be found where a character starts: a plain search is exact. Only a
    // delimiter starting with a continuation byte needs the scan that steps
    // over whole characters.
    const bool plainSearch = !isContinuation(static_cast<unsigned char>(delim.front()));
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t at = i;
        if (plainSearch) at = delim.size() == 1 ? text.find(delim.front(), i) : text.find(delim, i);
        if (at == std::string_view::npos) break;
        if (plainSearch || text.substr(at, delim.size()) == delim) {
            pieces.emplace_back(text.substr(start, at - start));
            if (full()) return pieces;
            i = at + delim.size();
            start = i;
        } else {
            i = at + stepAt(text, at);
        }
    }
    if (start < text.size() && !full()) pieces.emplace_back(text.substr(start));
    return pieces;
}

void eraseBlanks(std::string& text) {
    // Byte searches are exact here: 0x20 never occurs inside a multi-byte
    // character, and E3 is always a lead byte, never a continuation.
    constexpr auto npos = std::string::npos;
    std::size_t space = text.find(' ');
    std::size_t wide = text.find(kFullWidthSpace);
    if (space == npos && wide == npos) return;  // the usual case
    // Move each run between blanks down to out; out never passes from.
    const auto moveRun = [&](std::size_t from, std::size_t to, std::size_t out) {
        std::copy(text.begin() + static_cast<std::ptrdiff_t>(from), text.begin() + static_cast<std::ptrdiff_t>(to),
                  text.begin() + static_cast<std::ptrdiff_t>(out));
        return out + (to - from);
    };
    std::size_t out = std::min(space, wide);
    std::size_t from = out;
    while (space != npos || wide != npos) {
        const bool isSpace = space < wide;
        const std::size_t at = isSpace ? space : wide;
        out = moveRun(from, at, out);
        from = at + (isSpace ? 1 : kFullWidthSpace.size());
        if (space < from) space = text.find(' ', from);
        if (wide != npos && wide < from) wide = text.find(kFullWidthSpace, from);
    }
    text.resize(moveRun(from, text.size(), out));
}

bool hasBlank(std::string_view text) {
    return text.find(' ') != std::string_view::npos || text.find(kFullWidthSpace) != std::string_view::npos;
}

std::string storedSpaces(std::string_view typed) {
    // Byte searches are exact, as in eraseBlanks.
    std::string out;
    out.reserve(typed.size() + 8);
    for (std::size_t i = 0; i < typed.size();) {
        if (typed[i] == ' ') {
            out += kNoBreakSpace;
            ++i;
        } else if (typed.substr(i, kFullWidthSpace.size()) == kFullWidthSpace) {
            out += kNoBreakSpace;
            i += kFullWidthSpace.size();
        } else {
            out += typed[i++];
        }
    }
    return out;
}

std::string shownSpaces(std::string_view stored) {
    // C2 is always a lead byte, so C2 A0 is found only where U+00A0 stands.
    std::string out;
    out.reserve(stored.size());
    std::size_t from = 0;
    for (std::size_t at = stored.find(kNoBreakSpace); at != std::string_view::npos;
         at = stored.find(kNoBreakSpace, from)) {
        out.append(stored.substr(from, at - from));
        out += ' ';
        from = at + kNoBreakSpace.size();
    }
    out.append(stored.substr(from));
    return out;
}

std::string removeBlanks(std::string_view text) {
    std::string out(text);
    eraseBlanks(out);
    return out;
}

void mendUtf8(std::string& text) {
    const std::size_t bad = firstInvalid(text, 0);
    if (bad != text.size()) text = mended(text, bad);
}

std::string repairUtf8(std::string_view bytes) {
    if (bytes.empty()) return {};
    return sanitiseUtf8(bytes);
}

std::size_t localLength(std::string_view text) {
    std::size_t length = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t n = validCharLength(text, i);
        if (n == 1) {
            length += 1;
            i += 1;
        } else {
            // A broken sequence counts as the U+FFFD it would become.
            length += 2;
            i += n != 0 ? n : invalidSpan(text, i);
        }
    }
    return length;
}

int compare(std::string_view a, std::string_view b) {
    // char_traits<char>::compare orders bytes as unsigned char.
    const int r = a.compare(b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

std::int32_t toInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isAsciiBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate in 64 bits and stop growing past the 32-bit range, so no
    // number of digits can overflow.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        value = value * 10 + (text[i] - '0');
        if (value > kLimit) value = kLimit;
        ++i;
    }
    if (negative) return static_cast<std::int32_t>(-value);  // -2^31 fits
    if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

std::string toText(std::int64_t value) { return std::to_string(value); }

std::int32_t truncate(double value) {
    if (std::isnan(value)) return 0;
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    if (value >= kMax) return std::numeric_limits<std::int32_t>::max();
    if (value <= kMin) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);  // conversion rounds toward zero
}

}  // namespace pallo
