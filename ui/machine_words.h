// What the window says of this computer, control by control: the state (or
// states) whose lines the machine holds, beside what the selection has, in
// the words of the information line. Portable: the window shows them, the
// native tests read them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "machine/audit.h"

namespace kwetro {

// A state, item or seconds of a control as the window names it (UTF-8): Да,
// Нет, серый; an item's text or noItem (the layout's NoItemCaption); "20 с";
// a start mode's word.
std::string StateWords(ControlRef control, int variant, std::string_view noItem);

// A control by the caption the window shows it with (UTF-8); an option's
// without the " - (Да)" of its checked state.
std::string ControlCaption(ControlRef control);

// The sentence of the information line for states[index] (UTF-8), such as
// «На этом компьютере: Да (как выбрано).» or «На этом компьютере иначе:
// NoDriveTypeAutoRun = 0x91 (выбрано: Да).»; empty for a control that writes
// no registry line. states: AuditMachine's answer, every control; noItem as
// for StateWords.
std::string MachineWords(const std::vector<machine::ControlState>& states, std::size_t index,
                         std::string_view noItem);

}  // namespace kwetro
