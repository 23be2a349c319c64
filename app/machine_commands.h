// kwetro-cli audit and capture: what a machine holds of each control, and the
// machine as a settings file (machine/ judges; these say it in words).
#pragma once

#include <string>
#include <vector>

#include "machine/registry_view.h"

namespace kwetro {

// args: the command line without the program name, the command first.
int RunAuditCommand(const std::vector<std::string>& args, std::string& out, std::string& err);
int RunCaptureCommand(const std::vector<std::string>& args, std::string& out, std::string& err);

// Data as a line of REGEDIT holds them (a string, a dword, hex); long data cut short.
std::string DataText(const machine::RegData& data);

}  // namespace kwetro
