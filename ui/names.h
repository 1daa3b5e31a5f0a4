// The design names of every window and of every control the program
// addresses, in one place: the designs are built with them and the features
// and the event table refer to them.
#pragma once

namespace pallo::ui::names {

namespace overlay {
inline constexpr const char* window = "OverlayWindow";
inline constexpr const char* picture = "图片框1";
inline constexpr const char* collapseLabel = "透明标签3";  // "收起选项"
inline constexpr const char* sizeChooser = "组合框1";
inline constexpr const char* onTopBox = "选择框1";
inline constexpr const char* translucencyBar = "横向滚动条1";
inline constexpr const char* translucencyLabel = "透明标签0";
inline constexpr const char* editorsLabel = "透明标签1";  // "编辑配置"
inline constexpr const char* supportLabel = "透明标签4";  // "支持作者"
inline constexpr const char* exitLabel = "透明标签2";     // "退出程序"
}  // namespace overlay

// Every node window of the three rows.
namespace node {
inline constexpr const char* picture = "图片框";
inline constexpr const char* caption = "透明标签";  // transparent label over the picture
inline constexpr const char* pageSign = "页码标签";  // "2/3" in the top right corner, while more exist
}  // namespace node

// The list and the entry strip the node editor and the catalog editor share.
namespace entryStrip {
inline constexpr const char* list = "超级列表框1";
inline constexpr const char* saveButton = "按钮4";
inline constexpr const char* addButton = "按钮5";
inline constexpr const char* deleteButton = "按钮6";
inline constexpr const char* previewButton = "按钮3";
inline constexpr const char* associationLabel = "标签关联";

// The strip's five edit boxes, whose names each editor numbers its own way.
struct Edits {
    const char* id;
    const char* picture;
    const char* name;
    const char* members;
    const char* description;
};
}  // namespace entryStrip

namespace nodeEditor {
inline constexpr const char* window = "NodeEditorWindow";
inline constexpr const char* nodeChooser = "组合框1";
inline constexpr const char* renameButton = "按钮1";
inline constexpr const char* directoryChooser = "组合框2";
inline constexpr const char* previewMainButton = "按钮2";
inline constexpr const char* mainPictureEdit = "编辑框1";
inline constexpr const char* sectionChooser = "组合框3";  // "挂钩于"
inline constexpr const char* linkChooser = "组合框4";     // "以方式"
inline constexpr const char* catalogButton = "按钮7";     // "高级"
inline constexpr const char* exportButton = "按钮8";      // "导出分享包…"
inline constexpr const char* showBox = "选择框1";
inline constexpr const char* directNote = "标签引用";
inline constexpr const char* preview = "图片框1";
inline constexpr const char* childList = entryStrip::list;
inline constexpr const char* saveButton = entryStrip::saveButton;      // "保存"
inline constexpr const char* addButton = entryStrip::addButton;        // "新增"
inline constexpr const char* deleteButton = entryStrip::deleteButton;  // "删除"
inline constexpr const char* previewButton = entryStrip::previewButton;  // the child's "预览"
inline constexpr entryStrip::Edits stripEdits{"编辑框2", "编辑框3", "编辑框4", "编辑框5", "编辑框6"};
inline constexpr const char* idEdit = stripEdits.id;
inline constexpr const char* pictureEdit = stripEdits.picture;
inline constexpr const char* nameEdit = stripEdits.name;
inline constexpr const char* membersEdit = stripEdits.members;
inline constexpr const char* descriptionEdit = stripEdits.description;
}  // namespace nodeEditor

namespace catalogEditor {
inline constexpr const char* window = "CatalogEditorWindow";
inline constexpr const char* sectionChooser = "组合框1";
inline constexpr const char* directoryChooser = "组合框2";
inline constexpr const char* associationButton = "按钮7";  // "详细关联设置"
inline constexpr const char* group = "分组框1";
inline constexpr const char* groupApplyButton = "按钮1";
inline constexpr const char* groupClearButton = "按钮2";
inline constexpr const char* preview = "图片框1";
inline constexpr const char* entryList = entryStrip::list;
inline constexpr const char* previewButton = entryStrip::previewButton;
inline constexpr const char* saveButton = entryStrip::saveButton;
inline constexpr const char* addButton = entryStrip::addButton;
inline constexpr const char* deleteButton = entryStrip::deleteButton;
inline constexpr entryStrip::Edits stripEdits{"编辑框1", "编辑框2", "编辑框3", "编辑框4", "编辑框5"};
inline constexpr const char* idEdit = stripEdits.id;
inline constexpr const char* pictureEdit = stripEdits.picture;
inline constexpr const char* nameEdit = stripEdits.name;
inline constexpr const char* membersEdit = stripEdits.members;
inline constexpr const char* descriptionEdit = stripEdits.description;
}  // namespace catalogEditor

namespace association {
inline constexpr const char* window = "AssociationWindow";
inline constexpr const char* childList = "超级列表框1";
inline constexpr const char* targetList = "超级列表框2";
inline constexpr const char* nodeChooser = "组合框1";
inline constexpr const char* sectionBox = "组合框2";
inline constexpr const char* idCaption = "标签6";
inline constexpr const char* idLabel = "标签5";
inline constexpr const char* idEdit = "编辑框1";
inline constexpr const char* sortChooser = "组合框3";
inline constexpr const char* clearButton = "按钮1";
inline constexpr const char* saveButton = "按钮2";
inline constexpr const char* picture = "图片框1";
}  // namespace association

namespace donation {
inline constexpr const char* window = "DonationWindow";
inline constexpr const char* star = "图片框1";
inline constexpr const char* firstCode = "图片框2";
inline constexpr const char* secondCode = "图片框3";
inline constexpr const char* closeButton = "按钮1";
}  // namespace donation

}  // namespace pallo::ui::names
