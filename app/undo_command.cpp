#include "app/undo_command.h"

#include <memory>

#include "app/cli.h"
#include "app/cli_commands.h"
#include "app/file_io.h"
#include "app/reg_file_source.h"
#include "undo/undo.h"

namespace kwetro {
namespace {

const char kUndoUsage[] =
    "usage: kwetro-cli undo --backup BACKUP.reg [--out DIR] [--user SID] SCRIPT.reg...\n";

struct UndoOptions {
  std::string backup, out, user;
  std::vector<std::string> scripts;
};

bool ParseUndoArgs(const std::vector<std::string>& args, UndoOptions& o, std::string& err) {
  ValueFlag flags[] = {{"--backup", &o.backup}, {"--out", &o.out}, {"--user", &o.user}};
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.rfind("-", 0) != 0) {
      o.scripts.push_back(a);
      continue;
    }
    ValueFlag* flag = nullptr;
    for (ValueFlag& f : flags)
      if (a == f.name) flag = &f;
    std::string reason = "unknown argument '" + a + "'";
    if (!flag || !TakeValue(args, i, *flag, reason)) {
      err = "kwetro-cli: " + reason + "\n";
      return false;
    }
  }
  if (!flags[0].seen) {
    err = "kwetro-cli: undo needs --backup BACKUP.reg\n";
    return false;
  }
  if (o.scripts.empty()) {
    err = "kwetro-cli: undo needs the registry scripts whose changes it undoes\n";
    return false;
  }
  return true;
}

}  // namespace

int RunUndoCommand(const std::vector<std::string>& args, std::string& out, std::string& err) {
  UndoOptions o;
  if (!ParseUndoArgs(args, o, err)) {
    err += kUndoUsage;
    return kExitUsage;
  }
  std::vector<std::string> paths = {o.backup};
  paths.insert(paths.end(), o.scripts.begin(), o.scripts.end());
  std::vector<std::unique_ptr<FileSource>> files;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    std::string reason;
    files.push_back(std::make_unique<FileSource>());
    if (!files.back()->Open(paths[i], reason)) {
      err = ProblemLine(i == 0 ? "backup" : "script", paths[i], true, 0, reason);
      return kExitFailure;
    }
  }
  std::vector<undo::ByteSource*> scripts;
  for (std::size_t i = 1; i < files.size(); ++i) scripts.push_back(files[i].get());

  std::string bytes;
  undo::UndoProblem problem;
  std::vector<undo::ReadWarnings> warnings;
  const bool made = undo::MakeUndo(*files[0], scripts, o.user, bytes, problem, warnings);
  std::string passedOver;
  for (std::size_t i = 0; i < warnings.size(); ++i)
    passedOver += WarningLines(paths[i], warnings[i]);
  if (!made) {
    using Kind = undo::UndoProblem::Kind;
    err += ProblemLine(problem.input == 0 ? "backup" : "script", paths[problem.input],
                       problem.kind == Kind::kReadFailure, problem.line, problem.what) +
           passedOver;
    return problem.kind == Kind::kUsage ? kExitUsage : kExitFailure;
  }
  err += passedOver;
  const std::string target = JoinPath(o.out, "undo.reg");
  std::string reason;
  if (!WriteFileAtomically(target, bytes, reason)) {
    err += "kwetro-cli: cannot write undo file '" + target + "': " + reason + "\n";
    return kExitFailure;
  }
  out += target + "\n";
  return kExitOk;
}

}  // namespace kwetro
