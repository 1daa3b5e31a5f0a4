#include "ui/events.h"

#include <algorithm>
#include <string_view>

#include "ui/designs.h"
#include "ui/handlers.h"

namespace pallo::ui {

const char* eventKindName(EventKind kind) {
    switch (kind) {
        case EventKind::Created: return "Created";
        case EventKind::PositionChanged: return "PositionChanged";
        case EventKind::ClosedByUser: return "ClosedByUser";
        case EventKind::LeftDown: return "LeftDown";
        case EventKind::LeftUp: return "LeftUp";
        case EventKind::RightDown: return "RightDown";
        case EventKind::RightUp: return "RightUp";
        case EventKind::MiddleDown: return "MiddleDown";
        case EventKind::MiddleUp: return "MiddleUp";
        case EventKind::Clicked: return "Clicked";
        case EventKind::ItemChosen: return "ItemChosen";
        case EventKind::Selection: return "Selection";
        case EventKind::CurrentItemChanged: return "CurrentItemChanged";
        case EventKind::ContentChanged: return "ContentChanged";
        case EventKind::ScrollChanged: return "ScrollChanged";
        case EventKind::Wheel: return "Wheel";
    }
    return "Unknown";
}

namespace {

using enum EventKind;

Binding binding(std::string_view window, std::string_view control, EventKind event,
             std::string_view handler) {
    return Binding{std::string(window), std::string(control), event, std::string(handler)};
}

void addNodeWindowBindings(std::vector<Binding>& table) {
    for (int p = 1; p <= rowLength(Row::First); ++p) {
        const std::string& window = nodeWindow(Row::First, p).name;
        table.push_back(binding(window, "图片框", LeftDown, handler::onFirstRowPress));
        table.push_back(binding(window, "图片框", RightDown, handler::onFirstRowRightPress));
    }
    // Windows 1 and 6 of the second row answer the press, the others the
    // release. Third-row windows handle nothing.
    for (int p = 1; p <= rowLength(Row::Second); ++p) {
        const EventKind event = (p == 1 || p == 6) ? LeftDown : LeftUp;
        table.push_back(binding(nodeWindow(Row::Second, p).name, "图片框", event,
                             handler::onSecondRowClick));
    }
}

std::vector<Binding> buildTable() {
    const std::string_view overlay = "OverlayWindow";
    const std::string_view nodeEditor = "NodeEditorWindow";
    const std::string_view catalog = "CatalogEditorWindow";
    const std::string_view association = "AssociationWindow";
    const std::string_view donation = "DonationWindow";

    std::vector<Binding> table{
        binding(overlay, "", Created, handler::startUp),
        binding(overlay, "", PositionChanged, handler::onOverlayMoved),
        binding(overlay, "图片框1", RightUp, handler::openOptions),
        binding(overlay, "选择框1", Clicked, handler::onTopClicked),
        binding(overlay, "横向滚动条1", ScrollChanged, handler::translucencyChanged),
        binding(overlay, "透明标签1", LeftUp, handler::toggleEditors),
        binding(overlay, "透明标签2", LeftUp, handler::exitProgram),
        binding(overlay, "透明标签3", LeftUp, handler::collapseOptions),
        binding(overlay, "透明标签4", LeftUp, handler::toggleSupportWindow),

        binding(nodeEditor, "", PositionChanged, handler::dockCatalogEditor),
        binding(nodeEditor, "组合框1", ItemChosen, handler::onMainNodeChosen),
        binding(nodeEditor, "按钮1", Clicked, handler::renameMainNode),
        binding(nodeEditor, "按钮2", Clicked, handler::previewMainPicture),
        binding(nodeEditor, "按钮3", Clicked, handler::previewChildPicture),
        binding(nodeEditor, "按钮4", Clicked, handler::saveNode),
        binding(nodeEditor, "按钮5", Clicked, handler::addChildNode),
        binding(nodeEditor, "按钮6", Clicked, handler::deleteChildNode),
        binding(nodeEditor, "按钮7", Clicked, handler::toggleCatalogEditor),
        binding(nodeEditor, "超级列表框1", Selection, handler::onChildRowChosen),
        binding(nodeEditor, "图片框1", RightUp, handler::hidePreview),

        binding(catalog, "", Created, handler::initCatalogEditor),
        binding(catalog, "组合框1", ItemChosen, handler::onSectionChosen),
        binding(catalog, "超级列表框1", CurrentItemChanged, handler::onEntryChosen),
        binding(catalog, "按钮3", Clicked, handler::previewEntryPicture),
        binding(catalog, "按钮4", Clicked, handler::saveCatalogEntry),
        binding(catalog, "按钮5", Clicked, handler::addCatalogEntry),
        binding(catalog, "按钮6", Clicked, handler::deleteCatalogEntry),
        binding(catalog, "按钮7", Clicked, handler::openAssociationWindow),
        // Both editors dismiss their preview picture the same way.
        binding(catalog, "图片框1", RightUp, handler::hidePreview),

        binding(association, "", Created, handler::initAssociationWindow),
        binding(association, "组合框1", ItemChosen, handler::onNodeChosen),
        binding(association, "超级列表框1", CurrentItemChanged, handler::onChildSelected),
        binding(association, "超级列表框2", Selection, handler::onTargetSelectionChanged),
        // The wheel only takes the focus, so that the list scrolls under
        // the pointer even when another control had the keyboard.
        binding(association, "超级列表框2", Wheel, handler::focusTargetList),
        binding(association, "编辑框1", ContentChanged, handler::onIdTextChanged),
        binding(association, "组合框3", ItemChosen, handler::onSortChosen),
        binding(association, "按钮1", Clicked, handler::clearAssociation),
        binding(association, "按钮2", Clicked, handler::saveAssociation),

        binding(donation, "", Created, handler::initDonationWindow),
        binding(donation, "按钮1", Clicked, handler::closeDonationWindow),
    };
    addNodeWindowBindings(table);
    return table;
}

}  // namespace

const std::vector<Binding>& eventTable() {
    static const std::vector<Binding> table = buildTable();
    return table;
}

const Binding* findBinding(const std::string& window, const std::string& control, EventKind event) {
    const std::vector<Binding>& table = eventTable();
    const auto it = std::find_if(table.begin(), table.end(), [&](const Binding& b) {
        return b.event == event && b.window == window && b.control == control;
    });
    return it == table.end() ? nullptr : &*it;
}

}  // namespace pallo::ui
