// How a hover tip breaks into lines a reader takes in whole: at most
// maxWidth pixels each, broken at spaces, between Chinese, Japanese or Korean
// characters (which need no spaces), and inside a word longer than a line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pallo::platform {

namespace tip_wrap {

inline bool continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

inline std::size_t nextChar(std::string_view s, std::size_t i) {
    ++i;
    while (i < s.size() && continuation(s[i])) ++i;
    return i;
}

// The code point starting at i (malformed sequences give their lead byte).
inline char32_t codePoint(std::string_view s, std::size_t i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    const std::size_t end = nextChar(s, i);
    if (lead < 0x80 || end - i < 2) return lead;
    char32_t c = lead & (0x3F >> (end - i - 1));
    for (std::size_t k = i + 1; k < end; ++k) c = (c << 6) | (static_cast<unsigned char>(s[k]) & 0x3F);
    return c;
}

// Scripts written without spaces: a line may break before or after any of
// their characters.
inline bool breaksAnywhere(char32_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x3FFFF);
}

// Closing marks stay with the character before them.
inline bool neverStartsLine(char32_t c) {
    constexpr std::u32string_view marks = U"、。，．！？：；）」』》〉】〕…”’";
    return c == ' ' || marks.find(c) != std::u32string_view::npos;
}

inline std::string_view trimmedRight(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// The pieces of one paragraph between which a line may break; spaces stay at
// the end of the piece before them.
inline std::vector<std::string_view> pieces(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t next = nextChar(text, i);
        if (next >= text.size()) break;
        const char32_t a = codePoint(text, i);
        const char32_t b = codePoint(text, next);
        const bool afterSpace = a == ' ' && b != ' ';
        const bool script = (breaksAnywhere(a) || breaksAnywhere(b)) && !neverStartsLine(b);
        if (afterSpace || script) {
            out.push_back(text.substr(start, next - start));
            start = next;
        }
        i = next;
    }
    if (start < text.size()) out.push_back(text.substr(start));
    return out;
}

// One paragraph's lines, appended to lines.
template <typename Measure>
void wrapParagraph(std::string_view text, int maxWidth, Measure& measure, std::vector<std::string>& lines) {
    std::string line;
    const auto fits = [&](std::string_view s) { return measure(trimmedRight(s)) <= maxWidth; };
    for (const std::string_view piece : pieces(text)) {
        std::string candidate = line + std::string(piece);
        if (line.empty() || fits(candidate)) {
            line = std::move(candidate);
        } else {
            lines.emplace_back(trimmedRight(line));
            line = std::string(piece);
        }
        // A word longer than a line: as many of its characters as fit (at
        // least one) make a line of their own.
        while (!fits(line)) {
            std::size_t cut = nextChar(line, 0);
            while (cut < line.size()) {
                const std::size_t next = nextChar(line, cut);
                if (!fits(std::string_view(line).substr(0, next))) break;
                cut = next;
            }
            lines.emplace_back(line.substr(0, cut));
            line.erase(0, cut);
        }
    }
    lines.emplace_back(trimmedRight(line));
}

}  // namespace tip_wrap

// The lines of text, given measure(text), the width a text takes in the tip's
// font. Its own line breaks ("\r\n" or "\n") always break; a maxWidth of 0 or
// less wraps nothing else.
template <typename Measure>
std::vector<std::string> wrapTip(std::string_view text, int maxWidth, Measure&& measure) {
    std::vector<std::string> lines;
    for (;;) {
        const std::size_t end = text.find('\n');
        std::string_view paragraph = text.substr(0, end);
        if (!paragraph.empty() && paragraph.back() == '\r') paragraph.remove_suffix(1);
        if (maxWidth > 0) tip_wrap::wrapParagraph(paragraph, maxWidth, measure, lines);
        else lines.emplace_back(paragraph);
        if (end == std::string_view::npos) return lines;
        text.remove_prefix(end + 1);
    }
}

// The lines joined with the line breaks the tooltip shows.
inline std::string joinTipLines(const std::vector<std::string>& lines) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) out += "\r\n";
        out += lines[i];
    }
    return out;
}

}  // namespace pallo::platform
