// The program-wide part of the Win32 platform: window classes, the event
// loop, monitors and the run folder.
#include "platform/win32/platform_impl.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

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

void logFailure(const char* call) {
    std::string line = "pallo win32: ";
    line += call;
    line += " failed, error ";
    line += std::to_string(GetLastError());
    line += "\n";
    OutputDebugStringA(line.c_str());
}

namespace {

constexpr const wchar_t* kHostClass = L"PalloHost";

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

std::string Win32Backend::programFile() const {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) {
            logFailure("GetModuleFileNameW");
            return {};
        }
        if (n < path.size()) {
            path.resize(n);
            return toUtf8(path);
        }
        if (path.size() >= 65536) return {};
        path.resize(path.size() * 2);  // truncated: try again with room for long paths
    }
}

std::string Win32Backend::runDirectory() const {
    const std::string path = programFile();
    const auto slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return {};
    return path.substr(0, slash);
}

void Win32Backend::openFolder(const std::string& path) {
    if (openFolderHook_) {
        openFolderHook_(path);
        return;
    }
    auto* shellExecute = shell_.function<decltype(ShellExecuteW)>("ShellExecuteW");
    const auto result = shellExecute ? reinterpret_cast<INT_PTR>(
                                           shellExecute(nullptr, L"open", toWide(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL))
                                     : 0;
    if (result <= 32) logFailure("ShellExecuteW");
}

std::unique_ptr<Platform> createPlatform() { return std::make_unique<Win32Backend>(); }

}  // namespace pallo::platform::win32
