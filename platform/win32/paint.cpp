// Drawing of the Win32 platform: fonts, the window icon, picture boxes and
// transparent labels.
#include "platform/win32/platform_impl.h"

#include <algorithm>
#include <string_view>

#include "platform/caption_fit.h"
#include "platform/win32/text.h"

namespace pallo::platform::win32 {

namespace {

BITMAPINFO topDownDib(int width, int height) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;  // negative: rows top to bottom, as decoded
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    return bmi;
}

// A label lying on a picture box must read on any picture.
bool onPicture(const Control& c) {
    return c.container && c.container->design.kind == ui::ControlKind::PictureBox;
}

// One line of a label on a picture: cut at its end with "…" when too wide
// and its design asks for that, drawn in an outline of the opposite shade
// (the text shifted a pixel, scaled, each way), then in its own colour on top.
void drawCaptionLine(HDC dc, const Control& c, int width, int height) {
    const int outline = std::max(1, scaleToDpi(1, c.window->dpi));
    const auto measure = [dc](std::string_view text) {
        const std::wstring wide = toWide(text);
        SIZE size{};
        GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
        return static_cast<int>(size.cx);
    };
    const std::wstring shown = toWide(c.design.ellipsis ? fitCaption(c.text, width, measure) : c.text);
    const UINT format =
        DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | (c.design.align == ui::Align::Centre ? DT_CENTER : DT_LEFT);
    const ui::Rgb colour = ui::unpackColour(c.colour);
    const bool light = colour.r * 299 + colour.g * 587 + colour.b * 114 >= 128 * 1000;
    SetTextColor(dc, light ? RGB(24, 24, 24) : RGB(255, 255, 255));
    for (int dy = -outline; dy <= outline; dy += outline)
        for (int dx = -outline; dx <= outline; dx += outline) {
            if (dx == 0 && dy == 0) continue;
            RECT area{dx, dy, width + dx, height + dy};
            DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &area, format);
        }
    SetTextColor(dc, toColorRef(colour));
    RECT area{0, 0, width, height};
    DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &area, format);
}

}  // namespace

HFONT Win32Backend::fontFor(const ui::Font& font, int dpi) {
    auto* standard = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (font.face.empty() && font.pixelSize <= 0 && !font.bold && dpi == systemDpi_) return standard;
    auto key = std::make_tuple(font.face, font.pixelSize, font.bold, dpi);
    const auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second.get();

    LOGFONTW lf{};
    if (!GetObjectW(standard, sizeof(lf), &lf)) lf = LOGFONTW{};
    // A negative height asks for the character height in pixels, which is
    // what a design's pixel size means, at 96 DPI. The stock font is made for
    // the system's DPI.
    if (font.pixelSize > 0) lf.lfHeight = -scaleToDpi(font.pixelSize, dpi);
    else lf.lfHeight = MulDiv(lf.lfHeight, dpi, systemDpi_);
    lf.lfWidth = 0;
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    if (!font.face.empty()) {
        const std::wstring face = toWide(font.face);
        const std::size_t n = std::min<std::size_t>(face.size(), LF_FACESIZE - 1);
        std::copy_n(face.begin(), n, lf.lfFaceName);
        lf.lfFaceName[n] = L'\0';
    }
    HFONT created = CreateFontIndirectW(&lf);
    if (!created) {
        OutputDebugStringA("pallo win32: CreateFontIndirectW failed; using the default GUI font\n");
        return standard;
    }
    HFONT result = created;
    fonts_.emplace(std::move(key), OwnedFont(created));
    return result;
}

void Win32Backend::loadIcon(TopWindow& w) {
    if (w.design.icon == assets::Picture::None) return;
    const image::Rgba picture = image::decode(assets::bytes(w.design.icon));
    if (picture.empty() ||
        picture.pixels.size() != static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) * 4)
        return;
    const BITMAPINFO bmi = topDownDib(picture.width, picture.height);
    void* bits = nullptr;
    OwnedBitmap colour(CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!colour || !bits) return;
    auto* out = static_cast<std::uint8_t*>(bits);
    for (std::size_t i = 0; i < picture.pixels.size(); i += 4) {
        out[i] = picture.pixels[i + 2];
        out[i + 1] = picture.pixels[i + 1];
        out[i + 2] = picture.pixels[i];
        out[i + 3] = picture.pixels[i + 3];
    }
    // With a 32-bit colour bitmap the alpha channel decides; the mask is all
    // zero (rows of 16-bit words).
    const std::size_t maskRow = static_cast<std::size_t>((picture.width + 15) / 16) * 2;
    std::vector<std::uint8_t> maskBits(maskRow * static_cast<std::size_t>(picture.height), 0);
    OwnedBitmap mask(CreateBitmap(picture.width, picture.height, 1, 1, maskBits.data()));
    if (!mask) return;
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = mask.get();
    info.hbmColor = colour.get();
    w.icon.reset(CreateIconIndirect(&info));
    if (!w.icon) return;
    SendMessageW(w.hwnd.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(w.icon.get()));
    SendMessageW(w.hwnd.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(w.icon.get()));
}

void Win32Backend::repaintArea(const Control& c) {
    // The labels lying on a picture box draw its pixels as their background,
    // so they are repainted with it.
    RedrawWindow(c.window->hwnd.get(), &c.placed, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void Win32Backend::paintPicture(const Control& c, HDC dc, int dx, int dy) const {
    const int width = c.placed.right - c.placed.left;
    const int height = c.placed.bottom - c.placed.top;
    const RECT box{dx, dy, dx + width, dy + height};
    if (c.background) {
        FillRect(dc, &box, c.background.get());
    } else {
        FillRect(dc, &box, c.window->background.get());
    }
    const image::Rgba* p = c.picture.get();
    if (!p || c.bgra.empty()) return;
    const BITMAPINFO bmi = topDownDib(p->width, p->height);
    // The cache fits the picture to the box; centre it should it be smaller.
    SetDIBitsToDevice(dc, dx + (width - p->width) / 2, dy + (height - p->height) / 2, static_cast<DWORD>(p->width),
                      static_cast<DWORD>(p->height), 0, 0, 0, static_cast<UINT>(p->height), c.bgra.data(), &bmi,
                      DIB_RGB_COLORS);
}

void Win32Backend::paintLabel(Control& c, HDC dc) {
    const TopWindow& w = *c.window;
    const int width = c.placed.right - c.placed.left;
    const int height = c.placed.bottom - c.placed.top;
    if (width <= 0 || height <= 0) return;

    // Drawn off screen: the window background, then the visible picture boxes
    // below the label, then the text without a background.
    OwnedMemoryDc memory(CreateCompatibleDC(dc));
    OwnedBitmap bitmap(CreateCompatibleBitmap(dc, width, height));
    if (!memory || !bitmap) return;
    {
        SelectScope selectBitmap(memory.get(), bitmap.get());
        const RECT all{0, 0, width, height};
        FillRect(memory.get(), &all, w.background.get());
        for (const auto& owned : w.controls) {
            const Control& below = *owned;
            if (below.design.kind != ui::ControlKind::PictureBox || below.zIndex <= c.zIndex ||
                !effectivelyVisible(below))
                continue;
            RECT overlap;
            if (!IntersectRect(&overlap, &below.placed, &c.placed)) continue;
            paintPicture(below, memory.get(), below.placed.left - c.placed.left, below.placed.top - c.placed.top);
        }

        SelectScope selectFont(memory.get(), c.font ? c.font : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(memory.get(), TRANSPARENT);
        const bool multiLine = c.design.wrap || c.text.find('\n') != std::string::npos;
        if (onPicture(c) && !multiLine) {
            drawCaptionLine(memory.get(), c, width, height);
        } else {
            // Other labels show their text whole, as far as the box goes.
            SetTextColor(memory.get(), toColorRef(ui::unpackColour(c.colour)));
            const std::wstring text = toWide(c.text);
            const UINT format = DT_NOPREFIX | (c.design.align == ui::Align::Centre ? DT_CENTER : DT_LEFT) |
                                (multiLine ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER);
            RECT area{0, 0, width, height};
            DrawTextW(memory.get(), text.c_str(), static_cast<int>(text.size()), &area, format);
        }
        BitBlt(dc, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
    }
}

}  // namespace pallo::platform::win32
