// The in-memory platform's controls: finding them and every property the
// program sets and reads, list views' rows and selection included.
#include "platform/headless/headless_state.h"

#include <algorithm>

namespace pallo::platform::headless {

using ui::ControlKind;
using ui::EventKind;

namespace {

std::uint32_t backgroundOf(const ui::ControlDesign& d) {
    const ui::Rgb c = d.background.value_or(ui::kGrey);
    return 0xFF000000u | (static_cast<std::uint32_t>(c.r) << 16) | (static_cast<std::uint32_t>(c.g) << 8) |
           static_cast<std::uint32_t>(c.b);
}

}  // namespace

HeadlessPlatform::Control* HeadlessPlatform::findControl(const ControlRef& c) {
    Window* win = findWindow(c.window);
    if (!win) return nullptr;
    const auto it = win->controls.find(c.name);
    return it == win->controls.end() ? nullptr : &it->second;
}

const HeadlessPlatform::Control* HeadlessPlatform::findControl(const ControlRef& c) const {
    const Window* win = findWindow(c.window);
    if (!win) return nullptr;
    const auto it = win->controls.find(c.name);
    return it == win->controls.end() ? nullptr : &it->second;
}

// The core only addresses controls of its own designs: a miss is a
// programming error, reported loudly in tests rather than ignored.
HeadlessPlatform::Control& HeadlessPlatform::control(const ControlRef& c) {
    Control* ctl = findControl(c);
    if (!ctl) misuse("no control '" + c.name + "' in window " + std::to_string(c.window.id));
    return *ctl;
}

const HeadlessPlatform::Control& HeadlessPlatform::control(const ControlRef& c) const {
    const Control* ctl = findControl(c);
    if (!ctl) misuse("no control '" + c.name + "' in window " + std::to_string(c.window.id));
    return *ctl;
}

bool HeadlessPlatform::hasControl(const ControlRef& c) const { return findControl(c) != nullptr; }

void HeadlessPlatform::setVisible(const ControlRef& c, bool visible) { control(c).visible = visible; }
bool HeadlessPlatform::isVisible(const ControlRef& c) const { return control(c).visible; }
void HeadlessPlatform::setEnabled(const ControlRef& c, bool enabled) { control(c).enabled = enabled; }
bool HeadlessPlatform::isEnabled(const ControlRef& c) const { return control(c).enabled; }

void HeadlessPlatform::setText(const ControlRef& c, const std::string& text) {
    Control& ctl = control(c);
    if (ctl.design.kind == ControlKind::Combo && !ctl.design.editable) {
        // A drop-down list shows only its items: the text picks one.
        int found = -1;
        for (std::size_t i = 0; i < ctl.items.size() && found < 0; ++i)
            if (ctl.items[i].text == text) found = static_cast<int>(i);
        setSelection(c, found);
        return;
    }
    const bool changed = ctl.text != text;
    ctl.text = text;
    // An edit box reports every change of its text, the program's too.
    if (changed && ctl.design.kind == ControlKind::Edit) fire(c.window, c.name, EventKind::ContentChanged);
}

std::string HeadlessPlatform::text(const ControlRef& c) const { return control(c).text; }
void HeadlessPlatform::setTag(const ControlRef& c, const std::string& tag) { control(c).tag = tag; }
std::string HeadlessPlatform::tag(const ControlRef& c) const { return control(c).tag; }

void HeadlessPlatform::setFocus(const ControlRef& c) {
    control(c);
    moveFocus(c);
}

bool HeadlessPlatform::hasFocus(const ControlRef& c) const {
    const Window* win = findWindow(c.window);
    return win && win->focus == c.name && findControl(c);
}

void HeadlessPlatform::setTextColour(const ControlRef& c, std::int32_t packedRgb) { control(c).colour = packedRgb; }
std::int32_t HeadlessPlatform::textColour(const ControlRef& c) const { return control(c).colour; }

void HeadlessPlatform::setPicture(const ControlRef& c, const PictureSource& source) {
    Control& ctl = control(c);
    ctl.picture = source;
    ctl.shown = cache_.get(source, ctl.design.width, ctl.design.height, backgroundOf(ctl.design));
}

PictureSource HeadlessPlatform::picture(const ControlRef& c) const { return control(c).picture; }

void HeadlessPlatform::preparePicture(const ControlRef& c, const PictureSource& source) {
    const Control* ctl = findControl(c);
    if (!ctl || ctl->design.kind != ControlKind::PictureBox) return;
    cache_.get(source, ctl->design.width, ctl->design.height, backgroundOf(ctl->design));
}

std::shared_ptr<const image::Rgba> HeadlessPlatform::shownPicture(const ControlRef& c) const {
    return control(c).shown;
}

void HeadlessPlatform::setTooltip(const ControlRef& c, const std::string& text) { control(c).tooltip = text; }
std::string HeadlessPlatform::tooltip(const ControlRef& c) const { return control(c).tooltip; }

void HeadlessPlatform::clearItems(const ControlRef& c) {
    Control& ctl = control(c);
    ctl.items.clear();
    ctl.selection = -1;
    ctl.committed = -1;
    ctl.text.clear();
}

void HeadlessPlatform::addItem(const ControlRef& c, const std::string& text, std::int64_t data) {
    control(c).items.push_back({text, data});
}

int HeadlessPlatform::itemCount(const ControlRef& c) const { return static_cast<int>(control(c).items.size()); }

std::string HeadlessPlatform::itemText(const ControlRef& c, int index) const {
    const Control& ctl = control(c);
    if (index < 0 || index >= static_cast<int>(ctl.items.size())) return {};
    return ctl.items[static_cast<std::size_t>(index)].text;
}

std::int64_t HeadlessPlatform::itemData(const ControlRef& c, int index) const {
    const Control& ctl = control(c);
    if (index < 0 || index >= static_cast<int>(ctl.items.size())) return 0;
    return ctl.items[static_cast<std::size_t>(index)].data;
}

void HeadlessPlatform::setSelection(const ControlRef& c, int index) {
    Control& ctl = control(c);
    if (index < 0 || index >= static_cast<int>(ctl.items.size())) index = -1;
    ctl.selection = index;
    ctl.committed = index;
    ctl.text = index < 0 ? std::string() : ctl.items[static_cast<std::size_t>(index)].text;
}

int HeadlessPlatform::selection(const ControlRef& c) const { return control(c).selection; }

void HeadlessPlatform::setEditable(const ControlRef& c, bool editable) {
    Control& ctl = control(c);
    if (ctl.design.kind != ControlKind::Combo || ctl.design.editable == editable) return;
    ctl.design.editable = editable;
    if (!editable) {
        ctl.text = ctl.selection >= 0 ? ctl.items[static_cast<std::size_t>(ctl.selection)].text : std::string();
    }
}

bool HeadlessPlatform::isEditable(const ControlRef& c) const {
    const Control& ctl = control(c);
    return ctl.design.kind == ControlKind::Combo && ctl.design.editable;
}

void HeadlessPlatform::setChecked(const ControlRef& c, bool checked) { control(c).checked = checked; }
bool HeadlessPlatform::isChecked(const ControlRef& c) const { return control(c).checked; }

void HeadlessPlatform::setScrollRange(const ControlRef& c, int min, int max) {
    Control& ctl = control(c);
    ctl.scrollMin = std::min(min, max);
    ctl.scrollMax = std::max(min, max);
    ctl.scrollPos = std::clamp(ctl.scrollPos, ctl.scrollMin, ctl.scrollMax);
}

void HeadlessPlatform::setScrollPos(const ControlRef& c, int pos) {
    Control& ctl = control(c);
    ctl.scrollPos = std::clamp(pos, ctl.scrollMin, ctl.scrollMax);
}

int HeadlessPlatform::scrollPos(const ControlRef& c) const { return control(c).scrollPos; }

void HeadlessPlatform::setReadOnly(const ControlRef& c, bool readOnly) { control(c).readOnly = readOnly; }
bool HeadlessPlatform::isReadOnly(const ControlRef& c) const { return control(c).readOnly; }

int HeadlessPlatform::rowCount(const ControlRef& c) const { return static_cast<int>(control(c).rows.size()); }
int HeadlessPlatform::columnCount(const ControlRef& c) const {
    return static_cast<int>(control(c).design.columns.size());
}

int HeadlessPlatform::addRow(const ControlRef& c, const std::string& firstCell) {
    Control& ctl = control(c);
    std::vector<std::string> row(std::max<std::size_t>(1, ctl.design.columns.size()));
    row[0] = firstCell;
    ctl.rows.push_back(std::move(row));
    return static_cast<int>(ctl.rows.size()) - 1;
}

void HeadlessPlatform::setCell(const ControlRef& c, int row, int column, const std::string& text) {
    Control& ctl = control(c);
    if (row < 0 || row >= static_cast<int>(ctl.rows.size()) || column < 0) return;
    auto& cells = ctl.rows[static_cast<std::size_t>(row)];
    if (column >= static_cast<int>(cells.size())) return;
    cells[static_cast<std::size_t>(column)] = text;
}

std::string HeadlessPlatform::cell(const ControlRef& c, int row, int column) const {
    const Control& ctl = control(c);
    if (row < 0 || row >= static_cast<int>(ctl.rows.size()) || column < 0) return {};
    const auto& cells = ctl.rows[static_cast<std::size_t>(row)];
    if (column >= static_cast<int>(cells.size())) return {};
    return cells[static_cast<std::size_t>(column)];
}

void HeadlessPlatform::deleteRow(const ControlRef& c, int row) {
    if (row < 0 || row >= static_cast<int>(control(c).rows.size())) return;
    changeList(c, false, row, [row](Control& ctl) {
        ctl.rows.erase(ctl.rows.begin() + row);
        std::set<int> moved;
        for (int s : ctl.selected) {
            if (s < row) moved.insert(s);
            else if (s > row) moved.insert(s - 1);
        }
        ctl.selected = std::move(moved);
        if (ctl.focusedRow == row) ctl.focusedRow = -1;
        else if (ctl.focusedRow > row) --ctl.focusedRow;
    });
}

void HeadlessPlatform::clearRows(const ControlRef& c) {
    changeList(c, false, -1, [](Control& ctl) {
        ctl.rows.clear();
        ctl.selected.clear();
        ctl.focusedRow = -1;
    });
}

void HeadlessPlatform::setCurrentRow(const ControlRef& c, int row) {
    changeList(c, false, -1, [row](Control& ctl) {
        ctl.selected.clear();
        ctl.focusedRow = -1;
        if (row >= 0 && row < static_cast<int>(ctl.rows.size())) {
            ctl.selected.insert(row);
            ctl.focusedRow = row;
        }
    });
}

int HeadlessPlatform::currentRow(const ControlRef& c) const { return control(c).currentRow(); }

void HeadlessPlatform::setRowSelected(const ControlRef& c, int row, bool selected) {
    if (row < 0 || row >= static_cast<int>(control(c).rows.size())) return;
    changeList(c, false, -1, [row, selected](Control& ctl) {
        if (selected) {
            if (!ctl.design.multiSelect) ctl.selected.clear();
            ctl.selected.insert(row);
        } else {
            ctl.selected.erase(row);
        }
    });
}

std::vector<int> HeadlessPlatform::selectedRows(const ControlRef& c) const {
    const Control& ctl = control(c);
    return {ctl.selected.begin(), ctl.selected.end()};
}

}  // namespace pallo::platform::headless
