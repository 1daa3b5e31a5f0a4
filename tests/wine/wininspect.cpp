// Lists the visible top-level windows and their child controls, one per line, as
// UTF-8 on standard output:
//
//   window <TAB> hwnd <TAB> class <TAB> left,top,width,height <TAB> title
//          <TAB> visible <TAB> topmost <TAB> owner
//   control <TAB> hwnd <TAB> class <TAB> left,top,width,height <TAB> text
//          <TAB> visible <TAB> enabled <TAB> value <TAB> focused
//
// Every control line follows the window it belongs to; windows come in the
// system's z-order, top first. Texts escape backslash, tab, CR and LF as
// \\ \t \r \n, so a line is always one record. Rectangles are screen
// coordinates (GetWindowRect: a framed window's outer rectangle). visible,
// enabled and topmost (WS_EX_TOPMOST) are 1 or 0; owner is the owner's hwnd or
// 0. value is a check box's state (0, 1, 2), a scroll bar's position, or "-".
// focused is 1 for the control that has the keyboard focus of its thread (an
// edit box inside a combo box counts for the combo box), else 0.
//
//   wininspect [--exe NAME] [--title TEXT] [--hidden]
//   wininspect --foreground
//
// --exe keeps only windows of processes whose image file name is NAME (compared
// without regard to ASCII case); --title keeps only windows with exactly that
// title; --hidden lists hidden top-level windows too. A control's text and
// value come from messages sent with a timeout: Wine marshals them across
// processes, and a hung target must not hang this tool.
//
// --foreground prints one line instead: the foreground window (the active
// window of the desktop) and the control with the keyboard focus in its thread
//
//   foreground <TAB> hwnd <TAB> class <TAB> left,top,width,height <TAB> title
//              <TAB> focus hwnd <TAB> focus class
//
// with 0 and empty fields where there is none.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string toUtf8(const std::wstring& w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::string escape(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default: out += c;
        }
    }
    return out;
}

std::wstring className(HWND h) {
    wchar_t buf[256] = {};
    const int n = GetClassNameW(h, buf, 256);
    return std::wstring(buf, static_cast<size_t>(n > 0 ? n : 0));
}

// Own process: GetWindowTextW. Another process: WM_GETTEXT with a timeout.
std::wstring windowText(HWND h) {
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &len)) return {};
    std::wstring buf(static_cast<size_t>(len) + 1, L'\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(h, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()), SMTO_ABORTIFHUNG, 2000,
                             &got))
        return {};
    buf.resize(got < buf.size() ? static_cast<size_t>(got) : buf.size() - 1);
    return buf;
}

std::wstring processImageName(HWND h) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    HANDLE p = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!p) return {};
    wchar_t buf[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    std::wstring name;
    if (QueryFullProcessImageNameW(p, 0, buf, &size)) {
        name.assign(buf, size);
        const size_t slash = name.find_last_of(L"\\/");
        if (slash != std::wstring::npos) name.erase(0, slash + 1);
    }
    CloseHandle(p);
    return name;
}

bool sameAsciiCaseless(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i], y = b[i];
        if (x >= L'A' && x <= L'Z') x = static_cast<wchar_t>(x - L'A' + L'a');
        if (y >= L'A' && y <= L'Z') y = static_cast<wchar_t>(y - L'A' + L'a');
        if (x != y) return false;
    }
    return true;
}

std::string rectText(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right - r.left) + "," +
           std::to_string(r.bottom - r.top);
}

std::string handleText(HWND h) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(h)));
    return buf;
}

const char* flag(bool on) { return on ? "1" : "0"; }

// A check box's state or a scroll bar's position; "-" for other controls.
std::string controlValue(HWND h) {
    const std::wstring cls = className(h);
    DWORD_PTR result = 0;
    if (sameAsciiCaseless(cls, L"Button")) {
        const LONG type = GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK;
        const bool checkable = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
                               type == BS_AUTO3STATE || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
        if (checkable && SendMessageTimeoutW(h, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &result))
            return std::to_string(result);
    } else if (sameAsciiCaseless(cls, L"ScrollBar")) {
        if (SendMessageTimeoutW(h, SBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 2000, &result))
            return std::to_string(static_cast<int>(result));
    }
    return "-";
}

void printLine(const std::string& kind, HWND h, const std::wstring& text, const std::string& extra) {
    const std::string line = kind + "\t" + handleText(h) + "\t" + escape(toUtf8(className(h))) + "\t" +
                             rectText(h) + "\t" + escape(toUtf8(text)) + "\t" + extra + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
}

struct Filter {
    std::wstring exe;
    std::wstring title;
    bool byTitle = false;
    bool hidden = false;
};

// The control with the keyboard focus in the thread of window h, or null.
HWND focusOf(HWND h) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(h, nullptr), &info) ? info.hwndFocus : nullptr;
}

BOOL CALLBACK onChild(HWND h, LPARAM) {
    const HWND focus = focusOf(h);
    const bool focused = focus && (focus == h || GetParent(focus) == h);
    const std::string extra = std::string(flag(IsWindowVisible(h))) + "\t" + flag(IsWindowEnabled(h)) + "\t" +
                              controlValue(h) + "\t" + flag(focused);
    printLine("control", h, windowText(h), extra);
    return TRUE;
}

BOOL CALLBACK onTopLevel(HWND h, LPARAM param) {
    const auto& filter = *reinterpret_cast<const Filter*>(param);
    const bool visible = IsWindowVisible(h);
    if (!visible && !filter.hidden) return TRUE;
    if (!filter.exe.empty() && !sameAsciiCaseless(processImageName(h), filter.exe)) return TRUE;
    const std::wstring title = windowText(h);
    if (filter.byTitle && title != filter.title) return TRUE;
    const bool topMost = (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    const HWND owner = GetWindow(h, GW_OWNER);
    printLine("window", h, title,
              std::string(flag(visible)) + "\t" + flag(topMost) + "\t" + (owner ? handleText(owner) : "0"));
    EnumChildWindows(h, onChild, 0);
    return TRUE;
}

int usage() {
    std::fputs("usage: wininspect [--exe NAME] [--title TEXT] [--hidden] | --foreground\n", stderr);
    return 2;
}

void printForeground() {
    const HWND h = GetForegroundWindow();
    const HWND focus = h ? focusOf(h) : nullptr;
    std::string line = "foreground\t";
    if (h) {
        line += handleText(h) + "\t" + escape(toUtf8(className(h))) + "\t" + rectText(h) + "\t" +
                escape(toUtf8(windowText(h)));
    } else {
        line += "0\t\t\t";
    }
    line += "\t" + (focus ? handleText(focus) : std::string("0")) + "\t" +
            (focus ? escape(toUtf8(className(focus))) : std::string()) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
}

}  // namespace

// wmain: the arguments arrive as UTF-16, whatever the ANSI code page of the prefix.
int wmain(int argc, wchar_t** argv) {
    SetConsoleOutputCP(CP_UTF8);
    Filter filter;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--hidden") {
            filter.hidden = true;
            continue;
        }
        if (arg == L"--foreground") {
            printForeground();
            std::fflush(stdout);
            return 0;
        }
        if (i + 1 >= argc) return usage();
        if (arg == L"--exe") {
            filter.exe = argv[++i];
        } else if (arg == L"--title") {
            filter.title = argv[++i];
            filter.byTitle = true;
        } else {
            return usage();
        }
    }
    EnumWindows(onTopLevel, reinterpret_cast<LPARAM>(&filter));
    std::fflush(stdout);
    return 0;
}
