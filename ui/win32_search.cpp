#include "ui/win32_search.h"

#include "app/win32_text.h"
#include "options/number_text.h"

namespace kwetro::win32 {

void SearchBox::Attach(int field, int count) {
  field_ = field;
  count_ = count;
}

HWND SearchBox::Field() const { return field_ > 0 ? parts_.Native(field_).hwnd : nullptr; }

HBRUSH SearchBox::FieldColor(HDC dc, HWND field) {
  if (field != Field() || !matches_.empty() || GetWindowTextLengthW(field) == 0) return nullptr;
  SetBkColor(dc, kNothingFoundColor);
  return parts_.Brush(kNothingFoundColor);
}

void SearchBox::TextChanged() {
  HWND field = Field();
  if (!field) return;
  const std::wstring text = TextOf(field);
  if (!text.empty()) used_();
  if (!search_ && !text.empty()) search_ = std::make_unique<ControlSearch>();
  matches_ = text.empty() ? std::vector<ControlRef>() : search_->Find(Narrow(text));
  current_ = matches_.empty() ? -1 : 0;
  visited_ = false;
  // The first match shows at once; the focus stays in the field for typing.
  if (current_ >= 0)
    go_(matches_[0], Go::kShown);
  else
    none_(text.empty());
  ShowCount();
}

void SearchBox::Next(bool forward, bool focus) {
  if (matches_.empty()) {
    ShowCount();
    return;
  }
  used_();
  const int n = static_cast<int>(matches_.size());
  // From elsewhere the first step takes the keys to the match that typing
  // showed; in the field each step shows another one.
  if (!visited_ && focus)
    current_ = forward ? current_ : n - 1;
  else
    current_ = (current_ + (forward ? 1 : n - 1)) % n;
  visited_ = true;
  go_(matches_[static_cast<std::size_t>(current_)], focus ? Go::kFocused : Go::kVisited);
  ShowCount();
}

std::optional<ControlRef> SearchBox::Visited() const {
  if (!visited_ || current_ < 0) return std::nullopt;
  return matches_[static_cast<std::size_t>(current_)];
}

void SearchBox::Clear() {
  if (HWND field = Field()) SetWindowTextW(field, L"");
}

void SearchBox::Focus() {
  if (HWND field = Field()) {
    SetFocus(field);
    SendMessageW(field, EM_SETSEL, 0, -1);
  }
}

void SearchBox::ShowCount() {
  if (count_ < 0) return;
  NativeControl& count = parts_.Native(count_);
  std::wstring text;
  if (GetWindowTextLengthW(Field()) > 0)
    text = matches_.empty() ? L"не найдено"
                            : WideDecimal(current_ + 1) + L" из " +
                                  WideDecimal(static_cast<long long>(matches_.size()));
  if (text == count.text) return;
  const RECT before = count.bounds;
  count.text = text;
  RECT dirty;
  UnionRect(&dirty, &before, &count.bounds);
  InvalidateRect(parts_.Native(parts_.Item(count_).parent).container, &dirty, TRUE);
}

}  // namespace kwetro::win32
