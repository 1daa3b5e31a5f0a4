// A window moved onto a monitor of another DPI: Windows sends it WM_DPICHANGED.
// The virtual display has one monitor, so the tests send the message
// themselves, as the system would, and check what the window then is.
#include "tests/win32/support.h"
#include "ui/designs.h"

namespace pallo::platform::win32::test {
namespace {

using ui::EventKind;

SIZE outerSize(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

LONG fontHeight(HWND control) {
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf.lfHeight;
}

void changeDpi(HWND h, int dpi, RECT suggested) {
    SendMessageW(h, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

TEST_F(Win32Test, ADpiChangeRescalesWindowControlsFontsAndPicturesAndKeepsDesignUnits) {
    const WindowRef w = p.createWindow(popupDesign(), {});
    p.setVisible(w, true);
    drain();
    ASSERT_EQ(p.dpi(w), 96);
    const LONG designFont = fontHeight(hwnd(w, "caption"));
    ASSERT_EQ(designFont, -16);

    // The system asks for the size first, so its suggestion fits the window.
    SIZE asked{};
    EXPECT_TRUE(SendMessageW(hwnd(w), WM_GETDPISCALEDSIZE, 144, reinterpret_cast<LPARAM>(&asked)));
    EXPECT_EQ(asked.cx, 105);
    EXPECT_EQ(asked.cy, 105);

    sink.events.clear();
    changeDpi(hwnd(w), 144, RECT{400, 300, 505, 405});
    drain();
    EXPECT_EQ(p.dpi(w), 144);
    EXPECT_EQ(p.left(w), 120) << "a window the program placed keeps its corner";
    EXPECT_EQ(outerSize(hwnd(w)).cx, 105);
    EXPECT_EQ(outerSize(hwnd(w)).cy, 105);
    EXPECT_EQ(p.width(w), 70) << "sizes read back in design units";
    EXPECT_EQ(p.height(w), 70);
    EXPECT_EQ(sink.count(EventKind::PositionChanged), 1);
    const RECT pic = placed(w, "pic");
    EXPECT_EQ(pic.right - pic.left, 105);
    const RECT caption = placed(w, "caption");  // 2, 48, 64 x 24 in the picture
    EXPECT_EQ(caption.left, 3);
    EXPECT_EQ(caption.top, 72);
    EXPECT_EQ(caption.right, 99);
    EXPECT_EQ(caption.bottom, 108);
    EXPECT_EQ(fontHeight(hwnd(w, "caption")), -24);
    // The picture was fitted anew at the box's new size: asking for it at
    // 105 x 105 decodes nothing.
    const std::uint64_t decodes = p.pictureCache().decodeCount();
    p.pictureCache().get(p.picture(ref(w, "pic")), 105, 105, opaqueArgb(ui::kGrey));
    EXPECT_EQ(p.pictureCache().decodeCount(), decodes);

    // Dragged across by the user, the window takes the suggested place.
    SendMessageW(hwnd(w), WM_ENTERSIZEMOVE, 0, 0);
    changeDpi(hwnd(w), 192, RECT{400, 300, 540, 440});
    SendMessageW(hwnd(w), WM_EXITSIZEMOVE, 0, 0);
    drain();
    EXPECT_EQ(p.left(w), 400);
    EXPECT_EQ(p.top(w), 300);
    EXPECT_EQ(outerSize(hwnd(w)).cx, 140);

    // Back at 96 DPI everything is exactly as designed.
    changeDpi(hwnd(w), 96, RECT{400, 300, 470, 370});
    drain();
    EXPECT_EQ(outerSize(hwnd(w)).cx, 70);
    EXPECT_EQ(outerSize(hwnd(w)).cy, 70);
    EXPECT_EQ(placed(w, "caption").left, 2);
    EXPECT_EQ(placed(w, "caption").bottom, 72);
    EXPECT_EQ(fontHeight(hwnd(w, "caption")), designFont);
}

TEST_F(Win32Test, AFramedWindowKeepsItsClientAreaInDesignUnitsAcrossADpiChange) {
    const ui::WindowDesign& design = ui::nodeEditorWindow();
    const WindowRef w = p.createWindow(design, {});
    const HWND list = hwnd(w, "超级列表框1");
    const LONG defaultFont = fontHeight(hwnd(w, "按钮1"));
    changeDpi(hwnd(w), 144, RECT{50, 50, 1010, 410});
    drain();
    RECT client{};
    GetClientRect(hwnd(w), &client);
    EXPECT_EQ(client.right, 960);
    EXPECT_EQ(client.bottom, 360);
    EXPECT_GT(p.outerHeight(w), 360) << "the frame comes on top";
    EXPECT_EQ(p.width(w), 640);
    EXPECT_EQ(p.height(w), 240);
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), 36);  // ID, 24 wide
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 3, 0), 300);
    // The default GUI font grows with the DPI too.
    EXPECT_EQ(fontHeight(hwnd(w, "按钮1")), MulDiv(defaultFont, 144, 96));
}

}  // namespace
}  // namespace pallo::platform::win32::test
