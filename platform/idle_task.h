// The idle task of an event loop (Platform::setIdleTask), one implementation
// for both platforms: the task may replace or cancel itself while it runs.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

namespace pallo::platform {

class IdleTask {
public:
    void set(std::function<bool()> task) {
        task_ = std::move(task);
        ++set_;
    }
    bool pending() const { return static_cast<bool>(task_); }
    // One call; the task stays only when it has more to do and nothing took
    // its place meanwhile.
    void runOnce() {
        std::function<bool()> task = std::move(task_);
        task_ = nullptr;
        const std::uint64_t set = set_;
        if (task() && set == set_) task_ = std::move(task);
    }

private:
    std::function<bool()> task_;
    std::uint64_t set_ = 0;  // counts set calls
};

}  // namespace pallo::platform
