// The records of the in-memory platform: what it keeps of each window and
// control, shared by its windows, controls and test driver. Internal to
// this folder.
#pragma once

#include <algorithm>
#include <stdexcept>

#include "platform/headless/headless_platform.h"

namespace pallo::platform::headless {

struct HeadlessPlatform::Control {
    ui::ControlDesign design;
    bool visible = true;
    bool enabled = true;
    std::string text;
    std::string tag;
    std::int32_t colour = 0;
    PictureSource picture;
    std::shared_ptr<const image::Rgba> shown;
    std::string tooltip;
    std::vector<ui::ComboItem> items;
    int selection = -1;
    int committed = -1;    // the choice the program knows of
    bool dropped = false;  // the list is open
    bool checked = false;
    int scrollMin = 0;
    int scrollMax = 0;
    int scrollPos = 0;
    bool readOnly = false;
    std::vector<std::vector<std::string>> rows;
    int focusedRow = -1;
    std::set<int> selected;

    // The focused row while it is selected, else the first selected one.
    int currentRow() const {
        if (selected.count(focusedRow)) return focusedRow;
        return selected.empty() ? -1 : *selected.begin();
    }
};

struct HeadlessPlatform::Window {
    std::uint32_t id = 0;
    std::string design;
    WindowRef owner;
    bool visible = false;
    bool prepared = false;  // prepareToShow reached it hidden and layered
    bool enabled = true;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool framed = false;
    bool topMost = false;
    std::uint64_t raised = 0;  // when it last came to the top of its band
    bool layered = false;
    int alpha = 255;
    std::string tag;
    std::string title;
    std::string focus;
    std::optional<platform::Hotkey> hotkey;
    std::vector<std::string> order;  // control names in design order
    std::map<std::string, Control> controls;
};

// A use of the platform the program never makes: reported loudly in tests.
[[noreturn]] inline void misuse(const std::string& what) { throw std::logic_error("headless platform: " + what); }

template <typename Change>
void HeadlessPlatform::changeList(const ControlRef& c, bool byUser, int deletedRow, Change change) {
    Control& ctl = control(c);
    int before = ctl.currentRow();
    const std::set<int> selectedBefore = ctl.selected;
    change(ctl);
    // A row that only moved up with a deletion is the same row; a deletion
    // selects nothing.
    const bool currentDeleted = deletedRow >= 0 && before == deletedRow;
    if (deletedRow >= 0 && before > deletedRow) --before;
    const bool selectionChanged = deletedRow < 0 && ctl.selected != selectedBefore;
    // The program's selections count where the design asks, when they
    // select a row; emptying the list or the selection is no selection.
    const bool rowSelected = std::any_of(ctl.selected.begin(), ctl.selected.end(),
                                         [&](int r) { return !selectedBefore.count(r); });
    if (selectionChanged && (byUser || (ctl.design.selectionEventsFromProgram && rowSelected)))
        fire(c.window, c.name, ui::EventKind::Selection);
    if ((currentDeleted || ctl.currentRow() != before) && findControl(c))
        fire(c.window, c.name, ui::EventKind::CurrentItemChanged);
}

}  // namespace pallo::platform::headless
