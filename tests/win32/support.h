// Shared pieces of the Win32 conformance tests: a sink that records events,
// a fixture with one platform per test, and small designs.
#pragma once

#include "platform/win32/platform_impl.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace pallo::platform::win32::test {

struct RecordingSink : EventSink {
    std::vector<Event> events;
    std::set<std::tuple<std::string, std::string, ui::EventKind>> boundEvents;
    bool useEventTable = false;  // answer isBound from the program's bindings
    std::function<void(const Event&)> onEvent;

    void handle(const Event& e) override;
    bool isBound(const std::string& design, const std::string& control, ui::EventKind kind) const override;

    void bind(const std::string& design, const std::string& control, ui::EventKind kind) {
        boundEvents.insert({design, control, kind});
    }
    int count(const std::string& control, ui::EventKind kind) const;
    int count(ui::EventKind kind) const;
};

class Win32Test : public ::testing::Test {
protected:
    RecordingSink sink;
    Win32Backend p;

    void SetUp() override { p.setEventSink(&sink); }
    // Handles every message already queued, without waiting for more.
    void drain();
    // Processes events until cond holds or the time is up.
    bool waitUntil(const std::function<bool()>& cond, int timeoutMs = 5000);

    ControlRef ref(WindowRef w, const std::string& name) const { return ControlRef{w, name}; }
    HWND hwnd(WindowRef w) const { return reinterpret_cast<HWND>(p.nativeHandle(w)); }
    HWND hwnd(WindowRef w, const std::string& name) const { return p.controlHandle(ControlRef{w, name}); }
    // A control's rectangle in its window's client area.
    RECT placed(WindowRef w, const std::string& name) const;
    // What a user's action sends the window: a control's notification.
    void command(WindowRef w, const std::string& name, WORD code);
};

// A borderless window with a picture box and a caption label on it.
ui::WindowDesign popupDesign();
// A framed window with one control of every other kind.
ui::WindowDesign framedDesign();

}  // namespace pallo::platform::win32::test
