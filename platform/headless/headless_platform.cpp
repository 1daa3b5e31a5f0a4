#include "platform/headless/headless_platform.h"

#include <algorithm>
#include <cassert>
#include <stdexcept>

namespace pallo::platform::headless {

using ui::ControlKind;
using ui::EventKind;

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

namespace {

bool isCombo(const ui::ControlDesign& d) { return d.kind == ControlKind::Combo; }

bool isRowOf(const ui::ControlDesign& d, const std::vector<std::vector<std::string>>& rows, int row) {
    return d.kind == ControlKind::ListView && row >= 0 && row < static_cast<int>(rows.size());
}

std::uint32_t backgroundOf(const ui::ControlDesign& d) {
    const ui::Rgb c = d.background.value_or(ui::kGrey);
    return 0xFF000000u | (static_cast<std::uint32_t>(c.r) << 16) | (static_cast<std::uint32_t>(c.g) << 8) |
           static_cast<std::uint32_t>(c.b);
}

EventKind pressKind(MouseButton b) {
    switch (b) {
        case MouseButton::Left: return EventKind::LeftDown;
        case MouseButton::Right: return EventKind::RightDown;
        case MouseButton::Middle: return EventKind::MiddleDown;
    }
    return EventKind::LeftDown;
}

EventKind releaseKind(MouseButton b) {
    switch (b) {
        case MouseButton::Left: return EventKind::LeftUp;
        case MouseButton::Right: return EventKind::RightUp;
        case MouseButton::Middle: return EventKind::MiddleUp;
    }
    return EventKind::LeftUp;
}

[[noreturn]] void misuse(const std::string& what) { throw std::logic_error("headless platform: " + what); }

}  // namespace

HeadlessPlatform::HeadlessPlatform(std::string runDirectory) : runDirectory_(std::move(runDirectory)) {}

HeadlessPlatform::~HeadlessPlatform() = default;

int HeadlessPlatform::run() {
    // There is no user: tests drive the program between calls. Running the
    // loop only lets the queued actions happen.
    while (!exitRequested_ && !duringWait_.empty()) {
        auto action = std::move(duringWait_.front());
        duringWait_.pop_front();
        action();
    }
    return 0;
}

void HeadlessPlatform::waitProcessingEvents(int ms) {
    if (ms <= 0) return;
    while (!exitRequested_ && !duringWait_.empty()) {
        auto action = std::move(duringWait_.front());
        duringWait_.pop_front();
        action();
    }
    clock_ += ms;
}

bool HeadlessPlatform::idle() {
    if (!idleTask_.pending() || exitRequested_) return false;
    idleTask_.runOnce();
    return true;
}

int HeadlessPlatform::idleUntilDone() {
    int calls = 0;
    while (idle()) ++calls;
    return calls;
}

Answer HeadlessPlatform::messageBox(WindowRef owner, const std::string& text, const std::string& caption,
                                    MessageButtons buttons) {
    MessageBoxRecord box{findWindow(owner) ? owner : WindowRef{}, text, caption, buttons,
                         buttons == MessageButtons::Ok ? Answer::Ok : Answer::No};
    // Once the program is ending no box is shown; one that was open when
    // the exit was confirmed closes unanswered.
    if (exitRequested_) return box.answer;
    const Answer unanswered = box.answer;
    moveFocus({});  // the box takes the keyboard while it is open
    // The box is modal: its owner takes no input until it is answered.
    Window* win = findWindow(box.owner);
    const bool wasEnabled = win && win->enabled;
    if (win) win->enabled = false;
    if (answerer_) {
        box.answer = answerer_(box);
    } else if (!answers_.empty()) {
        box.answer = answers_.front();
        answers_.pop_front();
    }
    if (exitRequested_) box.answer = unanswered;
    // A box with only OK can only be answered OK; a Yes/No box only so.
    if (buttons == MessageButtons::Ok) box.answer = Answer::Ok;
    else if (box.answer == Answer::Ok) box.answer = Answer::No;
    if ((win = findWindow(box.owner))) win->enabled = wasEnabled;
    boxes_.push_back(box);
    return box.answer;
}

// --- windows -----------------------------------------------------------------

HeadlessPlatform::Window* HeadlessPlatform::findWindow(WindowRef w) {
    const auto it = windows_.find(w.id);
    return it == windows_.end() ? nullptr : it->second.get();
}

const HeadlessPlatform::Window* HeadlessPlatform::findWindow(WindowRef w) const {
    const auto it = windows_.find(w.id);
    return it == windows_.end() ? nullptr : it->second.get();
}

WindowRef HeadlessPlatform::createWindow(const ui::WindowDesign& design, WindowRef owner) {
    auto win = std::make_unique<Window>();
    win->id = nextId_++;
    win->design = design.name;
    win->owner = findWindow(owner) ? owner : WindowRef{};
    win->left = design.left;
    win->top = design.top;
    win->width = design.width;
    win->height = design.height;
    win->framed = design.framed;
    win->raised = ++raises_;
    for (const auto& d : design.controls) {
        if (win->controls.count(d.name)) misuse("duplicate control " + d.name + " in " + design.name);
        Control c;
        c.design = d;
        c.visible = d.visible;
        c.enabled = d.enabled;
        c.text = d.text;
        c.colour = d.textColour ? ui::packColour(*d.textColour) : 0;
        c.items = d.items;
        c.selection = d.items.empty() ? -1 : 0;
        c.committed = c.selection;
        if (d.kind == ControlKind::Combo && !d.items.empty()) c.text = d.items.front().text;
        c.scrollMin = d.scroll.min;
        c.scrollMax = d.scroll.max;
        c.scrollPos = d.scroll.pos;
        c.readOnly = d.readOnly;
        win->order.push_back(d.name);
        win->controls.emplace(d.name, std::move(c));
    }
    const WindowRef ref{win->id};
    windows_.emplace(win->id, std::move(win));
    for (const auto& d : design.controls) {
        if (d.kind == ControlKind::PictureBox && d.picture != assets::Picture::None)
            setPicture(ControlRef{ref, d.name}, PictureSource::builtIn(d.picture));
    }
    fire(ref, {}, EventKind::Created);
    return ref;
}

bool HeadlessPlatform::exists(WindowRef w) const { return findWindow(w) != nullptr; }

void HeadlessPlatform::destroy(WindowRef w) {
    if (!findWindow(w)) return;
    if (destroyObserver_) destroyObserver_(w);
    // Destroying a window destroys the windows it owns, as on Windows.
    std::vector<WindowRef> owned;
    for (const auto& [id, win] : windows_)
        if (win->owner == w) owned.push_back(WindowRef{id});
    for (const WindowRef o : owned) destroy(o);
    windows_.erase(w.id);
}

NativeHandle HeadlessPlatform::nativeHandle(WindowRef w) const { return findWindow(w) ? w.id : 0; }

std::string HeadlessPlatform::designName(WindowRef w) const {
    const Window* win = findWindow(w);
    return win ? win->design : std::string();
}

WindowRef HeadlessPlatform::owner(WindowRef w) const {
    const Window* win = findWindow(w);
    return win && findWindow(win->owner) ? win->owner : WindowRef{};
}

void HeadlessPlatform::setVisible(WindowRef w, bool visible) {
    Window* win = findWindow(w);
    if (!win) return;
    if (visible && !win->visible) win->raised = ++raises_;
    win->visible = visible;
}

bool HeadlessPlatform::registerHotkey(WindowRef w, const platform::Hotkey& hotkey) {
    Window* win = findWindow(w);
    if (!win) return false;
    win->hotkey.reset();
    for (const platform::Hotkey& held : heldElsewhere_)
        if (held == hotkey) return false;
    for (const auto& [id, other] : windows_)
        if (other->hotkey == hotkey) return false;
    win->hotkey = hotkey;
    return true;
}

void HeadlessPlatform::unregisterHotkey(WindowRef w) {
    if (Window* win = findWindow(w)) win->hotkey.reset();
}

bool HeadlessPlatform::isVisible(WindowRef w) const {
    const Window* win = findWindow(w);
    return win && win->visible;
}

bool HeadlessPlatform::isEnabled(WindowRef w) const {
    const Window* win = findWindow(w);
    return win && win->enabled;
}

void HeadlessPlatform::move(WindowRef w, int left, int top) {
    Window* win = findWindow(w);
    if (!win || (win->left == left && win->top == top)) return;
    win->left = left;
    win->top = top;
    firePositionChanged(w);
}

void HeadlessPlatform::resize(WindowRef w, int width, int height) {
    Window* win = findWindow(w);
    if (!win || (win->width == width && win->height == height)) return;
    win->width = width;
    win->height = height;
    firePositionChanged(w);
}

int HeadlessPlatform::left(WindowRef w) const { const Window* x = findWindow(w); return x ? x->left : 0; }
int HeadlessPlatform::top(WindowRef w) const { const Window* x = findWindow(w); return x ? x->top : 0; }
int HeadlessPlatform::width(WindowRef w) const { const Window* x = findWindow(w); return x ? x->width : 0; }
int HeadlessPlatform::height(WindowRef w) const { const Window* x = findWindow(w); return x ? x->height : 0; }
int HeadlessPlatform::outerHeight(WindowRef w) const {
    const Window* x = findWindow(w);
    if (!x) return 0;
    return platform::scaleToDpi(x->height, dpi_) + (x->framed ? platform::scaleToDpi(kFrameExtent, dpi_) : 0);
}

void HeadlessPlatform::setTopMost(WindowRef w, bool onTop) {
    Window* win = findWindow(w);
    if (!win) return;
    win->topMost = onTop;
    win->raised = ++raises_;
    // Leaving the top-most band takes the owned windows along.
    if (!onTop) {
        for (auto& [id, other] : windows_)
            if (other->owner == w) setTopMost(WindowRef{id}, false);
    }
}

bool HeadlessPlatform::isAbove(WindowRef a, WindowRef b) const {
    const Window* wa = findWindow(a);
    const Window* wb = findWindow(b);
    if (!wa || !wb || a == b) return false;
    for (const Window* o = findWindow(wa->owner); o; o = findWindow(o->owner))
        if (o == wb) return true;
    for (const Window* o = findWindow(wb->owner); o; o = findWindow(o->owner))
        if (o == wa) return false;
    if (wa->topMost != wb->topMost) return wa->topMost;
    return wa->raised > wb->raised;
}

bool HeadlessPlatform::isTopMost(WindowRef w) const {
    const Window* win = findWindow(w);
    return win && win->topMost;
}

void HeadlessPlatform::setWindowTag(WindowRef w, const std::string& tag) {
    if (Window* win = findWindow(w)) win->tag = tag;
}
std::string HeadlessPlatform::windowTag(WindowRef w) const {
    const Window* win = findWindow(w);
    return win ? win->tag : std::string();
}
void HeadlessPlatform::setTitle(WindowRef w, const std::string& title) {
    if (Window* win = findWindow(w)) win->title = title;
}
std::string HeadlessPlatform::title(WindowRef w) const {
    const Window* win = findWindow(w);
    return win ? win->title : std::string();
}

void HeadlessPlatform::setLayeredAlpha(WindowRef w, int alpha) {
    Window* win = findWindow(w);
    if (!win) return;
    win->layered = true;
    win->alpha = std::clamp(alpha, 0, 255);
}

int HeadlessPlatform::layeredAlpha(WindowRef w) const {
    const Window* win = findWindow(w);
    return win && win->layered ? win->alpha : 255;
}

bool HeadlessPlatform::isLayered(WindowRef w) const {
    const Window* win = findWindow(w);
    return win && win->layered;
}

// --- controls ------------------------------------------------------------------

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
        fire(c.window, c.name, EventKind::Selection);
    if ((currentDeleted || ctl.currentRow() != before) && findControl(c))
        fire(c.window, c.name, EventKind::CurrentItemChanged);
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

// --- events --------------------------------------------------------------------

void HeadlessPlatform::fire(WindowRef w, const std::string& control, EventKind kind, int wheelDelta) {
    const Window* win = findWindow(w);
    if (!sink_ || !win) return;
    sink_->handle(platform::Event{w, win->design, control, kind, wheelDelta});
}

void HeadlessPlatform::firePositionChanged(WindowRef w) { fire(w, {}, EventKind::PositionChanged); }

void HeadlessPlatform::moveFocus(const ControlRef& c) {
    const Window* active = findWindow(active_);
    const ControlRef left = active ? ControlRef{active_, active->focus} : ControlRef{};
    // The focus is where it goes before the control that had it hears of
    // it, as on the system: a handler that moves it again has the last word.
    if (Window* win = c.name.empty() ? nullptr : findWindow(c.window)) {
        win->focus = c.name;
        active_ = c.window;
    }
    if (left == c) return;
    Control* combo = findControl(left);
    if (!combo || combo->design.kind != ControlKind::Combo) return;
    // Leaving closes an open list; the item shown counts as Return in the
    // closed box counts it, so the program never holds another one than the
    // box shows.
    combo->dropped = false;
    takeShownItem(left, false);
}

void HeadlessPlatform::takeShownItem(const ControlRef& c, bool always) {
    Control& ctl = control(c);
    if (ctl.selection < 0 || (!always && ctl.selection == ctl.committed)) return;
    ctl.committed = ctl.selection;
    fire(c.window, c.name, EventKind::ItemChosen);
}

template <typename Fits>
HeadlessPlatform::Control* HeadlessPlatform::focusForAction(const ControlRef& c, Fits fits) {
    if (!userCanReach(c) || !fits(control(c))) return nullptr;
    moveFocus(c);
    // What the focus left may have answered by changing c or taking it away.
    if (!userCanReach(c) || !fits(control(c))) return nullptr;
    return &control(c);
}

// --- test driver ------------------------------------------------------------------

bool HeadlessPlatform::userCanReach(const ControlRef& c) const {
    const Window* win = findWindow(c.window);
    if (!win || !win->visible || !win->enabled) return false;
    const Control* ctl = findControl(c);
    if (!ctl || !ctl->visible || !ctl->enabled) return false;
    // A control inside a hidden or disabled container cannot be reached either.
    std::string container = ctl->design.container;
    while (!container.empty()) {
        const auto it = win->controls.find(container);
        if (it == win->controls.end()) break;
        if (!it->second.visible || !it->second.enabled) return false;
        container = it->second.design.container;
    }
    return true;
}

std::string HeadlessPlatform::pressTarget(const ControlRef& c) const {
    const Window* win = findWindow(c.window);
    const Control* ctl = findControl(c);
    if (!win || !ctl) return {};
    // A transparent label without a bound mouse handler lets the press
    // through to the control it lies on; one with any takes every press, as
    // the system's hit test asks the label once for its whole area.
    const auto takesPresses = [&](const std::string& label) {
        for (const EventKind k : {EventKind::LeftDown, EventKind::LeftUp, EventKind::RightDown, EventKind::RightUp,
                                  EventKind::MiddleDown, EventKind::MiddleUp})
            if (sink_ && sink_->isBound(win->design, label, k)) return true;
        return false;
    };
    std::string name = c.name;
    while (ctl && ctl->design.kind == ControlKind::Label && !ctl->design.container.empty() && !takesPresses(name)) {
        name = ctl->design.container;
        const auto it = win->controls.find(name);
        ctl = it == win->controls.end() ? nullptr : &it->second;
    }
    return ctl ? name : std::string();
}

bool HeadlessPlatform::pressMouse(const ControlRef& c, MouseButton button) {
    if (!userCanReach(c)) return false;
    const EventKind kind = pressKind(button);
    const std::string target = pressTarget(c);
    if (target.empty()) return false;
    fire(c.window, target, kind);
    return true;
}

bool HeadlessPlatform::releaseMouse(const ControlRef& c, MouseButton button) {
    if (!userCanReach(c)) return false;
    const EventKind kind = releaseKind(button);
    const std::string target = pressTarget(c);
    if (target.empty()) return false;
    fire(c.window, target, kind);
    return true;
}

bool HeadlessPlatform::clickMouse(const ControlRef& c, MouseButton button) {
    if (!pressMouse(c, button)) return false;
    // The press may have hidden or destroyed the control; the release then
    // lands elsewhere, which is no event of this control.
    releaseMouse(c, button);
    return true;
}

bool HeadlessPlatform::turnWheel(const ControlRef& c, int delta) {
    if (!userCanReach(c)) return false;
    fire(c.window, c.name, EventKind::Wheel, delta);
    return true;
}

bool HeadlessPlatform::click(const ControlRef& c) {
    Control* ctl = focusForAction(c, [](const Control& k) {
        return k.design.kind == ControlKind::CheckBox || k.design.kind == ControlKind::Button;
    });
    if (!ctl) return false;
    if (ctl->design.kind == ControlKind::CheckBox) ctl->checked = !ctl->checked;
    fire(c.window, c.name, EventKind::Clicked);
    return true;
}

bool HeadlessPlatform::chooseItem(const ControlRef& c, int index) {
    Control* ctl = focusForAction(c, [index](const Control& k) {
        return isCombo(k.design) && index >= 0 && index < static_cast<int>(k.items.size());
    });
    if (!ctl) return false;
    ctl->selection = index;
    ctl->dropped = false;
    ctl->text = ctl->items[static_cast<std::size_t>(index)].text;
    takeShownItem(c, true);
    return true;
}

bool HeadlessPlatform::openList(const ControlRef& c) {
    Control* ctl = focusForAction(c, [](const Control& k) { return isCombo(k.design); });
    if (!ctl) return false;
    ctl->dropped = true;
    return true;
}

bool HeadlessPlatform::pressKey(const ControlRef& c, Key key) {
    Control* box = focusForAction(c, [](const Control& k) { return isCombo(k.design); });
    if (!box) return false;
    Control& ctl = *box;
    const int last = static_cast<int>(ctl.items.size()) - 1;
    switch (key) {
        case Key::Up:
        case Key::Down: {
            // The arrows only move the item shown; the choice waits.
            const int moved = key == Key::Up ? std::max(ctl.selection - 1, 0) : std::min(ctl.selection + 1, last);
            if (moved < 0) return true;
            ctl.selection = moved;
            ctl.text = ctl.items[static_cast<std::size_t>(moved)].text;
            return true;
        }
        case Key::Return: {
            // Return takes the item shown: always from the open list, from the
            // closed box when it is another than the one taken last.
            const bool wasDropped = ctl.dropped;
            ctl.dropped = false;
            takeShownItem(c, wasDropped);
            return true;
        }
    }
    return true;
}

bool HeadlessPlatform::selectRow(const ControlRef& c, int row) {
    // The row under the pointer once the focus is there.
    if (!focusForAction(c, [row](const Control& k) { return isRowOf(k.design, k.rows, row); })) return false;
    changeList(c, true, -1, [row](Control& l) {
        l.selected = {row};
        l.focusedRow = row;
    });
    return true;
}

bool HeadlessPlatform::ctrlClickRow(const ControlRef& c, int row) {
    if (!userCanReach(c)) return false;
    if (!control(c).design.multiSelect) return selectRow(c, row);
    if (!focusForAction(c, [row](const Control& k) { return isRowOf(k.design, k.rows, row); })) return false;
    changeList(c, true, -1, [row](Control& l) {
        if (l.selected.count(row)) l.selected.erase(row);
        else l.selected.insert(row);
        l.focusedRow = row;
    });
    return true;
}

bool HeadlessPlatform::typeText(const ControlRef& c, const std::string& text) {
    Control* box = focusForAction(c, [](const Control& k) {
        return (k.design.kind == ControlKind::Edit || (isCombo(k.design) && k.design.editable)) && !k.readOnly;
    });
    if (!box) return false;
    Control& ctl = *box;
    const bool editableCombo = isCombo(ctl.design);
    std::string typed = text;
    // An integer-only box refuses each character that is not a digit.
    if (ctl.design.integerInput) std::erase_if(typed, [](char ch) { return ch < '0' || ch > '9'; });
    if (typed.empty()) return true;  // nothing got in: the old text stays
    if (editableCombo) {
        // Typed text is no item, even when it reads like one.
        ctl.text = typed;
        ctl.selection = -1;
        return true;
    }
    setText(c, typed);
    return true;
}

bool HeadlessPlatform::moveScroll(const ControlRef& c, int pos) {
    if (!userCanReach(c)) return false;
    Control& ctl = control(c);
    if (ctl.design.kind != ControlKind::HScrollBar) return false;
    const int clamped = std::clamp(pos, ctl.scrollMin, ctl.scrollMax);
    if (clamped == ctl.scrollPos) return true;
    ctl.scrollPos = clamped;
    fire(c.window, c.name, EventKind::ScrollChanged);
    return true;
}

bool HeadlessPlatform::dragWindow(WindowRef w, int left, int top) {
    const Window* win = findWindow(w);
    if (!win || !win->visible) return false;
    move(w, left, top);
    return true;
}

bool HeadlessPlatform::pressHotkey(const platform::Hotkey& hotkey) {
    for (const auto& [id, win] : windows_) {
        if (win->hotkey != hotkey) continue;
        fire(WindowRef{id}, {}, EventKind::HotkeyPressed);
        return true;
    }
    return false;
}

std::optional<platform::Hotkey> HeadlessPlatform::registeredHotkey(WindowRef w) const {
    const Window* win = findWindow(w);
    return win ? win->hotkey : std::nullopt;
}

bool HeadlessPlatform::closeByUser(WindowRef w) {
    const Window* win = findWindow(w);
    if (!win || !win->visible) return false;
    fire(w, {}, EventKind::ClosedByUser);
    return true;
}

std::vector<WindowRef> HeadlessPlatform::windows() const {
    std::vector<WindowRef> out;
    for (const auto& [id, win] : windows_) out.push_back(WindowRef{id});
    return out;
}

std::vector<WindowRef> HeadlessPlatform::windowsOfDesign(const std::string& design) const {
    std::vector<WindowRef> out;
    for (const auto& [id, win] : windows_)
        if (win->design == design) out.push_back(WindowRef{id});
    return out;
}

}  // namespace pallo::platform::headless
