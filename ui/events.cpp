#include "ui/events.h"

namespace pallo::ui {

const char* eventKindName(EventKind kind) {
    switch (kind) {
        case EventKind::Created: return "Created";
        case EventKind::PositionChanged: return "PositionChanged";
        case EventKind::ClosedByUser: return "ClosedByUser";
        case EventKind::LeftDown: return "LeftDown";
        case EventKind::LeftUp: return "LeftUp";
        case EventKind::RightDown: return "RightDown";
        case EventKind::RightUp: return "RightUp";
        case EventKind::MiddleDown: return "MiddleDown";
        case EventKind::MiddleUp: return "MiddleUp";
        case EventKind::Clicked: return "Clicked";
        case EventKind::ItemChosen: return "ItemChosen";
        case EventKind::Selection: return "Selection";
        case EventKind::CurrentItemChanged: return "CurrentItemChanged";
        case EventKind::ContentChanged: return "ContentChanged";
        case EventKind::ScrollChanged: return "ScrollChanged";
        case EventKind::Wheel: return "Wheel";
        case EventKind::HotkeyPressed: return "HotkeyPressed";
    }
    return "Unknown";
}

}  // namespace pallo::ui
