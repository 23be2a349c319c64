// What the window says about itself: the page title and the legend in the
// header, the labels and pictures painted by the window that holds them, the
// pop-up hints, and the information line that explains whatever the mouse
// points at, the keyboard focuses or the search shows, or says what the window
// just did.
#pragma once

#include <functional>
#include <string>

#include "ui/win32_parts.h"

namespace kwetro::win32 {

class InfoLine {
 public:
  // pointed runs when the mouse points at another item.
  InfoLine(WindowParts& parts, std::function<void(int)> pointed)
      : parts_(parts), pointed_(std::move(pointed)) {}

  // Pop-up hints are of use only once the user can point at something: made
  // when the window is activated, they do not delay its first appearance.
  void CreateTooltips();
  // The pop-up hint of an item as it stands (hint, place, visibility).
  void UpdateTool(int index);

  void SetLabelText(int index, const std::wstring& text);
  // A label in the grey of what is not written, or in its own colour.
  void SetDimmed(int index, bool dimmed);
  void SetHint(int index, const std::wstring& hint);
  // The title and legend of a main page, a page of the control table (the
  // services page has its own legend).
  void ShowPageTitle(int page);
  // While a drop-down list is open its pop-up hint would cover it.
  void PauseTooltips(bool paused);

  // The mouse moved over hwnd, at a point on the screen: the item pointed at
  // is explained when it is another one than before.
  void MouseOver(HWND hwnd, POINT screen);
  // Shows the hint of an item (of the nearest item around it that has one).
  void Explain(int index);
  // Shows a text of the window's own until something else is explained.
  void Say(const std::wstring& text);
  // What the line says of an item before its hint (this computer's state of
  // the control), or nothing. The hint gives way where both do not fit.
  void SetLead(std::function<std::wstring(int)> lead) { lead_ = std::move(lead); }
  // Shows again the hint of the item last explained, which may have changed.
  void Refresh();
  // The text of the information line.
  std::wstring Text() const;
  // The height the line needs at a width to show each text it explains whole:
  // every hint of the window (each state's of an option, the services page's
  // forms of the legend) and its own caption, as it draws them.
  int NeededHeight(int width);

  // Labels and images of a container.
  void PaintGraphics(int container, HDC dc);
  // The label or image under a point of a container's client area, or -1.
  int GraphicAt(int container, POINT client) const;

 private:
  void SetGraphicVisible(int index, bool visible);
  void MoveGraphic(int index, POINT at);
  // Repaints where a label or image was and is.
  void InvalidateGraphic(int index, const RECT& before);
  // The lead and as much of the rest, to a word, as the line has room for.
  std::wstring Fitted(const std::wstring& lead, const std::wstring& rest) const;

  WindowParts& parts_;
  std::function<void(int)> pointed_;
  std::function<std::wstring(int)> lead_;
  UniqueWindow tooltip_;
  int explained_ = -1;  // -1 while the line says something of its own
  int pointedAt_ = -1;
  int measuredWidth_ = -1, neededHeight_ = 0;  // the last NeededHeight
};

}  // namespace kwetro::win32
