#include "tests/win32/support.h"

#include "app/app.h"
#include "support/design_builder.h"

namespace pallo::platform::win32::test {

void RecordingSink::handle(const Event& e) {
    events.push_back(e);
    if (onEvent) onEvent(e);
}

bool RecordingSink::isBound(const std::string& design, const std::string& control, ui::EventKind kind) const {
    static const HandlerRegistry program = programHandlers();
    if (useEventTable) return program.isBound(design, control, kind);
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
    pallo::testing::DesignBuilder b("TestPopup", 120, 130, 70, 70);
    b.design().background = ui::kLavender;
    {
        auto& pic = b.add(ControlKind::PictureBox, "pic", 0, 0, 70, 70);
        pic.background = ui::kGrey;
        pic.picture = assets::Picture::NodePlaceholder;
    }
    auto& caption = b.add(ControlKind::Label, "caption", 2, 48, 64, 24, "pic");
    caption.text = "地图";
    caption.font = ui::Font{"微软雅黑", 16, true};
    caption.textColour = ui::kWhite;
    caption.align = ui::Align::Centre;
    return b.design();
}

ui::WindowDesign framedDesign() {
    using ui::ControlKind;
    pallo::testing::DesignBuilder b("TestFramed", 60, 70, 320, 240);
    b.framed("框架窗口");
    b.add(ControlKind::Combo, "combo", 0, 0, 80, 20).items = {{"选择项目", 0}, {"Item", 1}, {"Hero", 2}};
    {
        auto& c = b.add(ControlKind::Combo, "editCombo", 0, 22, 80, 20);
        c.editable = true;
        c.items = {{"甲", 7}};
    }
    const std::vector<ui::ListColumn> columns{{"ID", 24}, {"图片", 0}, {"名称", 64}};
    b.add(ControlKind::ListView, "list", 90, 0, 200, 100).columns = columns;
    {
        auto& c = b.add(ControlKind::ListView, "multi", 90, 110, 200, 100);
        c.columns = columns;
        c.multiSelect = true;
    }
    b.add(ControlKind::Edit, "edit", 0, 44, 80, 20);
    b.add(ControlKind::Edit, "memo", 0, 66, 80, 40).multiLine = true;
    {
        auto& c = b.add(ControlKind::Edit, "number", 0, 110, 80, 20);
        c.integerInput = true;
        c.readOnly = true;
    }
    b.add(ControlKind::Button, "button", 0, 132, 48, 20).text = "保存";
    b.add(ControlKind::CheckBox, "check", 0, 154, 80, 20).text = "置顶";
    b.add(ControlKind::GroupBox, "group", 0, 176, 85, 60).text = "分组";
    b.add(ControlKind::Button, "inner", 10, 19, 64, 24, "group").text = "应用关联";
    b.add(ControlKind::HScrollBar, "scroll", 200, 215, 100, 16).scroll = ui::ScrollRange{15, 255, 15, 15, 105};
    b.add(ControlKind::Label, "note", 100, 215, 90, 20).text = "说明";
    return b.design();
}

}  // namespace pallo::platform::win32::test
