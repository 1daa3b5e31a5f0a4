// Message boxes of the Win32 platform, and their answering on screen for
// tests through the host window's timer.
#include "platform/win32/platform_impl.h"

#include <cwchar>

#include "platform/win32/text.h"

namespace pallo::platform::win32 {

namespace {

constexpr UINT_PTR kAnswerTimer = 1;

}  // namespace

Answer Win32Backend::messageBox(WindowRef owner, const std::string& text, const std::string& caption,
                                 MessageButtons buttons) {
    const Answer unanswered = buttons == MessageButtons::YesNo ? Answer::No : Answer::Ok;
    // Once the program is ending no box is shown.
    if (exit_) return unanswered;
    HWND ownerHwnd = hwndOf(owner);
    const UINT type = buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK;
    const bool answering = static_cast<bool>(answerer_) && host_;
    if (answering) {
        answeringOwner_ = ownerHwnd;
        answering_ = true;
        SetTimer(host_.get(), kAnswerTimer, 20, nullptr);
    }
    const int result = MessageBoxW(ownerHwnd, toWide(text).c_str(), toWide(caption).c_str(), type);
    if (answering) {
        KillTimer(host_.get(), kAnswerTimer);
        answering_ = false;
    }
    // A box closed by the exit gives no answer, whatever button it held.
    if (exit_) return unanswered;
    if (result == 0) logFailure("MessageBoxW");
    switch (result) {
    case IDYES: return Answer::Yes;
    case IDNO: return Answer::No;
    case IDOK: return Answer::Ok;
    default: return buttons == MessageButtons::YesNo ? Answer::No : Answer::Ok;
    }
}

LRESULT Win32Backend::hostMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER && wp == kAnswerTimer) {
        if (answering_) answerShownBox();
        return 0;
    }
    if (msg == kMsgPlaceTip) {
        placeCurrentTip();
        return 0;
    }
    return DefWindowProcW(host_.get(), msg, wp, lp);
}

void Win32Backend::answerShownBox() {
    struct Search {
        HWND owner;
        HWND box;
    } search{answeringOwner_, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            wchar_t cls[16] = {};
            GetClassNameW(h, cls, 16);
            if (std::wcscmp(cls, L"#32770") == 0 && IsWindowVisible(h) && GetWindow(h, GW_OWNER) == s->owner) {
                s->box = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (!search.box) return;  // not on screen yet: the next tick tries again
    KillTimer(host_.get(), kAnswerTimer);

    ShownBox shown;
    shown.owner = answeringOwner_;
    shown.caption = windowText(search.box);
    shown.buttons = GetDlgItem(search.box, IDYES) ? MessageButtons::YesNo : MessageButtons::Ok;
    EnumChildWindows(
        search.box,
        [](HWND h, LPARAM lp) -> BOOL {
            wchar_t cls[16] = {};
            GetClassNameW(h, cls, 16);
            if (_wcsicmp(cls, L"Static") != 0) return TRUE;
            std::string text = windowText(h);
            if (text.empty()) return TRUE;
            *reinterpret_cast<std::string*>(lp) = std::move(text);
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&shown.text));

    const Answer answer = answerer_(shown);
    int id = answer == Answer::Yes ? IDYES : answer == Answer::No ? IDNO : IDOK;
    if (!GetDlgItem(search.box, id)) id = shown.buttons == MessageButtons::YesNo ? IDNO : IDOK;
    PostMessageW(search.box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(search.box, id)));
}

}  // namespace pallo::platform::win32
