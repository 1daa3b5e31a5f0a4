// The designs of the program's 43 windows. Each function returns a design
// built once and never changed afterwards; callers keep the reference for as
// long as they like.
#pragma once

#include <string_view>
#include <vector>

#include "ui/design.h"

namespace pallo::ui {

const WindowDesign& overlayWindow();  // "OverlayWindow"

// The three rows of node windows beside and under the overlay.
enum class Row { First, Second, Third };

// Number of node windows in a row: 10 in the first, 14 in the others.
int rowLength(Row row);

// Node window `position` (1-based) of a row: "FirstRow1".."FirstRow10",
// "SecondRow1".."SecondRow14", "ThirdRow1".."ThirdRow14". A position outside
// 1..rowLength(row) is a programmer error: it asserts in a debug build and
// is clamped into range otherwise.
const WindowDesign& nodeWindow(Row row, int position);

const WindowDesign& nodeEditorWindow();     // "NodeEditorWindow"
const WindowDesign& catalogEditorWindow();  // "CatalogEditorWindow"
const WindowDesign& associationWindow();    // "AssociationWindow"
const WindowDesign& donationWindow();       // "DonationWindow"

// Every design: the overlay, the 38 node windows row by row, the two
// editors, the association window and the donation window.
std::vector<const WindowDesign*> allDesigns();

// The design with this name, or nullptr.
const WindowDesign* findDesign(std::string_view name);

}  // namespace pallo::ui
