#include "undo/undo.h"

#include "options/text_encoding.h"
#include "undo/backup_scan.h"
#include "undo/reg_reader.h"
#include "undo/touch_tree.h"
#include "undo/undo_plan.h"

namespace kwetro::undo {
namespace {

bool Read(ByteSource& source, RegFileHandler& handler, FileKind kind, std::size_t input,
          UndoProblem& problem, std::vector<ReadWarnings>& warnings) {
  ReadProblem read;
  if (ReadRegFile(source, handler, kind, read, warnings[input])) return true;
  problem.kind = read.readFailure ? UndoProblem::Kind::kReadFailure : UndoProblem::Kind::kBadInput;
  problem.input = input;
  problem.line = read.line;
  problem.what = read.what;
  return false;
}

}  // namespace

bool MakeUndo(ByteSource& backup, const std::vector<ByteSource*>& scripts, const std::string& user,
              std::string& undoBytes, UndoProblem& problem, std::vector<ReadWarnings>& warnings) {
  warnings.assign(scripts.size() + 1, ReadWarnings());
  ScriptTouches touches;
  for (std::size_t i = 0; i < scripts.size(); ++i)
    if (!Read(*scripts[i], touches, FileKind::kScript, i + 1, problem, warnings)) return false;

  BackupScan scan(touches, Cp1251ToUtf16(Utf8ToCp1251(user)));
  if (!Read(backup, scan, FileKind::kExport, 0, problem, warnings)) return false;
  std::vector<UndoTree> trees;
  ScanProblem resolve;
  if (!scan.Resolve(trees, resolve)) {
    problem.kind = resolve.usage ? UndoProblem::Kind::kUsage : UndoProblem::Kind::kBadInput;
    problem.input = 0;
    problem.line = resolve.line;
    problem.what = resolve.what;
    return false;
  }
  undoBytes = WriteUndo(trees);
  return true;
}

}  // namespace kwetro::undo
