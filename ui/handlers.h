// The names of every handler bound in the event table. Registering and
// binding take a HandlerName, which only these constants are, so a misspelt
// name fails to compile instead of leaving an event silently unhandled.
#pragma once

#include <string_view>

namespace pallo::ui {

class HandlerName {
public:
    constexpr explicit HandlerName(std::string_view name) : name_(name) {}
    constexpr std::string_view view() const { return name_; }

private:
    std::string_view name_;
};

}  // namespace pallo::ui

namespace pallo::ui::handler {

// Overlay and options panel.
inline constexpr HandlerName startUp{"startUp"};
inline constexpr HandlerName onOverlayMoved{"onOverlayMoved"};
inline constexpr HandlerName openOptions{"openOptions"};
inline constexpr HandlerName onTopClicked{"onTopClicked"};
inline constexpr HandlerName translucencyChanged{"translucencyChanged"};
inline constexpr HandlerName toggleEditors{"toggleEditors"};
inline constexpr HandlerName exitProgram{"exitProgram"};
inline constexpr HandlerName collapseOptions{"collapseOptions"};
inline constexpr HandlerName toggleSupportWindow{"toggleSupportWindow"};
inline constexpr HandlerName toggleAllWindows{"toggleAllWindows"};

// Node windows.
inline constexpr HandlerName onFirstRowPress{"onFirstRowPress"};
inline constexpr HandlerName onFirstRowRightPress{"onFirstRowRightPress"};
inline constexpr HandlerName onSecondRowClick{"onSecondRowClick"};

// Node editor.
inline constexpr HandlerName dockCatalogEditor{"dockCatalogEditor"};
inline constexpr HandlerName onMainNodeChosen{"onMainNodeChosen"};
inline constexpr HandlerName renameMainNode{"renameMainNode"};
inline constexpr HandlerName previewMainPicture{"previewMainPicture"};
inline constexpr HandlerName previewChildPicture{"previewChildPicture"};
inline constexpr HandlerName saveNode{"saveNode"};
inline constexpr HandlerName addChildNode{"addChildNode"};
inline constexpr HandlerName deleteChildNode{"deleteChildNode"};
inline constexpr HandlerName toggleCatalogEditor{"toggleCatalogEditor"};
inline constexpr HandlerName onChildRowChosen{"onChildRowChosen"};
inline constexpr HandlerName hidePreview{"hidePreview"};

// Catalog editor.
inline constexpr HandlerName initCatalogEditor{"initCatalogEditor"};
inline constexpr HandlerName onSectionChosen{"onSectionChosen"};
inline constexpr HandlerName onEntryChosen{"onEntryChosen"};
inline constexpr HandlerName previewEntryPicture{"previewEntryPicture"};
inline constexpr HandlerName hideEntryPreview{"hideEntryPreview"};
inline constexpr HandlerName saveCatalogEntry{"saveCatalogEntry"};
inline constexpr HandlerName addCatalogEntry{"addCatalogEntry"};
inline constexpr HandlerName deleteCatalogEntry{"deleteCatalogEntry"};
inline constexpr HandlerName openAssociationWindow{"openAssociationWindow"};

// Association window.
inline constexpr HandlerName initAssociationWindow{"initAssociationWindow"};
inline constexpr HandlerName onNodeChosen{"onNodeChosen"};
inline constexpr HandlerName onChildSelected{"onChildSelected"};
inline constexpr HandlerName onTargetSelectionChanged{"onTargetSelectionChanged"};
inline constexpr HandlerName focusTargetList{"focusTargetList"};
inline constexpr HandlerName onIdTextChanged{"onIdTextChanged"};
inline constexpr HandlerName onSortChosen{"onSortChosen"};
inline constexpr HandlerName clearAssociation{"clearAssociation"};
inline constexpr HandlerName saveAssociation{"saveAssociation"};

// Any window whose frame's close button the event table binds to nothing.
inline constexpr HandlerName closedByUser{"closedByUser"};

// Donation window.
inline constexpr HandlerName initDonationWindow{"initDonationWindow"};
inline constexpr HandlerName closeDonationWindow{"closeDonationWindow"};

}  // namespace pallo::ui::handler
