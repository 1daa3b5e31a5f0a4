// Picture boxes of the Win32 platform: our own window class, its messages,
// the picture it shows and its tooltip.
#include "platform/win32/control_parts.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "platform/tip_place.h"
#include "platform/tip_wrap.h"
#include "platform/win32/text.h"

namespace pallo::platform::win32 {

namespace {

// The widest a tip's lines run at 100 %: a width read at a glance.
constexpr int kTipWidth = 400;

// The width a tip's lines take for a window at dpi: kTipWidth scaled, and
// never more than its monitor holds beside the tip's margins.
int tipLineWidth(HWND window, int dpi) {
    int width = MulDiv(kTipWidth, dpi, 96);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &mi))
        width = std::min<int>(width, mi.rcWork.right - mi.rcWork.left - MulDiv(16, dpi, 96));
    return std::max(width, 1);
}

// The tip's text with a line break wherever a line would run past width in
// the tooltip's font. The control itself breaks only at spaces and lets a
// longer word or a line of Chinese run out of the tip; these breaks don't.
std::wstring wrappedTip(HWND tip, int width, const std::wstring& text) {
    const HDC dc = GetDC(tip);
    if (!dc) return text;
    const auto font = reinterpret_cast<HFONT>(SendMessageW(tip, WM_GETFONT, 0, 0));
    const HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    const auto measure = [dc](std::string_view s) {
        const std::wstring wide = toWide(s);
        SIZE size{};
        GetTextExtentPoint32W(dc, wide.data(), static_cast<int>(wide.size()), &size);
        return static_cast<int>(size.cx);
    };
    std::wstring out = toWide(joinTipLines(wrapTip(toUtf8(text), width, measure)));
    SelectObject(dc, old);
    ReleaseDC(tip, dc);
    return out;
}

// Hands a mouse message of a control with a tip to the tip, as the message
// loop had it.
void relayToTip(HWND tip, const Control& tool, UINT msg, WPARAM wp, LPARAM lp) {
    if (!tip || tool.tooltip.empty() || msg < WM_MOUSEFIRST || msg > WM_MOUSELAST || msg == WM_MOUSEWHEEL) return;
    MSG m{};
    m.hwnd = tool.hwnd;
    m.message = msg;
    m.wParam = wp;
    m.lParam = lp;
    m.time = static_cast<DWORD>(GetMessageTime());
    const DWORD at = GetMessagePos();
    m.pt = POINT{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    SendMessageW(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
}

}  // namespace

LRESULT CALLBACK pictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return dispatchOwnControl(hwnd, msg, wp, lp, &Win32Backend::pictureMessage);
}

LRESULT Win32Backend::pictureMessage(Control& c, UINT msg, WPARAM wp, LPARAM lp) {
    TopWindow& w = *c.window;
    relayToTip(tooltip_.get(), c, msg, wp, lp);  // first: a press hides the tip before its own work
    switch (msg) {
    case WM_ERASEBKGND: return 1;  // WM_PAINT covers every pixel
    case WM_PAINT: {
        PaintScope paint(c.hwnd);
        paintPicture(c, paint.dc(), 0, 0);
        return 0;
    }
    case WM_SETFONT:
        c.font = reinterpret_cast<HFONT>(wp);
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(c.font);
    case WM_LBUTTONDOWN: {
        const bool leftBound = bound(w, c, ui::EventKind::LeftDown) || bound(w, c, ui::EventKind::LeftUp);
        if (dragsWindow(w.design, c.design, leftBound)) {
            // The window follows the pointer while the button is held. Not the
            // system's move loop: it activates the window it moves, and the
            // game beside it would lose the keyboard.
            RECT r{};
            GetWindowRect(w.hwnd.get(), &r);
            w.drag = TopWindow::Drag{messagePoint(), POINT{r.left, r.top}};
            SetCapture(c.hwnd);
            return 0;
        }
        fire(w, &c, ui::EventKind::LeftDown);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (w.drag && GetCapture() == c.hwnd) {
            const POINT now = messagePoint();
            SetWindowPos(w.hwnd.get(), nullptr, w.drag->origin.x + now.x - w.drag->pointer.x,
                         w.drag->origin.y + now.y - w.drag->pointer.y, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        w.drag.reset();
        break;
    case WM_LBUTTONUP:
        if (w.drag) {
            ReleaseCapture();  // WM_CAPTURECHANGED ends the drag
            return 0;
        }
        fire(w, &c, ui::EventKind::LeftUp);
        return 0;
    case WM_MOUSEWHEEL:
        // Reaches the box under the pointer where the system sends the wheel
        // there (inactive windows scroll); otherwise the focus window has it.
        if (bound(w, c, ui::EventKind::Wheel)) {
            fire(w, &c, ui::EventKind::Wheel, GET_WHEEL_DELTA_WPARAM(wp));
            return 0;
        }
        break;
    default: return mouseOrDefault(w, c, msg, wp, lp);
    }
    return DefWindowProcW(c.hwnd, msg, wp, lp);
}

// --- picture box ---------------------------------------------------------------------------

void Win32Backend::setPicture(const ControlRef& ref, const PictureSource& source) {
    Control* c = findControl(ref, ui::ControlKind::PictureBox);
    if (!c) return;
    c->source = source;
    c->picture.reset();
    c->bgra.clear();
    if (source.kind != PictureSource::Kind::None) {
        c->picture = fittedPicture(*c, source);
        const image::Rgba* p = c->picture.get();
        if (p && !p->empty() &&
            p->pixels.size() == static_cast<std::size_t>(p->width) * static_cast<std::size_t>(p->height) * 4) {
            c->bgra.resize(p->pixels.size());
            for (std::size_t i = 0; i < p->pixels.size(); i += 4) {
                c->bgra[i] = p->pixels[i + 2];
                c->bgra[i + 1] = p->pixels[i + 1];
                c->bgra[i + 2] = p->pixels[i];
                c->bgra[i + 3] = 255;
            }
        } else {
            c->picture.reset();
        }
    }
    repaintArea(*c);
}

std::shared_ptr<const image::Rgba> Win32Backend::fittedPicture(const Control& c, const PictureSource& source) {
    const int w = c.placed.right - c.placed.left;
    const int h = c.placed.bottom - c.placed.top;
    if (w <= 0 || h <= 0) return nullptr;
    const ui::Rgb background = c.design.background.value_or(c.window->backgroundRgb);
    return pictures_.get(source, w, h, opaqueArgb(background));
}

void Win32Backend::preparePicture(const ControlRef& ref, const PictureSource& source) {
    if (const Control* c = findControl(ref, ui::ControlKind::PictureBox)) fittedPicture(*c, source);
}

PictureSource Win32Backend::picture(const ControlRef& ref) const {
    const Control* c = findControl(ref, ui::ControlKind::PictureBox);
    return c ? c->source : PictureSource{};
}

void Win32Backend::setTooltip(const ControlRef& ref, const std::string& text) {
    Control* c = findControl(ref);
    if (!c) return;
    if (!tooltip_ && !text.empty()) {
        HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                   instance_, nullptr);
        if (!tip) {
            OutputDebugStringA("pallo win32: the tooltip control could not be created\n");
            return;
        }
        tooltip_.reset(tip);
    }
    if (!tooltip_) return;
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    // The picture box hands its mouse messages to the tip itself (see
    // pictureMessage): a tool the control subclasses costs a request to
    // Wine's server for every message the box receives.
    ti.uFlags = TTF_IDISHWND | TTF_CENTERTIP;
    ti.hwnd = c->window->hwnd.get();
    ti.uId = reinterpret_cast<UINT_PTR>(c->hwnd);
    if (text.empty()) {
        if (!c->tooltip.empty()) SendMessageW(tooltip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
        c->tooltip.clear();
        return;
    }
    // Cut first, so the breaks take nothing from what is shown; cut again
    // should they make it longer than the control holds.
    const auto units = static_cast<std::size_t>(kTipShownUnits);
    TopWindow& w = *c->window;
    if (w.tipWidth == 0) w.tipWidth = tipLineWidth(w.hwnd.get(), w.dpi);
    const int width = w.tipWidth;
    std::wstring wide = fitTip(wrappedTip(tooltip_.get(), width, fitTip(toWide(text), units)), units);
    // The maximum width also makes the control honour the line breaks.
    SendMessageW(tooltip_.get(), TTM_SETMAXTIPWIDTH, 0, width);
    ti.lpszText = wide.data();  // the control keeps its own copy
    if (c->tooltip.empty()) {
        if (!SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti))) {
            OutputDebugStringA("pallo win32: TTM_ADDTOOLW failed\n");
            return;
        }
    } else {
        SendMessageW(tooltip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    }
    c->tooltip = text;
}

std::string Win32Backend::tooltip(const ControlRef& ref) const {
    const Control* c = findControl(ref);
    return c ? c->tooltip : std::string{};
}

// --- where the tip stands --------------------------------------------------------------------

namespace {

PixelRect pixelRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// The pixels a tip keeps clear of the windows around it, at 100 %.
constexpr int kTipGap = 2;

// The size of the tip window that shows the tool's whole text. The control
// may have made the window narrower than its text (Wine does where it moves
// a tip back from the monitor's left edge), cutting lines off; the bubble
// size is what the text takes, without the window's border.
SIZE wholeTipSize(HWND tip, HWND tool) {
    RECT window{}, client{};
    if (!GetWindowRect(tip, &window) || !GetClientRect(tip, &client)) return {};
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.uFlags = TTF_IDISHWND;
    ti.hwnd = GetAncestor(tool, GA_ROOT);
    ti.uId = reinterpret_cast<UINT_PTR>(tool);
    const auto bubble = static_cast<DWORD>(SendMessageW(tip, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&ti)));
    const LONG borderX = (window.right - window.left) - client.right;
    const LONG borderY = (window.bottom - window.top) - client.bottom;
    return SIZE{std::max<LONG>(window.right - window.left, LOWORD(bubble) + borderX),
                std::max<LONG>(window.bottom - window.top, HIWORD(bubble) + borderY)};
}

}  // namespace

void Win32Backend::placeShownTip(HWND tool) {
    HWND tip = tooltip_.get();
    RECT toolRect{};
    if (!tip || !tool || !GetWindowRect(tool, &toolRect)) return;
    const SIZE size = wholeTipSize(tip, tool);
    if (size.cx <= 0 || size.cy <= 0) return;
    // The overlay and the rows: a tip that covers them hides what the user
    // came to see, such as the entries a click just brought into row three.
    std::vector<PixelRect> keepClear;
    for (const auto& [id, w] : windows_) {
        RECT r{};
        if (!w->design.framed && w->hwnd && IsWindowVisible(w->hwnd.get()) && GetWindowRect(w->hwnd.get(), &r))
            keepClear.push_back(pixelRect(r));
    }
    // The rows stand on the overlay's monitor, the top owner of them all.
    HWND root = GetAncestor(tool, GA_ROOTOWNER);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (!GetMonitorInfoW(MonitorFromWindow(root ? root : tool, MONITOR_DEFAULTTONEAREST), &mi)) return;
    const PixelPoint at = placeTip(size.cx, size.cy, pixelRect(toolRect), keepClear, pixelRect(mi.rcWork),
                                   MulDiv(kTipGap, windowDpi(tool), kDesignDpi));
    SetWindowPos(tip, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Backend::placeCurrentTip() {
    tipPlacePending_ = false;
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    if (tooltip_ && IsWindowVisible(tooltip_.get()) &&
        SendMessageW(tooltip_.get(), TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&ti)))
        placeShownTip(reinterpret_cast<HWND>(ti.uId));
}

void Win32Backend::placeTipLater() {
    if (tipPlacePending_ || !tooltip_ || !host_ || !IsWindowVisible(tooltip_.get())) return;
    tipPlacePending_ = PostMessageW(host_.get(), kMsgPlaceTip, 0, 0) != 0;
}

}  // namespace pallo::platform::win32
