// The save-as dialog of the Win32 platform (comdlg32).
#include "platform/win32/platform_impl.h"
// After windows.h, which platform_impl.h brings.
#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "platform/win32/text.h"

namespace pallo::platform::win32 {

std::optional<std::string> Win32Backend::chooseSaveFile(WindowRef owner, const std::string& title,
                                                        const std::string& suggestedName, const FileKind& kind) {
    if (exit_) return std::nullopt;
    // "description\0pattern\0\0", as the dialog reads its filters.
    std::wstring filter = toWide(kind.description);
    filter += L'\0';
    filter += toWide(kind.pattern);
    filter += L'\0';
    const std::wstring caption = toWide(title);
    const std::wstring extension = toWide(kind.extension);
    std::vector<wchar_t> file(32768, L'\0');  // room for long paths
    const std::wstring suggested = toWide(suggestedName);
    std::copy_n(suggested.begin(), std::min(suggested.size(), file.size() - 1), file.begin());

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hwndOf(owner);
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = caption.c_str();
    ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    auto* getSaveFileName = commonDialogs_.function<decltype(GetSaveFileNameW)>("GetSaveFileNameW");
    auto* extendedError = commonDialogs_.function<decltype(CommDlgExtendedError)>("CommDlgExtendedError");
    if (!getSaveFileName || !extendedError) {
        logFailure("GetSaveFileNameW");
        return std::nullopt;
    }
    const BOOL chosen = getSaveFileName(&ofn);
    if (exit_) return std::nullopt;
    if (!chosen) {
        if (extendedError() != 0) logFailure("GetSaveFileNameW");
        return std::nullopt;
    }
    return toUtf8(std::wstring_view(file.data()));
}

}  // namespace pallo::platform::win32
