#include "app/machine_source.h"

#include "app/cli.h"
#include "app/cli_commands.h"
#include "app/reg_file_source.h"
#include "machine/export_registry.h"
#ifdef _WIN32
#include "machine/live_registry.h"
#endif
#ifdef KWETRO_OFFLINE
#include "app/offline_commands.h"
#endif

namespace kwetro {

namespace {

bool ParseMachineArgs(const std::vector<std::string>& args, const char* usage, MachineOptions& o,
                      std::string& err) {
  const bool audit = args[0] == "audit";
  ValueFlag flags[] = {{"--backup", &o.backup},
                       {"--user", &o.user},
                       {"--settings", &o.settings},
                       {audit ? "--format" : "--out", audit ? &o.format : &o.out},
                       {"--windows", &o.windows}};
  std::string reason;
  for (std::size_t i = 1; i < args.size() && reason.empty(); ++i) {
    if (args[i] == "--live") {
      reason = o.live ? "--live given twice" : "";
      o.live = true;
      continue;
    }
    ValueFlag* flag = nullptr;
    for (ValueFlag& f : flags)
      if (args[i] == f.name) flag = &f;
    if (!flag) {
      reason = "unknown argument '" + args[i] + "'";
    } else if (!TakeValue(args, i, *flag, reason)) {
      break;
    }
  }
  if (reason.empty() && int{flags[0].seen} + int{o.live} + int{flags[4].seen} != 1)
    reason = args[0] + " needs --backup EXPORT.reg, --live or --windows DIR, one of them";
  if (reason.empty() && !audit && !flags[3].seen) reason = "capture needs --out FILE2";
  if (reason.empty()) ParseFormat(o.format, o.listing, reason);
#ifndef KWETRO_OFFLINE
  if (reason.empty() && flags[4].seen)
    reason =
        "--windows reads the hive files of a system that is not running, which the Linux build "
        "of kwetro-cli does";
#endif
#ifndef _WIN32
  if (reason.empty() && o.live)
    reason =
        "--live reads the registry of the Windows it runs on: run kwetro-cli.exe there, or give "
        "--backup with an export of that registry";
#endif
  if (reason.empty()) return true;
  err = "kwetro-cli: " + reason + "\n" + usage;
  return false;
}

int ReadMachineFrom(const MachineOptions& o, machine::Machine& machine, std::string& err) {
#ifdef _WIN32
  if (o.live) {
    const machine::LiveRegistry live(o.user);
    if (!live.UserLoaded()) {
      err += "kwetro-cli: no user " + o.user + " is loaded under HKEY_USERS\n";
      return kExitUsage;
    }
    machine = machine::ReadMachine(live);
    return kExitOk;
  }
#endif
#ifdef KWETRO_OFFLINE
  if (!o.windows.empty()) return ReadOfflineMachine(o.windows, o.user, machine, err);
#endif
  FileSource file;
  std::string reason;
  if (!file.Open(o.backup, reason)) {
    err += ProblemLine("export", o.backup, true, 0, reason);
    return kExitFailure;
  }
  machine::ExportRegistry exported(o.user);
  machine::ExportProblem problem;
  undo::ReadWarnings warnings;
  const bool read = exported.Read(file, problem, warnings);
  using Kind = machine::ExportProblem::Kind;
  if (!read)
    err += ProblemLine("export", o.backup, problem.kind == Kind::kReadFailure, problem.line,
                       problem.what);
  err += WarningLines(o.backup, warnings);
  if (!read) return problem.kind == Kind::kUsage ? kExitUsage : kExitFailure;
  machine = machine::ReadMachine(exported);
  return kExitOk;
}

}  // namespace

int StartMachineCommand(const std::vector<std::string>& args, const char* usage, MachineOptions& o,
                        Selection& selection, machine::Machine& machine, std::string& err) {
  if (!ParseMachineArgs(args, usage, o, err)) return kExitUsage;
  StoredSettings stored;
  if (!RestoreSelection(o.settings, selection, stored, err)) return kExitFailure;
  return ReadMachineFrom(o, machine, err);
}

}  // namespace kwetro
