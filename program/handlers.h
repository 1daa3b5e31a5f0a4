// How events reach the features: each feature binds controls of the
// windows it serves to its own functions, row by row, and the App calls the
// function bound to each event's (window, control, event).
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/platform.h"
#include "program/state.h"
#include "ui/events.h"

namespace pallo {

// The control of a binding for the window itself (Created, PositionChanged,
// ClosedByUser, HotkeyPressed).
inline constexpr const char* kWindowItself = "";
// The window of a binding that answers its event for every window that
// binds none of its own (the frame's close button is one for all).
inline constexpr const char* kAnyWindow = "*";

// A feature's function as the target of an event. It takes the context and,
// when it needs them, the window the event came from or the whole event.
class Call {
public:
    Call(void (*fn)(Context&));
    Call(void (*fn)(Context&, platform::WindowRef));
    Call(void (*fn)(Context&, const platform::Event&));

    void operator()(Context& ctx, const platform::Event& event) const;
    bool operator==(const Call&) const = default;

private:
    std::variant<void (*)(Context&), void (*)(Context&, platform::WindowRef),
                 void (*)(Context&, const platform::Event&)>
        fn_;
};

// One row of a feature's table: the design name of a window, the design name
// of one of its controls (both from ui/names.h, or a node window's design
// name), the event and the function it calls. A quoted name does not
// compile: a name is written once, in ui/names.h, where a misspelling fails
// the build instead of leaving an event silently unbound.
struct Binding {
    Binding(std::string_view window, std::string_view control, ui::EventKind event, Call call);
    // An event of the window itself.
    Binding(std::string_view window, ui::EventKind event, Call call);

    template <std::size_t N>
    Binding(const char (&window)[N], std::string_view control, ui::EventKind event, Call call) = delete;
    template <std::size_t N>
    Binding(std::string_view window, const char (&control)[N], ui::EventKind event, Call call) = delete;
    template <std::size_t N>
    Binding(const char (&window)[N], ui::EventKind event, Call call) = delete;

    std::string window;
    std::string control;  // kWindowItself for the window's own events
    ui::EventKind event;
    Call call;
};

class HandlerRegistry {
public:
    // A feature adds its whole table in one call. Each (window, control,
    // event) is bound once.
    void add(std::initializer_list<Binding> rows);
    // The function the event reaches: its window's own binding, else one
    // bound for any window; nullptr when none is.
    const Call* find(const platform::Event& event) const;
    // Whether the window binds this event of the control itself (a
    // transparent label that binds none lets presses through).
    bool isBound(std::string_view window, std::string_view control, ui::EventKind event) const;
    // Every binding, in the order added.
    const std::vector<Binding>& bindings() const { return bindings_; }
    // The bindings whose window is no design or whose control is not in its
    // window's design, as "window/control/event": they can never fire.
    std::vector<std::string> unresolved() const;

private:
    const Binding* exact(std::string_view window, std::string_view control, ui::EventKind event) const;

    std::vector<Binding> bindings_;
};

}  // namespace pallo
