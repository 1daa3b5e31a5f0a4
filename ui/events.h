// The events a window or a control raises. Each feature binds the events of
// the controls it serves to its own functions (program/handlers.h).
#pragma once

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

}  // namespace pallo::ui
