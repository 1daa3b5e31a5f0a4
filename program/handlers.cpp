#include "program/handlers.h"

#include <set>

#include "ui/events.h"

namespace pallo {

void HandlerRegistry::add(ui::HandlerName name, Handler handler) {
    handlers_.insert_or_assign(std::string(name.view()), std::move(handler));
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
