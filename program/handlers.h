// The handler registry: every feature registers its handlers here by the
// names the event table binds; the App looks them up for each event.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "program/state.h"
#include "ui/handlers.h"

namespace pallo {

using Handler = std::function<void(Context&, const platform::Event&)>;

class HandlerRegistry {
public:
    // Only the names of ui/handlers.h can be registered.
    void add(ui::HandlerName name, Handler handler);
    const Handler* find(std::string_view name) const;
    // Names the event table binds that have no handler yet.
    std::vector<std::string> missing() const;
    // Every registered name, in order.
    std::vector<std::string> names() const;

private:
    std::map<std::string, Handler, std::less<>> handlers_;
};

}  // namespace pallo
