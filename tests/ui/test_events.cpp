// The event kinds: each has its own name. What the features bind them to is
// checked in tests/program/test_handlers.cpp.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ui/events.h"

namespace pallo::ui {
namespace {

using enum EventKind;

const std::vector<EventKind> kAllKinds{
    Created, PositionChanged, ClosedByUser, LeftDown,  LeftUp,         RightDown,
    RightUp, MiddleDown,      MiddleUp,     Clicked,   ItemChosen,     Selection,
    CurrentItemChanged,       ContentChanged,          ScrollChanged,  Wheel,
    HotkeyPressed};

TEST(Events, KindNamesAreDistinct) {
    std::set<std::string> names;
    for (EventKind e : kAllKinds) {
        const std::string name = eventKindName(e);
        EXPECT_NE(name, "Unknown");
        EXPECT_TRUE(names.insert(name).second) << name;
    }
    EXPECT_STREQ(eventKindName(static_cast<EventKind>(999)), "Unknown");
}

}  // namespace
}  // namespace pallo::ui
