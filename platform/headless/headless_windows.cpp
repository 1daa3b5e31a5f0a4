// The in-memory platform's program-wide part and its windows: the event
// loop, message boxes, and every property of a top-level window.
#include "platform/headless/headless_state.h"

#include <algorithm>

namespace pallo::platform::headless {

using ui::ControlKind;
using ui::EventKind;

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

std::optional<std::string> HeadlessPlatform::chooseSaveFile(WindowRef owner, const std::string& title,
                                                            const std::string& suggestedName,
                                                            const platform::FileKind& kind) {
    SaveDialogRecord dialog{findWindow(owner) ? owner : WindowRef{}, title, suggestedName, kind, std::nullopt};
    if (!exitRequested_ && !savePaths_.empty()) {
        dialog.answer = std::move(savePaths_.front());
        savePaths_.pop_front();
    }
    saveDialogs_.push_back(dialog);
    return dialog.answer;
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

void HeadlessPlatform::prepareToShow(WindowRef w) {
    Window* win = findWindow(w);
    if (win && !win->visible && win->layered) win->prepared = true;
}

bool HeadlessPlatform::isPreparedToShow(WindowRef w) const {
    const Window* win = findWindow(w);
    return win && win->prepared;
}

bool HeadlessPlatform::isLayered(WindowRef w) const {
    const Window* win = findWindow(w);
    return win && win->layered;
}

}  // namespace pallo::platform::headless
