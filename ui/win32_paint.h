// Drawing of what the window paints itself: the three-state box of options,
// services and legend pictures, the option check boxes, the services-list
// items and the backgrounds of panels and pages.
#pragma once

#include <windows.h>

#include <string>

#include "options/tri_state.h"

namespace kwetro::win32 {

constexpr int kGlyphSize = 13;
// The background of what a search found, and of its field when it finds
// nothing.
constexpr COLORREF kHighlightColor = RGB(255, 236, 139);
constexpr COLORREF kNothingFoundColor = RGB(255, 200, 200);
// Gap between an option's box and its caption.
constexpr int kOptionTextGap = 4;
// A services-list item: a column for this computer's mark (left of the box,
// as on the option pages), the column of its state box, then its text.
constexpr int kServiceMachineColumn = 13;
constexpr int kServiceBoxColumn = 18;
// The state box this far into its column; the text this far into its own,
// and below the top of the row.
constexpr int kServiceBoxIndent = 2;
constexpr int kServiceTextIndent = 8;
constexpr int kServiceTextTop = 3;
// A row is as high as its text and this much more, and at least as high as
// a state box and this much more.
constexpr int kServiceRowTextRoom = 5;
constexpr int kServiceRowBoxRoom = 4;

// The box of one state: empty, ticked, or ticked in grey for "skip", in the
// visual style of the system when one is active.
void DrawStateGlyph(HWND owner, HDC dc, const RECT& box, TriState state, bool enabled,
                    bool pressed);

// An option check box (owner-drawn button): box, caption, focus rectangle.
void DrawOptionBox(const DRAWITEMSTRUCT& item, TriState state, const std::wstring& caption,
                   HFONT font, COLORREF textColor, HBRUSH background);

// The link to the scripts' folder (owner-drawn button): underlined text in
// the link colour, grey while disabled, with a focus rectangle.
void DrawLink(const DRAWITEMSTRUCT& item, const std::wstring& text, HFONT font, COLORREF color,
              HBRUSH background);

// A services-list item: the state box, then the item's text (the geometry
// above), black on white, or grey while the list is not written. The
// current row is selected (in the system's colours while the list has the
// focus and can be changed, else pale) and has the focus rectangle: a key
// changes the row the user sees. An item the search found is highlighted
// in the search's pale colour.
void DrawServiceItem(const DRAWITEMSTRUCT& item, TriState state, bool enabled, bool listFocused,
                     const std::wstring& text, HFONT font, bool highlighted);

// What this computer holds of a control, as the mark beside its caption
// shows it: the selected state (a green tick), another one or none (a red
// cross); no mark where the selection writes nothing or the computer was
// not read.
enum class MachineMark { kNone, kHeld, kOther };
constexpr int kMachineMarkSize = 9;
// An image of the layout that shows a mark: its glyph is this plus the mark.
constexpr int kMachineMarkGlyphs = 16;

// A mark centred in box.
void DrawMachineMark(HDC dc, const RECT& box, MachineMark mark);

// A push button that opens a menu (owner-drawn): the button in the visual
// style of the system, its caption with the underlined letter, an arrow
// pointing down at its right, and the focus rectangle. The arrow takes this
// much of its width.
constexpr int kMenuArrowRoom = 14;
void DrawMenuButton(const DRAWITEMSTRUCT& item, const std::wstring& caption, HFONT font);

enum class Frame { kNone, kRaised, kLowered, kGroup };

// A window's client area in one brush.
void FillClient(HWND hwnd, HDC dc, HBRUSH brush);

// Background, frame and centred caption (panels) or framed title (groups).
void PaintContainer(HWND hwnd, HDC dc, HBRUSH background, Frame frame, const std::wstring& caption,
                    HFONT font, COLORREF textColor);

}  // namespace kwetro::win32
