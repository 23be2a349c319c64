// kwetro-cli undo: the undo file of registry scripts, from a backup of the
// registry taken before they were imported (undo/undo.h).
#pragma once

#include <string>
#include <vector>

namespace kwetro {

// args: the command line without the program name, "undo" first.
int RunUndoCommand(const std::vector<std::string>& args, std::string& out, std::string& err);

}  // namespace kwetro
