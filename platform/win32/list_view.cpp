// List views of the Win32 platform: their drawing, wheel, rows, cells and
// selection.
#include "platform/win32/control_parts.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "platform/win32/text.h"

namespace pallo::platform::win32 {

namespace {

// Selected rows of a list without the focus are drawn as with it: the
// system's own unfocused look is a face colour hardly apart from white.
LRESULT listCustomDraw(const Control& c, NMLVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
        if (GetFocus() == c.hwnd) return CDRF_DODEFAULT;
        const auto row = static_cast<WPARAM>(draw.nmcd.dwItemSpec);
        if (!(SendMessageW(c.hwnd, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED)) return CDRF_DODEFAULT;
        draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED | CDIS_FOCUS);
        draw.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
        draw.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
        return CDRF_NEWFONT;
    }
    default: return CDRF_DODEFAULT;
    }
}

}  // namespace

LRESULT CALLBACK listViewSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref) {
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, listViewSubclass, id);
        return DefSubclassProc(hwnd, msg, wp, lp);
    }
    auto* c = reinterpret_cast<Control*>(ref);
    const auto keep = keepWindow(c);
    if (!keep) return DefSubclassProc(hwnd, msg, wp, lp);
    return c->window->platform->listViewMessage(*c, msg, wp, lp);
}

LRESULT Win32Backend::listNotify(Control& c, NMHDR& hdr) {
    return listCustomDraw(c, reinterpret_cast<NMLVCUSTOMDRAW&>(hdr));
}

LRESULT Win32Backend::listViewMessage(Control& c, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_MOUSEWHEEL) fire(*c.window, &c, ui::EventKind::Wheel, GET_WHEEL_DELTA_WPARAM(wp));
    return DefSubclassProc(c.hwnd, msg, wp, lp);
}

// --- list view ----------------------------------------------------------------------------------------------

int Win32Backend::rowCount(const ControlRef& ref) const {
    const Control* c = findControl(ref, ui::ControlKind::ListView);
    return c ? std::max(0, static_cast<int>(SendMessageW(c->hwnd, LVM_GETITEMCOUNT, 0, 0))) : 0;
}

int Win32Backend::columnCount(const ControlRef& ref) const {
    const Control* c = findControl(ref, ui::ControlKind::ListView);
    if (!c) return 0;
    const HWND header = reinterpret_cast<HWND>(SendMessageW(c->hwnd, LVM_GETHEADER, 0, 0));
    return header ? std::max(0, static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0))) : 0;
}

int Win32Backend::addRow(const ControlRef& ref, const std::string& firstCell) {
    Control* c = findControl(ref, ui::ControlKind::ListView);
    if (!c) return -1;
    std::wstring wide = toWide(firstCell);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = rowCount(ref);
    item.pszText = wide.data();
    int index = -1;
    {
        QuietScope quiet(*c);
        index = static_cast<int>(SendMessageW(c->hwnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    rememberListState(*c);
    return index;
}

void Win32Backend::setCell(const ControlRef& ref, int row, int column, const std::string& text) {
    Control* c = findControl(ref, ui::ControlKind::ListView);
    if (!c || row < 0 || row >= rowCount(ref) || column < 0 || column >= columnCount(ref)) return;
    std::wstring wide = toWide(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = wide.data();
    QuietScope quiet(*c);
    SendMessageW(c->hwnd, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::string Win32Backend::cell(const ControlRef& ref, int row, int column) const {
    const Control* c = findControl(ref, ui::ControlKind::ListView);
    if (!c || row < 0 || row >= rowCount(ref) || column < 0 || column >= columnCount(ref)) return {};
    std::wstring buf(256, L'\0');
    for (;;) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buf.data();
        item.cchTextMax = static_cast<int>(buf.size());
        const auto n = static_cast<std::size_t>(std::max<LRESULT>(
            0, SendMessageW(c->hwnd, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item))));
        // A full buffer may mean a cut text: try again with more room.
        if (n + 1 < buf.size() || buf.size() >= (1u << 20)) {
            buf.resize(std::min(n, buf.size()));
            return toUtf8(buf);
        }
        buf.assign(buf.size() * 4, L'\0');
    }
}

template <typename Change>
void Win32Backend::changeList(Control& c, int deletedRow, Change change) {
    int before = listCurrent(c);
    const std::vector<int> selectedBefore = listSelection(c);
    {
        QuietScope quiet(c);
        change();
    }
    rememberListState(c);
    const bool currentDeleted = deletedRow >= 0 && before == deletedRow;
    if (deletedRow >= 0 && before > deletedRow) --before;
    // The program's selections count where the design asks, when they
    // select a row; emptying the list or the selection is no selection.
    const bool rowSelected = deletedRow < 0 && std::any_of(c.lastSelection.begin(), c.lastSelection.end(), [&](int r) {
                                 return std::find(selectedBefore.begin(), selectedBefore.end(), r) == selectedBefore.end();
                             });
    const bool currentChanged = currentDeleted || c.lastCurrent != before;
    // The handlers may destroy the window: keep it until they return.
    const auto keep = c.window->shared_from_this();
    if (rowSelected && c.design.selectionEventsFromProgram) fire(*c.window, &c, ui::EventKind::Selection);
    if (currentChanged && c.hwnd && keep->ready) fire(*c.window, &c, ui::EventKind::CurrentItemChanged);
}

void Win32Backend::deleteRow(const ControlRef& ref, int row) {
    Control* c = findControl(ref, ui::ControlKind::ListView);
    if (!c || row < 0 || row >= rowCount(ref)) return;
    changeList(*c, row, [c, row] { SendMessageW(c->hwnd, LVM_DELETEITEM, static_cast<WPARAM>(row), 0); });
}

void Win32Backend::clearRows(const ControlRef& ref) {
    Control* c = findControl(ref, ui::ControlKind::ListView);
    if (!c) return;
    changeList(*c, -1, [c] { SendMessageW(c->hwnd, LVM_DELETEALLITEMS, 0, 0); });
}

void Win32Backend::setCurrentRow(const ControlRef& ref, int row) {
    Control* c = findControl(ref, ui::ControlKind::ListView);
    if (!c) return;
    const bool valid = row >= 0 && row < rowCount(ref);
    changeList(*c, -1, [c, row, valid] {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = 0;
        SendMessageW(c->hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
        if (valid) {
            item.state = LVIS_SELECTED | LVIS_FOCUSED;
            SendMessageW(c->hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
            SendMessageW(c->hwnd, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
        }
    });
}

int Win32Backend::currentRow(const ControlRef& ref) const {
    const Control* c = findControl(ref, ui::ControlKind::ListView);
    return c ? listCurrent(*c) : -1;
}

void Win32Backend::setRowSelected(const ControlRef& ref, int row, bool selected) {
    Control* c = findControl(ref, ui::ControlKind::ListView);
    if (!c || row < 0 || row >= rowCount(ref)) return;
    changeList(*c, -1, [c, row, selected] {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED;
        item.state = selected ? LVIS_SELECTED : 0;
        SendMessageW(c->hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    });
}

std::vector<int> Win32Backend::selectedRows(const ControlRef& ref) const {
    const Control* c = findControl(ref, ui::ControlKind::ListView);
    return c ? listSelection(*c) : std::vector<int>{};
}

int Win32Backend::listCurrent(const Control& c) const {
    // The focused row while it is selected, else the first selected one.
    const auto focused = static_cast<int>(
        SendMessageW(c.hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_FOCUSED, 0)));
    if (focused >= 0 && (SendMessageW(c.hwnd, LVM_GETITEMSTATE, static_cast<WPARAM>(focused), LVIS_SELECTED) &
                         LVIS_SELECTED))
        return focused;
    return static_cast<int>(
        SendMessageW(c.hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

std::vector<int> Win32Backend::listSelection(const Control& c) const {
    std::vector<int> rows;
    int row = -1;
    for (;;) {
        row = static_cast<int>(
            SendMessageW(c.hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(row), MAKELPARAM(LVNI_SELECTED, 0)));
        if (row < 0 || (!rows.empty() && row <= rows.back())) break;
        rows.push_back(row);
    }
    return rows;
}

void Win32Backend::rememberListState(Control& c) {
    c.lastCurrent = listCurrent(c);
    c.lastSelection = listSelection(c);
}

void Win32Backend::listChanged(TopWindow& w, int controlId) {
    const int index = controlId - kFirstControlId;
    if (index < 0 || static_cast<std::size_t>(index) >= w.controls.size()) return;
    Control& c = *w.controls[static_cast<std::size_t>(index)];
    c.listChangePending = false;
    if (!c.hwnd) return;
    const int current = listCurrent(c);
    std::vector<int> selection = listSelection(c);
    const bool selectionChanged = selection != c.lastSelection;
    const bool currentChanged = current != c.lastCurrent;
    c.lastCurrent = current;
    c.lastSelection = std::move(selection);
    if (selectionChanged) fire(w, &c, ui::EventKind::Selection);
    if (currentChanged) fire(w, &c, ui::EventKind::CurrentItemChanged);
}

}  // namespace pallo::platform::win32
