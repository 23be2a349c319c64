#include "app/cli.h"

#include <algorithm>

#include "app/all_users.h"
#include "app/cli_commands.h"
#include "app/file_io.h"
#include "app/machine_commands.h"
#ifdef KWETRO_OFFLINE
#include "app/offline_commands.h"
#endif
#include "app/script_files.h"
#include "app/settings_file.h"
#include "app/undo_command.h"
#include "catalogue/generators.h"

namespace kwetro {
namespace {

const char kUsage[] =
    "usage: kwetro-cli generate [--settings FILE] [--out DIR] [--remove-others]\n"
    "       kwetro-cli settings [--settings FILE] --out FILE2\n"
    "       kwetro-cli list [--settings FILE] [--format tsv|json|markdown]\n"
    "       kwetro-cli set [--settings FILE] --out FILE2 NAME=VALUE...\n"
    "       kwetro-cli undo --backup BACKUP.reg [--out DIR] [--user SID] SCRIPT.reg...\n"
    "       kwetro-cli audit (--backup EXPORT.reg | --live | --windows DIR) [--settings FILE]\n"
    "                        [--user SID|NAME] [--format tsv|json|markdown]\n"
    "       kwetro-cli capture (--backup EXPORT.reg | --live | --windows DIR) [--user SID|NAME]\n"
    "                          [--settings FILE] --out FILE2\n"
    "       kwetro-cli apply --windows DIR [--settings FILE] [--user NAME]... [--backup-dir D]\n"
    "                        [--dry-run]\n"
    "       kwetro-cli undo --windows DIR [--backup-dir D] [--force]\n"
    "       kwetro-cli --help | --version\n";

const char kHelp[] =
    "kwetro-cli is Kwetro without a window: a selection (the built-in one, or the\n"
    "settings file FILE restored over it as the program does at start) in, registry\n"
    "scripts, settings files or a listing out.\n"
    "\n"
    "  generate   write hkcu.reg and then hklm.reg of the selection into DIR\n"
    "             (default: the current folder), byte for byte what Apply writes;\n"
    "             with dCheckBox_1_1 checked also user.reg, activesetup.reg and\n"
    "             profiles.reg (the user's part for every user), whose Active\n"
    "             Setup Version is the time of writing. --remove-others deletes\n"
    "             from DIR the other files Apply can write, which this selection\n"
    "             does not (user.reg, activesetup.reg, profiles.reg), so that DIR\n"
    "             holds the files of this selection alone\n"
    "  settings   write the settings file of the selection to FILE2, as Apply in\n"
    "             the window does; an existing FILE2 is merged into\n"
    "  list       every control in the window's order, UTF-8: TSV (default) with\n"
    "             the fields name, page, kind, state, caption, hint (a tab, line\n"
    "             break or backslash inside a field written \\t, \\n, \\\\), JSON\n"
    "             with the lines each control writes, or Markdown, a table a page\n"
    "  set        change the selection by name, in order, and write FILE2 as\n"
    "             settings does. NAME is a control (sCheckBox_1_2, sComboBox_5_1,\n"
    "             sSpinner4_1, srCheckBox_1_1) or a service's key name (Alerter).\n"
    "             VALUE: options and the preset yes, no, skip (or 1, 0, 2);\n"
    "             drop-down lists an item index (-1: no item); spinners seconds;\n"
    "             services auto, manual, disabled. A service set while the preset\n"
    "             is \"Стандартная конфигурация\" switches it to \"Из файла настроек\",\n"
    "             unless the same command sets srCheckBox_1_1. A bad NAME or VALUE\n"
    "             writes nothing.\n"
    "  undo       write DIR/undo.reg, which returns every key and value the\n"
    "             scripts touch to its state in BACKUP.reg, the export of the\n"
    "             whole registry taken before they were imported (REGEDIT /E,\n"
    "             RegAfter.reg of a deployment); import it with regedit /s.\n"
    "             HKEY_CURRENT_USER is the backup's user hive; --user SID\n"
    "             chooses one when the backup holds several users\n"
    "  audit      every control in the window's order with the state the\n"
    "             selection has and the state (or states) whose lines the\n"
    "             machine holds: from EXPORT.reg, an export of its whole\n"
    "             registry, or with --live (kwetro-cli.exe) from the registry of\n"
    "             the Windows it runs on, read and never written. TSV (default)\n"
    "             with the fields name, page, kind, selected, machine (yes, no,\n"
    "             skip, an item, seconds, auto, manual, disabled; none; partly),\n"
    "             match (yes, no; - where the selection writes nothing for the\n"
    "             control or a later control writes it again) and note; JSON;\n"
    "             Markdown. Exit status 3 when some match is no\n"
    "  capture    write FILE2, the settings file of the selection the machine\n"
    "             holds: each control in the state whose lines it holds exactly,\n"
    "             skip where it holds none or several; generating from it and\n"
    "             importing the scripts on that machine changes nothing\n"
    "  --windows  (the Linux build) a Windows XP system drive that is not running,\n"
    "             mounted at DIR: audit and capture read its hive files (--user\n"
    "             NAME: the profile whose NTUSER.DAT is HKEY_CURRENT_USER, needed\n"
    "             when it has several); apply writes the selection straight into\n"
    "             them, as importing hkcu.reg and hklm.reg would: HKEY_CURRENT_USER\n"
    "             into the Default User's and every profile's NTUSER.DAT (--user\n"
    "             NAME chooses some), CurrentControlSet into the control set\n"
    "             Select\\Current names. Hives that a Windows left in the middle of\n"
    "             a write, damaged or not writable stop it before any file\n"
    "             changes; each hive that changes is kept beside itself (or copied\n"
    "             into --backup-dir D) first, then replaced whole. --dry-run prints,\n"
    "             hive by hive, what would change. undo --windows puts back every\n"
    "             hive from its copy, refusing one changed since (--force)\n"
    "\n"
    "Files are written in full under a temporary name and then renamed, so a\n"
    "failure never leaves a half-written file.\n"
    "Exit status: 0 done, 1 a file could not be read or written, or is not a\n"
    "registry file REGEDIT imports, 2 usage error, 3 (audit) the machine does\n"
    "not hold what the selection writes.\n";

const char kVersion[] = "kwetro-cli " KWETRO_VERSION "\n";

struct Options {
  std::string command;
  std::string settings, out, format = "tsv";
  Format listing = Format::kTsv;  // as --format names it
  bool haveSettings = false;
  bool removeOthers = false;
  std::vector<Assignment> assignments;
};

}  // namespace

bool TakeValue(const std::vector<std::string>& args, std::size_t& i, ValueFlag& flag,
               std::string& reason) {
  if (flag.seen) {
    reason = args[i] + " given twice";
    return false;
  }
  if (i + 1 >= args.size() || args[i + 1].empty()) {
    reason = args[i] + " needs a value";
    return false;
  }
  *flag.value = args[++i];
  flag.seen = true;
  return true;
}

namespace {

bool Usage(std::string& err, const std::string& what) {
  err = "kwetro-cli: " + what + "\n";
  return false;
}

bool ParseArgs(const std::vector<std::string>& args, Options& o, std::string& err) {
  if (args.empty()) return Usage(err, "no command given");
  o.command = args[0];
  const bool list = o.command == "list", set = o.command == "set";
  if (o.command != "generate" && o.command != "settings" && !list && !set)
    return Usage(err, "unknown command '" + o.command + "'");
  ValueFlag settings{"--settings", &o.settings}, out{"--out", &o.out},
      format{"--format", &o.format};
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    ValueFlag* flag = a == settings.name         ? &settings
                      : a == out.name && !list   ? &out
                      : a == format.name && list ? &format
                                                 : nullptr;
    std::string error;
    if (a == "--remove-others" && o.command == "generate" && !o.removeOthers) {
      o.removeOthers = true;
      continue;
    }
    if (flag) {
      if (!TakeValue(args, i, *flag, error)) return Usage(err, error);
      continue;
    }
    if (!set || a.rfind("--", 0) == 0) return Usage(err, "unknown argument '" + a + "'");
    Assignment assignment;
    if (!ParseAssignment(a, assignment, error)) return Usage(err, error);
    o.assignments.push_back(assignment);
  }
  o.haveSettings = settings.seen;
  if ((o.command == "settings" || set) && !out.seen)
    return Usage(err, o.command + " needs --out FILE2");
  if (set && o.assignments.empty()) return Usage(err, "set needs NAME=VALUE");
  std::string error;
  return ParseFormat(o.format, o.listing, error) || Usage(err, error);
}

int Generate(const Options& o, const Selection& selection, std::string& out, std::string& err) {
  const std::vector<ScriptFile> files = ScriptFiles(selection, NewSetupVersion(LocalNow(), ""));
  for (const ScriptFile& file : files) {
    const std::string path = JoinPath(o.out, file.name);
    std::string reason;
    if (!WriteFileAtomically(path, file.bytes, reason)) {
      err = "kwetro-cli: cannot write registry script '" + path + "': " + reason + "\n";
      return kExitFailure;
    }
    out += path + "\n";
  }
  if (!o.removeOthers) return kExitOk;
  for (const std::string& name : ScriptFileNames()) {
    bool written = false;
    for (const ScriptFile& file : files) written = written || file.name == name;
    const std::string path = JoinPath(o.out, name);
    if (written || !FileExists(path)) continue;
    std::string reason;
    if (!DeleteFileAt(path, reason)) {
      err = "kwetro-cli: cannot remove '" + path + "': " + reason + "\n";
      return kExitFailure;
    }
    out += "removed " + path + "\n";
  }
  return kExitOk;
}

}  // namespace

bool RestoreSelection(const std::string& settings, Selection& selection, StoredSettings& stored,
                      std::string& err) {
  if (settings.empty()) return true;
  std::string reason;
  switch (LoadSettings(settings, selection, stored, reason)) {
    case LoadResult::kLoaded:
      return true;
    case LoadResult::kNoFile:
      reason = "No such file or directory";
      break;
    case LoadResult::kFailed:
      break;
  }
  err = "kwetro-cli: cannot read settings file '" + settings + "': " + reason + "\n";
  return false;
}

int SaveSelection(const std::string& path, const Selection& selection, std::string& out,
                  std::string& err) {
  std::string reason;
  switch (SaveSettings(path, selection, reason)) {
    case SaveResult::kSaved:
      out += path + "\n";
      return kExitOk;
    case SaveResult::kReadFailed:
      err = "kwetro-cli: cannot read settings file '" + path + "': " + reason + "\n";
      return kExitFailure;
    case SaveResult::kWriteFailed:
      break;
  }
  err = "kwetro-cli: cannot write settings file '" + path + "': " + reason + "\n";
  return kExitFailure;
}

int RunCli(const std::vector<std::string>& args, std::string& out, std::string& err) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    out = std::string(kUsage) + "\n" + kHelp;
    return kExitOk;
  }
  if (args.size() == 1 && args[0] == "--version") {
    out = kVersion;
    return kExitOk;
  }
#ifdef KWETRO_OFFLINE
  if (!args.empty() && args[0] == "apply") return RunApplyCommand(args, out, err);
  if (!args.empty() && args[0] == "undo" &&
      std::find(args.begin(), args.end(), "--windows") != args.end())
    return RunOfflineUndoCommand(args, out, err);
#else
  if (!args.empty() &&
      (args[0] == "apply" ||
       (args[0] == "undo" && std::find(args.begin(), args.end(), "--windows") != args.end()))) {
    err =
        "kwetro-cli: " + args[0] +
        " --windows writes the hive files of a Windows that is not running, which the Linux build "
        "of kwetro-cli does; here, import hkcu.reg and hklm.reg with regedit /s\n";
    return kExitUsage;
  }
#endif
  if (!args.empty() && args[0] == "undo") return RunUndoCommand(args, out, err);
  if (!args.empty() && args[0] == "audit") return RunAuditCommand(args, out, err);
  if (!args.empty() && args[0] == "capture") return RunCaptureCommand(args, out, err);
  Options o;
  if (!ParseArgs(args, o, err)) {
    err += kUsage;
    return kExitUsage;
  }
  Selection selection;
  StoredSettings stored;
  if (!RestoreSelection(o.haveSettings ? o.settings : "", selection, stored, err))
    return kExitFailure;
  if (o.command == "generate") return Generate(o, selection, out, err);
  if (o.command == "list") {
    out = ListControls(selection, o.listing);
    return kExitOk;
  }
  if (o.command == "set") {
    if (o.haveSettings)
      ApplyAssignments(o.assignments, selection, StoredServicesRead(stored.services));
    else
      ApplyAssignments(o.assignments, selection, NoStoredServices());
  }
  return SaveSelection(o.out, selection, out, err);
}

}  // namespace kwetro
