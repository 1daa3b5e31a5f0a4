#include "program/handlers.h"

#include <algorithm>
#include <cassert>

#include "ui/designs.h"

namespace pallo {

Call::Call(void (*fn)(Context&)) : fn_(fn) { assert(fn); }
Call::Call(void (*fn)(Context&, platform::WindowRef)) : fn_(fn) { assert(fn); }
Call::Call(void (*fn)(Context&, const platform::Event&)) : fn_(fn) { assert(fn); }

void Call::operator()(Context& ctx, const platform::Event& event) const {
    struct Invoke {
        Context& ctx;
        const platform::Event& event;
        void operator()(void (*fn)(Context&)) const { fn(ctx); }
        void operator()(void (*fn)(Context&, platform::WindowRef)) const { fn(ctx, event.window); }
        void operator()(void (*fn)(Context&, const platform::Event&)) const { fn(ctx, event); }
    };
    std::visit(Invoke{ctx, event}, fn_);
}

Binding::Binding(std::string_view w, std::string_view c, ui::EventKind e, Call f)
    : window(w), control(c), event(e), call(f) {}

Binding::Binding(std::string_view w, ui::EventKind e, Call f) : Binding(w, kWindowItself, e, f) {}

void HandlerRegistry::add(std::initializer_list<Binding> rows) {
    for (const Binding& row : rows) {
        assert(!exact(row.window, row.control, row.event) && "an event is bound twice");
        bindings_.push_back(row);
    }
}

const Binding* HandlerRegistry::exact(std::string_view window, std::string_view control,
                                      ui::EventKind event) const {
    const auto it = std::find_if(bindings_.begin(), bindings_.end(), [&](const Binding& b) {
        return b.event == event && b.window == window && b.control == control;
    });
    return it == bindings_.end() ? nullptr : &*it;
}

const Call* HandlerRegistry::find(const platform::Event& e) const {
    const Binding* b = exact(e.design, e.control, e.kind);
    if (!b) b = exact(kAnyWindow, e.control, e.kind);
    return b ? &b->call : nullptr;
}

bool HandlerRegistry::isBound(std::string_view window, std::string_view control, ui::EventKind event) const {
    return exact(window, control, event) != nullptr;
}

std::vector<std::string> HandlerRegistry::unresolved() const {
    std::vector<std::string> out;
    for (const Binding& b : bindings_) {
        if (b.window == kAnyWindow && b.control == kWindowItself) continue;
        const ui::WindowDesign* design = ui::findDesign(b.window);
        if (design && (b.control == kWindowItself || design->find(b.control))) continue;
        out.push_back(b.window + "/" + b.control + "/" + ui::eventKindName(b.event));
    }
    return out;
}

}  // namespace pallo
