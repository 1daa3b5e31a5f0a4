// Invariants of the event table: every binding can actually fire, lookups
// are exact and never grow the table, and the node rows react as the display
// code expects.
#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>
#include <tuple>

#include "ui/designs.h"
#include "ui/events.h"

namespace pallo::ui {
namespace {

using enum EventKind;

const std::vector<EventKind> kAllKinds{
    Created, PositionChanged, ClosedByUser, LeftDown,  LeftUp,         RightDown,
    RightUp, MiddleDown,      MiddleUp,     Clicked,   ItemChosen,     Selection,
    CurrentItemChanged,       ContentChanged,          ScrollChanged,  Wheel,
    HotkeyPressed};

bool isWindowEvent(EventKind e) {
    return e == Created || e == PositionChanged || e == ClosedByUser || e == HotkeyPressed;
}

// Whether a control of this kind can raise the event at all.
bool fits(ControlKind kind, EventKind e) {
    switch (e) {
        case LeftDown:
        case LeftUp:
        case RightDown:
        case RightUp:
        case MiddleDown:
        case MiddleUp: return kind == ControlKind::PictureBox || kind == ControlKind::Label;
        case Clicked: return kind == ControlKind::Button || kind == ControlKind::CheckBox;
        case ItemChosen: return kind == ControlKind::Combo;
        case Selection:
        case CurrentItemChanged:
        case Wheel: return kind == ControlKind::ListView;
        case ContentChanged: return kind == ControlKind::Edit;
        case ScrollChanged: return kind == ControlKind::HScrollBar;
        case Created:
        case PositionChanged:
        case ClosedByUser:
        case HotkeyPressed: return false;
    }
    return false;
}

bool isLowerCamelIdentifier(const std::string& s) {
    if (s.empty() || !std::islower(static_cast<unsigned char>(s[0]))) return false;
    for (char ch : s) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) return false;
    }
    return true;
}

TEST(Events, KindNamesAreDistinct) {
    std::set<std::string> names;
    for (EventKind e : kAllKinds) {
        const std::string name = eventKindName(e);
        EXPECT_NE(name, "Unknown");
        EXPECT_TRUE(names.insert(name).second) << name;
    }
    EXPECT_STREQ(eventKindName(static_cast<EventKind>(999)), "Unknown");
}

TEST(Events, EveryBindingTargetsSomethingThatCanRaiseIt) {
    for (const Binding& b : eventTable()) {
        SCOPED_TRACE(b.window + "/" + b.control + "/" + eventKindName(b.event));
        const WindowDesign* window = findDesign(b.window);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(isLowerCamelIdentifier(b.handler)) << b.handler;
        if (b.control.empty()) {
            EXPECT_TRUE(isWindowEvent(b.event));
            continue;
        }
        const ControlDesign* control = window->find(b.control);
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(fits(control->kind, b.event)) << "control kind does not raise this event";
        // Group boxes and what sits in them carry no action.
        if (!control->container.empty()) {
            EXPECT_NE(window->find(control->container)->kind, ControlKind::GroupBox);
        }
    }
}

TEST(Events, KeysAreUniqueAndFoundExactly) {
    std::set<std::tuple<std::string, std::string, EventKind>> keys;
    for (const Binding& b : eventTable()) {
        EXPECT_TRUE(keys.insert({b.window, b.control, b.event}).second)
            << "second binding for " << b.window << "/" << b.control << " would never fire";
        const Binding* found = findBinding(b.window, b.control, b.event);
        ASSERT_EQ(found, &b);
    }
}

TEST(Events, MissesReturnNullAndLeaveTheTableAlone) {
    const std::size_t before = eventTable().size();
    struct Miss {
        std::string window, control;
        EventKind event;
    };
    const Miss misses[] = {
        {"NoSuchWindow", "", Created},
        {"OverlayWindow", "NoSuchControl", Clicked},
        {"OverlayWindow", "图片框1", LeftUp},           // right button only
        {"OverlayWindow", "透明标签0", LeftUp},         // the caption of the bar
        {"ThirdRow3", "图片框", LeftDown},              // third row reacts to nothing
        {"FirstRow1", "透明标签", LeftDown},            // presses pass to the picture
        {"SecondRow1", "图片框", LeftUp},               // this one answers the press
        {"SecondRow2", "图片框", LeftDown},             // this one answers the release
        {"overlaywindow", "", Created},                 // names are exact
        {"NodeEditorWindow", "", ClosedByUser},         // frames close generically
        {"CatalogEditorWindow", "按钮1", Clicked},      // inside the hidden group
        {"", "", Created},
    };
    for (const Miss& m : misses) {
        EXPECT_EQ(findBinding(m.window, m.control, m.event), nullptr)
            << m.window << "/" << m.control << "/" << eventKindName(m.event);
    }
    EXPECT_EQ(eventTable().size(), before);
}

TEST(Events, NoWindowBindsTheFrameCloseButton) {
    for (const Binding& b : eventTable()) EXPECT_NE(b.event, ClosedByUser) << b.window;
}

TEST(Events, NodeRowsReactPerRowAndPosition) {
    struct Expect {
        Row row;
        int position;
        std::set<std::pair<EventKind, std::string>> bindings;
    };
    std::vector<Expect> cases;
    for (int p = 1; p <= rowLength(Row::First); ++p) {
        cases.push_back({Row::First, p,
                         {{LeftDown, "onFirstRowPress"}, {RightDown, "onFirstRowRightPress"}}});
    }
    for (int p = 1; p <= rowLength(Row::Second); ++p) {
        const EventKind e = (p == 1 || p == 6) ? LeftDown : LeftUp;
        cases.push_back({Row::Second, p, {{e, "onSecondRowClick"}}});
    }
    for (int p = 1; p <= rowLength(Row::Third); ++p) cases.push_back({Row::Third, p, {}});

    for (const Expect& c : cases) {
        const std::string& name = nodeWindow(c.row, c.position).name;
        std::set<std::pair<EventKind, std::string>> actual;
        for (const Binding& b : eventTable()) {
            if (b.window != name) continue;
            EXPECT_EQ(b.control, "图片框") << name;
            actual.insert({b.event, b.handler});
        }
        EXPECT_EQ(actual, c.bindings) << name;
    }
}

}  // namespace
}  // namespace pallo::ui
