#include "platform/win32/text.h"

// UNICODE and NOMINMAX come from the target: wide (W) functions only.
#include <windows.h>

#include <climits>

namespace pallo::platform::win32 {

std::wstring toWide(std::string_view utf8) {
    if (utf8.empty() || utf8.size() > INT_MAX) return {};
    const int n = static_cast<int>(utf8.size());
    const int count = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), n, nullptr, 0);
    if (count <= 0) return {};
    std::wstring out(static_cast<std::size_t>(count), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), n, out.data(), count);
    return out;
}

std::string toUtf8(std::wstring_view wide) {
    if (wide.empty() || wide.size() > INT_MAX) return {};
    const int n = static_cast<int>(wide.size());
    const int count = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    if (count <= 0) return {};
    std::string out(static_cast<std::size_t>(count), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, out.data(), count, nullptr, nullptr);
    return out;
}

std::wstring fitTip(std::wstring text, std::size_t units) {
    if (text.size() <= units || units == 0) return text;
    std::size_t keep = units - 1;
    if (keep > 0 && text[keep - 1] >= 0xD800 && text[keep - 1] <= 0xDBFF) --keep;
    if (keep > 0 && text[keep - 1] == L'\r') --keep;  // nor between the halves of a line break
    text.resize(keep);
    text += L'\u2026';
    return text;
}

}  // namespace pallo::platform::win32
