// Stands in for the game beside which the program runs, for the end-to-end
// tests under Wine: a framed window "Pallo test game" with an edit box that
// holds the keyboard focus, made the foreground window at start.
//
//   gamestandin [--hold MODIFIERS VIRTUALKEY]
//
// --hold registers that hotkey (RegisterHotKey's numbers, decimal) for this
// program first, as another program that already holds it would. The window
// stands at 100, 500, 400 x 200 (outer rectangle); it runs until it is closed
// or its process is stopped.
#include <windows.h>

#include <cwchar>

namespace {

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 4 && std::wcscmp(argv[1], L"--hold") == 0) {
        const auto modifiers = static_cast<UINT>(std::wcstoul(argv[2], nullptr, 10));
        const auto key = static_cast<UINT>(std::wcstoul(argv[3], nullptr, 10));
        if (!RegisterHotKey(nullptr, 1, modifiers, key)) return 2;
    } else if (argc != 1) {
        return 1;
    }
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"PalloTestGame";
    if (!RegisterClassW(&wc)) return 3;
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"Pallo test game", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                                  100, 500, 400, 200, nullptr, nullptr, instance, nullptr);
    if (!window) return 3;
    HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24, window,
                                nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(edit);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
