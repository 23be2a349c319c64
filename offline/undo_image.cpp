#include "offline/apply.h"
#include "offline/backup_list.h"
#include "offline/files.h"

namespace kwetro::offline {

bool UndoImage(const UndoRequest& request, std::vector<std::string>& restored,
               OfflineProblem& problem) {
  Image image;
  std::string what, reason, text;
  if (!FindImage(request.root, image, what)) return Fail(problem, what);
  const std::string list = BackupListPath(image, request.backupDir);
  const std::string base = request.backupDir.empty() ? request.root : request.backupDir;
  if (!ReadStart(list, 1 << 20, text, reason))
    return Fail(problem,
                "no apply to undo: cannot read its list of copies " + list + ": " + reason);
  std::vector<BackupEntry> entries;
  if (!ParseBackupList(text, entries))
    return Fail(problem, list + " is not a list of copies Kwetro wrote");

  std::vector<const BackupEntry*> todo;
  for (const BackupEntry& e : entries) {
    const std::string hive = Join(request.root, e.hive), copy = Join(base, e.copy);
    std::string now, copied;
    if (!Fingerprint(copy, copied, reason))
      return Fail(problem, "cannot read the copy " + copy + ": " + reason);
    if (copied != e.before)
      return Fail(problem, "the copy " + copy + " is not the hive it was copied from");
    if (!Fingerprint(hive, now, reason))
      return Fail(problem, "cannot read the hive " + hive + ": " + reason);
    if (now == e.before) continue;  // never replaced (an apply stopped short)
    if (now != e.after && !request.force)
      return Fail(problem, "the hive " + hive +
                               " changed since the apply (the system ran, or another tool wrote "
                               "it): putting back the copy would lose that; --force puts it back "
                               "all the same");
    if (!Replaceable(hive, reason))
      return Fail(problem, "cannot replace the hive " + hive + ": " + reason);
    todo.push_back(&e);
  }
  for (const BackupEntry* e : todo) {
    const std::string hive = Join(request.root, e->hive), copy = Join(base, e->copy);
    if (!ReplaceWithCopy(copy, hive, reason)) {
      return Fail(problem, "cannot put back the hive " + hive + ": " + reason +
                               " (the hives before it are back; run undo again)");
    }
    restored.push_back(e->hive);
  }
  for (const BackupEntry& e : entries) {
    RemoveFile(Join(request.root, e.hive) + kNewSuffix);
    RemoveFile(Join(base, e.copy));
  }
  RemoveFile(list);
  return true;
}

}  // namespace kwetro::offline
