// The commands of kwetro-cli beyond writing files: a listing of every
// control of a selection, and changes to a settings file by name.
#pragma once

#include <string>
#include <vector>

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

// The words for the states, by TriState: what `list` prints and `set` reads.
inline const char* const kOptionStateWords[] = {"no", "yes", "skip"};
inline const char* const kServiceStateWords[] = {"disabled", "auto", "manual"};

// Every control of the selection in the window's order, as "tsv", "json" or
// "markdown" (UTF-8). TSV and JSON: name, page, kind, state, caption, hint;
// JSON also the lines each control writes.
std::string ListControls(const Selection& selection, const std::string& format);

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
