// Controls: each property read back from the system, and each event fired
// for the user's action and not for the program's change.
#include "platform/win32/text.h"
#include "support/design_builder.h"
#include "tests/win32/support.h"

namespace pallo::platform::win32::test {
namespace {

using ui::EventKind;

std::wstring nativeText(HWND h) {
    wchar_t buf[256] = {};
    GetWindowTextW(h, buf, 256);
    return buf;
}

class Win32Controls : public Win32Test {
protected:
    WindowRef w;
    void SetUp() override {
        Win32Test::SetUp();
        w = p.createWindow(framedDesign(), {});
        ASSERT_TRUE(p.exists(w));
        drain();
        sink.events.clear();
    }
    ControlRef c(const std::string& name) const { return ref(w, name); }
    void fillList(const std::string& list, int rows) {
        for (int i = 0; i < rows; ++i) {
            const int r = p.addRow(c(list), std::to_string(i + 1));
            p.setCell(c(list), r, 2, "名称" + std::to_string(i + 1));
        }
    }
};

TEST_F(Win32Controls, ContainedControlsSitAtTheirContainersOrigin) {
    const RECT inner = placed(w, "inner");
    EXPECT_EQ(inner.left, 10);
    EXPECT_EQ(inner.top, 176 + 19);
    EXPECT_EQ(GetParent(hwnd(w, "inner")), hwnd(w));
    p.setVisible(w, true);
    p.setVisible(c("group"), false);
    EXPECT_FALSE(IsWindowVisible(hwnd(w, "inner"))) << "hidden with its group";
    EXPECT_TRUE(p.isVisible(c("inner"))) << "its own state is unchanged";
    p.setVisible(c("group"), true);
    EXPECT_TRUE(IsWindowVisible(hwnd(w, "inner")));
    p.setEnabled(c("group"), false);
    EXPECT_FALSE(IsWindowEnabled(hwnd(w, "inner")));
    p.setEnabled(c("group"), true);
    EXPECT_TRUE(IsWindowEnabled(hwnd(w, "inner")));
    p.setEnabled(c("button"), false);
    EXPECT_FALSE(IsWindowEnabled(hwnd(w, "button")));
    EXPECT_FALSE(p.isEnabled(c("button")));
    p.setVisible(w, false);
}

TEST_F(Win32Controls, TextsTagsAndColours) {
    p.setText(c("button"), "新增");
    EXPECT_EQ(nativeText(hwnd(w, "button")), L"新增");
    EXPECT_EQ(p.text(c("button")), "新增");
    p.setText(c("note"), "关联内容");
    EXPECT_EQ(p.text(c("note")), "关联内容");
    EXPECT_EQ(nativeText(hwnd(w, "note")), L"关联内容");
    p.setTag(c("note"), "7");
    p.setTag(c("list"), "8");
    EXPECT_EQ(p.tag(c("note")), "7");
    EXPECT_EQ(p.tag(c("list")), "8");
    EXPECT_EQ(p.textColour(c("note")), 0);
    p.setTextColour(c("note"), 65280);
    EXPECT_EQ(p.textColour(c("note")), 65280);
    EXPECT_EQ(p.text(c("scroll")), "");
    EXPECT_TRUE(sink.events.empty());
}

TEST_F(Win32Controls, ComboItemsDataAndSelection) {
    const ControlRef combo = c("combo");
    HWND h = hwnd(w, "combo");
    EXPECT_EQ(SendMessageW(h, CB_GETCOUNT, 0, 0), 3);
    p.addItem(combo, "相互关联", 1);
    p.addItem(combo, "大", (std::int64_t{1} << 40) + 5);
    ASSERT_EQ(p.itemCount(combo), 5);
    EXPECT_EQ(p.itemText(combo, 3), "相互关联");
    EXPECT_EQ(SendMessageW(h, CB_GETITEMDATA, 3, 0), 1);
    EXPECT_EQ(p.itemData(combo, 4), (std::int64_t{1} << 40) + 5);
    EXPECT_EQ(p.itemText(combo, 9), "");
    p.setSelection(combo, 2);
    EXPECT_EQ(SendMessageW(h, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(p.text(combo), "Hero");
    p.setText(combo, "Item");
    EXPECT_EQ(p.selection(combo), 1) << "a list's text chooses its item";
    p.setSelection(combo, 42);
    EXPECT_EQ(p.selection(combo), -1);
    drain();
    EXPECT_EQ(sink.count(EventKind::ItemChosen), 0) << "program changes fire nothing";

    // The user's choice: an arrow key only moves the item shown; the list
    // closing on it takes it.
    SendMessageW(h, CB_SETCURSEL, 2, 0);
    command(w, "combo", CBN_SELCHANGE);
    EXPECT_EQ(sink.count("combo", EventKind::ItemChosen), 0);
    command(w, "combo", CBN_CLOSEUP);
    EXPECT_EQ(sink.count("combo", EventKind::ItemChosen), 1);
    EXPECT_EQ(p.selection(combo), 2);

    p.clearItems(combo);
    EXPECT_EQ(p.itemCount(combo), 0);
    p.setText(c("editCombo"), "自由文字");
    EXPECT_EQ(p.text(c("editCombo")), "自由文字");
    EXPECT_EQ(sink.count(EventKind::ItemChosen), 1);
}

// A combo box the user can neither see nor use (its drop-down list is a
// window of its own, slow to make) gets its native window when the program
// first touches it, with its designed items, first item chosen, hidden and
// disabled.
TEST_F(Win32Test, AnUnseenUnusableComboIsMadeWhenFirstTouched) {
    pallo::testing::DesignBuilder b("TestUnseenCombo", 0, 0, 100, 60);
    auto& combo = b.add(ui::ControlKind::Combo, "unseen", 0, 0, 64, 20);
    combo.visible = false;
    combo.enabled = false;
    combo.items = {{"小号", 70}, {"中号", 100}};
    b.add(ui::ControlKind::Label, "note", 0, 30, 64, 20).text = "说明";
    const WindowRef w = p.createWindow(b.design(), {});
    const auto children = [&] {
        int n = 0;
        for (HWND h = GetWindow(hwnd(w), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) ++n;
        return n;
    };
    EXPECT_EQ(children(), 1) << "only the label is made with the window";
    EXPECT_EQ(p.itemCount(ref(w, "unseen")), 2);
    EXPECT_EQ(children(), 2);
    HWND h = hwnd(w, "unseen");
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(p.selection(ref(w, "unseen")), 0);
    EXPECT_EQ(p.itemData(ref(w, "unseen"), 1), 100);
    EXPECT_FALSE(IsWindowVisible(h));
    EXPECT_FALSE(IsWindowEnabled(h));
    p.destroy(w);
}

TEST_F(Win32Controls, SwitchingEditableRecreatesTheComboInItsPlace) {
    const ControlRef combo = c("combo");
    HWND before = hwnd(w, "combo");
    const int id = GetDlgCtrlID(before);
    HWND above = GetWindow(before, GW_HWNDPREV);
    HWND below = GetWindow(before, GW_HWNDNEXT);
    const LRESULT font = SendMessageW(before, WM_GETFONT, 0, 0);
    const RECT place = placed(w, "combo");
    p.setTooltip(combo, "说明");
    HWND tip = p.tooltipHandle();
    for (const bool editable : {true, false}) {
        SCOPED_TRACE(editable);
        p.setEditable(combo, editable);
        HWND now = hwnd(w, "combo");
        const LONG style = GetWindowLongW(now, GWL_STYLE) & 0x3;
        EXPECT_EQ(style, editable ? CBS_DROPDOWN : CBS_DROPDOWNLIST);
        EXPECT_EQ(GetDlgCtrlID(now), id);
        EXPECT_EQ(GetWindow(now, GW_HWNDPREV), above) << "the same place in the tab order";
        EXPECT_EQ(GetWindow(now, GW_HWNDNEXT), below);
        EXPECT_EQ(SendMessageW(now, WM_GETFONT, 0, 0), font);
        const RECT r = placed(w, "combo");
        EXPECT_EQ(r.left, place.left);
        EXPECT_EQ(r.top, place.top);
        EXPECT_FALSE(IsWindow(before)) << "the old combo box is gone";
        EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
        TOOLINFOW ti{};
        ti.cbSize = TTTOOLINFOW_V2_SIZE;
        ti.hwnd = hwnd(w);
        ti.uId = reinterpret_cast<UINT_PTR>(now);
        EXPECT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti))) << "the tip is the new one's";
        before = now;
    }
}

TEST_F(Win32Controls, EnterKeyIsNoButtonClick) {
    // IsDialogMessage turns Enter into IDOK and Escape into IDCANCEL, with
    // the ids of no control of ours.
    SendMessageW(hwnd(w), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    SendMessageW(hwnd(w), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(sink.count(EventKind::Clicked), 0);
    EXPECT_GE(GetDlgCtrlID(hwnd(w, "combo")), kFirstControlId);
}

TEST_F(Win32Controls, ReadOnlyAndIntegerInputAreStyles) {
    HWND number = hwnd(w, "number");
    EXPECT_TRUE(GetWindowLongW(number, GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(GetWindowLongW(number, GWL_STYLE) & ES_NUMBER);
    EXPECT_TRUE(p.isReadOnly(c("number")));
    p.setReadOnly(c("number"), false);
    EXPECT_FALSE(GetWindowLongW(number, GWL_STYLE) & ES_READONLY);
    EXPECT_FALSE(p.isReadOnly(c("number")));
    p.setReadOnly(c("edit"), true);
    EXPECT_TRUE(p.isReadOnly(c("edit")));
    EXPECT_TRUE(GetWindowLongW(hwnd(w, "memo"), GWL_STYLE) & ES_MULTILINE);
}

TEST_F(Win32Controls, ScrollBarHoldsEveryPositionOfItsRange) {
    const ControlRef scroll = c("scroll");
    HWND h = hwnd(w, "scroll");
    EXPECT_EQ(p.scrollPos(scroll), 105);
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(h, SB_CTL, &si));
    EXPECT_EQ(si.nMin, 15);
    EXPECT_EQ(si.nMax, 255);
    for (int pos : {255, 15, 254, 16}) {
        p.setScrollPos(scroll, pos);
        si.fMask = SIF_POS;
        GetScrollInfo(h, SB_CTL, &si);
        EXPECT_EQ(si.nPos, pos);
        EXPECT_EQ(p.scrollPos(scroll), pos);
    }
    p.setScrollPos(scroll, 300);
    EXPECT_EQ(p.scrollPos(scroll), 255);
    p.setScrollRange(scroll, 0, 100);
    EXPECT_EQ(p.scrollPos(scroll), 100);
    p.setScrollRange(scroll, 15, 255);
    drain();
    EXPECT_EQ(sink.count(EventKind::ScrollChanged), 0) << "program changes fire nothing";
}

TEST_F(Win32Controls, UserScrollingFiresAtEveryNewPosition) {
    const ControlRef scroll = c("scroll");
    HWND main = hwnd(w);
    HWND h = hwnd(w, "scroll");
    std::vector<int> seen;
    sink.onEvent = [&](const Event& e) {
        if (e.kind == EventKind::ScrollChanged) seen.push_back(p.scrollPos(scroll));
    };
    auto send = [&](int code, int thumb = 0) {
        SendMessageW(main, WM_HSCROLL, MAKEWPARAM(code, thumb), reinterpret_cast<LPARAM>(h));
    };
    send(SB_THUMBTRACK, 200);
    send(SB_THUMBTRACK, 201);
    send(SB_THUMBTRACK, 255);
    send(SB_THUMBPOSITION, 255);  // the release where the thumb already is
    send(SB_ENDSCROLL);
    send(SB_PAGELEFT);
    send(SB_LINELEFT);
    send(SB_PAGERIGHT);
    send(SB_PAGERIGHT);  // at the end: no change
    const std::vector<int> expected{200, 201, 255, 240, 225, 240, 255};
    EXPECT_EQ(seen, expected);
}

TEST_F(Win32Controls, ListCellsColumnsAndRows) {
    const ControlRef list = c("list");
    EXPECT_EQ(p.columnCount(list), 3);
    fillList("list", 3);
    EXPECT_EQ(p.rowCount(list), 3);
    EXPECT_EQ(SendMessageW(hwnd(w, "list"), LVM_GETITEMCOUNT, 0, 0), 3);
    wchar_t buf[64] = {};
    LVITEMW item{};
    item.iSubItem = 2;
    item.pszText = buf;
    item.cchTextMax = 64;
    SendMessageW(hwnd(w, "list"), LVM_GETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(buf, L"名称2");
    EXPECT_EQ(p.cell(list, 1, 2), "名称2");
    EXPECT_EQ(p.cell(list, 2, 0), "3");
    const std::string longText(1000, 'x');
    p.setCell(list, 0, 1, longText);
    EXPECT_EQ(p.cell(list, 0, 1), longText) << "no cut at a buffer size";
    p.setCell(list, 0, 7, "nowhere");
    p.setCell(list, 9, 0, "nowhere");
    EXPECT_EQ(p.cell(list, 0, 7), "");
    EXPECT_EQ(p.rowCount(list), 3);
    p.clearRows(list);
    EXPECT_EQ(p.rowCount(list), 0);
    drain();
    EXPECT_TRUE(sink.events.empty());
}

TEST_F(Win32Controls, TooltipTextIsTheSharedControls) {
    const WindowRef popup = p.createWindow(popupDesign(), {});
    const ControlRef pic = ref(popup, "pic");
    p.setTooltip(pic, "左键拖动\r\n右键设置");
    HWND tip = p.tooltipHandle();
    ASSERT_TRUE(tip);
    const LONG style = GetWindowLongW(tip, GWL_STYLE);
    EXPECT_TRUE(style & TTS_ALWAYSTIP);
    EXPECT_TRUE(style & TTS_NOPREFIX);
    EXPECT_GT(SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0), 0) << "line breaks are kept";
    auto tipText = [&](HWND tool, HWND parent) {
        std::wstring buf(2048, L'\0');
        TOOLINFOW ti{};
        ti.cbSize = TTTOOLINFOW_V2_SIZE;
        ti.hwnd = parent;
        ti.uId = reinterpret_cast<UINT_PTR>(tool);
        ti.lpszText = buf.data();
        SendMessageW(tip, TTM_GETTEXTW, buf.size(), reinterpret_cast<LPARAM>(&ti));
        return std::wstring(buf.c_str());
    };
    EXPECT_EQ(tipText(hwnd(popup, "pic"), hwnd(popup)), L"左键拖动\r\n右键设置");
    EXPECT_EQ(p.tooltip(pic), "左键拖动\r\n右键设置");
    // Longer than the control shows: a word longer than a line broken into
    // lines, cut to what the control holds and ended with an ellipsis; the
    // text itself stays whole.
    const std::string longText = std::string(1021, 'a') + "\xF0\x9F\x94\xA5" + std::string(2000, 'b');
    p.setTooltip(pic, longText);
    std::wstring shown = tipText(hwnd(popup, "pic"), hwnd(popup));
    EXPECT_LE(shown.size(), static_cast<std::size_t>(kTipShownUnits));
    EXPECT_GT(std::erase(shown, L'\n'), 5u);
    std::erase(shown, L'\r');
    EXPECT_EQ(shown, std::wstring(shown.size() - 1, L'a') + L"\u2026");
    EXPECT_EQ(p.tooltip(pic), longText);
    p.setTooltip(pic, "说明");
    EXPECT_EQ(tipText(hwnd(popup, "pic"), hwnd(popup)), L"说明");
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    p.setTooltip(c("button"), "保存");
    EXPECT_EQ(p.tooltipHandle(), tip) << "one tooltip control for all";
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 2);
    p.setTooltip(pic, "");
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(p.tooltip(pic), "");
    p.destroy(w);
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 0) << "a destroyed window's tools go with it";
}

TEST_F(Win32Controls, PictureBoxAndLabelMouseEvents) {
    const WindowRef popup = p.createWindow(popupDesign(), {});
    HWND pic = hwnd(popup, "pic");
    HWND caption = hwnd(popup, "caption");
    sink.bind("TestPopup", "pic", EventKind::LeftDown);
    const std::pair<UINT, EventKind> presses[] = {
        {WM_LBUTTONDOWN, EventKind::LeftDown},   {WM_LBUTTONUP, EventKind::LeftUp},
        {WM_RBUTTONDOWN, EventKind::RightDown},  {WM_RBUTTONUP, EventKind::RightUp},
        {WM_MBUTTONDOWN, EventKind::MiddleDown}, {WM_MBUTTONUP, EventKind::MiddleUp},
    };
    for (const auto& [msg, kind] : presses) {
        sink.events.clear();
        SendMessageW(pic, msg, 0, MAKELPARAM(10, 10));
        ASSERT_EQ(sink.events.size(), 1u) << ui::eventKindName(kind);
        EXPECT_EQ(sink.events[0].kind, kind);
        EXPECT_EQ(sink.events[0].control, "pic");
    }
    // An unbound caption lets presses through; a bound one takes them.
    EXPECT_EQ(SendMessageW(caption, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
    sink.bind("TestPopup", "caption", EventKind::LeftUp);
    EXPECT_EQ(SendMessageW(caption, WM_NCHITTEST, 0, 0), HTCLIENT);
    sink.events.clear();
    SendMessageW(caption, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(sink.events.size(), 1u);
    EXPECT_EQ(sink.events[0].control, "caption");
    EXPECT_EQ(GetWindowLongPtrW(caption, GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0);
}

TEST_F(Win32Controls, PictureBoxRemembersWhereItsPictureCameFrom) {
    const WindowRef popup = p.createWindow(popupDesign(), {});
    const ControlRef pic = ref(popup, "pic");
    EXPECT_EQ(p.picture(pic), PictureSource::builtIn(assets::Picture::NodePlaceholder));
    p.setPicture(pic, PictureSource::file("C:\\nowhere\\missing.png"));
    EXPECT_EQ(p.picture(pic), PictureSource::file("C:\\nowhere\\missing.png"));
    p.setPicture(pic, PictureSource::none());
    EXPECT_EQ(p.picture(pic), PictureSource::none());
    p.setPicture(pic, PictureSource::builtIn(assets::Picture::PlaceholderPicture));
    p.setPicture(pic, PictureSource::builtIn(assets::Picture::PlaceholderPicture));
    EXPECT_EQ(p.pictureCache().decodeCount(), 2u) << "each embedded picture decoded once";
    // Drawing goes through without a visible window too.
    p.setVisible(popup, true);
    UpdateWindow(hwnd(popup));
    p.setVisible(popup, false);
}

TEST_F(Win32Controls, APreparedPictureIsShownWithoutDecodingAndNothingChangesBefore) {
    const WindowRef popup = p.createWindow(popupDesign(), {});
    const ControlRef pic = ref(popup, "pic");
    const auto shown = p.pictureCache().decodeCount();
    p.preparePicture(pic, PictureSource::builtIn(assets::Picture::PlaceholderPicture));
    EXPECT_EQ(p.picture(pic), PictureSource::builtIn(assets::Picture::NodePlaceholder));
    EXPECT_EQ(p.pictureCache().decodeCount(), shown + 1);
    p.setPicture(pic, PictureSource::builtIn(assets::Picture::PlaceholderPicture));
    EXPECT_EQ(p.pictureCache().decodeCount(), shown + 1);
    p.preparePicture(ref(popup, "caption"), PictureSource::builtIn(assets::Picture::MainPicture));
    EXPECT_EQ(p.pictureCache().decodeCount(), shown + 1) << "only a picture box has a picture";
}

}  // namespace
}  // namespace pallo::platform::win32::test
