#include "ui/win32_machine_marks.h"

#include <algorithm>

#include "app/win32_text.h"
#include "ui/machine_words.h"

namespace kwetro::win32 {
namespace {

MachineMark MarkOf(const machine::ControlState& state) {
  switch (state.match) {
    case machine::Match::kYes:
      return MachineMark::kHeld;
    case machine::Match::kNo:
      return MachineMark::kOther;
    case machine::Match::kNotWritten:
    case machine::Match::kWrittenLater:
      break;
  }
  return MachineMark::kNone;
}

// The gap between a mark and the caption it stands beside.
constexpr int kMarkGap = 2;

}  // namespace

void MachineMarks::Show(machine::Machine machine) {
  machine_ = std::move(machine);
  HWND legend = parts_.Native(parts_.Object(WindowObject::kMarksLegend)).hwnd;
  if (legend) ShowWindow(legend, SW_SHOWNA);
}

void MachineMarks::Judge() {
  if (!machine_) return;
  states_ = machine::AuditMachine(*machine_, parts_.selection);
  for (auto& positions : positions_) positions.clear();
  for (std::size_t i = 0; i < states_.size(); ++i) {
    auto& positions = positions_[static_cast<int>(states_[i].control.kind)];
    const auto index = static_cast<std::size_t>(states_[i].control.index);
    positions.resize(std::max(positions.size(), index + 1), -1);
    positions[index] = static_cast<int>(i);
  }
  // Only what changed is painted again.
  shown_.resize(parts_.natives.size(), MachineMark::kNone);
  for (std::size_t item = 1; item < parts_.natives.size(); ++item) {
    const int index = static_cast<int>(item);
    const auto control = MarkedBy(index);
    const MachineMark mark = control ? Of(*control) : MachineMark::kNone;
    if (mark == shown_[item]) continue;
    shown_[item] = mark;
    const HWND holder = parts_.Native(parts_.Item(index).parent).container;
    const RECT box = MarkBox(index);
    if (holder) InvalidateRect(holder, &box, TRUE);
  }
  std::vector<MachineMark> services;
  for (std::size_t s = 0; s < Controls().services.size(); ++s)
    services.push_back(Of({ControlKind::kService, static_cast<int>(s)}));
  if (services == shownServices_) return;
  shownServices_ = std::move(services);
  HWND list = parts_.Native(parts_.Object(WindowObject::kServicesList)).hwnd;
  if (list) InvalidateRect(list, nullptr, FALSE);
}

const machine::ControlState* MachineMarks::StateOf(ControlRef control) const {
  const auto& positions = positions_[static_cast<int>(control.kind)];
  const auto index = static_cast<std::size_t>(control.index);
  if (index >= positions.size() || positions[index] < 0) return nullptr;
  return &states_[static_cast<std::size_t>(positions[index])];
}

MachineMark MachineMarks::Of(ControlRef control) const {
  const machine::ControlState* state = StateOf(control);
  return state ? MarkOf(*state) : MachineMark::kNone;
}

int MachineMarks::Count(MachineMark mark) const {
  return static_cast<int>(std::count_if(states_.begin(), states_.end(),
                                        [mark](const auto& s) { return MarkOf(s) == mark; }));
}

machine::Captured MachineMarks::Capture() const {
  return machine_ ? machine::CaptureMachine(*machine_, parts_.selection)
                  : machine::Captured{parts_.selection, {}};
}

std::optional<ControlRef> MachineMarks::MarkedBy(int item) const {
  const LayoutItem& i = parts_.Item(item);
  switch (i.bound) {
    case Bound::kOption:
      return ControlRef{ControlKind::kOption, i.index};
    case Bound::kComboLabel:
      return ControlRef{ControlKind::kCombo, i.index};
    case Bound::kSpinnerLabel:
      return ControlRef{ControlKind::kSpinner, i.index};
    default:
      return std::nullopt;
  }
}

RECT MachineMarks::MarkBox(int item) const {
  const RECT& b = parts_.Native(item).bounds;
  const int right = b.left - kMarkGap;
  return {right - kMachineMarkSize, b.top, right, b.bottom};
}

void MachineMarks::Paint(int container, HDC dc) {
  if (!machine_) return;
  for (int child : parts_.children[static_cast<std::size_t>(container)]) {
    const NativeControl& n = parts_.Native(child);
    const bool shown =
        n.IsGraphic() ? n.visible : n.hwnd && (GetWindowLongW(n.hwnd, GWL_STYLE) & WS_VISIBLE);
    const auto control = shown ? MarkedBy(child) : std::nullopt;
    if (!control) continue;
    const RECT box = MarkBox(child);
    if (RectVisible(dc, &box)) DrawMachineMark(dc, box, Of(*control));
  }
}

void MachineMarks::DrawService(const DRAWITEMSTRUCT& item) {
  if (!machine_ || item.itemID >= Controls().services.size()) return;
  const RECT& r = item.rcItem;
  // Left of the state box (DrawServiceItem), as beside an option.
  const RECT box = {r.left, r.top, r.left + kServiceMachineColumn, r.bottom};
  DrawMachineMark(item.hDC, box, Of({ControlKind::kService, static_cast<int>(item.itemID)}));
}

bool MachineMarks::SetServiceRow(int row) {
  if (row == serviceRow_) return false;
  serviceRow_ = row;
  return true;
}

std::wstring MachineMarks::Words(int item) const {
  if (!machine_ || item <= 0) return {};
  const LayoutItem& i = parts_.Item(item);
  std::optional<ControlRef> control = MarkedBy(item);
  if (i.bound == Bound::kCombo) control = ControlRef{ControlKind::kCombo, i.index};
  if (i.bound == Bound::kSpinner) control = ControlRef{ControlKind::kSpinner, i.index};
  if (i.bound == Bound::kServicesList && parts_.Native(item).hwnd) {
    const LRESULT row =
        serviceRow_ >= 0 ? serviceRow_ : SendMessageW(parts_.Native(item).hwnd, LB_GETCURSEL, 0, 0);
    if (row >= 0) control = ControlRef{ControlKind::kService, static_cast<int>(row)};
  }
  const machine::ControlState* state = control ? StateOf(*control) : nullptr;
  if (!state) return {};
  std::wstring words = Widen(MachineWords(states_, static_cast<std::size_t>(state - states_.data()),
                                          parts_.Item(0).Text("NoItemCaption")));
  if (control->kind == ControlKind::kService && !words.empty())
    words =
        Widen(Controls().services[static_cast<std::size_t>(control->index)].key) + L": " + words;
  return words;
}

}  // namespace kwetro::win32
