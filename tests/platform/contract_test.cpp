// The platform contract: what the core may rely on from either platform.
// The same cases run natively against the headless platform and under Wine
// against the Win32 platform; the user acts through tests/platform/user.h.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "support/design_builder.h"
#include "tests/platform/user.h"
#include "ui/designs.h"

namespace pallo::platform::contract {
namespace {

using ui::ControlKind;
using ui::EventKind;

// The bindings of the program's features.
const HandlerRegistry& programBindings() {
    static const HandlerRegistry handlers = programHandlers();
    return handlers;
}

struct Sink : EventSink {
    std::vector<Event> events;
    std::set<std::pair<std::string, EventKind>> bound;  // control, event
    bool useEventTable = false;  // answer isBound from the program's bindings
    std::function<void(const Event&)> onEvent;

    void handle(const Event& e) override {
        events.push_back(e);
        if (onEvent) onEvent(e);
    }
    bool isBound(const std::string& design, const std::string& control, EventKind kind) const override {
        if (useEventTable) return programBindings().isBound(design, control, kind);
        return bound.count({control, kind}) != 0;
    }
};

// A framed window with one control of each kind the contract speaks of.
ui::WindowDesign framedDesign() {
    pallo::testing::DesignBuilder b("ContractFramed", 60, 70, 320, 240);
    b.framed("约定");
    b.add(ControlKind::Combo, "combo", 0, 0, 80, 20).items = {{"选择项目", 0}, {"Item", 1}, {"Hero", 2}};
    {
        auto& c = b.add(ControlKind::Combo, "editCombo", 0, 22, 80, 20);
        c.editable = true;
        c.items = {{"甲", 7}};
    }
    b.add(ControlKind::Edit, "edit", 0, 44, 80, 20);
    b.add(ControlKind::Edit, "memo", 0, 66, 80, 40).multiLine = true;
    b.add(ControlKind::Edit, "number", 0, 110, 80, 20).integerInput = true;
    b.add(ControlKind::Button, "button", 0, 132, 48, 20).text = "保存";
    b.add(ControlKind::CheckBox, "check", 0, 154, 80, 20).text = "置顶";
    b.add(ControlKind::HScrollBar, "scroll", 0, 200, 150, 16).scroll = ui::ScrollRange{15, 255, 15, 15, 105};
    const std::vector<ui::ListColumn> columns{{"ID", 40}, {"名称", 64}};
    b.add(ControlKind::ListView, "list", 90, 0, 115, 100).columns = columns;
    {
        auto& c = b.add(ControlKind::ListView, "multi", 90, 105, 115, 90);
        c.columns = columns;
        c.multiSelect = true;
    }
    b.add(ControlKind::PictureBox, "pic", 210, 0, 100, 100).background = ui::kGrey;
    b.add(ControlKind::Label, "caption", 2, 70, 96, 24, "pic").text = "地图";
    b.add(ControlKind::Label, "action", 2, 2, 96, 20, "pic").text = "动作";
    return b.design();
}

ui::WindowDesign popupDesign() {
    pallo::testing::DesignBuilder b("ContractPopup", 120, 130, 70, 70);
    b.add(ControlKind::PictureBox, "pic", 0, 0, 70, 70);
    return b.design();
}

class Contract : public ::testing::Test {
protected:
    Sink sink;  // outlives the platform
    std::unique_ptr<Backend> backend = makeBackend();
    Platform& p = backend->platform();
    User& user = backend->user();
    WindowRef w;

    void SetUp() override {
        p.setEventSink(&sink);
        w = open(framedDesign());
    }
    // Builds a window and shows it; forgets the events of doing so.
    WindowRef open(const ui::WindowDesign& design, WindowRef owner = {}) {
        const WindowRef x = p.createWindow(design, owner);
        p.setVisible(x, true);
        user.settle();
        sink.events.clear();
        return x;
    }
    ControlRef c(const std::string& name) const { return {w, name}; }
    // "control/Event" of each event since the last call.
    std::vector<std::string> fired() {
        user.settle();
        std::vector<std::string> out;
        for (const auto& e : sink.events) out.push_back(e.control + "/" + ui::eventKindName(e.kind));
        sink.events.clear();
        return out;
    }
    void fill(const ControlRef& list, int rows) {
        for (int i = 0; i < rows; ++i) p.addRow(list, std::to_string(i));
    }
};

using Names = std::vector<std::string>;

// --- windows -------------------------------------------------------------------

TEST_F(Contract, DesignedSizeIsTheClientAreaAndLeftTopTheOuterWindows) {
    for (const ui::WindowDesign& d : {framedDesign(), popupDesign()}) {
        SCOPED_TRACE(d.name);
        const WindowRef x = open(d);
        EXPECT_EQ(p.left(x), d.left);
        EXPECT_EQ(p.top(x), d.top);
        EXPECT_EQ(p.width(x), d.width);
        EXPECT_EQ(p.height(x), d.height);
        // The frame and caption come on top of a framed window's height.
        const int frame = p.outerHeight(x) - p.height(x);
        EXPECT_EQ(frame > 0, d.framed) << frame;
        p.resize(x, 200, 150);
        EXPECT_EQ(p.width(x), 200);
        EXPECT_EQ(p.height(x), 150);
        EXPECT_EQ(p.outerHeight(x), 150 + frame);
        EXPECT_EQ(p.left(x), d.left) << "a resize keeps the place";
    }
}

TEST_F(Contract, PositionChangedFiresOnceWithTheWindowComplete) {
    using Seen = std::vector<int>;  // left, top, width, height
    std::vector<Seen> seen;
    sink.onEvent = [&](const Event& e) {
        if (e.kind == EventKind::PositionChanged) seen.push_back({p.left(w), p.top(w), p.width(w), p.height(w)});
    };
    const struct {
        const char* what;
        std::function<void()> act;
        std::vector<Seen> expected;
    } cases[] = {
        {"program move", [&] { p.move(w, 300, 310); }, {{300, 310, 320, 240}}},
        {"move to the same place", [&] { p.move(w, 300, 310); }, {}},
        {"program resize", [&] { p.resize(w, 330, 250); }, {{300, 310, 330, 250}}},
        {"user drag", [&] { EXPECT_TRUE(user.dragWindow(w, 40, 50)); }, {{40, 50, 330, 250}}},
        {"show and hide", [&] { p.setVisible(w, false); p.setVisible(w, true); }, {}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        seen.clear();
        k.act();
        user.settle();
        EXPECT_EQ(seen, k.expected);
    }
}

TEST_F(Contract, OwnedWindowsStayAboveTheirOwnerAndLeaveTheTopWithIt) {
    const WindowRef owner = open(popupDesign());
    const WindowRef owned = open(popupDesign(), owner);
    const WindowRef grandchild = open(popupDesign(), owned);
    const WindowRef other = open(popupDesign());
    EXPECT_TRUE(user.isAbove(owned, owner));
    for (WindowRef x : {grandchild, owned, owner, other}) p.setTopMost(x, true);
    EXPECT_TRUE(user.isAbove(owned, owner)) << "raising the owner keeps its owned windows above";
    EXPECT_TRUE(user.isAbove(grandchild, owned));
    p.setTopMost(owner, false);
    EXPECT_FALSE(p.isTopMost(owner));
    EXPECT_FALSE(p.isTopMost(owned));
    EXPECT_FALSE(p.isTopMost(grandchild));
    EXPECT_TRUE(p.isTopMost(other));
    EXPECT_TRUE(user.isAbove(other, owned));
    EXPECT_TRUE(user.isAbove(owned, owner));
}

TEST_F(Contract, PreparingToShowChangesNothingTheProgramReads) {
    const WindowRef hidden = p.createWindow(popupDesign(), {});
    p.setLayeredAlpha(hidden, 180);
    p.prepareToShow(hidden);
    user.settle();
    EXPECT_FALSE(p.isVisible(hidden));
    EXPECT_EQ(p.layeredAlpha(hidden), 180);
    p.setVisible(hidden, true);
    EXPECT_TRUE(p.isVisible(hidden));
    EXPECT_EQ(p.layeredAlpha(hidden), 180);

    const WindowRef shown = open(popupDesign());
    p.setLayeredAlpha(shown, 90);
    p.prepareToShow(shown);
    user.settle();
    EXPECT_TRUE(p.isVisible(shown));
    EXPECT_EQ(p.layeredAlpha(shown), 90);
    EXPECT_TRUE(sink.events.empty()) << "no event reaches the program";
}

// --- events of the user and of the program -------------------------------------------

TEST_F(Contract, EachUserActionFiresItsHandlerOnce) {
    fill(c("list"), 3);
    fill(c("multi"), 3);
    const struct {
        const char* what;
        std::function<bool()> act;
        Names expected;
    } cases[] = {
        {"click a button", [&] { return user.click(c("button")); }, {"button/Clicked"}},
        {"click a check box", [&] { return user.click(c("check")); }, {"check/Clicked"}},
        {"choose an item", [&] { return user.chooseItem(c("combo"), 2); }, {"combo/ItemChosen"}},
        {"a key in an edit box", [&] { return user.typeText(c("edit"), "x"); }, {"edit/ContentChanged"}},
        {"a key in a multi-line box", [&] { return user.typeText(c("memo"), "y"); }, {"memo/ContentChanged"}},
        {"click a row", [&] { return user.selectRow(c("list"), 1); },
         {"list/Selection", "list/CurrentItemChanged"}},
        {"ctrl-click a row", [&] { return user.ctrlClickRow(c("multi"), 2); },
         {"multi/Selection", "multi/CurrentItemChanged"}},
        {"turn the wheel over a list", [&] { return user.turnWheel(c("multi"), -120); }, {"multi/Wheel"}},
        {"press on a picture", [&] { return user.press(c("pic"), MouseButton::Right); }, {"pic/RightDown"}},
        {"release on a picture", [&] { return user.release(c("pic"), MouseButton::Right); }, {"pic/RightUp"}},
        {"the frame's close button", [&] { return user.closeByUser(w); }, {"/ClosedByUser"}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        EXPECT_TRUE(k.act());
        EXPECT_EQ(fired(), k.expected);
    }
    EXPECT_TRUE(p.isChecked(c("check")));
    EXPECT_EQ(p.selection(c("combo")), 2);
    EXPECT_EQ(p.text(c("edit")), "x");
    EXPECT_EQ(p.currentRow(c("list")), 1);
    EXPECT_TRUE(p.exists(w)) << "closing is the core's decision";
}

TEST_F(Contract, WheelOverAListReachesItsHandlerWithItsDelta) {
    for (int delta : {-120, 240}) {
        ASSERT_TRUE(user.turnWheel(c("list"), delta));
        user.settle();
        ASSERT_EQ(sink.events.size(), 1u);
        EXPECT_EQ(sink.events[0].wheelDelta, delta);
        sink.events.clear();
    }
}

TEST_F(Contract, TheUserCannotReachHiddenOrDisabledControls) {
    p.setEnabled(c("button"), false);
    p.setVisible(c("check"), false);
    p.setEnabled(c("combo"), false);
    EXPECT_FALSE(user.click(c("button")));
    EXPECT_FALSE(user.click(c("check")));
    EXPECT_FALSE(user.chooseItem(c("combo"), 1));
    p.setVisible(c("pic"), false);  // and the labels on it
    EXPECT_FALSE(user.press(c("caption"), MouseButton::Left));
    EXPECT_EQ(fired(), Names{});
    EXPECT_EQ(p.selection(c("combo")), 0);
}

TEST_F(Contract, ProgramChangesFireNothing) {
    fill(c("list"), 3);
    const struct {
        const char* what;
        std::function<void()> change;
    } cases[] = {
        {"combo selection", [&] { p.setSelection(c("combo"), 2); }},
        {"no combo selection", [&] { p.setSelection(c("combo"), -1); }},
        {"combo items", [&] { p.addItem(c("combo"), "相互关联", 1); }},
        {"check box", [&] { p.setChecked(c("check"), true); }},
        {"scroll position", [&] { p.setScrollPos(c("scroll"), 255); }},
        {"scroll range", [&] { p.setScrollRange(c("scroll"), 0, 100); }},
        {"button caption", [&] { p.setText(c("button"), "删除"); }},
        {"button disabled and enabled", [&] { p.setEnabled(c("button"), false); p.setEnabled(c("button"), true); }},
        {"list cells and rows", [&] { p.setCell(c("list"), 0, 1, "名称"); p.addRow(c("list"), "9"); }},
        {"edit read-only", [&] { p.setReadOnly(c("edit"), true); }},
        {"combo made editable", [&] { p.setEditable(c("combo"), true); }},
        {"combo made a list again", [&] { p.setEditable(c("combo"), false); }},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        k.change();
        EXPECT_EQ(fired(), Names{});
    }
    EXPECT_EQ(p.scrollPos(c("scroll")), 100);
}

TEST_F(Contract, EditBoxesReportEveryChangeOfTheirTextOnce) {
    for (const char* name : {"edit", "memo"}) {
        SCOPED_TRACE(name);
        const std::string changed = std::string(name) + "/ContentChanged";
        p.setText(c(name), "第一行");
        EXPECT_EQ(fired(), Names{changed});
        p.setText(c(name), "第一行");
        EXPECT_EQ(fired(), Names{}) << "the same text is no change";
        p.setText(c(name), "");
        EXPECT_EQ(fired(), Names{changed});
    }
    p.setText(c("memo"), "一\r\n二\r\n\r\n三");
    EXPECT_EQ(p.text(c("memo")), "一\r\n二\r\n\r\n三");
}

TEST_F(Contract, EditBoxInputFollowsReadOnlyAndIntegerOnly) {
    user.typeText(c("number"), "4a2");
    EXPECT_EQ(p.text(c("number")), "42") << "the letter is refused";
    user.typeText(c("number"), "abc");
    EXPECT_EQ(p.text(c("number")), "42");

    p.setReadOnly(c("edit"), true);
    EXPECT_TRUE(p.isReadOnly(c("edit")));
    user.typeText(c("edit"), "z");
    EXPECT_EQ(p.text(c("edit")), "");
    p.setReadOnly(c("edit"), false);
    EXPECT_FALSE(p.isReadOnly(c("edit")));
    fired();
    user.typeText(c("edit"), "z");
    EXPECT_EQ(p.text(c("edit")), "z");
    EXPECT_EQ(fired(), Names{"edit/ContentChanged"});
}

TEST_F(Contract, DraggingTheThumbFiresAtEveryPosition) {
    std::vector<int> seen;
    sink.onEvent = [&](const Event& e) {
        if (e.kind == EventKind::ScrollChanged) seen.push_back(p.scrollPos(c("scroll")));
    };
    ASSERT_TRUE(user.dragThumb(c("scroll"), {200, 201, 255}));
    user.settle();
    EXPECT_EQ(seen, (std::vector<int>{200, 201, 255}));
}

TEST_F(Contract, LabelsWithoutHandlersLetPressesThroughToTheControlUnderThem) {
    sink.bound = {{"action", EventKind::LeftUp}};
    ASSERT_TRUE(user.press(c("caption"), MouseButton::Left));
    ASSERT_TRUE(user.release(c("caption"), MouseButton::Left));
    EXPECT_EQ(fired(), (Names{"pic/LeftDown", "pic/LeftUp"}));
    // A label with a handler takes every press on it.
    ASSERT_TRUE(user.press(c("action"), MouseButton::Left));
    ASSERT_TRUE(user.release(c("action"), MouseButton::Left));
    EXPECT_EQ(fired(), (Names{"action/LeftDown", "action/LeftUp"}));
}

TEST_F(Contract, FocusIsWhereTheProgramPutIt) {
    for (const char* name : {"edit", "list", "memo", "combo", "editCombo"}) {
        p.setFocus(c(name));
        EXPECT_TRUE(p.hasFocus(c(name))) << name;
        EXPECT_FALSE(p.hasFocus(c(name == std::string("edit") ? "memo" : "edit"))) << name;
    }
}

TEST_F(Contract, MonitorsListOnePrimaryFirstAtTheDesktopsOrigin) {
    const std::vector<platform::Monitor> monitors = p.monitors();
    ASSERT_FALSE(monitors.empty());
    EXPECT_TRUE(monitors.front().primary);
    EXPECT_EQ(monitors.front().left, 0);
    EXPECT_EQ(monitors.front().top, 0);
    EXPECT_GT(monitors.front().width, 0);
    EXPECT_GT(monitors.front().height, 0);
    for (std::size_t i = 1; i < monitors.size(); ++i) EXPECT_FALSE(monitors[i].primary) << i;
}

TEST_F(Contract, MessageBoxesAreModalToTheirOwner) {
    std::vector<OpenBox> seen;
    std::vector<bool> ownerEnabled;
    user.answerBoxes([&](const OpenBox& box) {
        seen.push_back(box);
        ownerEnabled.push_back(p.isEnabled(w));
        return Answer::Yes;
    });
    EXPECT_TRUE(p.isEnabled(w));
    EXPECT_EQ(p.messageBox(w, "确定删除？", "确认", MessageButtons::YesNo), Answer::Yes);
    EXPECT_EQ(p.messageBox(w, "保存成功。", "提示", MessageButtons::Ok), Answer::Ok);
    user.answerBoxes(nullptr);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].owner, p.nativeHandle(w));
    EXPECT_EQ(seen[0].text, "确定删除？");
    EXPECT_EQ(seen[0].caption, "确认");
    EXPECT_EQ(seen[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(seen[1].buttons, MessageButtons::Ok);
    EXPECT_EQ(ownerEnabled, (std::vector<bool>{false, false}));
    EXPECT_TRUE(p.isEnabled(w)) << "enabled again once answered";
}

// --- hotkeys ----------------------------------------------------------------------------

TEST_F(Contract, AHotkeyReachesTheWindowThatHoldsItShownOrHidden) {
    Hotkey key;  // Ctrl+Alt+P
    key.ctrl = key.alt = true;
    key.key = 'P';
    const WindowRef other = open(popupDesign());
    const auto press = [&] {
        user.pressHotkey(key);
        user.settle();
        std::vector<std::pair<std::uint32_t, EventKind>> seen;
        for (const auto& e : sink.events) seen.emplace_back(e.window.id, e.kind);
        sink.events.clear();
        return seen;
    };
    using Seen = std::vector<std::pair<std::uint32_t, EventKind>>;
    ASSERT_TRUE(p.registerHotkey(w, key));
    EXPECT_FALSE(p.registerHotkey(other, key)) << "one window holds a hotkey";
    EXPECT_EQ(press(), (Seen{{w.id, EventKind::HotkeyPressed}}));
    p.setVisible(w, false);
    EXPECT_EQ(press(), (Seen{{w.id, EventKind::HotkeyPressed}})) << "a hidden window still hears it";
    p.unregisterHotkey(w);
    EXPECT_EQ(press(), Seen{});
    ASSERT_TRUE(p.registerHotkey(other, key));
    p.destroy(other);
    EXPECT_TRUE(p.registerHotkey(w, key)) << "a destroyed window's hotkey is free again";
    p.unregisterHotkey(w);

    Hotkey held;  // Shift+Win+F9
    held.shift = held.win = true;
    held.function = 9;
    user.holdHotkeyElsewhere(held);
    EXPECT_FALSE(p.registerHotkey(w, held)) << "another program holds it";
}

// --- combo boxes ------------------------------------------------------------------------

TEST_F(Contract, TextOfADropDownListPicksTheItemOfExactlyThatText) {
    EXPECT_EQ(p.selection(c("combo")), 0) << "built with its first item shown";
    EXPECT_EQ(p.text(c("combo")), "选择项目");
    EXPECT_EQ(p.text(c("editCombo")), "甲");
    const struct {
        const char* text;
        int selection;
        const char* reads;
    } cases[] = {{"Item", 1, "Item"}, {"item", -1, ""}, {"Hero", 2, "Hero"}, {"", -1, ""}, {"选择项目", 0, "选择项目"}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.text);
        p.setText(c("combo"), k.text);
        EXPECT_EQ(p.selection(c("combo")), k.selection);
        EXPECT_EQ(p.text(c("combo")), k.reads);
    }
    EXPECT_EQ(fired(), Names{});
}

TEST_F(Contract, ComboSwitchedAtRunTimeKeepsItsItemsSelectionAndHandler) {
    const ControlRef combo = c("combo");
    p.setTooltip(combo, "说明");
    p.setSelection(combo, 2);
    p.setFocus(combo);
    EXPECT_FALSE(p.isEditable(combo));

    p.setEditable(combo, true);
    EXPECT_TRUE(p.isEditable(combo));
    EXPECT_TRUE(p.hasFocus(combo));
    ASSERT_EQ(p.itemCount(combo), 3);
    EXPECT_EQ(p.itemText(combo, 1), "Item");
    EXPECT_EQ(p.itemData(combo, 2), 2);
    EXPECT_EQ(p.selection(combo), 2);
    EXPECT_EQ(p.text(combo), "Hero");
    EXPECT_EQ(p.tooltip(combo), "说明");
    ASSERT_TRUE(user.typeText(combo, "新名字"));
    EXPECT_EQ(p.text(combo), "新名字");
    p.setText(combo, "程序改名");
    EXPECT_EQ(p.text(combo), "程序改名");
    fired();
    ASSERT_TRUE(user.chooseItem(combo, 1));
    EXPECT_EQ(fired(), Names{"combo/ItemChosen"});
    EXPECT_EQ(p.text(combo), "Item");

    p.setEnabled(combo, false);
    p.setEditable(combo, false);
    EXPECT_FALSE(p.isEditable(combo));
    EXPECT_FALSE(p.isEnabled(combo));
    EXPECT_FALSE(user.chooseItem(combo, 0)) << "still disabled";
    p.setEnabled(combo, true);
    EXPECT_EQ(p.selection(combo), 1);
    EXPECT_EQ(p.text(combo), "Item");
    EXPECT_EQ(p.itemData(combo, 1), 1);
    ASSERT_TRUE(user.chooseItem(combo, 0));
    EXPECT_EQ(fired(), Names{"combo/ItemChosen"});
    p.setSelection(c("editCombo"), -1);
    EXPECT_EQ(p.text(c("editCombo")), "") << "no item, no text";
}

TEST_F(Contract, AComboChoiceIsTakenWhenCommittedNotOnEveryArrowKey) {
    const ControlRef combo = c("combo");
    const struct {
        const char* what;
        bool openFirst;
        std::vector<Key> keys;
        int shown;
        Names expected;
    } cases[] = {
        {"arrows in the closed box", false, {Key::Down, Key::Down}, 2, {}},
        {"Return takes the item shown", false, {Key::Return}, 2, {"combo/ItemChosen"}},
        {"Return again: nothing new", false, {Key::Return}, 2, {}},
        {"arrows in the open list", true, {Key::Up, Key::Up}, 0, {}},
        {"Return closes the list and takes it", false, {Key::Return}, 0, {"combo/ItemChosen"}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        if (k.openFirst) {
            ASSERT_TRUE(user.openList(combo));
        }
        for (const Key key : k.keys) {
            ASSERT_TRUE(user.pressKey(combo, key));
        }
        EXPECT_EQ(fired(), k.expected);
        EXPECT_EQ(p.selection(combo), k.shown);
    }
    // The mouse: the list opens, a click on an item takes it.
    ASSERT_TRUE(user.chooseItem(combo, 1));
    EXPECT_EQ(fired(), Names{"combo/ItemChosen"});
    EXPECT_EQ(p.selection(combo), 1);
}

// What the arrow keys moved to is taken when the focus leaves the box, by the
// user or the program, once, before the control that took the focus acts.
TEST_F(Contract, LeavingAComboBoxTakesTheItemItShows) {
    const ControlRef combo = c("combo");
    std::vector<int> chosen;  // the selection each ItemChosen saw
    sink.onEvent = [&](const Event& e) {
        if (e.kind == EventKind::ItemChosen) chosen.push_back(p.selection(c(e.control)));
    };
    const auto arrow = [&](Key key) { return user.pressKey(combo, key); };
    const struct {
        const char* what;
        std::function<bool()> act;
        Names expected;
    } steps[] = {
        {"arrows in the closed box", [&] { return arrow(Key::Down) && arrow(Key::Down); }, {}},
        {"a click on a button", [&] { return user.click(c("button")); }, {"combo/ItemChosen", "button/Clicked"}},
        {"back in the box, nothing moved", [&] { return arrow(Key::Return); }, {}},
        {"leaving it again", [&] { return user.click(c("check")); }, {"check/Clicked"}},
        {"the program's choice, then an arrow", [&] { p.setSelection(combo, 1); return arrow(Key::Up); }, {}},
        {"the program moves the focus", [&] { p.setFocus(c("edit")); return true; }, {"combo/ItemChosen"}},
        {"an arrow undone by another", [&] { return arrow(Key::Down) && arrow(Key::Up); }, {}},
        {"leaving on the item taken", [&] { return user.selectRow(c("list"), 0); },
         {"list/Selection", "list/CurrentItemChanged"}},
        {"typing into the editable box", [&] { return user.typeText(c("editCombo"), "甲乙"); }, {}},
        {"leaving typed text", [&] { return user.typeText(c("edit"), "x"); }, {"edit/ContentChanged"}},
    };
    fill(c("list"), 1);
    for (const auto& k : steps) {
        SCOPED_TRACE(k.what);
        ASSERT_TRUE(k.act());
        EXPECT_EQ(fired(), k.expected);
    }
    EXPECT_EQ(chosen, (std::vector<int>{2, 0}));
    EXPECT_EQ(p.selection(combo), 0);
    EXPECT_EQ(p.selection(c("editCombo")), -1);
}

TEST_F(Contract, TypingIntoAnEditableComboLeavesNoItemSelected) {
    const ControlRef combo = c("editCombo");
    p.addItem(combo, "乙", 8);
    p.setSelection(combo, 1);
    for (const char* typed : {"新名字", "甲"}) {
        SCOPED_TRACE(typed);
        ASSERT_TRUE(user.typeText(combo, typed));
        EXPECT_EQ(p.text(combo), typed);
        EXPECT_EQ(p.selection(combo), -1);
    }
    EXPECT_EQ(fired(), Names{});
}

// --- list views --------------------------------------------------------------------------

TEST_F(Contract, SelectedRowsLookSelectedWhileAnotherControlHasTheFocus) {
    for (const char* name : {"list", "multi"}) {
        SCOPED_TRACE(name);
        const ControlRef list = c(name);
        fill(list, 3);
        ASSERT_TRUE(user.selectRow(list, 1));
        p.setFocus(c("edit"));
        user.settle();
        EXPECT_TRUE(user.looksSelected(list, 1));
        EXPECT_FALSE(user.looksSelected(list, 0));
    }
}

TEST_F(Contract, ListRowsCellsCurrentAndSelectedRows) {
    const ControlRef multi = c("multi");
    fill(multi, 5);
    p.setCell(multi, 2, 1, "改");
    EXPECT_EQ(p.cell(multi, 2, 1), "改");
    EXPECT_EQ(p.cell(multi, 2, 0), "2");
    user.selectRow(multi, 3);
    user.ctrlClickRow(multi, 0);
    user.ctrlClickRow(multi, 4);
    EXPECT_EQ(p.selectedRows(multi), (std::vector<int>{0, 3, 4})) << "in row order";
    EXPECT_EQ(p.currentRow(multi), 4);
    user.ctrlClickRow(multi, 4);
    EXPECT_EQ(p.selectedRows(multi), (std::vector<int>{0, 3}));
    EXPECT_EQ(p.currentRow(multi), 0) << "the focused row is no longer selected";
    p.setRowSelected(multi, 1, true);
    p.setRowSelected(multi, 0, false);
    EXPECT_EQ(p.selectedRows(multi), (std::vector<int>{1, 3}));
    p.deleteRow(multi, 2);
    EXPECT_EQ(p.rowCount(multi), 4);
    EXPECT_EQ(p.cell(multi, 2, 0), "3");
    EXPECT_EQ(p.selectedRows(multi), (std::vector<int>{1, 2}));
    p.clearRows(multi);
    EXPECT_EQ(p.rowCount(multi), 0);
    EXPECT_EQ(p.currentRow(multi), -1);
    EXPECT_TRUE(p.selectedRows(multi).empty());

    const ControlRef list = c("list");
    fill(list, 3);
    p.setRowSelected(list, 0, true);
    p.setRowSelected(list, 2, true);
    EXPECT_EQ(p.selectedRows(list), std::vector<int>{2}) << "one row at most";
    EXPECT_EQ(p.currentRow(list), 2);
    p.setCurrentRow(list, -1);
    EXPECT_TRUE(p.selectedRows(list).empty());
}

TEST_F(Contract, EditorListsFireAsTheirDesignsSay) {
    sink.useEventTable = true;
    const struct {
        const ui::WindowDesign* design;
        const char* list;
        bool selectionFromProgram;
    } lists[] = {
        {&ui::nodeEditorWindow(), "超级列表框1", true},
        {&ui::catalogEditorWindow(), "超级列表框1", false},
        {&ui::associationWindow(), "超级列表框1", false},
        {&ui::associationWindow(), "超级列表框2", false},
    };
    for (const auto& k : lists) {
        SCOPED_TRACE(k.design->name + " " + k.list);
        const WindowRef x = open(*k.design);
        const ControlRef list{x, k.list};
        std::vector<int> currentSeen;
        sink.onEvent = [&](const Event& e) {
            if (e.kind == EventKind::CurrentItemChanged) currentSeen.push_back(p.currentRow(list));
        };
        const std::string selection = std::string(k.list) + "/Selection";
        const std::string current = std::string(k.list) + "/CurrentItemChanged";
        const Names programSelects =
            k.selectionFromProgram ? Names{selection, current} : Names{current};
        fill(list, 4);
        EXPECT_EQ(fired(), Names{});
        p.setCurrentRow(list, 1);
        EXPECT_EQ(fired(), programSelects);
        p.setCurrentRow(list, 1);
        EXPECT_EQ(fired(), Names{}) << "the same row again";
        p.deleteRow(list, 3);
        p.deleteRow(list, 0);  // the current row moves up: the same row
        EXPECT_EQ(fired(), Names{});
        EXPECT_EQ(p.currentRow(list), 0);
        p.deleteRow(list, 0);
        EXPECT_EQ(fired(), Names{current}) << "the current row deleted";
        p.setCurrentRow(list, 0);
        EXPECT_EQ(fired(), programSelects);
        p.clearRows(list);
        EXPECT_EQ(fired(), Names{current});
        p.clearRows(list);
        EXPECT_EQ(fired(), Names{});
        EXPECT_EQ(currentSeen, (std::vector<int>{1, -1, 0, -1}));
        fill(list, 3);
        ASSERT_TRUE(user.selectRow(list, 2));
        EXPECT_EQ(fired(), (Names{selection, current}));
        sink.onEvent = nullptr;
        p.destroy(x);
        user.settle();
        sink.events.clear();
    }
}

}  // namespace
}  // namespace pallo::platform::contract
