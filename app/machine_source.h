// What kwetro-cli audit and capture share: their command line and the
// machine they read, from an export of its registry or (kwetro-cli.exe) the
// live registry.
#pragma once

#include <string>
#include <vector>

#include "app/cli_format.h"
#include "machine/machine.h"
#include "options/selection.h"

namespace kwetro {

struct MachineOptions {
  std::string backup, user, settings, format = "tsv", out;
  Format listing = Format::kTsv;  // as --format names it
  std::string windows;            // a system drive's folder (the Linux build)
  bool live = false;
};

// The start of both commands: the flags of the command (args[0]: --backup
// FILE, --live or --windows DIR, --user SID (a profile's name with --windows), --settings FILE, and
// --format for audit or
// --out for capture), the selection (the built-in one, or the settings file
// over it) and the machine. kExitOk, or the exit code with the message (and
// the usage line); warnings of the export's lines go to err either way.
int StartMachineCommand(const std::vector<std::string>& args, const char* usage, MachineOptions& o,
                        Selection& selection, machine::Machine& machine, std::string& err);

}  // namespace kwetro
