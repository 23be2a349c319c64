#include "offline/apply.h"

#include "offline/backup_list.h"
#include "offline/files.h"
#include "offline/hive_header.h"

namespace kwetro::offline {
namespace {

constexpr char kCopySuffix[] = ".kwetro-backup";

// The hives of the image, checked, with the control set and the profiles.
struct Prepared {
  Image image;
  std::vector<HiveFile> hives;  // system, software, default, the users
  std::u16string controlSet;
};

bool Prepare(const std::string& root, const std::vector<std::string>& users, Prepared& p,
             OfflineProblem& problem) {
  std::string what, reason;
  if (!FindImage(root, p.image, what)) return Fail(problem, what);
  for (const HiveFile& hive : p.image.machine)
    if (!CheckHiveFile(hive, what)) return Fail(problem, what);
  {
    const auto system = Hive::Open(p.image.machine[0].path, false, reason);
    if (!system)
      return Fail(problem, "cannot read the hive " + p.image.machine[0].path + ": " + reason);
    if (!CurrentControlSet(*system, p.controlSet, what))
      return Fail(problem, "the hive " + p.image.machine[0].path + ": " + what);
  }
  const auto software = Hive::Open(p.image.machine[1].path, false, reason);
  if (!software)
    return Fail(problem, "cannot read the hive " + p.image.machine[1].path + ": " + reason);
  p.hives.assign(std::begin(p.image.machine), std::end(p.image.machine));
  bool usage = false;
  if (!FindUserHives(p.image, *software, users, p.hives, what, usage))
    return Fail(problem, what, usage);
  for (std::size_t i = 3; i < p.hives.size(); ++i)
    if (!CheckHiveFile(p.hives[i], what)) return Fail(problem, what);
  return true;
}

std::string CopyPath(const HiveFile& hive, const std::string& backupDir, std::string& recorded) {
  if (backupDir.empty()) {
    recorded = hive.relative + kCopySuffix;
    return hive.path + kCopySuffix;
  }
  recorded = hive.kind == HiveKind::kUser ? hive.label + ".NTUSER.DAT" : hive.label;
  return Join(backupDir, recorded);
}

bool ReadsWhole(const std::string& path, std::string& reason) {
  const auto hive = Hive::Open(path, false, reason);
  return hive && hive->Walk(reason);
}

// Writes the hive with its edits to its new file beside it and reads that
// back; the changes say what differs.
bool WriteNewHive(const HiveFile& hive, const std::vector<const Edit*>& edits, bool dryRun,
                  std::vector<Change>& changes, OfflineProblem& problem) {
  std::string reason;
  auto open = Hive::Open(hive.path, true, reason);
  if (!open || !open->Walk(reason))
    return Fail(problem, "cannot read the hive " + hive.path + ": " + reason);
  if (!ApplyEdits(*open, edits, changes, reason))
    return Fail(problem, "cannot change the hive " + hive.path + ": " + reason);
  if (dryRun || changes.empty()) return true;
  const std::string fresh = hive.path + kNewSuffix;
  RemoveFile(fresh);  // libhivex would write through a link planted at the name
  bool written = open->Commit(fresh, reason);
  if (written) KeepMode(hive.path, fresh);
  written = written && SyncFile(fresh, reason);
  open.reset();  // one hive in memory at a time
  if (!written) {
    RemoveFile(fresh);
    return Fail(problem, "cannot write " + fresh + ": " + reason);
  }
  std::string header;
  if (!ReadStart(fresh, kHeaderBytes, header, reason) ||
      ReadHiveHeader(header).state != HiveHeader::State::kClean || !ReadsWhole(fresh, reason)) {
    RemoveFile(fresh);
    return Fail(problem, "the hive written to " + fresh + " does not read back: " + reason);
  }
  return true;
}

// Keeps the hive's bytes under the copy's name: a second link to its file
// where the file system has links (the hive is replaced by a rename and
// never written into, so its old file stays as it is under that name; nothing
// is written but a name), else a copy, synced and compared byte for byte.
bool KeepCopy(const std::string& from, const std::string& to, std::string& before,
              std::string& reason) {
  if (!Fingerprint(from, before, reason)) return false;
  if (LinkSynced(from, to)) return true;
  std::string copied;
  if (!CopySynced(from, to, reason) || !Fingerprint(to, copied, reason)) return false;
  if (copied != before) {
    reason = "the copy " + to + " differs from " + from;
    return false;
  }
  return true;
}

// What an apply has written so far beside the image's hives: the new hives
// and the copies of the old ones, removed again when it cannot go on.
struct Written {
  std::vector<std::string> fresh, copies;

  bool Drop(OfflineProblem& problem, const std::string& what) {
    for (const std::string& f : fresh) RemoveFile(f);
    for (const std::string& c : copies) RemoveFile(c);
    return Fail(problem, what);
  }
};

// Every hive with edits written to its new file first: a problem here leaves
// the hives untouched.
bool WriteNewHives(const ApplyRequest& request, const Prepared& p, const std::vector<Edit>& edits,
                   std::vector<HiveOutcome>& outcomes, Written& written, OfflineProblem& problem) {
  std::string reason;
  outcomes.clear();
  for (const HiveFile& hive : p.hives) {
    std::vector<const Edit*> mine;
    for (const Edit& e : edits)
      if (e.place.hive == hive.kind) mine.push_back(&e);
    HiveOutcome& outcome = outcomes.emplace_back();
    outcome.hive = hive;
    if (mine.empty()) continue;
    if (!request.dryRun && !Replaceable(hive.path, reason))
      return written.Drop(problem, "cannot replace the hive " + hive.path + ": " + reason);
    if (!WriteNewHive(hive, mine, request.dryRun, outcome.changes, problem))
      return written.Drop(problem, problem.what);
    if (!request.dryRun && !outcome.changes.empty()) written.fresh.push_back(hive.path + kNewSuffix);
  }
  return true;
}

// The copies of the hives about to be replaced, read back, and their list.
bool KeepCopies(const ApplyRequest& request, const std::string& list,
                std::vector<HiveOutcome>& outcomes, Written& written, OfflineProblem& problem) {
  std::string reason;
  std::vector<BackupEntry> entries;
  for (HiveOutcome& outcome : outcomes) {
    if (outcome.changes.empty()) continue;
    BackupEntry& entry = entries.emplace_back();
    entry.hive = outcome.hive.relative;
    outcome.copy = CopyPath(outcome.hive, request.backupDir, entry.copy);
    written.copies.push_back(outcome.copy);
    if (!KeepCopy(outcome.hive.path, outcome.copy, entry.before, reason) ||
        !Fingerprint(outcome.hive.path + kNewSuffix, entry.after, reason))
      return written.Drop(problem, "cannot copy the hive " + outcome.hive.path + ": " + reason);
  }
  if (!WriteSynced(list, FormatBackupList(entries), reason))
    return written.Drop(problem, "cannot write the list of copies: " + reason);
  return true;
}

// The new hives into place; when one cannot be, the ones before it are put
// back from their copies.
bool ReplaceHives(const ApplyRequest& request, const std::string& list,
                  const std::vector<HiveOutcome>& outcomes, Written& written,
                  OfflineProblem& problem) {
  std::string reason;
  std::vector<const HiveOutcome*> replaced;
  for (const HiveOutcome& outcome : outcomes) {
    if (outcome.changes.empty()) continue;
    if (!RenameSynced(outcome.hive.path + kNewSuffix, outcome.hive.path, reason)) {
      const std::string what = "cannot replace the hive " + outcome.hive.path + ": " + reason;
      bool back = true;
      for (const HiveOutcome* done : replaced)
        back = back && ReplaceWithCopy(done->copy, done->hive.path, reason);
      problem.untouched = back;
      if (!back) {
        written.copies.clear();  // the only way back now
        return written.Drop(problem, what + "; putting back the hives replaced before failed (" +
                                         reason + "): kwetro-cli undo --windows puts them back");
      }
      RemoveFile(list);
      return written.Drop(problem, what + "; the hives replaced before it were put back");
    }
    replaced.push_back(&outcome);
    if (request.afterReplace) request.afterReplace(outcome.hive);
  }
  return true;
}

}  // namespace

std::string BackupListPath(const Image& image, const std::string& backupDir) {
  return Join(backupDir.empty() ? image.config : backupDir, kBackupListName);
}

bool ApplyToImage(const ApplyRequest& request, std::vector<HiveOutcome>& outcomes,
                  OfflineProblem& problem) {
  Prepared p;
  if (!Prepare(request.root, request.users, p, problem)) return false;
  std::vector<Edit> edits;
  std::string what;
  if (!EditsOf(request.scripts, p.controlSet, edits, what))
    return Fail(problem, "the registry scripts cannot be applied: " + what);
  const std::string list = BackupListPath(p.image, request.backupDir);
  if (!request.dryRun && Exists(list))
    return Fail(problem,
                "an earlier apply's copies are listed in " + list +
                    ": undo it first (kwetro-cli undo --windows " + request.root +
                    (request.backupDir.empty() ? "" : " --backup-dir " + request.backupDir) +
                    "), or remove the list to keep its changes");
  Written written;
  if (!WriteNewHives(request, p, edits, outcomes, written, problem)) return false;
  if (request.dryRun || written.fresh.empty()) return true;
  return KeepCopies(request, list, outcomes, written, problem) &&
         ReplaceHives(request, list, outcomes, written, problem);
}

}  // namespace kwetro::offline
