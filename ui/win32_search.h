// The search field of the header: typing finds the controls whose caption,
// hint, key path or value name holds the text and shows the first one while
// the keyboard stays in the field; Enter and F3 go to the next one (its page
// shown, the control highlighted, its hint in the information line), Shift+Enter
// and Shift+F3 to the one before, the keys still in the field; F3 from
// elsewhere takes the keys to the match. Esc clears.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "catalogue/control_search.h"
#include "ui/win32_parts.h"

namespace kwetro::win32 {

class SearchBox {
 public:
  // How far a match is gone to: shown while typing (the page the search
  // began on is kept to return to), gone to with the keys kept in the field,
  // or gone to with the keys.
  enum class Go { kShown, kVisited, kFocused };
  // go shows a control: its pages, the highlight, its hint, and the focus when
  // asked. none runs when the text finds nothing, or nothing any more once
  // cleared. used runs whenever the user searches.
  SearchBox(WindowParts& parts, std::function<void(ControlRef, Go)> go,
            std::function<void(bool cleared)> none, std::function<void()> used)
      : parts_(parts), go_(std::move(go)), none_(std::move(none)), used_(std::move(used)) {}

  // The field and the count beside it, once built.
  void Attach(int field, int count);
  HWND Field() const;
  // The text changed: the matches anew, the first one shown.
  void TextChanged();
  // The next match (or the one before); with focus the keys go there.
  void Next(bool forward, bool focus);
  void Clear();
  void Focus();
  // The matches and which one is shown ("3 из 7").
  const std::vector<ControlRef>& Matches() const { return matches_; }
  int Current() const { return current_; }
  // The match gone to with Enter or F3, if any.
  std::optional<ControlRef> Visited() const;
  // WM_CTLCOLOREDIT: a search that finds nothing says so in its field, in
  // the colour given back; null for another field, or one that finds some.
  HBRUSH FieldColor(HDC dc, HWND field);

 private:
  void ShowCount();

  WindowParts& parts_;
  std::function<void(ControlRef, Go)> go_;
  std::function<void(bool)> none_;
  std::function<void()> used_;
  std::unique_ptr<ControlSearch> search_;  // gathered at the first search
  std::vector<ControlRef> matches_;
  int current_ = -1;
  bool visited_ = false;  // the current match was gone to, not only shown
  int field_ = -1, count_ = -1;
};

}  // namespace kwetro::win32
