// Top-level windows, the program's loop and message boxes, checked against
// what the system reports.
#include <algorithm>

#include "platform/win32/text.h"
#include "tests/win32/support.h"
#include "ui/designs.h"

namespace pallo::platform::win32::test {
namespace {

using ui::EventKind;

TEST_F(Win32Test, BorderlessWindowHasItsDesignedRectangleAndStartsHidden) {
    const WindowRef w = p.createWindow(popupDesign(), {});
    ASSERT_TRUE(p.exists(w));
    HWND h = hwnd(w);
    ASSERT_TRUE(IsWindow(h));
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r.left, 120);
    EXPECT_EQ(r.top, 130);
    EXPECT_EQ(r.right - r.left, 70);
    EXPECT_EQ(r.bottom - r.top, 70);
    EXPECT_FALSE(IsWindowVisible(h));
    EXPECT_FALSE(p.isVisible(w));
    EXPECT_TRUE(GetWindowLongW(h, GWL_STYLE) & WS_POPUP);
    EXPECT_FALSE(GetWindowLongW(h, GWL_STYLE) & WS_CAPTION);
    EXPECT_EQ(p.designName(w), "TestPopup");
    EXPECT_EQ(p.width(w), 70);
    EXPECT_EQ(p.height(w), 70);
}

TEST_F(Win32Test, FramedWindowsClientAreaIsTheDesignedSize) {
    const WindowRef w = p.createWindow(framedDesign(), {});
    HWND h = hwnd(w);
    RECT client;
    GetClientRect(h, &client);
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 240);
    RECT outer;
    GetWindowRect(h, &outer);
    EXPECT_EQ(outer.left, 60);
    EXPECT_EQ(outer.top, 70);
    EXPECT_EQ(p.left(w), 60);
    EXPECT_GT(outer.bottom - outer.top, 240) << "the frame and caption come on top";
    p.resize(w, 300, 200);
    GetClientRect(h, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
    const LONG style = GetWindowLongW(h, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_EQ(p.title(w), "框架窗口");
    wchar_t caption[32] = {};
    GetWindowTextW(h, caption, 32);
    EXPECT_STREQ(caption, L"框架窗口");
}

TEST_F(Win32Test, OwnerIsTheNativeOwner) {
    const WindowRef owner = p.createWindow(popupDesign(), {});
    const WindowRef owned = p.createWindow(framedDesign(), owner);
    EXPECT_EQ(GetWindow(hwnd(owned), GW_OWNER), hwnd(owner));
    EXPECT_EQ(p.owner(owned), owner);
    EXPECT_FALSE(p.owner(owner));
    // The system destroys owned windows with their owner.
    p.destroy(owner);
    EXPECT_FALSE(p.exists(owner));
    EXPECT_FALSE(p.exists(owned));
    EXPECT_FALSE(p.hasControl(ref(owned, "combo")));
}

TEST_F(Win32Test, CreatedFiresOnceWithEveryControlInPlace) {
    int created = 0;
    bool controlsThere = false;
    sink.onEvent = [&](const Event& e) {
        if (e.kind != EventKind::Created) return;
        ++created;
        controlsThere = p.hasControl(ref(e.window, "scroll")) && p.hasControl(ref(e.window, "note")) &&
                        p.scrollPos(ref(e.window, "scroll")) == 105;
        EXPECT_FALSE(p.isVisible(e.window));
    };
    const WindowRef w = p.createWindow(framedDesign(), {});
    drain();
    EXPECT_EQ(created, 1);
    EXPECT_TRUE(controlsThere);
    ASSERT_EQ(sink.events.size(), 1u) << "nothing else while building";
    EXPECT_EQ(sink.events[0].window, w);
    EXPECT_EQ(sink.events[0].design, "TestFramed");
    EXPECT_TRUE(sink.events[0].control.empty());
}

TEST_F(Win32Test, CloseRequestGoesToTheCoreAndDestroysNothing) {
    const WindowRef w = p.createWindow(framedDesign(), {});
    SendMessageW(hwnd(w), WM_CLOSE, 0, 0);
    EXPECT_EQ(sink.count(EventKind::ClosedByUser), 1);
    EXPECT_TRUE(p.exists(w));
    EXPECT_TRUE(IsWindow(hwnd(w)));
    // The core may destroy the window from the handler itself.
    sink.onEvent = [&](const Event& e) {
        if (e.kind == EventKind::ClosedByUser) p.destroy(e.window);
    };
    HWND h = hwnd(w);
    SendMessageW(h, WM_CLOSE, 0, 0);
    EXPECT_FALSE(p.exists(w));
    EXPECT_FALSE(IsWindow(h));
}

TEST_F(Win32Test, TopMostFollowsTheExtendedStyle) {
    const WindowRef w = p.createWindow(popupDesign(), {});
    EXPECT_FALSE(p.isTopMost(w));
    p.setTopMost(w, true);
    EXPECT_TRUE(GetWindowLongW(hwnd(w), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(p.isTopMost(w));
    p.setTopMost(w, false);
    EXPECT_FALSE(GetWindowLongW(hwnd(w), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(p.isTopMost(w));
    drain();
    EXPECT_EQ(sink.count(EventKind::PositionChanged), 0);
}

TEST_F(Win32Test, RowsLeaveTheTopAsTheOnTopBoxAsks) {
    // The overlay, then each of its row windows, as unticking "置顶" does.
    const WindowRef overlay = p.createWindow(popupDesign(), {});
    std::vector<WindowRef> rows;
    for (int i = 0; i < 4; ++i) rows.push_back(p.createWindow(popupDesign(), overlay));
    for (bool onTop : {true, false, true, false}) {
        p.setTopMost(overlay, onTop);
        for (WindowRef r : rows) p.setTopMost(r, onTop);
        EXPECT_EQ(p.isTopMost(overlay), onTop);
        for (WindowRef r : rows) EXPECT_EQ(p.isTopMost(r), onTop) << onTop;
    }
}

TEST_F(Win32Test, LayeredAlphaReadsBackFromTheSystem) {
    const WindowRef w = p.createWindow(popupDesign(), {});
    EXPECT_EQ(p.layeredAlpha(w), 255) << "not layered yet";
    for (int alpha : {150, 15, 255, 105}) {
        p.setLayeredAlpha(w, alpha);
        EXPECT_TRUE(GetWindowLongW(hwnd(w), GWL_EXSTYLE) & WS_EX_LAYERED);
        BYTE got = 0;
        DWORD flags = 0;
        COLORREF key = 0;
        ASSERT_TRUE(GetLayeredWindowAttributes(hwnd(w), &key, &got, &flags));
        EXPECT_TRUE(flags & LWA_ALPHA);
        EXPECT_EQ(got, alpha);
        EXPECT_EQ(p.layeredAlpha(w), alpha);
    }
    p.setLayeredAlpha(WindowRef{}, 100);  // no window: nothing happens
    EXPECT_EQ(p.layeredAlpha(WindowRef{}), 255);
}

TEST_F(Win32Test, WindowTagsAndTitlesAreDataSlots) {
    const WindowRef a = p.createWindow(popupDesign(), {});
    const WindowRef b = p.createWindow(popupDesign(), {});
    EXPECT_NE(a, b);
    p.setWindowTag(a, "3");
    p.setTitle(b, "第二");
    EXPECT_EQ(p.windowTag(a), "3");
    EXPECT_EQ(p.windowTag(b), "");
    EXPECT_EQ(p.title(b), "第二");
    p.destroy(a);
    EXPECT_EQ(p.windowTag(a), "") << "a destroyed window has no data";
    const WindowRef c = p.createWindow(popupDesign(), {});
    EXPECT_NE(c, a) << "ids are never reused";
    EXPECT_FALSE(p.exists(a));
}

TEST_F(Win32Test, StaleAndUnknownReferencesDoNothing) {
    const WindowRef w = p.createWindow(framedDesign(), {});
    p.destroy(w);
    p.destroy(w);
    p.move(w, 1, 2);
    p.setText(ref(w, "edit"), "x");
    EXPECT_EQ(p.text(ref(w, "edit")), "");
    EXPECT_EQ(p.nativeHandle(w), 0);
    const WindowRef live = p.createWindow(framedDesign(), {});
    EXPECT_FALSE(p.hasControl(ref(live, "nothing")));
    p.setScrollPos(ref(live, "edit"), 3);  // wrong kind
    EXPECT_EQ(p.itemCount(ref(live, "list")), 0);
    EXPECT_EQ(p.cell(ref(live, "list"), 5, 0), "");
    EXPECT_EQ(sink.count(EventKind::ContentChanged), 0);
}

TEST_F(Win32Test, WaitProcessingEventsDispatchesWhileItWaits) {
    const WindowRef w = p.createWindow(framedDesign(), {});
    HWND button = hwnd(w, "button");
    PostMessageW(hwnd(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
    const auto start = p.tickMs();
    p.waitProcessingEvents(60);
    EXPECT_GE(p.tickMs() - start, 60);
    EXPECT_EQ(sink.count("button", EventKind::Clicked), 1);

    PostMessageW(hwnd(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
    p.waitProcessingEvents(0);
    EXPECT_EQ(sink.count("button", EventKind::Clicked), 1) << "0 returns at once";
    drain();
}

TEST_F(Win32Test, TheIdleTaskRunsWhenNothingWaitsUntilItIsDone) {
    const WindowRef w = p.createWindow(framedDesign(), {});
    HWND button = hwnd(w, "button");
    const auto click = [&] {
        PostMessageW(hwnd(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
    };
    std::vector<std::string> order;
    int calls = 0;
    sink.onEvent = [&](const Event& e) {
        if (e.kind != EventKind::Clicked) return;
        order.push_back("click");
        if (calls == 3) p.requestExit();
    };
    p.setIdleTask([&] {
        order.push_back("idle " + std::to_string(++calls));
        if (calls == 1) click();  // input that comes during a call goes before the next
        if (calls < 3) return true;
        click();
        return false;  // done: never called again
    });
    click();
    p.run();
    const std::vector<std::string> expected{"click", "idle 1", "click", "idle 2", "idle 3", "click"};
    EXPECT_EQ(order, expected);
}

TEST_F(Win32Test, ExitEndsTheLoopAfterTheOutermostHandler) {
    const WindowRef w = p.createWindow(framedDesign(), {});
    HWND main = hwnd(w);
    HWND button = hwnd(w, "button");
    HWND inner = hwnd(w, "inner");
    std::vector<std::string> order;
    std::int64_t waited = 0;
    sink.onEvent = [&](const Event& e) {
        if (e.kind != EventKind::Clicked) return;
        if (e.control == "button") {
            order.push_back("outer begins");
            PostMessageW(main, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(inner), BN_CLICKED), reinterpret_cast<LPARAM>(inner));
            const auto start = p.tickMs();
            p.waitProcessingEvents(20000);
            waited = p.tickMs() - start;
            order.push_back("outer ends");
        } else if (e.control == "inner") {
            order.push_back("exit requested");
            p.requestExit();
            EXPECT_TRUE(p.exitRequested());
            order.push_back("inner ends");
        }
    };
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
    p.run();
    order.push_back("loop ended");
    const std::vector<std::string> expected{"outer begins", "exit requested", "inner ends", "outer ends", "loop ended"};
    EXPECT_EQ(order, expected);
    EXPECT_LT(waited, 20000) << "the wait returned at once";
    p.waitProcessingEvents(1000);  // returns at once now
    EXPECT_EQ(p.run(), 0) << "a second run ends at once";
}

TEST_F(Win32Test, ExitClosesAnOpenMessageBoxUnansweredAndShowsNoLaterOne) {
    // The exit is confirmed while a question is open (from a timer, as a
    // handler nested in the box's own loop would): the box closes with No.
    static Win32Backend* backend = nullptr;
    backend = &p;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) { backend->requestExit(); });
    EXPECT_EQ(p.messageBox({}, "是否删除所选子节点？", "确认", MessageButtons::YesNo), Answer::No);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(p.exitRequested());
    bool asked = false;
    p.setMessageBoxAnswerer([&](const ShownBox&) {
        asked = true;
        return Answer::Yes;
    });
    EXPECT_EQ(p.messageBox({}, "later", "确认", MessageButtons::YesNo), Answer::No);
    EXPECT_FALSE(asked) << "no box is shown once the program is ending";
    p.setMessageBoxAnswerer(nullptr);
}

TEST_F(Win32Test, RunDirectoryIsTheExecutablesFolder) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring expected(path);
    expected.resize(expected.find_last_of(L"\\/"));
    const std::string dir = p.runDirectory();
    EXPECT_EQ(dir, toUtf8(expected));
    ASSERT_FALSE(dir.empty());
    EXPECT_NE(dir.back(), '\\');
}

TEST_F(Win32Test, OpenFolderGoesThroughTheHook) {
    std::vector<std::string> opened;
    p.setOpenFolderHook([&](const std::string& path) { opened.push_back(path); });
    p.openFolder("C:\\图片\\Img");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "C:\\图片\\Img");
}

TEST_F(Win32Test, ThePrimaryMonitorIsThePrimaryScreen) {
    const Monitor primary = p.monitors().front();
    EXPECT_EQ(primary.width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(primary.height, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(static_cast<int>(p.monitors().size()), GetSystemMetrics(SM_CMONITORS));
}

// --- the program's own designs ------------------------------------------------------

TEST_F(Win32Test, EveryProgramDesignBuildsAtItsPlaces) {
    sink.useEventTable = true;
    for (const ui::WindowDesign* d : ui::allDesigns()) {
        SCOPED_TRACE(d->name);
        const WindowRef w = p.createWindow(*d, {});
        ASSERT_TRUE(p.exists(w));
        RECT client;
        GetClientRect(hwnd(w), &client);
        EXPECT_EQ(client.right, d->width);
        EXPECT_EQ(client.bottom, d->height);
        EXPECT_FALSE(p.isVisible(w));
        for (const auto& c : d->controls) {
            SCOPED_TRACE(c.name);
            ASSERT_TRUE(p.hasControl(ref(w, c.name)));
            int left = c.left;
            int top = c.top;
            for (const ui::ControlDesign* k = d->find(c.container); k; k = d->find(k->container)) {
                left += k->left;
                top += k->top;
            }
            const RECT r = placed(w, c.name);
            EXPECT_EQ(r.left, left);
            EXPECT_EQ(r.top, top);
            EXPECT_EQ(r.right - r.left, c.width);
            EXPECT_EQ(p.isVisible(ref(w, c.name)), c.visible);
            EXPECT_EQ(p.isEnabled(ref(w, c.name)), c.enabled);
            if (c.kind != ui::ControlKind::HScrollBar) {  // a scroll bar has no text to draw
                EXPECT_NE(SendMessageW(hwnd(w, c.name), WM_GETFONT, 0, 0), 0) << "every control has its font";
            }
            if (c.kind == ui::ControlKind::Label || c.kind == ui::ControlKind::Button) {
                EXPECT_EQ(p.text(ref(w, c.name)), c.text);
            }
            if (c.kind == ui::ControlKind::Combo) {
                ASSERT_EQ(p.itemCount(ref(w, c.name)), static_cast<int>(c.items.size()));
                for (std::size_t i = 0; i < c.items.size(); ++i) {
                    EXPECT_EQ(p.itemText(ref(w, c.name), static_cast<int>(i)), c.items[i].text);
                    EXPECT_EQ(p.itemData(ref(w, c.name), static_cast<int>(i)), c.items[i].data);
                }
            }
            if (c.kind == ui::ControlKind::ListView) {
                ASSERT_EQ(p.columnCount(ref(w, c.name)), static_cast<int>(c.columns.size()));
                for (std::size_t i = 0; i < c.columns.size(); ++i)
                    EXPECT_EQ(SendMessageW(hwnd(w, c.name), LVM_GETCOLUMNWIDTH, i, 0), c.columns[i].width);
                const bool single = GetWindowLongW(hwnd(w, c.name), GWL_STYLE) & LVS_SINGLESEL;
                EXPECT_EQ(single, !c.multiSelect);
            }
        }
        p.destroy(w);
    }
}

TEST_F(Win32Test, OverlayLabelsTakeTheirClicksAndNodeCaptionsLetThemThrough) {
    sink.useEventTable = true;
    const WindowRef overlay = p.createWindow(ui::overlayWindow(), {});
    const WindowRef node = p.createWindow(ui::nodeWindow(ui::Row::First, 1), overlay);
    // "收起选项" has a handler; a node window's caption has none.
    EXPECT_EQ(SendMessageW(hwnd(overlay, "透明标签3"), WM_NCHITTEST, 0, 0), HTCLIENT);
    EXPECT_EQ(SendMessageW(hwnd(overlay, "透明标签2"), WM_NCHITTEST, 0, 0), HTCLIENT);
    EXPECT_EQ(SendMessageW(hwnd(node, "透明标签"), WM_NCHITTEST, 0, 0), HTTRANSPARENT);
    // The caption lies over its picture box, so the press falls through to it.
    HWND top = ChildWindowFromPointEx(hwnd(node), POINT{35, 60}, CWP_SKIPINVISIBLE);
    EXPECT_EQ(top, hwnd(node, "透明标签"));
    const ui::WindowDesign& o = ui::overlayWindow();
    EXPECT_TRUE(dragsWindow(o, *o.find("图片框1"), sink.isBound(o.name, "图片框1", EventKind::LeftDown) ||
                                                      sink.isBound(o.name, "图片框1", EventKind::LeftUp)));
    for (ui::Row row : {ui::Row::First, ui::Row::Second, ui::Row::Third}) {
        for (int i = 1; i <= ui::rowLength(row); ++i) {
            const ui::WindowDesign& n = ui::nodeWindow(row, i);
            EXPECT_FALSE(dragsWindow(n, *n.find("图片框"), false)) << n.name;
        }
    }
    // The first row's picture box reports its press instead of dragging.
    SendMessageW(hwnd(node, "图片框"), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(35, 35));
    EXPECT_EQ(sink.count("图片框", EventKind::LeftDown), 1);
    SendMessageW(hwnd(overlay, "图片框1"), WM_RBUTTONUP, 0, MAKELPARAM(35, 35));
    EXPECT_EQ(sink.count("图片框1", EventKind::RightUp), 1);
    // The overlay carries the program icon.
    EXPECT_NE(SendMessageW(hwnd(overlay), WM_GETICON, ICON_BIG, 0), 0);
}

TEST_F(Win32Test, TheOverlayNeverTakesTheActivationFromTheWindowTheUserIsIn) {
    // The game: a framed window of our own, active, its edit box focused.
    const WindowRef game = p.createWindow(framedDesign(), {});
    p.setVisible(game, true);
    SetForegroundWindow(hwnd(game));
    SetFocus(hwnd(game, "edit"));
    drain();
    ASSERT_EQ(GetActiveWindow(), hwnd(game));
    sink.useEventTable = true;
    const WindowRef overlay = p.createWindow(ui::overlayWindow(), {});
    p.setVisible(overlay, true);
    drain();
    const auto gameKeepsTheFocus = [&](const char* after) {
        EXPECT_EQ(GetActiveWindow(), hwnd(game)) << after;
        EXPECT_EQ(GetFocus(), hwnd(game, "edit")) << after;
    };
    gameKeepsTheFocus("showing the overlay");

    // A press anywhere on it, its picture or a label, activates nothing.
    for (const char* control : {"图片框1", "透明标签2"}) {
        const LPARAM hit = MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN);
        EXPECT_EQ(SendMessageW(hwnd(overlay, control), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(hwnd(overlay)), hit),
                  MA_NOACTIVATE)
            << control;
    }
    EXPECT_EQ(SendMessageW(hwnd(game), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(hwnd(game)),
                           MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
              MA_ACTIVATE)
        << "framed windows activate as usual";

    // The check box ticks and reports one click, without the focus.
    HWND box = hwnd(overlay, "选择框1");
    for (bool checked : {true, false}) {
        SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        drain();
        EXPECT_EQ(p.isChecked(ref(overlay, "选择框1")), checked);
        gameKeepsTheFocus("a click on the check box");
    }
    EXPECT_EQ(sink.count("选择框1", EventKind::Clicked), 2);
    // A press that leaves the box before the release is no click.
    SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
    drain();
    EXPECT_FALSE(p.isChecked(ref(overlay, "选择框1")));
    EXPECT_EQ(sink.count("选择框1", EventKind::Clicked), 2);

    // Dragging the picture moves the window with the pointer.
    HWND picture = hwnd(overlay, "图片框1");
    const POINT start{130, 140};
    SetCursorPos(start.x, start.y);
    PostMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 40));
    drain();
    SetCursorPos(start.x + 40, start.y + 30);
    PostMessageW(picture, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(70, 70));
    drain();
    PostMessageW(picture, WM_LBUTTONUP, 0, MAKELPARAM(70, 70));
    drain();
    EXPECT_EQ(p.left(overlay), 100 + 40);
    EXPECT_EQ(p.top(overlay), 100 + 30);
    EXPECT_NE(GetCapture(), picture) << "the drag ended with the release";
    gameKeepsTheFocus("a drag");
}

}  // namespace
}  // namespace pallo::platform::win32::test
