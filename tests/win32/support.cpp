#include "tests/win32/support.h"

namespace pallo::platform::win32::test {

void RecordingSink::handle(const Event& e) {
    events.push_back(e);
    if (onEvent) onEvent(e);
}

bool RecordingSink::isBound(const std::string& design, const std::string& control, ui::EventKind kind) const {
    if (useEventTable) return ui::findBinding(design, control, kind) != nullptr;
    return boundEvents.count({design, control, kind}) != 0;
}

int RecordingSink::count(const std::string& control, ui::EventKind kind) const {
    int n = 0;
    for (const auto& e : events) n += (e.control == control && e.kind == kind) ? 1 : 0;
    return n;
}

int RecordingSink::count(ui::EventKind kind) const {
    int n = 0;
    for (const auto& e : events) n += e.kind == kind ? 1 : 0;
    return n;
}

void Win32Test::drain() {
    MSG msg;
    for (int i = 0; i < 10000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool Win32Test::waitUntil(const std::function<bool()>& cond, int timeoutMs) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (!cond()) {
        if (GetTickCount64() > end) return false;
        p.waitProcessingEvents(10);
    }
    return true;
}

RECT Win32Test::placed(WindowRef w, const std::string& name) const {
    RECT r{};
    HWND h = hwnd(w, name);
    GetWindowRect(h, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Win32Test::command(WindowRef w, const std::string& name, WORD code) {
    HWND control = hwnd(w, name);
    SendMessageW(hwnd(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code), reinterpret_cast<LPARAM>(control));
}

ui::WindowDesign popupDesign() {
    using ui::ControlKind;
    ui::WindowDesign w;
    w.name = "TestPopup";
    w.left = 120;
    w.top = 130;
    w.width = 70;
    w.height = 70;
    w.background = ui::kLavender;
    ui::ControlDesign pic;
    pic.kind = ControlKind::PictureBox;
    pic.name = "pic";
    pic.width = 70;
    pic.height = 70;
    pic.background = ui::kGrey;
    pic.picture = assets::Picture::NodePlaceholder;
    ui::ControlDesign caption;
    caption.kind = ControlKind::Label;
    caption.name = "caption";
    caption.left = 2;
    caption.top = 48;
    caption.width = 64;
    caption.height = 24;
    caption.container = "pic";
    caption.text = "地图";
    caption.font = ui::Font{"微软雅黑", 16, true};
    caption.textColour = ui::kWhite;
    caption.align = ui::Align::Centre;
    w.controls = {pic, caption};
    return w;
}

ui::WindowDesign framedDesign() {
    using ui::ControlKind;
    ui::WindowDesign w;
    w.name = "TestFramed";
    w.left = 60;
    w.top = 70;
    w.width = 320;
    w.height = 240;
    w.framed = true;
    w.caption = "框架窗口";
    auto add = [&w](ControlKind kind, const char* name, int left, int top, int width, int height) -> ui::ControlDesign& {
        ui::ControlDesign c;
        c.kind = kind;
        c.name = name;
        c.left = left;
        c.top = top;
        c.width = width;
        c.height = height;
        w.controls.push_back(c);
        return w.controls.back();
    };
    add(ControlKind::Combo, "combo", 0, 0, 80, 20).items = {{"选择项目", 0}, {"Item", 1}, {"Hero", 2}};
    {
        auto& c = add(ControlKind::Combo, "editCombo", 0, 22, 80, 20);
        c.editable = true;
        c.items = {{"甲", 7}};
    }
    const std::vector<ui::ListColumn> columns{{"ID", 24}, {"图片", 0}, {"名称", 64}};
    add(ControlKind::ListView, "list", 90, 0, 200, 100).columns = columns;
    {
        auto& c = add(ControlKind::ListView, "multi", 90, 110, 200, 100);
        c.columns = columns;
        c.multiSelect = true;
    }
    add(ControlKind::Edit, "edit", 0, 44, 80, 20);
    add(ControlKind::Edit, "memo", 0, 66, 80, 40).multiLine = true;
    {
        auto& c = add(ControlKind::Edit, "number", 0, 110, 80, 20);
        c.integerInput = true;
        c.readOnly = true;
    }
    add(ControlKind::Button, "button", 0, 132, 48, 20).text = "保存";
    add(ControlKind::CheckBox, "check", 0, 154, 80, 20).text = "置顶";
    add(ControlKind::GroupBox, "group", 0, 176, 85, 60).text = "分组";
    {
        auto& c = add(ControlKind::Button, "inner", 10, 19, 64, 24);
        c.container = "group";
        c.text = "应用关联";
    }
    {
        auto& c = add(ControlKind::HScrollBar, "scroll", 200, 215, 100, 16);
        c.scroll = ui::ScrollRange{15, 255, 15, 15, 105};
    }
    add(ControlKind::Label, "note", 100, 215, 90, 20).text = "说明";
    return w;
}

}  // namespace pallo::platform::win32::test
