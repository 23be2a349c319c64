// kwetro-cli apply, undo --windows, and the hives as the machine of audit and
// capture (offline/ does the work; these say it in words).
#include "app/cli.h"
#include "app/cli_commands.h"
#include "app/machine_commands.h"
#include "app/offline_commands.h"
#include "catalogue/generators.h"
#include "offline/hive_registry.h"
#include "options/text_encoding.h"

namespace kwetro {
namespace {

const char kApplyUsage[] =
    "usage: kwetro-cli apply --windows DIR [--settings FILE] [--user NAME]... [--backup-dir D] "
    "[--dry-run]\n";
const char kOfflineUndoUsage[] =
    "usage: kwetro-cli undo --windows DIR [--backup-dir D] [--force]\n";

struct OfflineOptions {
  std::string windows, settings, backupDir;
  std::vector<std::string> users;
  bool dryRun = false, force = false;
};

// The flags of apply (settings, users, dry run) or undo (force).
bool ParseOfflineArgs(const std::vector<std::string>& args, OfflineOptions& o, std::string& err) {
  const bool apply = args[0] == "apply";
  ValueFlag windows{"--windows", &o.windows}, settings{"--settings", &o.settings},
      backupDir{"--backup-dir", &o.backupDir};
  std::string reason;
  for (std::size_t i = 1; i < args.size() && reason.empty(); ++i) {
    const std::string& a = args[i];
    bool* flag = a == "--dry-run" && apply  ? &o.dryRun
                 : a == "--force" && !apply ? &o.force
                                            : nullptr;
    if (flag) {
      reason = *flag ? a + " given twice" : "";
      *flag = true;
      continue;
    }
    if (a == "--user" && apply) {
      if (i + 1 >= args.size() || args[i + 1].empty())
        reason = "--user needs a value";
      else
        o.users.push_back(args[++i]);
      continue;
    }
    ValueFlag* value = a == windows.name             ? &windows
                       : a == settings.name && apply ? &settings
                       : a == backupDir.name         ? &backupDir
                                                     : nullptr;
    if (!value)
      reason = "unknown argument '" + a + "'";
    else
      TakeValue(args, i, *value, reason);
  }
  if (reason.empty() && !windows.seen)
    reason = args[0] + " needs --windows DIR, the folder a Windows XP system drive is mounted at";
  if (reason.empty()) return true;
  err = "kwetro-cli: " + reason + "\n" + (apply ? kApplyUsage : kOfflineUndoUsage);
  return false;
}

int Failed(const offline::OfflineProblem& problem, std::string& err) {
  err += "kwetro-cli: " + problem.what + "\n";
  return problem.usage ? kExitUsage : kExitFailure;
}

std::string KeyText(const offline::Change& c) { return "[" + Utf16ToUtf8(c.path) + "]"; }

std::string ValueText(const offline::Change& c) {
  return KeyText(c) + " " + (c.name.empty() ? "@" : "\"" + Utf16ToUtf8(c.name) + "\"");
}

// A change as a line of words: the key (below the hive's root), the value,
// the data before and after.
std::string ChangeText(const offline::Change& c) {
  using Kind = offline::Edit::Kind;
  const std::string was = c.before ? " (was " + DataText(*c.before) + ")" : "";
  switch (c.kind) {
    case Kind::kKey:
      return KeyText(c) + " made";
    case Kind::kNoKey:
      return KeyText(c) + " deleted";
    case Kind::kValue:
      return ValueText(c) + "=" + DataText(c.after) + was;
    case Kind::kNoValue:
      return ValueText(c) + " deleted" + was;
  }
  return {};
}

std::string Count(std::size_t n, const char* one) {
  return std::to_string(n) + " " + one + (n == 1 ? "" : "s");
}

}  // namespace

int RunApplyCommand(const std::vector<std::string>& args, std::string& out, std::string& err) {
  OfflineOptions o;
  if (!ParseOfflineArgs(args, o, err)) return kExitUsage;
  Selection selection;
  StoredSettings stored;
  if (!RestoreSelection(o.settings, selection, stored, err)) return kExitFailure;
  offline::ApplyRequest request;
  request.root = o.windows;
  request.backupDir = o.backupDir;
  request.users = o.users;
  request.dryRun = o.dryRun;
  request.scripts = {BuildHkcuScript(selection).Bytes(), BuildHklmScript(selection).Bytes()};
  std::vector<offline::HiveOutcome> outcomes;
  offline::OfflineProblem problem;
  if (!offline::ApplyToImage(request, outcomes, problem)) {
    const int code = Failed(problem, err);
    if (problem.untouched) err += "kwetro-cli: no file was changed\n";
    return code;
  }
  for (const offline::HiveOutcome& h : outcomes) {
    out += h.hive.relative + ": ";
    if (h.changes.empty()) {
      out += "no change\n";
      continue;
    }
    out += Count(h.changes.size(), "change") +
           (o.dryRun ? " would be made\n" : " (its copy: " + h.copy + ")\n");
    for (const offline::Change& c : h.changes)
      if (o.dryRun) out += "  " + ChangeText(c) + "\n";
  }
  return kExitOk;
}

int RunOfflineUndoCommand(const std::vector<std::string>& args, std::string& out,
                          std::string& err) {
  OfflineOptions o;
  if (!ParseOfflineArgs(args, o, err)) return kExitUsage;
  offline::UndoRequest request{o.windows, o.backupDir, o.force};
  std::vector<std::string> restored;
  offline::OfflineProblem problem;
  if (!offline::UndoImage(request, restored, problem)) return Failed(problem, err);
  for (const std::string& hive : restored) out += hive + ": put back\n";
  if (restored.empty()) out += "every hive was already as before the apply\n";
  return kExitOk;
}

int ReadOfflineMachine(const std::string& root, const std::string& user, machine::Machine& machine,
                       std::string& err) {
  offline::HiveRegistry hives;
  std::vector<std::string> warnings;
  offline::OfflineProblem problem;
  const bool opened = hives.Open(root, user, warnings, problem);
  for (const std::string& w : warnings) err += "kwetro-cli: warning: " + w + "\n";
  if (!opened) return Failed(problem, err);
  machine = machine::ReadMachine(hives);
  return kExitOk;
}

}  // namespace kwetro
