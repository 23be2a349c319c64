// kwetro-cli on a Windows XP system drive that is not running (the Linux
// build, with libhivex): apply writes the selection straight into its hive
// files, undo --windows puts them back, and audit and capture read them.
#pragma once

#include <string>
#include <vector>

#include "machine/machine.h"

namespace kwetro {

// args: the command line without the program name, the command first.
int RunApplyCommand(const std::vector<std::string>& args, std::string& out, std::string& err);
int RunOfflineUndoCommand(const std::vector<std::string>& args, std::string& out, std::string& err);

// The machine the hives below root hold; user: a profile's name (empty: the
// only one). kExitOk, or the exit code with the message in err.
int ReadOfflineMachine(const std::string& root, const std::string& user, machine::Machine& machine,
                       std::string& err);

}  // namespace kwetro
