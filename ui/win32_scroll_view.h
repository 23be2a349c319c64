// A window that shows part of its one child window and scrolls it: a page
// whose controls need more room than the screen leaves it scrolls with its
// scroll bars, the mouse wheel, and the keyboard focus, which brings the
// control it moves to into view.
#pragma once

#include <windows.h>

namespace kwetro::win32 {

constexpr wchar_t kScrollViewClass[] = L"KwetroScrollView";

bool RegisterScrollView();

// The child needs content (its extent) and scrolls by line pixels a step:
// the child gets at least the view's room, the view the scroll bars it then
// needs, and the scroll position stays within the new range.
void FitScrollView(HWND view, SIZE content, int line);

// Every scroll view around a control scrolls it into view, as far as the
// view can show it.
void RevealControl(HWND control);

// How far a view has scrolled its child.
POINT ScrollPosition(HWND view);

}  // namespace kwetro::win32
