// The event table: which handler each (window, control, event) calls.
// Handlers register by name as they are written; an event bound to a name
// that has no handler yet does nothing.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace pallo::ui {

enum class EventKind {
    Created,             // window: built, controls in place, still hidden
    PositionChanged,     // window: moved or resized (after the move is complete)
    ClosedByUser,        // window: the frame's close button
    LeftDown,
    LeftUp,
    RightDown,
    RightUp,
    MiddleDown,
    MiddleUp,
    Clicked,             // button, check box
    ItemChosen,          // combo box: the user chose an item
    Selection,           // list view: the user changed the selection
    CurrentItemChanged,  // list view: the current row changed
    ContentChanged,      // edit box: its text changed
    ScrollChanged,       // scroll bar: position changed
    Wheel,               // mouse wheel turned over the control
    HotkeyPressed,       // window: the hotkey it registered was pressed
};

const char* eventKindName(EventKind kind);

struct Binding {
    std::string window;   // window design name
    std::string control;  // control design name; empty for the window itself
    EventKind event;
    std::string handler;  // handler name
};

// Every binding of every window design.
const std::vector<Binding>& eventTable();

// Looks up the handler name bound to an event; nullptr when none is bound.
const Binding* findBinding(const std::string& window, const std::string& control, EventKind event);

}  // namespace pallo::ui
