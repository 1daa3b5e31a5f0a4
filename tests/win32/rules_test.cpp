// Plain pieces of the backend: text conversion, handle owners, and the
// decisions that are functions of their inputs.
#include <type_traits>

#include "platform/platform.h"
#include "platform/win32/text.h"
#include "tests/win32/support.h"

namespace pallo::platform::win32::test {
namespace {

TEST(Win32Text, RoundTripsEveryPlane) {
    const std::string samples[] = {"", "ASCII", "退出程序", "左键拖动\r\n右键设置", "\xF0\x9F\x98\x80 emoji", "U+3000:\xE3\x80\x80"};
    for (const auto& s : samples) EXPECT_EQ(toUtf8(toWide(s)), s) << s;
    EXPECT_EQ(toWide("退出"), std::wstring(L"\u9000\u51fa"));
}

// The tooltip control holds kTipShownUnits UTF-16 units: a text of that many
// shows whole; one more is cut to one less and an ellipsis, never between
// the halves of a surrogate pair or of a line break.
TEST(Win32Text, TheTipIsCutExactlyPastWhatTheControlHolds) {
    const std::size_t limit = static_cast<std::size_t>(kTipShownUnits);
    const std::wstring emoji = L"\U0001F600";
    const struct {
        std::wstring text;
        std::wstring shown;
    } cases[] = {
        {std::wstring(limit - 1, L'a'), std::wstring(limit - 1, L'a')},
        {std::wstring(limit, L'a'), std::wstring(limit, L'a')},
        {std::wstring(limit + 1, L'a'), std::wstring(limit - 1, L'a') + L"\u2026"},
        // An emoji whose first half would be the last unit kept goes whole.
        {std::wstring(limit - 2, L'a') + emoji + L"bc", std::wstring(limit - 2, L'a') + L"\u2026"},
        {std::wstring(limit - 3, L'a') + emoji + L"bc", std::wstring(limit - 3, L'a') + emoji + L"\u2026"},
        // Nor half of a line break.
        {std::wstring(limit - 2, L'a') + L"\r\nbc", std::wstring(limit - 2, L'a') + L"\u2026"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.size());
        EXPECT_EQ(fitTip(c.text, limit), c.shown);
    }
}

TEST(Win32Text, InvalidSequencesBecomeReplacementCharacters) {
    // Bad bytes turn into U+FFFD (how many per bad run is the system's
    // business); every valid character around them survives.
    const std::string cases[] = {"a\xFF" "b", "a\xE9\x80" "b", "a\xC0\xAF" "b", "a\x80" "b"};
    for (const auto& c : cases) {
        const std::wstring got = toWide(c);
        std::wstring kept;
        int replaced = 0;
        for (wchar_t ch : got) {
            if (ch == 0xFFFD) ++replaced;
            else kept += ch;
        }
        EXPECT_EQ(kept, L"ab");
        EXPECT_GE(replaced, 1);
    }
    EXPECT_EQ(toUtf8(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xEF\xBF\xBD");
}

TEST(Win32Handles, OwnersCloseOnceAndMove) {
    static_assert(!std::is_copy_constructible_v<OwnedBrush>);
    static_assert(!std::is_copy_assignable_v<OwnedWindow>);
    static_assert(std::is_nothrow_move_constructible_v<OwnedFont>);

    HBRUSH raw = CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_NE(GetObjectType(raw), 0u);
    {
        OwnedBrush a(raw);
        OwnedBrush b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_EQ(b.get(), raw);
        b.reset(raw);  // the same handle again: still alive
        EXPECT_NE(GetObjectType(raw), 0u);
        OwnedBrush c;
        c = std::move(b);
        EXPECT_EQ(c.get(), raw);
    }
    EXPECT_EQ(GetObjectType(raw), 0u) << "closed when the last owner went";

    HBRUSH kept = CreateSolidBrush(RGB(4, 5, 6));
    {
        OwnedBrush d(kept);
        EXPECT_EQ(d.release(), kept);
    }
    EXPECT_NE(GetObjectType(kept), 0u) << "released, not closed";
    DeleteObject(kept);
}

TEST(Win32Handles, SelectScopeRestoresIntoTheSameDc) {
    OwnedMemoryDc dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    OwnedBrush brush(CreateSolidBrush(RGB(9, 9, 9)));
    const HGDIOBJ before = GetCurrentObject(dc.get(), OBJ_BRUSH);
    {
        SelectScope scope(dc.get(), brush.get());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), brush.get());
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), before);
    SelectScope nothing(nullptr, brush.get());  // a null DC is left alone
}

TEST(Win32Rules, ScrollTargets) {
    const ScrollSettings s{15, 255, 15, 15};
    struct Case {
        int pos, code, thumb, expected;
    };
    const Case cases[] = {
        {105, SB_LINERIGHT, 0, 120},  {105, SB_LINELEFT, 0, 90},    {105, SB_PAGERIGHT, 0, 120},
        {105, SB_PAGELEFT, 0, 90},    {250, SB_PAGERIGHT, 0, 255},  {20, SB_LINELEFT, 0, 15},
        {105, SB_THUMBTRACK, 255, 255}, {105, SB_THUMBTRACK, 16, 16}, {105, SB_THUMBPOSITION, 300, 255},
        {105, SB_THUMBTRACK, -5, 15}, {105, SB_LEFT, 0, 15},        {105, SB_RIGHT, 0, 255},
        {105, SB_ENDSCROLL, 200, 105},
    };
    for (const auto& c : cases)
        EXPECT_EQ(scrollTarget(s, c.pos, c.code, c.thumb), c.expected) << "pos " << c.pos << " code " << c.code;
    // The trough moves by the page, the arrows by the step, independently.
    EXPECT_EQ(scrollTarget(ScrollSettings{0, 100, 30, 1}, 50, SB_PAGERIGHT, 0), 80);
    EXPECT_EQ(scrollTarget(ScrollSettings{0, 100, 30, 1}, 50, SB_LINERIGHT, 0), 51);
}

TEST(Win32Rules, OnlyTheOverlaysPictureDragsItsWindow) {
    ui::WindowDesign overlay;
    overlay.icon = assets::Picture::ProgramIcon;
    ui::WindowDesign node;  // borderless, no icon
    ui::WindowDesign framed;
    framed.framed = true;
    framed.icon = assets::Picture::ProgramIcon;
    ui::ControlDesign picture;
    picture.kind = ui::ControlKind::PictureBox;
    ui::ControlDesign label;
    label.kind = ui::ControlKind::Label;
    EXPECT_TRUE(dragsWindow(overlay, picture, false));
    EXPECT_FALSE(dragsWindow(overlay, picture, true)) << "a bound left button wins";
    EXPECT_FALSE(dragsWindow(overlay, label, false));
    EXPECT_FALSE(dragsWindow(node, picture, false)) << "a third-row window stays in its row";
    EXPECT_FALSE(dragsWindow(framed, picture, false));
}

TEST(Win32Rules, HotkeyCodes) {
    const auto key = [](bool ctrl, bool alt, bool shift, bool win, char letter, int function) {
        return Hotkey{ctrl, alt, shift, win, letter, function};
    };
    const struct {
        Hotkey hotkey;
        UINT modifiers;
        UINT virtualKey;
    } cases[] = {
        {key(true, true, false, false, 'P', 0), MOD_CONTROL | MOD_ALT, 'P'},
        {key(false, false, true, true, '7', 0), MOD_SHIFT | MOD_WIN, '7'},
        {key(false, true, false, false, 0, 1), MOD_ALT, VK_F1},
        {key(true, false, false, false, 0, 24), MOD_CONTROL, VK_F24},
    };
    for (const auto& c : cases) {
        const HotkeyCodes codes = hotkeyCodes(c.hotkey);
        EXPECT_EQ(codes.modifiers, c.modifiers | MOD_NOREPEAT) << c.virtualKey;
        EXPECT_EQ(codes.virtualKey, c.virtualKey);
    }
}

TEST(Win32Rules, Styles) {
    ui::WindowDesign framed;
    framed.framed = true;
    const auto f = windowStyles(framed);
    EXPECT_TRUE(f.style & WS_CAPTION);
    EXPECT_TRUE(f.style & WS_SYSMENU);
    EXPECT_FALSE(f.style & (WS_THICKFRAME | WS_MAXIMIZEBOX)) << "fixed frame";
    ui::WindowDesign node;
    EXPECT_TRUE(windowStyles(node).style & WS_POPUP);
    EXPECT_TRUE(windowStyles(node).exStyle & WS_EX_TOOLWINDOW) << "rows stay out of the task bar";
    EXPECT_TRUE(windowStyles(node).exStyle & WS_EX_NOACTIVATE) << "a press leaves the game active";
    node.icon = assets::Picture::ProgramIcon;
    EXPECT_FALSE(windowStyles(node).exStyle & WS_EX_TOOLWINDOW) << "the overlay is in the task bar";
    EXPECT_TRUE(windowStyles(node).exStyle & WS_EX_APPWINDOW) << "though it never takes the activation";
    EXPECT_TRUE(windowStyles(node).exStyle & WS_EX_NOACTIVATE);
    EXPECT_FALSE(f.exStyle & WS_EX_NOACTIVATE) << "the editors are typed into";

    struct Case {
        ui::ControlDesign design;
        DWORD present;
        DWORD absent;
    };
    ui::ControlDesign memo;
    memo.kind = ui::ControlKind::Edit;
    memo.multiLine = true;
    ui::ControlDesign number;
    number.kind = ui::ControlKind::Edit;
    number.integerInput = true;
    number.readOnly = true;
    ui::ControlDesign multi;
    multi.kind = ui::ControlKind::ListView;
    multi.multiSelect = true;
    ui::ControlDesign single;
    single.kind = ui::ControlKind::ListView;
    ui::ControlDesign combo;
    combo.kind = ui::ControlKind::Combo;
    ui::ControlDesign editable = combo;
    editable.editable = true;
    const Case cases[] = {
        {memo, ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL, ES_READONLY},
        {number, ES_NUMBER | ES_READONLY, ES_MULTILINE},
        {multi, LVS_REPORT | LVS_SHOWSELALWAYS, LVS_SINGLESEL},
        {single, LVS_REPORT | LVS_SINGLESEL, 0},
        {combo, CBS_DROPDOWNLIST, 0},
    };
    for (const auto& c : cases) {
        const auto s = controlStyles(c.design, kPictureClass, kLabelClass);
        EXPECT_EQ(s.style & c.present, c.present) << c.design.name << static_cast<int>(c.design.kind);
        EXPECT_EQ(s.style & c.absent, 0u) << static_cast<int>(c.design.kind);
    }
    EXPECT_EQ(controlStyles(editable, kPictureClass, kLabelClass).style & 3u, static_cast<DWORD>(CBS_DROPDOWN));
}

}  // namespace
}  // namespace pallo::platform::win32::test
