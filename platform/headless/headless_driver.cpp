// The in-memory platform's events and its test driver: the keyboard focus,
// and the user's actions on windows and controls.
#include "platform/headless/headless_state.h"

#include <algorithm>

namespace pallo::platform::headless {

using ui::ControlKind;
using ui::EventKind;

namespace {

bool isCombo(const ui::ControlDesign& d) { return d.kind == ControlKind::Combo; }

bool isRowOf(const ui::ControlDesign& d, const std::vector<std::vector<std::string>>& rows, int row) {
    return d.kind == ControlKind::ListView && row >= 0 && row < static_cast<int>(rows.size());
}

EventKind pressKind(MouseButton b) {
    switch (b) {
        case MouseButton::Left: return EventKind::LeftDown;
        case MouseButton::Right: return EventKind::RightDown;
        case MouseButton::Middle: return EventKind::MiddleDown;
    }
    return EventKind::LeftDown;
}

EventKind releaseKind(MouseButton b) {
    switch (b) {
        case MouseButton::Left: return EventKind::LeftUp;
        case MouseButton::Right: return EventKind::RightUp;
        case MouseButton::Middle: return EventKind::MiddleUp;
    }
    return EventKind::LeftUp;
}

}  // namespace

// --- events --------------------------------------------------------------------

void HeadlessPlatform::fire(WindowRef w, const std::string& control, EventKind kind, int wheelDelta) {
    const Window* win = findWindow(w);
    if (!sink_ || !win) return;
    sink_->handle(platform::Event{w, win->design, control, kind, wheelDelta});
}

void HeadlessPlatform::firePositionChanged(WindowRef w) { fire(w, {}, EventKind::PositionChanged); }

void HeadlessPlatform::moveFocus(const ControlRef& c) {
    const Window* active = findWindow(active_);
    const ControlRef left = active ? ControlRef{active_, active->focus} : ControlRef{};
    // The focus is where it goes before the control that had it hears of
    // it, as on the system: a handler that moves it again has the last word.
    if (Window* win = c.name.empty() ? nullptr : findWindow(c.window)) {
        win->focus = c.name;
        active_ = c.window;
    }
    if (left == c) return;
    Control* combo = findControl(left);
    if (!combo || combo->design.kind != ControlKind::Combo) return;
    // Leaving closes an open list; the item shown counts as Return in the
    // closed box counts it, so the program never holds another one than the
    // box shows.
    combo->dropped = false;
    takeShownItem(left, false);
}

void HeadlessPlatform::takeShownItem(const ControlRef& c, bool always) {
    Control& ctl = control(c);
    if (ctl.selection < 0 || (!always && ctl.selection == ctl.committed)) return;
    ctl.committed = ctl.selection;
    fire(c.window, c.name, EventKind::ItemChosen);
}

template <typename Fits>
HeadlessPlatform::Control* HeadlessPlatform::focusForAction(const ControlRef& c, Fits fits) {
    if (!userCanReach(c) || !fits(control(c))) return nullptr;
    moveFocus(c);
    // What the focus left may have answered by changing c or taking it away.
    if (!userCanReach(c) || !fits(control(c))) return nullptr;
    return &control(c);
}

// --- test driver ------------------------------------------------------------------

bool HeadlessPlatform::userCanReach(const ControlRef& c) const {
    const Window* win = findWindow(c.window);
    if (!win || !win->visible || !win->enabled) return false;
    const Control* ctl = findControl(c);
    if (!ctl || !ctl->visible || !ctl->enabled) return false;
    // A control inside a hidden or disabled container cannot be reached either.
    std::string container = ctl->design.container;
    while (!container.empty()) {
        const auto it = win->controls.find(container);
        if (it == win->controls.end()) break;
        if (!it->second.visible || !it->second.enabled) return false;
        container = it->second.design.container;
    }
    return true;
}

std::string HeadlessPlatform::pressTarget(const ControlRef& c) const {
    const Window* win = findWindow(c.window);
    const Control* ctl = findControl(c);
    if (!win || !ctl) return {};
    // A transparent label without a bound mouse handler lets the press
    // through to the control it lies on; one with any takes every press, as
    // the system's hit test asks the label once for its whole area.
    const auto takesPresses = [&](const std::string& label) {
        for (const EventKind k : {EventKind::LeftDown, EventKind::LeftUp, EventKind::RightDown, EventKind::RightUp,
                                  EventKind::MiddleDown, EventKind::MiddleUp})
            if (sink_ && sink_->isBound(win->design, label, k)) return true;
        return false;
    };
    std::string name = c.name;
    while (ctl && ctl->design.kind == ControlKind::Label && !ctl->design.container.empty() && !takesPresses(name)) {
        name = ctl->design.container;
        const auto it = win->controls.find(name);
        ctl = it == win->controls.end() ? nullptr : &it->second;
    }
    return ctl ? name : std::string();
}

bool HeadlessPlatform::pressMouse(const ControlRef& c, MouseButton button) {
    if (!userCanReach(c)) return false;
    const EventKind kind = pressKind(button);
    const std::string target = pressTarget(c);
    if (target.empty()) return false;
    fire(c.window, target, kind);
    return true;
}

bool HeadlessPlatform::releaseMouse(const ControlRef& c, MouseButton button) {
    if (!userCanReach(c)) return false;
    const EventKind kind = releaseKind(button);
    const std::string target = pressTarget(c);
    if (target.empty()) return false;
    fire(c.window, target, kind);
    return true;
}

bool HeadlessPlatform::clickMouse(const ControlRef& c, MouseButton button) {
    if (!pressMouse(c, button)) return false;
    // The press may have hidden or destroyed the control; the release then
    // lands elsewhere, which is no event of this control.
    releaseMouse(c, button);
    return true;
}

bool HeadlessPlatform::turnWheel(const ControlRef& c, int delta) {
    if (!userCanReach(c)) return false;
    fire(c.window, c.name, EventKind::Wheel, delta);
    return true;
}

bool HeadlessPlatform::click(const ControlRef& c) {
    Control* ctl = focusForAction(c, [](const Control& k) {
        return k.design.kind == ControlKind::CheckBox || k.design.kind == ControlKind::Button;
    });
    if (!ctl) return false;
    if (ctl->design.kind == ControlKind::CheckBox) ctl->checked = !ctl->checked;
    fire(c.window, c.name, EventKind::Clicked);
    return true;
}

bool HeadlessPlatform::chooseItem(const ControlRef& c, int index) {
    Control* ctl = focusForAction(c, [index](const Control& k) {
        return isCombo(k.design) && index >= 0 && index < static_cast<int>(k.items.size());
    });
    if (!ctl) return false;
    ctl->selection = index;
    ctl->dropped = false;
    ctl->text = ctl->items[static_cast<std::size_t>(index)].text;
    takeShownItem(c, true);
    return true;
}

bool HeadlessPlatform::openList(const ControlRef& c) {
    Control* ctl = focusForAction(c, [](const Control& k) { return isCombo(k.design); });
    if (!ctl) return false;
    ctl->dropped = true;
    return true;
}

bool HeadlessPlatform::pressKey(const ControlRef& c, Key key) {
    Control* box = focusForAction(c, [](const Control& k) { return isCombo(k.design); });
    if (!box) return false;
    Control& ctl = *box;
    const int last = static_cast<int>(ctl.items.size()) - 1;
    switch (key) {
        case Key::Up:
        case Key::Down: {
            // The arrows only move the item shown; the choice waits.
            const int moved = key == Key::Up ? std::max(ctl.selection - 1, 0) : std::min(ctl.selection + 1, last);
            if (moved < 0) return true;
            ctl.selection = moved;
            ctl.text = ctl.items[static_cast<std::size_t>(moved)].text;
            return true;
        }
        case Key::Return: {
            // Return takes the item shown: always from the open list, from the
            // closed box when it is another than the one taken last.
            const bool wasDropped = ctl.dropped;
            ctl.dropped = false;
            takeShownItem(c, wasDropped);
            return true;
        }
    }
    return true;
}

bool HeadlessPlatform::selectRow(const ControlRef& c, int row) {
    // The row under the pointer once the focus is there.
    if (!focusForAction(c, [row](const Control& k) { return isRowOf(k.design, k.rows, row); })) return false;
    changeList(c, true, -1, [row](Control& l) {
        l.selected = {row};
        l.focusedRow = row;
    });
    return true;
}

bool HeadlessPlatform::ctrlClickRow(const ControlRef& c, int row) {
    if (!userCanReach(c)) return false;
    if (!control(c).design.multiSelect) return selectRow(c, row);
    if (!focusForAction(c, [row](const Control& k) { return isRowOf(k.design, k.rows, row); })) return false;
    changeList(c, true, -1, [row](Control& l) {
        if (l.selected.count(row)) l.selected.erase(row);
        else l.selected.insert(row);
        l.focusedRow = row;
    });
    return true;
}

bool HeadlessPlatform::typeText(const ControlRef& c, const std::string& text) {
    Control* box = focusForAction(c, [](const Control& k) {
        return (k.design.kind == ControlKind::Edit || (isCombo(k.design) && k.design.editable)) && !k.readOnly;
    });
    if (!box) return false;
    Control& ctl = *box;
    const bool editableCombo = isCombo(ctl.design);
    std::string typed = text;
    // An integer-only box refuses each character that is not a digit.
    if (ctl.design.integerInput) std::erase_if(typed, [](char ch) { return ch < '0' || ch > '9'; });
    if (typed.empty()) return true;  // nothing got in: the old text stays
    if (editableCombo) {
        // Typed text is no item, even when it reads like one.
        ctl.text = typed;
        ctl.selection = -1;
        return true;
    }
    setText(c, typed);
    return true;
}

bool HeadlessPlatform::moveScroll(const ControlRef& c, int pos) {
    if (!userCanReach(c)) return false;
    Control& ctl = control(c);
    if (ctl.design.kind != ControlKind::HScrollBar) return false;
    const int clamped = std::clamp(pos, ctl.scrollMin, ctl.scrollMax);
    if (clamped == ctl.scrollPos) return true;
    ctl.scrollPos = clamped;
    fire(c.window, c.name, EventKind::ScrollChanged);
    return true;
}

bool HeadlessPlatform::dragWindow(WindowRef w, int left, int top) {
    const Window* win = findWindow(w);
    if (!win || !win->visible) return false;
    move(w, left, top);
    return true;
}

bool HeadlessPlatform::pressHotkey(const platform::Hotkey& hotkey) {
    for (const auto& [id, win] : windows_) {
        if (win->hotkey != hotkey) continue;
        fire(WindowRef{id}, {}, EventKind::HotkeyPressed);
        return true;
    }
    return false;
}

std::optional<platform::Hotkey> HeadlessPlatform::registeredHotkey(WindowRef w) const {
    const Window* win = findWindow(w);
    return win ? win->hotkey : std::nullopt;
}

bool HeadlessPlatform::closeByUser(WindowRef w) {
    const Window* win = findWindow(w);
    if (!win || !win->visible) return false;
    fire(w, {}, EventKind::ClosedByUser);
    return true;
}

std::vector<WindowRef> HeadlessPlatform::windows() const {
    std::vector<WindowRef> out;
    for (const auto& [id, win] : windows_) out.push_back(WindowRef{id});
    return out;
}

std::vector<WindowRef> HeadlessPlatform::windowsOfDesign(const std::string& design) const {
    std::vector<WindowRef> out;
    for (const auto& [id, win] : windows_)
        if (win->design == design) out.push_back(WindowRef{id});
    return out;
}

}  // namespace pallo::platform::headless
