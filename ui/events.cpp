#include "ui/events.h"

#include <algorithm>
#include <string_view>

#include "ui/designs.h"
#include "ui/handlers.h"
#include "ui/names.h"

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
        case EventKind::HotkeyPressed: return "HotkeyPressed";
    }
    return "Unknown";
}

namespace {

using enum EventKind;
namespace names = ui::names;

Binding binding(std::string_view window, std::string_view control, EventKind event, HandlerName handler) {
    return Binding{std::string(window), std::string(control), event, std::string(handler.view())};
}

void addNodeWindowBindings(std::vector<Binding>& table) {
    for (int p = 1; p <= rowLength(Row::First); ++p) {
        const std::string& window = nodeWindow(Row::First, p).name;
        table.push_back(binding(window, names::node::picture, LeftDown, handler::onFirstRowPress));
        table.push_back(binding(window, names::node::picture, RightDown, handler::onFirstRowRightPress));
    }
    // Windows 1 and 6 of the second row answer the press, the others the
    // release. Third-row windows handle nothing.
    for (int p = 1; p <= rowLength(Row::Second); ++p) {
        const EventKind event = (p == 1 || p == 6) ? LeftDown : LeftUp;
        table.push_back(binding(nodeWindow(Row::Second, p).name, names::node::picture, event,
                             handler::onSecondRowClick));
    }
}

std::vector<Binding> buildTable() {
    namespace o = names::overlay;
    namespace n = names::nodeEditor;
    namespace c = names::catalogEditor;
    namespace a = names::association;
    namespace d = names::donation;
    std::vector<Binding> table{
        binding(o::window, "", Created, handler::startUp),
        binding(o::window, "", PositionChanged, handler::onOverlayMoved),
        binding(o::window, o::picture, RightUp, handler::openOptions),
        binding(o::window, o::onTopBox, Clicked, handler::onTopClicked),
        binding(o::window, o::translucencyBar, ScrollChanged, handler::translucencyChanged),
        binding(o::window, o::editorsLabel, LeftUp, handler::toggleEditors),
        binding(o::window, o::exitLabel, LeftUp, handler::exitProgram),
        binding(o::window, o::collapseLabel, LeftUp, handler::collapseOptions),
        binding(o::window, o::supportLabel, LeftUp, handler::toggleSupportWindow),
        binding(o::window, "", HotkeyPressed, handler::toggleAllWindows),

        binding(n::window, "", PositionChanged, handler::dockCatalogEditor),
        binding(n::window, n::nodeChooser, ItemChosen, handler::onMainNodeChosen),
        binding(n::window, n::renameButton, Clicked, handler::renameMainNode),
        binding(n::window, n::previewMainButton, Clicked, handler::previewMainPicture),
        binding(n::window, names::entryStrip::previewButton, Clicked, handler::previewChildPicture),
        binding(n::window, names::entryStrip::saveButton, Clicked, handler::saveNode),
        binding(n::window, names::entryStrip::addButton, Clicked, handler::addChildNode),
        binding(n::window, names::entryStrip::deleteButton, Clicked, handler::deleteChildNode),
        binding(n::window, n::catalogButton, Clicked, handler::toggleCatalogEditor),
        binding(n::window, n::childList, Selection, handler::onChildRowChosen),
        binding(n::window, n::preview, RightUp, handler::hidePreview),

        binding(c::window, "", Created, handler::initCatalogEditor),
        binding(c::window, c::sectionChooser, ItemChosen, handler::onSectionChosen),
        binding(c::window, c::entryList, CurrentItemChanged, handler::onEntryChosen),
        binding(c::window, names::entryStrip::previewButton, Clicked, handler::previewEntryPicture),
        binding(c::window, names::entryStrip::saveButton, Clicked, handler::saveCatalogEntry),
        binding(c::window, names::entryStrip::addButton, Clicked, handler::addCatalogEntry),
        binding(c::window, names::entryStrip::deleteButton, Clicked, handler::deleteCatalogEntry),
        binding(c::window, c::associationButton, Clicked, handler::openAssociationWindow),
        // Dismissed as the node editor's is, each editor its own.
        binding(c::window, c::preview, RightUp, handler::hideEntryPreview),

        binding(a::window, "", Created, handler::initAssociationWindow),
        binding(a::window, a::nodeChooser, ItemChosen, handler::onNodeChosen),
        binding(a::window, a::childList, CurrentItemChanged, handler::onChildSelected),
        binding(a::window, a::targetList, Selection, handler::onTargetSelectionChanged),
        // The wheel only takes the focus, so that the list scrolls under
        // the pointer even when another control had the keyboard.
        binding(a::window, a::targetList, Wheel, handler::focusTargetList),
        binding(a::window, a::idEdit, ContentChanged, handler::onIdTextChanged),
        binding(a::window, a::sortChooser, ItemChosen, handler::onSortChosen),
        binding(a::window, a::clearButton, Clicked, handler::clearAssociation),
        binding(a::window, a::saveButton, Clicked, handler::saveAssociation),

        binding(d::window, "", Created, handler::initDonationWindow),
        binding(d::window, d::closeButton, Clicked, handler::closeDonationWindow),
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
