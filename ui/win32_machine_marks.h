// This computer's state beside the controls of the window: read from its
// registry only when the user asks (never at start), then judged against the
// selection after every change without reading again (machine/audit.h). A
// mark beside each caption says whether the computer holds what the
// selection writes; the information line says what it holds (machine_words.h).
#pragma once

#include <optional>
#include <vector>

#include "machine/audit.h"
#include "machine/capture.h"
#include "ui/win32_parts.h"

namespace kwetro::win32 {

class MachineMarks {
 public:
  explicit MachineMarks(WindowParts& parts) : parts_(parts) {}

  // Takes this computer as read (again) and shows the legend of the marks;
  // the marks follow at the next Judge.
  void Show(machine::Machine machine);
  bool HasMachine() const { return machine_.has_value(); }
  // The selection changed: judged again, and the marks that changed repainted.
  void Judge();
  MachineMark Of(ControlRef control) const;
  // How many controls show the mark.
  int Count(MachineMark mark) const;
  // The selection this computer holds, over the present one.
  machine::Captured Capture() const;

  // The marks of the controls a container holds, left of their captions (of
  // the labels of drop-down lists and spinners).
  void Paint(int container, HDC dc);
  // The mark of a services-list item, between its box and its text.
  void DrawService(const DRAWITEMSTRUCT& item);
  // What the information line says of this computer for an item: the state
  // of its control (of the services list, its current item); empty before
  // the computer is read and for what writes nothing.
  std::wstring Words(int item) const;
  // The services-list row the information line speaks of: the one under the
  // mouse, or the one the keys moved to, whichever came last. True when it
  // changed.
  bool SetServiceRow(int row);

 private:
  // The control whose mark stands beside an item: an option, or the label
  // of a drop-down list or spinner.
  std::optional<ControlRef> MarkedBy(int item) const;
  const machine::ControlState* StateOf(ControlRef control) const;
  RECT MarkBox(int item) const;

  WindowParts& parts_;
  std::optional<machine::Machine> machine_;
  std::vector<machine::ControlState> states_;  // in the window's order
  std::vector<int> positions_[4];              // by kind and index: the place in states_
  std::vector<MachineMark> shown_;             // by layout item, as painted
  std::vector<MachineMark> shownServices_;     // by services-list item
  int serviceRow_ = -1;
};

}  // namespace kwetro::win32
