// kwetro-cli capture: the settings file of the selection a machine holds.
#include "app/cli.h"
#include "app/cli_commands.h"
#include "app/machine_commands.h"
#include "app/machine_source.h"
#include "machine/capture.h"

namespace kwetro {

int RunCaptureCommand(const std::vector<std::string>& args, std::string& out, std::string& err) {
  static const char kUsage[] =
      "usage: kwetro-cli capture (--backup EXPORT.reg | --live | --windows DIR) [--user SID|NAME]\n"
      "                          [--settings FILE] --out FILE2\n";
  MachineOptions o;
  Selection base;
  machine::Machine machine;
  if (const int code = StartMachineCommand(args, kUsage, o, base, machine, err); code != kExitOk)
    return code;
  const machine::Captured captured = machine::CaptureMachine(machine, base);
  for (const ControlRef& control : captured.unavoidable)
    err += "kwetro-cli: warning: " + std::string(ControlName(control)) +
           ": every state writes lines this machine does not hold; importing the scripts still "
           "changes them (see audit)\n";
  return SaveSelection(o.out, captured.selection, out, err);
}

}  // namespace kwetro
