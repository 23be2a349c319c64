// The commands of kwetro-cli beyond writing files: a listing of every
// control of a selection, and changes to a settings file by name.
#pragma once

#include <string>
#include <vector>

#include "app/cli_format.h"
#include "app/settings_file.h"
#include "options/selection.h"

namespace kwetro {

// A flag of the command line that takes a value, at most once.
struct ValueFlag {
  const char* name;
  std::string* value;
  bool seen = false;
};

// Takes the value after the flag at args[i] and moves i onto it; false with
// the reason ("--out given twice", "--out needs a value") when it cannot.
bool TakeValue(const std::vector<std::string>& args, std::size_t& i, ValueFlag& flag,
               std::string& reason);

// The selection as the program has it after start: the built-in one, then
// the settings file (when a path is given), whose service states the
// services preset may apply. False with the message when it cannot be read.
bool RestoreSelection(const std::string& settings, Selection& selection, StoredSettings& stored,
                      std::string& err);
// Writes the selection's settings file as Apply does, merged into an
// existing one; the exit code, with the path in out or the message in err.
int SaveSelection(const std::string& path, const Selection& selection, std::string& out,
                  std::string& err);

// The words for an option's states, by TriState: what `list` prints and `set`
// reads. A service's are those of its start modes (options/service_starts.h).
inline const char* const kOptionStateWords[] = {"no", "yes", "skip"};

// A control as `list` shows it: its name, the page it is on, its kind
// (option, preset, combo, spinner, service), its state in the words above
// (an item index and text, seconds), its caption and its hint.
struct ControlFields {
  std::string name, page, kind, state, caption, hint;
};
ControlFields Describe(const Selection& selection, ControlRef control);

// Every control of the selection in the window's order (UTF-8): name, page,
// kind, state, caption, hint; JSON also the lines each control writes;
// Markdown a table per page.
std::string ListControls(const Selection& selection, Format format);

// One NAME=VALUE of `set`, checked against the control table.
struct Assignment {
  ControlRef control;
  int value;  // a state, an item index, seconds
};

// Reads NAME=VALUE; false with a message that names the bad part and the
// closest names the program knows.
bool ParseAssignment(const std::string& text, Assignment& assignment, std::string& error);

// Applies the assignments in order, as the window would: a service set while
// the services are left alone ("Стандартная конфигурация") switches the preset
// to "Из файла настроек", unless the assignments set the preset themselves.
void ApplyAssignments(const std::vector<Assignment>& assignments, Selection& selection,
                      const StoredServices& stored);

}  // namespace kwetro
