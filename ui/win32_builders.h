// One builder per kind of control: creates the native side of a layout item
// inside its parent's container, with the texts and values of the selection.
#pragma once

#include "ui/win32_parts.h"

namespace kwetro::win32 {

// The kind of native control that shows a layout item.
NativeKind KindOf(const LayoutItem& item);

// Fonts and colours of an item, inherited from its parent unless it sets its own.
void ApplyFontAndColors(WindowParts& parts, int index);

// Creates the item's control in its parent's container. Pages get only
// their tab here; Pages creates their windows when first shown.
void BuildItem(WindowParts& parts, int index);

// A button on the free end of a tab control's row stays within the row,
// whose height follows the font: once the tabs are there.
void FitIntoTabRow(WindowParts& parts, int index);

// A drop-down list offers "(не менять)" first: no item, which writes nothing
// (the selection's index -1). Its other rows are the list's items.
int ComboRow(int index, const ComboDecl& combo);
int ComboChoice(int row);

// Where an auto-sized control goes for its text, from its place r.
RECT AutoSizedBounds(const WindowParts& parts, int index, RECT r);
// Brings an auto-sized control to the size of its text.
void AutoSize(WindowParts& parts, int index);

}  // namespace kwetro::win32
