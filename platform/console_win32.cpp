#include "platform/console.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace pallo::console {

namespace {

void write(DWORD which, std::FILE* stream, std::string_view text) {
    const HANDLE h = GetStdHandle(which);
    DWORD mode = 0;
    if (h != INVALID_HANDLE_VALUE && h != nullptr && GetConsoleMode(h, &mode) && !text.empty() &&
        text.size() < 0x7FFFFFFF) {
        // A console: write UTF-16, so the text shows whatever the code page.
        const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(n), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
        DWORD written = 0;
        WriteConsoleW(h, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

}  // namespace

void writeOut(std::string_view text) { write(STD_OUTPUT_HANDLE, stdout, text); }
void writeErr(std::string_view text) { write(STD_ERROR_HANDLE, stderr, text); }

std::vector<std::string> wideArguments(int argc, const wchar_t* const* argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const int length = static_cast<int>(std::wcslen(argv[i]));
        const int n = WideCharToMultiByte(CP_UTF8, 0, argv[i], length, nullptr, 0, nullptr, nullptr);
        std::string utf8(static_cast<std::size_t>(n), '\0');
        WideCharToMultiByte(CP_UTF8, 0, argv[i], length, utf8.data(), n, nullptr, nullptr);
        args.push_back(std::move(utf8));
    }
    return args;
}

}  // namespace pallo::console
