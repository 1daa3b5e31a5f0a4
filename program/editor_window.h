// A window a feature opens on demand and the program state keeps a
// reference to (the editors, the association window, and the overlay its
// options panel lives in): its controls, whether it is open, its message
// boxes, its waits and its closing, in one place for every feature.
//
// The user may close the window while one of its handlers waits, for the
// answer of a message box or in a pause: then the handler goes no further.
// tell and wait say so, and a handler stops on their word.
#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"
#include "program/state.h"

namespace pallo {

struct EditorWindow {
    platform::WindowRef ProgramState::*slot;

    platform::WindowRef window(const Context& ctx) const { return ctx.state.*slot; }

    platform::ControlRef control(const Context& ctx, const char* name) const {
        return platform::ControlRef{window(ctx), name};
    }

    // The reference outlives its window: a closed window simply no longer exists.
    bool isOpen(const Context& ctx) const { return ctx.platform.exists(window(ctx)); }

    // A message box owned by the window: its answer, or none when the window
    // was closed while the box was up.
    std::optional<platform::Answer> tell(Context& ctx, const std::string& text, const std::string& caption,
                                         platform::MessageButtons buttons = platform::MessageButtons::Ok) const {
        const platform::Answer answer = ctx.platform.messageBox(window(ctx), text, caption, buttons);
        if (!isOpen(ctx)) return std::nullopt;
        return answer;
    }

    // Waits ms milliseconds handling events; false when the window was
    // closed, or the program began to end, meanwhile.
    bool wait(Context& ctx, int ms) const {
        ctx.platform.waitProcessingEvents(ms);
        return !ctx.platform.exitRequested() && isOpen(ctx);
    }

    // How a write that did not happen is told: the message, caption "错误";
    // the focus goes to the box at fault (none when at is null) before the
    // message box, so that it comes back there, and again after it. False
    // when the window was closed meanwhile.
    bool showWriteFailure(Context& ctx, const std::string& message, const char* at) const {
        platform::Platform& p = ctx.platform;
        const platform::WindowRef w = window(ctx);
        if (at) p.setFocus(platform::ControlRef{w, at});
        const bool open = tell(ctx, message, "错误").has_value();
        if (at && p.exists(w)) p.setFocus(platform::ControlRef{w, at});
        return open;
    }

    // Destroys the window when it is open and forgets it.
    void close(Context& ctx) const {
        platform::WindowRef& w = ctx.state.*slot;
        if (ctx.platform.exists(w)) ctx.platform.destroy(w);
        w = platform::WindowRef{};
    }
};

inline constexpr EditorWindow kNodeEditor{&ProgramState::nodeEditor};
inline constexpr EditorWindow kCatalogEditor{&ProgramState::catalogEditor};
inline constexpr EditorWindow kAssociationWindow{&ProgramState::associationWindow};
inline constexpr EditorWindow kOverlayWindow{&ProgramState::overlay};

}  // namespace pallo
