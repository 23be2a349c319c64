// The search field of the header: typing finds the controls whose caption,
// hint, key path or value name holds the text and shows the first one while
// the keyboard stays in the field; Enter and F3 go to the next one (its page
// shown, the control focused and marked, its hint in the information line),
// Shift+F3 to the one before, Esc clears.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "catalogue/control_search.h"
#include "ui/win32_parts.h"

namespace kwetro::win32 {

class SearchBox {
 public:
  // go shows a control: its pages, the mark, its hint, and with focus set,
  // the focus. none runs when the text finds nothing, or nothing any more
  // once cleared. used runs whenever the user searches.
  SearchBox(WindowParts& parts, std::function<void(ControlRef, bool focus)> go,
            std::function<void(bool cleared)> none, std::function<void()> used)
      : parts_(parts), go_(std::move(go)), none_(std::move(none)), used_(std::move(used)) {}

  // The field and the count beside it, once built.
  void Attach(int field, int count);
  HWND Field() const;
  // The text changed: the matches anew, the first one shown.
  void TextChanged();
  void Next(bool forward);
  void Clear();
  void Focus();
  // The matches and which one is shown ("3 из 7").
  const std::vector<ControlRef>& Matches() const { return matches_; }
  int Current() const { return current_; }

 private:
  void ShowCount();

  WindowParts& parts_;
  std::function<void(ControlRef, bool)> go_;
  std::function<void(bool)> none_;
  std::function<void()> used_;
  std::unique_ptr<ControlSearch> search_;  // gathered at the first search
  std::vector<ControlRef> matches_;
  int current_ = -1;
  bool visited_ = false;  // the current match was gone to, not only shown
  int field_ = -1, count_ = -1;
};

}  // namespace kwetro::win32
