// The files Apply writes for a selection, listed once: hkcu.reg, hklm.reg
// and, when the selection is for every user, the files of EveryUserScripts.
// The preview shows them, kwetro-cli generate writes them, and ./run keeps a
// folder to the files of one selection by their names.
#pragma once

#include <string>
#include <vector>

#include "app/all_users.h"
#include "options/reg_script.h"
#include "options/selection.h"

namespace kwetro {

struct ScriptFile {
  std::string name;
  std::string bytes;
  // Where each control's block stands (the two scripts of the selection).
  std::vector<BlockMark> marks;
};

// In the order Apply writes them.
std::vector<ScriptFile> ScriptFiles(const Selection& selection, const SetupVersion& version);

// Every name Apply can write, whatever the selection.
std::vector<std::string> ScriptFileNames();

}  // namespace kwetro
