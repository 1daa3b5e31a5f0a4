#include "model/text.h"

#include <cmath>
#include <limits>

namespace pallo {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr std::string_view kFullWidthSpace = "\xE3\x80\x80";  // U+3000

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

std::string sanitiseUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t n = validCharLength(bytes, i);
        if (n != 0) {
            out.append(bytes.substr(i, n));
            i += n;
        } else {
            out.append(kReplacement);
            i += invalidSpan(bytes, i);
        }
    }
    return out;
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
    const auto full = [&] { return maxCount != 0 && pieces.size() >= maxCount; };
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text.substr(i, delim.size()) == delim) {
            pieces.emplace_back(text.substr(start, i - start));
            if (full()) return pieces;
            i += delim.size();
            start = i;
        } else {
            // A whole character at a time, so a delimiter is never matched
            // starting inside a multi-byte character.
            i += stepAt(text, i);
        }
    }
    if (start < text.size() && !full()) pieces.emplace_back(text.substr(start));
    return pieces;
}

std::string join(const std::vector<std::string>& parts, std::string_view delim) {
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i != 0) out.append(delim);
        out.append(parts[i]);
    }
    return out;
}

std::string removeBlanks(std::string_view text) {
    // Byte matching is safe here: 0x20 never occurs inside a multi-byte
    // character, and E3 is always a lead byte, never a continuation.
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
        } else if (text.substr(i, kFullWidthSpace.size()) == kFullWidthSpace) {
            i += kFullWidthSpace.size();
        } else {
            out.push_back(text[i]);
            ++i;
        }
    }
    return out;
}

std::string Utf8ToLocal(std::string_view bytes) {
    if (bytes.empty()) return {};
    return sanitiseUtf8(bytes);
}

std::string LocalToUtf8(std::string_view text) {
    if (text.empty()) return {};
    return sanitiseUtf8(text);
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
