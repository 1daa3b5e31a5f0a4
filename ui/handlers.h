// The names of every handler bound in the event table. Code that registers a
// handler uses these constants, so a misspelt name fails to compile instead
// of leaving an event silently unhandled.
#pragma once

#include <string_view>

namespace pallo::ui::handler {

// Overlay and options panel.
inline constexpr std::string_view startUp = "startUp";
inline constexpr std::string_view onOverlayMoved = "onOverlayMoved";
inline constexpr std::string_view openOptions = "openOptions";
inline constexpr std::string_view onTopClicked = "onTopClicked";
inline constexpr std::string_view translucencyChanged = "translucencyChanged";
inline constexpr std::string_view toggleEditors = "toggleEditors";
inline constexpr std::string_view exitProgram = "exitProgram";
inline constexpr std::string_view collapseOptions = "collapseOptions";
inline constexpr std::string_view toggleSupportWindow = "toggleSupportWindow";
inline constexpr std::string_view toggleAllWindows = "toggleAllWindows";

// Node windows.
inline constexpr std::string_view onFirstRowPress = "onFirstRowPress";
inline constexpr std::string_view onFirstRowRightPress = "onFirstRowRightPress";
inline constexpr std::string_view onSecondRowClick = "onSecondRowClick";

// Node editor.
inline constexpr std::string_view dockCatalogEditor = "dockCatalogEditor";
inline constexpr std::string_view onMainNodeChosen = "onMainNodeChosen";
inline constexpr std::string_view renameMainNode = "renameMainNode";
inline constexpr std::string_view previewMainPicture = "previewMainPicture";
inline constexpr std::string_view previewChildPicture = "previewChildPicture";
inline constexpr std::string_view saveNode = "saveNode";
inline constexpr std::string_view addChildNode = "addChildNode";
inline constexpr std::string_view deleteChildNode = "deleteChildNode";
inline constexpr std::string_view toggleCatalogEditor = "toggleCatalogEditor";
inline constexpr std::string_view onChildRowChosen = "onChildRowChosen";
inline constexpr std::string_view hidePreview = "hidePreview";

// Catalog editor.
inline constexpr std::string_view initCatalogEditor = "initCatalogEditor";
inline constexpr std::string_view onSectionChosen = "onSectionChosen";
inline constexpr std::string_view onEntryChosen = "onEntryChosen";
inline constexpr std::string_view previewEntryPicture = "previewEntryPicture";
inline constexpr std::string_view hideEntryPreview = "hideEntryPreview";
inline constexpr std::string_view saveCatalogEntry = "saveCatalogEntry";
inline constexpr std::string_view addCatalogEntry = "addCatalogEntry";
inline constexpr std::string_view deleteCatalogEntry = "deleteCatalogEntry";
inline constexpr std::string_view openAssociationWindow = "openAssociationWindow";

// Association window.
inline constexpr std::string_view initAssociationWindow = "initAssociationWindow";
inline constexpr std::string_view onNodeChosen = "onNodeChosen";
inline constexpr std::string_view onChildSelected = "onChildSelected";
inline constexpr std::string_view onTargetSelectionChanged = "onTargetSelectionChanged";
inline constexpr std::string_view focusTargetList = "focusTargetList";
inline constexpr std::string_view onIdTextChanged = "onIdTextChanged";
inline constexpr std::string_view onSortChosen = "onSortChosen";
inline constexpr std::string_view clearAssociation = "clearAssociation";
inline constexpr std::string_view saveAssociation = "saveAssociation";

// Donation window.
inline constexpr std::string_view initDonationWindow = "initDonationWindow";
inline constexpr std::string_view closeDonationWindow = "closeDonationWindow";

}  // namespace pallo::ui::handler
