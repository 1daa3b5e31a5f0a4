#include "ui/designs.h"

#include "ui/layout.h"
#include "ui/names.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <string>

// Each control is one designated initializer naming only what differs from
// the defaults of ControlDesign. GCC before 13 warns about every omitted
// member even though each has a default member initializer (GCC PR 96868).
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace pallo::ui {
namespace {

using enum ControlKind;
using assets::Picture;
namespace names = ui::names;
namespace layout = ui::layout;

// Every 微软雅黑 font of the designs is bold; only the size differs.
Font yahei(int pixelSize) { return Font{"微软雅黑", pixelSize, true}; }

// The entry lists of the editors. The association window hides the picture
// column: its lists compare IDs and names, and a file name column would only
// push the description out of view.
std::vector<ListColumn> entryColumns(int pictureWidth) {
    return {{"ID", 24}, {"图片", pictureWidth}, {"名称", 64}, {"说明", 200}, {"关联", 96}};
}

// "选择项目", "Item", "Hero": the section chooser shared by three windows.
std::vector<ComboItem> sectionItems() { return {{"选择项目", 0}, {"Item", 1}, {"Hero", 2}}; }

WindowDesign buildOverlay() {
    WindowDesign w{.name = names::overlay::window, .left = 100, .top = 100, .width = layout::kSquare,
                   .height = layout::kPanelHeight,
                   .framed = false, .background = kLavender, .caption = "Pallo By Vermack",
                   .icon = Picture::ProgramIcon, .controls = {}};
    w.controls = {
        {.kind = PictureBox, .name = names::overlay::picture, .left = 0, .top = 0, .width = layout::kSquare,
         .height = layout::kSquare,
         .background = kGrey, .picture = Picture::MainPicture},
        {.kind = Label, .name = names::overlay::collapseLabel, .left = 2, .top = 48, .width = 64, .height = 24,
         .container = names::overlay::picture, .visible = false, .text = "收起选项", .font = yahei(16),
         .textColour = kWhite, .align = Align::Centre},
        {.kind = Combo, .name = names::overlay::sizeChooser, .left = 3, .top = 2, .width = 64, .height = 20,
         .visible = false, .enabled = false, .font = yahei(17),
         .items = {{"小号", 70}, {"中号", 100}, {"大号", 150}, {"特大", 200}}},
        {.kind = CheckBox, .name = names::overlay::onTopBox, .left = 3, .top = 72, .width = 64, .height = 24,
         .text = "置顶", .font = yahei(19), .background = kLavender},
        {.kind = HScrollBar, .name = names::overlay::translucencyBar, .left = 3, .top = 96, .width = 64, .height = 16,
         .scroll = {.min = 15, .max = 255, .page = 15, .step = 15, .pos = 105}},
        {.kind = Label, .name = names::overlay::translucencyLabel, .left = 3, .top = 112, .width = 64, .height = 24,
         .text = "透明度", .font = yahei(16), .textColour = kBlack, .align = Align::Centre},
        {.kind = Label, .name = names::overlay::editorsLabel, .left = 3, .top = 136, .width = 64, .height = 24,
         .text = "编辑配置", .font = yahei(16), .textColour = kBlack, .align = Align::Centre},
        {.kind = Label, .name = names::overlay::supportLabel, .left = 3, .top = 160, .width = 64, .height = 24,
         .text = "支持作者", .font = yahei(16), .textColour = kBlack, .align = Align::Centre},
        {.kind = Label, .name = names::overlay::exitLabel, .left = 3, .top = 184, .width = 64, .height = 24,
         .text = "退出程序", .font = yahei(16), .textColour = kBlack, .align = Align::Centre},
    };
    return w;
}

std::string rowPrefix(Row row) {
    switch (row) {
        case Row::First: return "FirstRow";
        case Row::Second: return "SecondRow";
        case Row::Third: return "ThirdRow";
    }
    return "FirstRow";
}

// The 38 node windows share one template; only the caption's design text
// differs (the mouse events each one handles live in the event table).
WindowDesign buildNodeWindow(Row row, int position) {
    const bool collapseCaption = row == Row::First && position >= 2;
    WindowDesign w{.name = rowPrefix(row) + std::to_string(position), .left = 100, .top = 100,
                   .width = layout::kSquare, .height = layout::kSquare, .framed = false,
                   .background = kLavender, .caption = "", .icon = Picture::None, .controls = {}};
    w.controls = {
        {.kind = PictureBox, .name = names::node::picture, .left = 0, .top = 0, .width = layout::kSquare,
         .height = layout::kSquare,
         .background = kGrey, .picture = Picture::NodePlaceholder},
        {.kind = Label, .name = names::node::caption, .left = 2, .top = 48, .width = 64, .height = 24,
         .container = names::node::picture, .text = collapseCaption ? "收起详情" : "地图", .font = yahei(16),
         .textColour = kWhite, .align = Align::Centre, .ellipsis = true},
        // Clear of the caption and of the middle of the picture.
        {.kind = Label, .name = names::node::pageSign, .left = 40, .top = 1, .width = 29, .height = 14,
         .container = names::node::picture, .visible = false, .text = "", .font = yahei(12),
         .textColour = kWhite, .align = Align::Centre},
    };
    return w;
}

WindowDesign editorFrame(std::string name, int height) {
    return WindowDesign{.name = std::move(name), .left = 50, .top = 50, .width = 640,
                        .height = height, .framed = true, .background = std::nullopt,
                        .caption = "", .icon = Picture::None, .controls = {}};
}

// The list in the middle and the entry strip on the right, the same in the
// node editor and the catalog editor but for the names of the edit boxes and
// the caption over the association box.
std::vector<ControlDesign> entryListAndStrip(const names::entryStrip::Edits& edits, const char* associationCaption) {
    return {
        {.kind = ListView, .name = names::entryStrip::list, .left = 136, .top = -1, .width = 312, .height = 234,
         .columns = entryColumns(64)},
        {.kind = Label, .name = "标签ID", .left = 448, .top = 0, .width = 24, .height = 20,
         .text = "ID：", .textColour = kBlack},
        {.kind = Edit, .name = edits.id, .left = 472, .top = 0, .width = 32, .height = 20,
         .integerInput = true},
        {.kind = Button, .name = names::entryStrip::saveButton, .left = 523, .top = 0, .width = 32, .height = 20,
         .text = "保存"},
        {.kind = Button, .name = names::entryStrip::addButton, .left = 561, .top = 0, .width = 32, .height = 20,
         .text = "新增"},
        {.kind = Button, .name = names::entryStrip::deleteButton, .left = 600, .top = 0, .width = 32, .height = 20,
         .text = "删除"},
        {.kind = Label, .name = "标签ID1", .left = 448, .top = 22, .width = 32, .height = 20,
         .text = "图片：", .textColour = kBlack},
        {.kind = Edit, .name = edits.picture, .left = 484, .top = 22, .width = 88, .height = 20},
        {.kind = Button, .name = names::entryStrip::previewButton, .left = 580, .top = 22, .width = 48, .height = 20,
         .text = "预览"},
        {.kind = Label, .name = "标签ID2", .left = 448, .top = 44, .width = 32, .height = 20,
         .text = "名称：", .textColour = kBlack},
        {.kind = Edit, .name = edits.name, .left = 484, .top = 44, .width = 88, .height = 20},
        {.kind = Label, .name = names::entryStrip::associationLabel, .left = 448, .top = 66, .width = 184, .height = 20,
         .text = associationCaption, .textColour = kBlack},
        {.kind = Edit, .name = edits.members, .left = 448, .top = 88, .width = 186, .height = 16,
         .readOnly = true},
        {.kind = Label, .name = "标签说明", .left = 448, .top = 110, .width = 184, .height = 20,
         .text = "说明内容：(以换行替换#号)", .textColour = kBlack},
        {.kind = Edit, .name = edits.description, .left = 448, .top = 132, .width = 186, .height = 101,
         .multiLine = true},
    };
}

WindowDesign buildNodeEditor() {
    WindowDesign w = editorFrame(names::nodeEditor::window, 240);
    std::vector<ComboItem> directories{{"子图片目录", 0}};
    // One numbered folder per main node.
    for (int i = 1; i <= layout::kMenuRowLength; ++i) directories.push_back({std::to_string(i), i});
    w.controls = {
        // Left strip: the chosen main node. 组合框1 becomes editable only
        // while a rename is under way.
        {.kind = Combo, .name = names::nodeEditor::nodeChooser, .left = 0, .top = 0, .width = 80, .height = 20},
        {.kind = Button, .name = names::nodeEditor::renameButton, .left = 81, .top = -1, .width = 48, .height = 20,
         .text = "<<改名"},
        {.kind = Combo, .name = names::nodeEditor::directoryChooser, .left = 0, .top = 22, .width = 80, .height = 20,
         .items = directories},
        {.kind = Button, .name = names::nodeEditor::previewMainButton, .left = 81, .top = 21, .width = 48, .height = 20,
         .text = "预览"},
        {.kind = Label, .name = "透明标签1", .left = -3, .top = 46, .width = 48, .height = 16,
         .text = "图片名", .textColour = kBlack, .align = Align::Centre},
        {.kind = Edit, .name = names::nodeEditor::mainPictureEdit, .left = 48, .top = 44, .width = 80, .height = 20},
        {.kind = Label, .name = "透明标签2", .left = -3, .top = 68, .width = 48, .height = 16,
         .text = "挂钩于", .textColour = kBlack, .align = Align::Centre},
        {.kind = Combo, .name = names::nodeEditor::sectionChooser, .left = 48, .top = 66, .width = 80, .height = 20,
         .items = sectionItems()},
        {.kind = Label, .name = "透明标签3", .left = -4, .top = 90, .width = 48, .height = 16,
         .text = "以方式", .textColour = kBlack, .align = Align::Centre},
        // The item data is the Link value written to the file, so "no
        // association" shares 0 with the prompt item on purpose.
        {.kind = Combo, .name = names::nodeEditor::linkChooser, .left = 47, .top = 88, .width = 80, .height = 20,
         .items = {{"选择项目", 0}, {"相互关联", 1}, {"直接引用", 2}, {"不作关联", 0}}},
        {.kind = Button, .name = names::nodeEditor::catalogButton, .left = 0, .top = 110, .width = 40, .height = 20,
         .text = "高级"},
        {.kind = CheckBox, .name = names::nodeEditor::showBox, .left = 47, .top = 110, .width = 80, .height = 20,
         .visible = false, .text = "是否显示"},
        // Where the never-shown check box lies, beside "高级".
        {.kind = Button, .name = names::nodeEditor::exportButton, .left = 44, .top = 110, .width = 84, .height = 20,
         .text = "导出分享包…"},
        {.kind = Label, .name = names::nodeEditor::directNote, .left = 12, .top = 136, .width = 107, .height = 96,
         .text = "选择“直接引用”方式时将只能“新增”与“删除”，并且各项值都不可填写，"
                 "需在新增之后到详细关联设置中更改引用目标。",
         .textColour = kBlack, .align = Align::Centre, .wrap = true},
        // Declared after 标签引用 so that, once shown, it lies over the note.
        {.kind = PictureBox, .name = names::nodeEditor::preview, .left = 13, .top = 136, .width = 100, .height = 100,
         .visible = false},
    };
    // Middle: the children of the chosen main node; right: the chosen child.
    // After "新增" the program selects the new child, and its fields have to
    // show: the child list reports the program's selections too.
    for (auto& c : entryListAndStrip(names::nodeEditor::stripEdits, "关联内容：(由详细关联设置生成)")) {
        if (c.name == "超级列表框1") c.selectionEventsFromProgram = true;
        w.controls.push_back(std::move(c));
    }
    return w;
}

WindowDesign buildCatalogEditor() {
    WindowDesign w = editorFrame(names::catalogEditor::window, 240);
    w.controls = {
        {.kind = Label, .name = "标签1", .left = 0, .top = 0, .width = 48, .height = 20,
         .text = "选择节点", .textColour = kBlack},
        {.kind = Combo, .name = names::catalogEditor::sectionChooser, .left = 52, .top = 0, .width = 80, .height = 20,
         .items = sectionItems()},
        {.kind = Label, .name = "标签2", .left = 0, .top = 22, .width = 48, .height = 20,
         .text = "图片目录", .textColour = kBlack},
        {.kind = Combo, .name = names::catalogEditor::directoryChooser, .left = 52, .top = 22, .width = 80, .height = 20,
         .enabled = false},
        {.kind = Button, .name = names::catalogEditor::associationButton, .left = 20, .top = 51, .width = 86, .height = 24,
         .text = "详细关联设置"},
        // Kept hidden: its two buttons have no action, but handlers enable
        // and disable the group, so it has to exist.
        {.kind = GroupBox, .name = names::catalogEditor::group, .left = 24, .top = 148, .width = 85, .height = 88,
         .visible = false, .enabled = false},
        {.kind = Button, .name = names::catalogEditor::groupApplyButton, .left = 10, .top = 19, .width = 64, .height = 24,
         .container = names::catalogEditor::group, .text = "应用关联"},
        {.kind = Button, .name = names::catalogEditor::groupClearButton, .left = 10, .top = 55, .width = 64, .height = 24,
         .container = names::catalogEditor::group, .text = "清除关联"},
        {.kind = PictureBox, .name = names::catalogEditor::preview, .left = 13, .top = 136, .width = 100, .height = 100,
         .visible = false},
    };
    for (auto& c : entryListAndStrip(names::catalogEditor::stripEdits, "关联内容：(通过关联操作生成)")) w.controls.push_back(std::move(c));
    return w;
}

WindowDesign buildAssociation() {
    WindowDesign w = editorFrame(names::association::window, 288);
    w.controls = {
        {.kind = ListView, .name = names::association::childList, .left = 0, .top = -1, .width = 316, .height = 234,
         .columns = entryColumns(0), .multiSelect = false},
        {.kind = ListView, .name = names::association::targetList, .left = 317, .top = -1, .width = 316, .height = 234,
         .columns = entryColumns(0), .multiSelect = true},
        {.kind = Label, .name = "标签1", .left = 0, .top = 236, .width = 48, .height = 20,
         .text = "选择节点", .textColour = kBlack},
        {.kind = Combo, .name = names::association::nodeChooser, .left = 52, .top = 236, .width = 80, .height = 20,
         .items = sectionItems()},
        {.kind = Label, .name = "标签2", .left = 138, .top = 236, .width = 167, .height = 20,
         .text = "↑左键单击选择被关联项↑", .textColour = kBlack, .align = Align::Centre},
        {.kind = Label, .name = "标签3", .left = 317, .top = 236, .width = 48, .height = 20,
         .text = "关联节点", .textColour = kBlack},
        {.kind = Combo, .name = names::association::sectionBox, .left = 369, .top = 236, .width = 80, .height = 20,
         .enabled = false, .items = {{"选择项目", 0}}},
        {.kind = Label, .name = "标签4", .left = 456, .top = 236, .width = 167, .height = 20,
         .text = "↑请按住Ctrl+左键点选或排除↑", .textColour = kRed, .align = Align::Centre},
        {.kind = Label, .name = names::association::idCaption, .left = 0, .top = 258, .width = 48, .height = 20,
         .text = "关联ID", .textColour = kBlack},
        {.kind = Label, .name = names::association::idLabel, .left = 0, .top = 258, .width = 104, .height = 20,
         .visible = false, .text = "项目ID：", .textColour = kBlack, .align = Align::Centre},
        {.kind = Edit, .name = names::association::idEdit, .left = 52, .top = 258, .width = 309, .height = 20,
         .readOnly = true},
        // The sort handler switches on the item data, and "手动排序" is its
        // fourth case: it gets 3, next after the three orderings.
        {.kind = Combo, .name = names::association::sortChooser, .left = 369, .top = 259, .width = 80, .height = 20,
         .enabled = false,
         .items = {{"选择排序", 0}, {"从小到大", 1}, {"从大到小", 2}, {"手动排序", 3}}},
        {.kind = Button, .name = names::association::clearButton, .left = 464, .top = 259, .width = 56, .height = 20,
         .enabled = false, .text = "清除关联"},
        {.kind = Button, .name = names::association::saveButton, .left = 536, .top = 259, .width = 56, .height = 20,
         .enabled = false, .text = "保存关联"},
        {.kind = PictureBox, .name = names::association::picture, .left = 613, .top = 261, .width = 20, .height = 20},
    };
    return w;
}

WindowDesign buildDonation() {
    WindowDesign w = editorFrame(names::donation::window, 288);
    // The pictures are put in when the window is created, so the design
    // boxes stay empty.
    w.controls = {
        {.kind = PictureBox, .name = names::donation::firstCode, .left = 0, .top = 0, .width = 264, .height = 264},
        {.kind = PictureBox, .name = names::donation::star, .left = 277, .top = 11, .width = 80, .height = 80},
        {.kind = Label, .name = "标签1", .left = 269, .top = 111, .width = 96, .height = 88,
         .text = "感谢您的选择，\r\n\r\n感谢您的使用！\r\n\r\n有了您的支持，\r\n\r\n作品会越来越好。",
         .align = Align::Centre, .wrap = true},
        {.kind = Button, .name = names::donation::closeButton, .left = 293, .top = 232, .width = 48, .height = 24,
         .text = "关闭"},
        {.kind = PictureBox, .name = names::donation::secondCode, .left = 369, .top = 0, .width = 264, .height = 264},
        {.kind = Label, .name = "标签2", .left = 40, .top = 265, .width = 167, .height = 20,
         .text = "↑微信扫码↑", .textColour = kRed, .align = Align::Centre},
        {.kind = Label, .name = "标签4", .left = 410, .top = 265, .width = 167, .height = 20,
         .text = "↑支付宝扫码↑", .textColour = kRed, .align = Align::Centre},
    };
    return w;
}

struct NodeWindows {
    std::array<WindowDesign, layout::kMenuRowLength> first;
    std::array<WindowDesign, layout::kEntryRowLength> second;
    std::array<WindowDesign, layout::kEntryRowLength> third;
};

template <std::size_t N>
std::array<WindowDesign, N> buildRow(Row row) {
    std::array<WindowDesign, N> designs;
    for (std::size_t i = 0; i < N; ++i) designs[i] = buildNodeWindow(row, static_cast<int>(i) + 1);
    return designs;
}

const NodeWindows& nodeWindows() {
    static const NodeWindows windows{buildRow<layout::kMenuRowLength>(Row::First),
                                     buildRow<layout::kEntryRowLength>(Row::Second),
                                     buildRow<layout::kEntryRowLength>(Row::Third)};
    return windows;
}

}  // namespace

const WindowDesign& overlayWindow() {
    static const WindowDesign design = buildOverlay();
    return design;
}

int rowLength(Row row) { return row == Row::First ? layout::kMenuRowLength : layout::kEntryRowLength; }

const WindowDesign& nodeWindow(Row row, int position) {
    assert(position >= 1 && position <= rowLength(row) && "node window position out of range");
    const auto index = static_cast<std::size_t>(std::clamp(position, 1, rowLength(row)) - 1);
    const NodeWindows& all = nodeWindows();
    switch (row) {
        case Row::First: return all.first[index];
        case Row::Second: return all.second[index];
        case Row::Third: return all.third[index];
    }
    return all.first[0];
}

const WindowDesign& nodeEditorWindow() {
    static const WindowDesign design = buildNodeEditor();
    return design;
}

const WindowDesign& catalogEditorWindow() {
    static const WindowDesign design = buildCatalogEditor();
    return design;
}

const WindowDesign& associationWindow() {
    static const WindowDesign design = buildAssociation();
    return design;
}

const WindowDesign& donationWindow() {
    static const WindowDesign design = buildDonation();
    return design;
}

std::vector<const WindowDesign*> allDesigns() {
    std::vector<const WindowDesign*> designs{&overlayWindow()};
    for (Row row : {Row::First, Row::Second, Row::Third}) {
        for (int p = 1; p <= rowLength(row); ++p) designs.push_back(&nodeWindow(row, p));
    }
    designs.insert(designs.end(), {&nodeEditorWindow(), &catalogEditorWindow(),
                                   &associationWindow(), &donationWindow()});
    return designs;
}

const WindowDesign* findDesign(std::string_view name) {
    for (const WindowDesign* d : allDesigns()) {
        if (d->name == name) return d;
    }
    return nullptr;
}

}  // namespace pallo::ui
