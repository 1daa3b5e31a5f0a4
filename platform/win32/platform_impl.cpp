// The program-wide part of the Win32 platform: window classes, the event
// loop, message boxes, top-level windows and their window procedure.
#include "platform/win32/platform_impl.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cwchar>

#include "platform/win32/create.h"
#include "platform/win32/text.h"

namespace pallo::platform::win32 {

std::string windowText(HWND h) {
    const int n = GetWindowTextLengthW(h);
    if (n <= 0) return {};
    std::wstring buf(static_cast<std::size_t>(n) + 1, L'\0');
    const int got = GetWindowTextW(h, buf.data(), n + 1);
    buf.resize(static_cast<std::size_t>(std::max(got, 0)));
    return toUtf8(buf);
}

namespace {

constexpr const wchar_t* kWindowClass = L"PalloWindow";
constexpr const wchar_t* kHostClass = L"PalloHost";
constexpr UINT_PTR kAnswerTimer = 1;

// OS failures are logged and the call carries on; nothing here is fatal.
void logFailure(const char* call) {
    std::string line = "pallo win32: ";
    line += call;
    line += " failed, error ";
    line += std::to_string(GetLastError());
    line += "\n";
    OutputDebugStringA(line.c_str());
}

LRESULT CALLBACK topWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        // Registered here, not after CreateWindowEx returns: the messages of
        // creation (WM_NCCALCSIZE, WM_CREATE, the first WM_WINDOWPOSCHANGED)
        // would otherwise reach a window without its object.
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        auto* w = static_cast<TopWindow*>(cs->lpCreateParams);
        SetLastError(0);
        if (!SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(w)) && GetLastError() != 0) {
            logFailure("SetWindowLongPtrW");
            return FALSE;
        }
        w->hwnd.reset(hwnd);
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    auto* w = reinterpret_cast<TopWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!w) return DefWindowProcW(hwnd, msg, wp, lp);
    // A hotkey belongs to its window: released while the window still exists
    // (also when the TopWindow itself is being destroyed).
    if (msg == WM_DESTROY) w->hotkey.reset();
    if (msg == WM_NCDESTROY) {
        // Also reached when an owner's destruction takes this window along.
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        w->ready = false;
        w->hwnd.release();
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    // A handler may destroy this very window; the object stays alive until
    // its message has been handled.
    const auto keep = w->weak_from_this().lock();
    if (!keep) return DefWindowProcW(hwnd, msg, wp, lp);
    return w->platform->topWindowMessage(*w, msg, wp, lp);
}

LRESULT CALLBACK hostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetLastError(0);
        if (!SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams)) &&
            GetLastError() != 0)
            return FALSE;
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    auto* p = reinterpret_cast<Win32Backend*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (!p || msg == WM_NCDESTROY) return DefWindowProcW(hwnd, msg, wp, lp);
    return p->hostMessage(msg, wp, lp);
}

}  // namespace

TopWindow::~TopWindow() {
    ready = false;
    if (hwnd) DestroyWindow(hwnd.release());
}

Control* TopWindow::controlByHwnd(HWND h) const {
    if (!h) return nullptr;
    const int index = GetDlgCtrlID(h) - kFirstControlId;
    if (index < 0 || static_cast<std::size_t>(index) >= controls.size()) return nullptr;
    Control* c = controls[static_cast<std::size_t>(index)].get();
    return c->hwnd == h ? c : nullptr;
}

Win32Backend::Win32Backend() {
    instance_ = GetModuleHandleW(nullptr);
    // Looked up rather than imported, so the program still starts on systems
    // older than Windows 10 1607 (everything then stays at the system DPI).
    if (HMODULE user = GetModuleHandleW(L"user32.dll")) {
        getDpiForWindow_ = reinterpret_cast<decltype(getDpiForWindow_)>(
            reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")));
        adjustWindowRectExForDpi_ = reinterpret_cast<decltype(adjustWindowRectExForDpi_)>(
            reinterpret_cast<void*>(GetProcAddress(user, "AdjustWindowRectExForDpi")));
    }
    // Windows 8.1 and later; the shell has it loaded already.
    if (HMODULE shcore = GetModuleHandleW(L"shcore.dll"))
        getDpiForMonitor_ = reinterpret_cast<decltype(getDpiForMonitor_)>(
            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")));
    {
        WindowDc screen(nullptr);
        if (screen.get()) systemDpi_ = std::max(1, GetDeviceCaps(screen.get(), LOGPIXELSY));
    }
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX),
                             ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    if (!InitCommonControlsEx(&icc)) logFailure("InitCommonControlsEx");

    struct ClassInfo {
        const wchar_t* name;
        WNDPROC proc;
        HCURSOR cursor;
    };
    const ClassInfo classes[] = {
        {kWindowClass, topWindowProc, LoadCursorW(nullptr, IDC_ARROW)},
        {kHostClass, hostProc, nullptr},
        {kPictureClass, pictureProc, LoadCursorW(nullptr, IDC_ARROW)},
        {kLabelClass, labelProc, LoadCursorW(nullptr, IDC_ARROW)},
    };
    registeredClasses_ = true;
    for (const auto& cls : classes) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = cls.proc;
        wc.hInstance = instance_;
        wc.hCursor = cls.cursor;
        wc.lpszClassName = cls.name;
        if (!RegisterClassExW(&wc)) {
            logFailure("RegisterClassExW");
            registeredClasses_ = false;
        }
    }
    HWND host = CreateWindowExW(0, kHostClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance_, this);
    if (!host) logFailure("CreateWindowExW(host)");
    host_.reset(host);
}

Win32Backend::~Win32Backend() {
    sink_ = nullptr;  // nothing reaches the core while everything is torn down
    // A WM_QUIT of requestExit left in the thread's queue would end the
    // next loop on this thread at once.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    for (auto& [id, w] : windows_) {
        w->ready = false;
        if (w->hwnd) removeTools(*w);
    }
    windows_.clear();
    tooltip_.reset();
    host_.reset();
    fonts_.clear();
    if (registeredClasses_) {
        for (const wchar_t* name : {kWindowClass, kHostClass, kPictureClass, kLabelClass})
            UnregisterClassW(name, instance_);
    }
}

// --- the program --------------------------------------------------------------

void Win32Backend::dispatch(MSG& msg) {
    if (msg.hwnd) {
        // Tab and arrow keys move between the controls of framed windows.
        HWND root = GetAncestor(msg.hwnd, GA_ROOT);
        for (const auto& [id, w] : windows_) {
            if (w->hwnd.get() == root) {
                if (w->design.framed && IsDialogMessageW(root, &msg)) return;
                break;
            }
        }
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

bool Win32Backend::runIdleTask() {
    if (!idleTask_.pending() || exit_) return false;
    // Sent messages are delivered by the peek; anything posted, input or
    // painting goes first.
    MSG waiting;
    if (PeekMessageW(&waiting, nullptr, 0, 0, PM_NOREMOVE)) return false;
    idleTask_.runOnce();
    return true;
}

int Win32Backend::run() {
    MSG msg;
    while (!exit_) {
        if (runIdleTask()) continue;
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            exit_ = true;
            return static_cast<int>(msg.wParam);
        }
        if (got == -1) {
            logFailure("GetMessageW");
            exit_ = true;
            return 1;
        }
        // Handlers run inside this call; the loop looks at the exit request
        // only after the outermost one has returned.
        dispatch(msg);
    }
    return 0;
}

void Win32Backend::requestExit() {
    if (exit_) return;
    exit_ = true;
    // WM_QUIT ends the modal loop of a message box that is still open (a
    // question of an editor asked before the exit was confirmed): the box
    // closes and the loop posts WM_QUIT again for the next loop out. It
    // also wakes a GetMessageW that is waiting for input.
    PostQuitMessage(0);
}

void Win32Backend::waitProcessingEvents(int ms) {
    if (ms <= 0 || exit_) return;
    const std::int64_t deadline = tickMs() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                exit_ = true;
                return;
            }
            dispatch(msg);
            if (exit_) return;
        }
        const std::int64_t remaining = deadline - tickMs();
        if (remaining <= 0) return;
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(remaining), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

std::int64_t Win32Backend::tickMs() const {
    return static_cast<std::int64_t>(GetTickCount64());
}

namespace {

struct MonitorList {
    std::vector<Monitor> list;
    HRESULT(WINAPI* getDpiForMonitor)(HMONITOR, int, UINT*, UINT*);
    int systemDpi;
};

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) return TRUE;
    const RECT& r = info.rcMonitor;
    auto& monitors = *reinterpret_cast<MonitorList*>(data);
    Monitor m{r.left, r.top, r.right - r.left, r.bottom - r.top, (info.dwFlags & MONITORINFOF_PRIMARY) != 0,
              monitors.systemDpi};
    UINT dpiX = 0, dpiY = 0;
    const int effectiveDpi = 0;  // MDT_EFFECTIVE_DPI: the scale the user chose for that monitor
    if (monitors.getDpiForMonitor && SUCCEEDED(monitors.getDpiForMonitor(monitor, effectiveDpi, &dpiX, &dpiY)) &&
        dpiY > 0)
        m.dpi = static_cast<int>(dpiY);
    if (m.primary) monitors.list.insert(monitors.list.begin(), m);
    else monitors.list.push_back(m);
    return TRUE;
}

}  // namespace

std::vector<Monitor> Win32Backend::monitors() const {
    MonitorList monitors{{}, getDpiForMonitor_, systemDpi_};
    EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&monitors));
    std::vector<Monitor>& list = monitors.list;
    // Without a monitor list the primary screen's size still is known.
    if (list.empty() || !list.front().primary)
        list.insert(list.begin(),
                    Monitor{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), true, systemDpi_});
    return list;
}

std::string Win32Backend::runDirectory() const {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) {
            logFailure("GetModuleFileNameW");
            return {};
        }
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        if (path.size() >= 65536) return {};
        path.resize(path.size() * 2);  // truncated: try again with room for long paths
    }
    const auto slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return {};
    return toUtf8(std::wstring_view(path).substr(0, slash));
}

void Win32Backend::openFolder(const std::string& path) {
    if (openFolderHook_) {
        openFolderHook_(path);
        return;
    }
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", toWide(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32) logFailure("ShellExecuteW");
}

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

// --- events -----------------------------------------------------------------------

void Win32Backend::fire(const TopWindow& w, const Control* c, ui::EventKind kind, int wheelDelta) {
    if (!sink_ || !w.ready) return;
    Event e;
    e.window = w.ref;
    e.design = w.design.name;
    if (c) e.control = c->design.name;
    e.kind = kind;
    e.wheelDelta = wheelDelta;
    sink_->handle(e);
}

bool Win32Backend::bound(const TopWindow& w, const Control& c, ui::EventKind kind) const {
    return sink_ && sink_->isBound(w.design.name, c.design.name, kind);
}

namespace {

// Paints the whole client area in the window's background.
LRESULT eraseBackground(const TopWindow& w, HDC dc) {
    RECT r;
    GetClientRect(w.hwnd.get(), &r);
    FillRect(dc, &r, w.background.get());
    return 1;
}

// The colours of a static or button control: its text colour and
// background, a check or group box without one taking the window's.
std::optional<LRESULT> controlColours(TopWindow& w, UINT msg, WPARAM wp, LPARAM lp) {
    Control* c = w.controlByHwnd(reinterpret_cast<HWND>(lp));
    if (!c) return std::nullopt;
    HDC dc = reinterpret_cast<HDC>(wp);
    const LRESULT standard = DefWindowProcW(w.hwnd.get(), msg, wp, lp);
    if (c->hasColour) SetTextColor(dc, toColorRef(ui::unpackColour(c->colour)));
    HBRUSH brush = c->background.get();
    COLORREF colour = c->design.background ? toColorRef(*c->design.background) : 0;
    const bool buttonLike = c->design.kind == ui::ControlKind::CheckBox || c->design.kind == ui::ControlKind::GroupBox;
    if (!brush && buttonLike && w.design.background) {
        brush = w.background.get();
        colour = w.backgroundColour;
    }
    if (!brush) return standard;
    SetBkColor(dc, colour);
    return reinterpret_cast<LRESULT>(brush);
}

}  // namespace

LRESULT Win32Backend::positionChanged(TopWindow& w, UINT msg, WPARAM wp, LPARAM lp) {
    HWND hwnd = w.hwnd.get();
    // DefWindowProc turns this into WM_MOVE and WM_SIZE; call it first so
    // the handler sees the window complete at its new place.
    const LRESULT result = DefWindowProcW(hwnd, msg, wp, lp);
    RECT now;
    if (GetWindowRect(hwnd, &now) && !EqualRect(&now, &w.lastRect)) {
        w.lastRect = now;
        fire(w, nullptr, ui::EventKind::PositionChanged);
    }
    return result;
}

std::optional<LRESULT> Win32Backend::commandMessage(TopWindow& w, WPARAM wp, LPARAM lp) {
    Control* c = w.controlByHwnd(reinterpret_cast<HWND>(lp));
    if (!c) return std::nullopt;
    const UINT code = HIWORD(wp);
    switch (c->design.kind) {
    case ui::ControlKind::Button:
    case ui::ControlKind::CheckBox:
        if (code == BN_CLICKED && c->quiet == 0) fire(w, c, ui::EventKind::Clicked);
        break;
    case ui::ControlKind::Combo:
        // A choice counts once it is committed: picked in the open list
        // (CBN_SELENDOK while it is still open), or the list closed or the
        // box left on another item than before. CBN_SELCHANGE also comes for
        // every arrow key, which only moves the item shown. The box hears of
        // its focus leaving before the control that takes it hears of the
        // press that took it, so the choice is known before that acts.
        if (c->quiet != 0) break;
        if (code == CBN_SELENDOK && SendMessageW(c->hwnd, CB_GETDROPPEDSTATE, 0, 0))
            commitChoice(w, *c, true);
        else if (code == CBN_CLOSEUP || code == CBN_KILLFOCUS)
            commitChoice(w, *c, false);
        break;
    case ui::ControlKind::Edit:
        if (code == EN_CHANGE && c->quiet == 0) fire(w, c, ui::EventKind::ContentChanged);
        break;
    default: break;
    }
    return 0;
}

std::optional<LRESULT> Win32Backend::scrollMessage(TopWindow& w, WPARAM wp, LPARAM lp) {
    Control* c = w.controlByHwnd(reinterpret_cast<HWND>(lp));
    if (!c || c->design.kind != ui::ControlKind::HScrollBar) return std::nullopt;
    const int pos = GetScrollPos(c->hwnd, SB_CTL);
    const int target = scrollTarget(c->scroll, pos, LOWORD(wp), static_cast<short>(HIWORD(wp)));
    if (target != pos) {
        SetScrollPos(c->hwnd, SB_CTL, target, TRUE);
        fire(w, c, ui::EventKind::ScrollChanged);
    }
    return 0;
}

std::optional<LRESULT> Win32Backend::notifyMessage(TopWindow& w, LPARAM lp) {
    auto* hdr = reinterpret_cast<NMHDR*>(lp);
    Control* c = hdr ? w.controlByHwnd(hdr->hwndFrom) : nullptr;
    if (!c || c->design.kind != ui::ControlKind::ListView) return std::nullopt;
    if (hdr->code == NM_CUSTOMDRAW) return listNotify(*c, *hdr);
    if (hdr->code == LVN_ITEMCHANGED) {
        const auto* lv = reinterpret_cast<const NMLISTVIEW*>(lp);
        const UINT watched = LVIS_SELECTED | LVIS_FOCUSED;
        // One click deselects one row and selects another: the changes are
        // gathered into one posted message, so the user's action fires once.
        if ((lv->uChanged & LVIF_STATE) && ((lv->uOldState ^ lv->uNewState) & watched) && c->quiet == 0 &&
            !c->listChangePending) {
            c->listChangePending = true;
            PostMessageW(w.hwnd.get(), kMsgListChanged, static_cast<WPARAM>(c->id), 0);
        }
    }
    return 0;
}

LRESULT Win32Backend::topWindowMessage(TopWindow& w, UINT msg, WPARAM wp, LPARAM lp) {
    HWND hwnd = w.hwnd.get();
    std::optional<LRESULT> handled;
    switch (msg) {
    case WM_ERASEBKGND: return eraseBackground(w, reinterpret_cast<HDC>(wp));
    case WM_MOUSEACTIVATE:
        // A press on the overlay or a row leaves the game active, with its
        // keyboard focus.
        if (!w.design.framed) return MA_NOACTIVATE;
        break;
    case WM_HOTKEY:
        if (static_cast<int>(wp) == kHotkeyId) fire(w, nullptr, ui::EventKind::HotkeyPressed);
        return 0;
    case WM_CLOSE:
        // The core decides: a node window ignores it, the overlay asks first.
        fire(w, nullptr, ui::EventKind::ClosedByUser);
        return 0;
    case WM_ENTERSIZEMOVE: w.userMoving = true; break;
    case WM_EXITSIZEMOVE: w.userMoving = false; break;
    case WM_GETDPISCALEDSIZE:
        // The designed size at the new DPI, so the rectangle the system
        // suggests with WM_DPICHANGED is exactly the window's.
        *reinterpret_cast<SIZE*>(lp) = outerSize(w, static_cast<int>(wp));
        return TRUE;
    case WM_DPICHANGED: applyDpi(w, LOWORD(wp), reinterpret_cast<const RECT*>(lp)); return 0;
    case WM_WINDOWPOSCHANGED: return positionChanged(w, msg, wp, lp);
    case WM_COMMAND: handled = commandMessage(w, wp, lp); break;
    case WM_HSCROLL: handled = scrollMessage(w, wp, lp); break;
    case WM_NOTIFY: handled = notifyMessage(w, lp); break;
    case kMsgListChanged: listChanged(w, static_cast<int>(wp)); return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: handled = controlColours(w, msg, wp, lp); break;
    default: break;
    }
    return handled ? *handled : DefWindowProcW(hwnd, msg, wp, lp);
}

// --- top-level windows -------------------------------------------------------------

TopWindow* Win32Backend::findWindow(WindowRef w) const {
    const auto it = windows_.find(w.id);
    if (it == windows_.end() || !it->second->hwnd) return nullptr;
    return it->second.get();
}

HWND Win32Backend::hwndOf(WindowRef w) const {
    const TopWindow* t = findWindow(w);
    return t ? t->hwnd.get() : nullptr;
}

WindowRef Win32Backend::createWindow(const ui::WindowDesign& design, WindowRef owner) {
    // Forget windows whose native window is gone (destroyed with an owner).
    std::erase_if(windows_, [](const auto& entry) { return !entry.second->hwnd; });

    auto w = std::make_shared<TopWindow>();
    w->platform = this;
    w->ref = WindowRef{nextWindowId_++};
    w->design = design;
    w->design.controls.clear();
    w->owner = findWindow(owner) ? owner : WindowRef{};
    w->title = design.caption;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    w->backgroundRgb = design.background.value_or(ui::Rgb{GetRValue(face), GetGValue(face), GetBValue(face)});
    w->backgroundColour = toColorRef(w->backgroundRgb);
    w->background.reset(CreateSolidBrush(w->backgroundColour));

    const WindowStyles styles = windowStyles(design);
    w->width = std::max(design.width, 0);
    w->height = std::max(design.height, 0);
    w->dpi = systemDpi_;
    const SIZE outer = outerSize(*w, w->dpi);
    HWND hwnd = CreateWindowExW(styles.exStyle, kWindowClass, toWide(design.caption).c_str(), styles.style,
                                design.left, design.top, outer.cx, outer.cy, hwndOf(w->owner), nullptr, instance_,
                                w.get());
    if (!hwnd) {
        logFailure("CreateWindowExW");
        return {};
    }
    // The design place may lie on a monitor of another DPI than the system's.
    if (const int dpi = windowDpi(hwnd); dpi != w->dpi) {
        w->dpi = dpi;
        const SIZE scaled = outerSize(*w, w->dpi);
        SetWindowPos(hwnd, nullptr, 0, 0, scaled.cx, scaled.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        fitClientArea(*w);
    }
    windows_[w->ref.id] = w;
    for (std::size_t i = 0; i < design.controls.size(); ++i) createControl(*w, design.controls[i], static_cast<int>(i));
    arrangeZOrder(*w);
    GetWindowRect(hwnd, &w->lastRect);
    w->ready = true;
    const WindowRef ref = w->ref;
    fire(*w, nullptr, ui::EventKind::Created);
    // The icon (taskbar, frame) is decoded once the window's own set-up has
    // run, which may show it: the picture comes a moment after the window.
    if (TopWindow* made = findWindow(ref)) loadIcon(*made);
    return ref;
}

bool Win32Backend::exists(WindowRef w) const {
    return findWindow(w) != nullptr;
}

void Win32Backend::removeTools(const TopWindow& w) {
    if (!tooltip_) return;
    for (const auto& c : w.controls) {
        if (c->tooltip.empty() || !c->hwnd) continue;
        TOOLINFOW ti{};
        ti.cbSize = TTTOOLINFOW_V2_SIZE;
        ti.hwnd = w.hwnd.get();
        ti.uId = reinterpret_cast<UINT_PTR>(c->hwnd);
        SendMessageW(tooltip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
        c->tooltip.clear();
    }
}

void Win32Backend::destroy(WindowRef ref) {
    const auto it = windows_.find(ref.id);
    if (it == windows_.end()) return;
    // Keep the object until this returns: destroy may be called by a handler
    // of this very window, whose procedure is still on the stack.
    const std::shared_ptr<TopWindow> w = it->second;
    windows_.erase(it);
    w->ready = false;
    if (w->hwnd) {
        removeTools(*w);
        DestroyWindow(w->hwnd.release());
    }
}

NativeHandle Win32Backend::nativeHandle(WindowRef w) const {
    return reinterpret_cast<NativeHandle>(hwndOf(w));
}

std::string Win32Backend::designName(WindowRef w) const {
    const TopWindow* t = findWindow(w);
    return t ? t->design.name : std::string{};
}

WindowRef Win32Backend::owner(WindowRef w) const {
    const TopWindow* t = findWindow(w);
    return t ? t->owner : WindowRef{};
}

void Win32Backend::setVisible(WindowRef w, bool visible) {
    const TopWindow* t = findWindow(w);
    if (!t) return;
    // Borderless windows (overlay, rows) appear without taking the focus
    // from the program the user is in.
    const int show = !visible ? SW_HIDE : t->design.framed ? SW_SHOW : SW_SHOWNOACTIVATE;
    ShowWindow(t->hwnd.get(), show);
}

void Win32Backend::showWithoutActivating(WindowRef w) {
    if (const TopWindow* t = findWindow(w)) ShowWindow(t->hwnd.get(), SW_SHOWNOACTIVATE);
}

bool Win32Backend::isVisible(WindowRef w) const {
    const HWND h = hwndOf(w);
    return h && (GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool Win32Backend::isEnabled(WindowRef w) const {
    const HWND h = hwndOf(w);
    return h && IsWindowEnabled(h);
}

void Win32Backend::move(WindowRef w, int left, int top) {
    TopWindow* t = findWindow(w);
    if (!t) return;
    if (!SetWindowPos(t->hwnd.get(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
        logFailure("SetWindowPos(move)");
    // Moved onto a monitor of another DPI, the window is rescaled at once,
    // should the system not have told it (a hidden window, before start-up
    // shows the overlay and places its rows by its scale).
    if (const int dpi = windowDpi(t->hwnd.get()); getDpiForWindow_ && dpi != t->dpi) applyDpi(*t, dpi, nullptr);
}

void Win32Backend::resize(WindowRef w, int width, int height) {
    TopWindow* t = findWindow(w);
    if (!t) return;
    // Kept in design units: the size reads back exactly at any DPI.
    t->width = std::max(width, 0);
    t->height = std::max(height, 0);
    const SIZE outer = outerSize(*t, t->dpi);
    if (!SetWindowPos(t->hwnd.get(), nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE))
        logFailure("SetWindowPos(resize)");
    fitClientArea(*t);
}

void Win32Backend::fitClientArea(const TopWindow& w) {
    if (!w.design.framed || !w.hwnd) return;
    // The frame the system draws can differ from the one it computes for a
    // DPI (Wine draws every frame at the system's DPI): the client area is
    // what has to come out at the designed size.
    HWND hwnd = w.hwnd.get();
    RECT client{};
    RECT outer{};
    if (!GetClientRect(hwnd, &client) || !GetWindowRect(hwnd, &outer)) return;
    const int dx = scaleToDpi(w.width, w.dpi) - client.right;
    const int dy = scaleToDpi(w.height, w.dpi) - client.bottom;
    if (dx == 0 && dy == 0) return;
    SetWindowPos(hwnd, nullptr, 0, 0, outer.right - outer.left + dx, outer.bottom - outer.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE Win32Backend::outerSize(const TopWindow& w, int dpi) const {
    RECT outer{0, 0, scaleToDpi(w.width, dpi), scaleToDpi(w.height, dpi)};
    // The designed size of a framed window is its client area; the frame and
    // caption, as thick as the DPI makes them, come on top.
    if (w.design.framed) {
        const WindowStyles styles = windowStyles(w.design);
        const BOOL ok = adjustWindowRectExForDpi_
                            ? adjustWindowRectExForDpi_(&outer, styles.style, FALSE, styles.exStyle,
                                                        static_cast<UINT>(dpi))
                            : AdjustWindowRectEx(&outer, styles.style, FALSE, styles.exStyle);
        if (!ok) logFailure("AdjustWindowRectEx");
    }
    return SIZE{outer.right - outer.left, outer.bottom - outer.top};
}

int Win32Backend::windowDpi(HWND h) const {
    const UINT dpi = getDpiForWindow_ && h ? getDpiForWindow_(h) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : systemDpi_;
}

void Win32Backend::applyDpi(TopWindow& w, int dpi, const RECT* suggested) {
    if (dpi <= 0 || !w.hwnd) return;
    w.dpi = dpi;
    for (const auto& c : w.controls) layoutControl(w, *c);
    HWND hwnd = w.hwnd.get();
    RECT now{};
    GetWindowRect(hwnd, &now);
    // Dragged across by the user, the window takes the place the system
    // suggests, which keeps it under the pointer; a window the program put
    // somewhere keeps its top-left corner, where the core placed it.
    POINT at{now.left, now.top};
    if (w.userMoving && suggested) at = POINT{suggested->left, suggested->top};
    const SIZE outer = outerSize(w, w.dpi);
    if (!SetWindowPos(hwnd, nullptr, at.x, at.y, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE))
        logFailure("SetWindowPos(dpi)");
    fitClientArea(w);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

namespace {
RECT outerRect(HWND h) {
    RECT r{};
    if (h) GetWindowRect(h, &r);
    return r;
}
}  // namespace

int Win32Backend::left(WindowRef w) const { return outerRect(hwndOf(w)).left; }
int Win32Backend::top(WindowRef w) const { return outerRect(hwndOf(w)).top; }
int Win32Backend::width(WindowRef w) const {
    const TopWindow* t = findWindow(w);
    return t ? t->width : 0;
}
int Win32Backend::outerHeight(WindowRef w) const {
    const RECT r = outerRect(hwndOf(w));
    return r.bottom - r.top;
}
int Win32Backend::height(WindowRef w) const {
    const TopWindow* t = findWindow(w);
    return t ? t->height : 0;
}
int Win32Backend::dpi(WindowRef w) const {
    const TopWindow* t = findWindow(w);
    return t ? t->dpi : kDesignDpi;
}

void Win32Backend::setTopMost(WindowRef w, bool onTop) {
    TopWindow* t = findWindow(w);
    if (!t) return;
    t->topMost = onTop;
    if (!SetWindowPos(t->hwnd.get(), onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                      SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE))
        logFailure("SetWindowPos(topmost)");
    if (onTop) return;
    // Leaving the top-most band takes the owned windows along, all the way
    // down. The owner goes first: an owned window cannot leave the band while
    // its owner is in it.
    std::vector<WindowRef> owned;
    for (const auto& [id, other] : windows_)
        if (other->hwnd && other->owner == w) owned.push_back(other->ref);
    for (const WindowRef o : owned) setTopMost(o, false);
}

bool Win32Backend::isTopMost(WindowRef w) const {
    const TopWindow* t = findWindow(w);
    return t && t->topMost;
}

void Win32Backend::setWindowTag(WindowRef w, const std::string& tag) {
    if (TopWindow* t = findWindow(w)) t->tag = tag;
}

std::string Win32Backend::windowTag(WindowRef w) const {
    const TopWindow* t = findWindow(w);
    return t ? t->tag : std::string{};
}

void Win32Backend::setTitle(WindowRef w, const std::string& title) {
    TopWindow* t = findWindow(w);
    if (!t) return;
    t->title = title;
    SetWindowTextW(t->hwnd.get(), toWide(title).c_str());
}

std::string Win32Backend::title(WindowRef w) const {
    const TopWindow* t = findWindow(w);
    return t ? t->title : std::string{};
}

bool Win32Backend::registerHotkey(WindowRef w, const Hotkey& hotkey) {
    TopWindow* t = findWindow(w);
    if (!t) return false;
    t->hotkey.reset();
    const HotkeyCodes codes = hotkeyCodes(hotkey);
    if (!RegisterHotKey(t->hwnd.get(), kHotkeyId, codes.modifiers, codes.virtualKey)) {
        logFailure("RegisterHotKey");
        return false;
    }
    t->hotkey.reset(t->hwnd.get());
    return true;
}

void Win32Backend::unregisterHotkey(WindowRef w) {
    if (TopWindow* t = findWindow(w)) t->hotkey.reset();
}

void Win32Backend::setLayeredAlpha(WindowRef w, int alpha) {
    const HWND h = hwndOf(w);
    if (!h || !IsWindow(h)) return;
    const LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
    SetWindowLongW(h, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    if (!SetLayeredWindowAttributes(h, 0, static_cast<BYTE>(std::clamp(alpha, 0, 255)), LWA_ALPHA))
        logFailure("SetLayeredWindowAttributes");
}

int Win32Backend::layeredAlpha(WindowRef w) const {
    const HWND h = hwndOf(w);
    if (!h || !IsWindow(h) || !(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_LAYERED)) return 255;
    COLORREF key = 0;
    BYTE alpha = 255;
    DWORD flags = 0;
    if (!GetLayeredWindowAttributes(h, &key, &alpha, &flags) || !(flags & LWA_ALPHA)) return 255;
    return alpha;
}

std::unique_ptr<Platform> createPlatform() { return std::make_unique<Win32Backend>(); }

}  // namespace pallo::platform::win32
