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

namespace pallo {

using Handler = std::function<void(Context&, const platform::Event&)>;

// Receives a window's ClosedByUser event when the event table binds none.
inline constexpr std::string_view kClosedByUserHandler = "closedByUser";

class HandlerRegistry {
public:
    void add(std::string_view name, Handler handler);
    const Handler* find(std::string_view name) const;
    // Names the event table binds that have no handler yet.
    std::vector<std::string> missing() const;

private:
    std::map<std::string, Handler, std::less<>> handlers_;
};

}  // namespace pallo
