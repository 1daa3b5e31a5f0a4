// The features' bindings: every one can actually fire and reaches a
// function, lookups are exact, the frame's close button has one function for
// all, and the node rows react as the display code expects.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/app.h"
#include "display/detail.h"
#include "display/rows.h"
#include "overlay/options.h"
#include "ui/designs.h"
#include "ui/names.h"

namespace pallo {
namespace {

using enum ui::EventKind;
using ui::ControlKind;
using ui::EventKind;

const HandlerRegistry& registry() {
    static const HandlerRegistry handlers = programHandlers();
    return handlers;
}

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
        case CurrentItemChanged: return kind == ControlKind::ListView;
        case Wheel: return kind == ControlKind::ListView || kind == ControlKind::PictureBox;
        case ContentChanged: return kind == ControlKind::Edit;
        case ScrollChanged: return kind == ControlKind::HScrollBar;
        case Created:
        case PositionChanged:
        case ClosedByUser:
        case HotkeyPressed: return false;
    }
    return false;
}

platform::Event event(const std::string& window, const std::string& control, EventKind kind) {
    platform::Event e;
    e.design = window;
    e.control = control;
    e.kind = kind;
    return e;
}

TEST(Bindings, EveryBindingTargetsSomethingThatCanRaiseIt) {
    EXPECT_EQ(registry().unresolved(), std::vector<std::string>{});
    for (const Binding& b : registry().bindings()) {
        SCOPED_TRACE(b.window + "/" + b.control + "/" + ui::eventKindName(b.event));
        if (b.control == kWindowItself) {
            EXPECT_TRUE(isWindowEvent(b.event));
            continue;
        }
        const ui::WindowDesign* window = ui::findDesign(b.window);
        ASSERT_NE(window, nullptr);
        const ui::ControlDesign* control = window->find(b.control);
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(fits(control->kind, b.event)) << "control kind does not raise this event";
        // Group boxes and what sits in them carry no action.
        if (!control->container.empty()) {
            EXPECT_NE(window->find(control->container)->kind, ControlKind::GroupBox);
        }
    }
}

TEST(Bindings, KeysAreUniqueAndFoundExactly) {
    std::set<std::tuple<std::string, std::string, EventKind>> keys;
    for (const Binding& b : registry().bindings()) {
        EXPECT_TRUE(keys.insert({b.window, b.control, b.event}).second)
            << "second binding for " << b.window << "/" << b.control << " would never fire";
        EXPECT_TRUE(registry().isBound(b.window, b.control, b.event));
        EXPECT_EQ(registry().find(event(b.window, b.control, b.event)), &b.call);
    }
}

TEST(Bindings, MissesFindNothing) {
    const struct {
        std::string window, control;
        EventKind event;
    } misses[] = {
        {"NoSuchWindow", "", Created},
        {"OverlayWindow", "NoSuchControl", Clicked},
        {"OverlayWindow", "图片框1", LeftUp},       // right button only
        {"OverlayWindow", "透明标签0", LeftUp},     // the caption of the bar
        {"ThirdRow3", "图片框", LeftDown},          // third row reacts to nothing
        {"FirstRow1", "透明标签", LeftDown},        // presses pass to the picture
        {"SecondRow1", "图片框", LeftUp},           // this one answers the press
        {"SecondRow2", "图片框", LeftDown},         // this one answers the release
        {"overlaywindow", "", Created},             // names are exact
        {"CatalogEditorWindow", "按钮1", Clicked},  // inside the hidden group
        {"", "", Created},
    };
    for (const auto& m : misses) {
        EXPECT_FALSE(registry().isBound(m.window, m.control, m.event))
            << m.window << "/" << m.control << "/" << ui::eventKindName(m.event);
        EXPECT_EQ(registry().find(event(m.window, m.control, m.event)), nullptr)
            << m.window << "/" << m.control << "/" << ui::eventKindName(m.event);
    }
}

TEST(Bindings, EveryFrameCloseReachesTheOneFunctionForAll) {
    for (const Binding& b : registry().bindings()) {
        if (b.event != ClosedByUser) continue;
        EXPECT_EQ(b.window, kAnyWindow) << "a window binds its own close button";
    }
    const Call closing{&closedByUser};
    for (const ui::WindowDesign* d : ui::allDesigns()) {
        EXPECT_FALSE(registry().isBound(d->name, kWindowItself, ClosedByUser)) << d->name;
        const Call* found = registry().find(event(d->name, kWindowItself, ClosedByUser));
        ASSERT_NE(found, nullptr) << d->name;
        EXPECT_TRUE(*found == closing) << d->name;
    }
}

TEST(Bindings, NodeRowsReactPerRowAndPosition) {
    using Reaction = std::pair<EventKind, Call>;
    struct Expect {
        ui::Row row;
        int position;
        std::vector<Reaction> reactions;
    };
    std::vector<Expect> cases;
    for (int p = 1; p <= ui::rowLength(ui::Row::First); ++p) {
        cases.push_back({ui::Row::First, p, {{LeftDown, Call{&onFirstRowPress}}, {RightDown, Call{&onFirstRowRightPress}}}});
    }
    for (int p = 1; p <= ui::rowLength(ui::Row::Second); ++p) {
        const EventKind e = (p == 1 || p == 6) ? LeftDown : LeftUp;
        cases.push_back({ui::Row::Second, p, {{e, Call{&onSecondRowClick}}, {Wheel, Call{&onRowWheel}}}});
    }
    for (int p = 1; p <= ui::rowLength(ui::Row::Third); ++p)
        cases.push_back({ui::Row::Third, p, {{Wheel, Call{&onRowWheel}}}});

    for (const Expect& c : cases) {
        const std::string& name = ui::nodeWindow(c.row, c.position).name;
        std::vector<Reaction> actual;
        for (const Binding& b : registry().bindings()) {
            if (b.window != name) continue;
            EXPECT_EQ(b.control, ui::names::node::picture) << name;
            actual.emplace_back(b.event, b.call);
        }
        EXPECT_TRUE(std::is_permutation(actual.begin(), actual.end(), c.reactions.begin(), c.reactions.end()))
            << name;
    }
}

}  // namespace
}  // namespace pallo
