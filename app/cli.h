// kwetro-cli: the engine without a window. A settings file in; registry
// scripts (byte for byte what Apply in the window writes), a settings file, a
// listing of every control, the undo file of a registry backup, or what a
// machine holds of each control out.
#pragma once

#include <string>
#include <vector>

namespace kwetro {

// Exit codes.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;  // an input or output failure
constexpr int kExitUsage = 2;
constexpr int kExitDrift = 3;  // audit: the machine does not hold what the selection writes

// Runs the command line (without the program name); messages for the user go
// to out and err.
int RunCli(const std::vector<std::string>& args, std::string& out, std::string& err);

}  // namespace kwetro
