// The handler registry: every feature registers its handlers here by the
// names the event table binds; the App looks them up for each event.
#pragma once

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "program/state.h"
#include "ui/handlers.h"

namespace pallo {

using Handler = std::function<void(Context&, const platform::Event&)>;

// One row of a feature's handler table: a name of ui/handlers.h and the
// plain function it calls. The function takes the context and, when it
// needs them, the window the event came from or the whole event; the entry
// adapts each form to a Handler.
struct HandlerEntry {
    HandlerEntry(ui::HandlerName name, void (*fn)(Context&));
    HandlerEntry(ui::HandlerName name, void (*fn)(Context&, platform::WindowRef));
    HandlerEntry(ui::HandlerName name, void (*fn)(Context&, const platform::Event&));

    ui::HandlerName name;
    Handler handler;
};

class HandlerRegistry {
public:
    // A feature registers its whole table in one call. Only the names of
    // ui/handlers.h can be registered, each once.
    void add(std::initializer_list<HandlerEntry> table);
    const Handler* find(std::string_view name) const;
    // Names the event table binds that have no handler yet.
    std::vector<std::string> missing() const;
    // Every registered name, in order.
    std::vector<std::string> names() const;

private:
    std::map<std::string, Handler, std::less<>> handlers_;
};

}  // namespace pallo
