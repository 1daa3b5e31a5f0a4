// How a caption too wide for its box shows: cut at its end with "…".
#pragma once

#include <string>
#include <string_view>

namespace pallo::platform {

inline constexpr std::string_view kEllipsis = "\xE2\x80\xA6";  // "…"

// The caption as a box `width` pixels wide shows it, given measure(text),
// the width a text takes in the caption's font: the whole text when it fits,
// else the longest leading part (whole UTF-8 characters, blanks at its end
// dropped) followed by "…" that fits, or "…" alone when none does.
template <typename Measure>
std::string fitCaption(std::string_view text, int width, Measure&& measure) {
    if (measure(text) <= width) return std::string(text);
    // Character starts, from the end: a UTF-8 continuation byte is 10xxxxxx.
    std::size_t cut = text.size();
    while (cut > 0) {
        do --cut;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80);
        std::size_t end = cut;
        while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
        std::string shown(text.substr(0, end));
        shown += kEllipsis;
        if (end > 0 && measure(shown) <= width) return shown;
    }
    return std::string(kEllipsis);
}

}  // namespace pallo::platform
