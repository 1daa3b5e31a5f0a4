#include "program/handlers.h"

#include <cassert>
#include <set>

#include "ui/events.h"

namespace pallo {

HandlerEntry::HandlerEntry(ui::HandlerName n, void (*fn)(Context&))
    : name(n), handler([fn](Context& ctx, const platform::Event&) { fn(ctx); }) {}

HandlerEntry::HandlerEntry(ui::HandlerName n, void (*fn)(Context&, platform::WindowRef))
    : name(n), handler([fn](Context& ctx, const platform::Event& e) { fn(ctx, e.window); }) {}

HandlerEntry::HandlerEntry(ui::HandlerName n, void (*fn)(Context&, const platform::Event&))
    : name(n), handler(fn) {}

void HandlerRegistry::add(std::initializer_list<HandlerEntry> table) {
    for (const HandlerEntry& entry : table) {
        [[maybe_unused]] const bool added = handlers_.emplace(std::string(entry.name.view()), entry.handler).second;
        assert(added && "a handler name is registered twice");
    }
}

const Handler* HandlerRegistry::find(std::string_view name) const {
    const auto it = handlers_.find(name);
    return it == handlers_.end() ? nullptr : &it->second;
}

std::vector<std::string> HandlerRegistry::missing() const {
    std::set<std::string> names;
    for (const auto& b : ui::eventTable())
        if (!find(b.handler)) names.insert(b.handler);
    return {names.begin(), names.end()};
}

std::vector<std::string> HandlerRegistry::names() const {
    std::vector<std::string> out;
    for (const auto& [name, handler] : handlers_) out.push_back(name);
    return out;
}

}  // namespace pallo
