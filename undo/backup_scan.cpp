#include "undo/backup_scan.h"

#include <algorithm>
#include <utility>

#include "options/text_encoding.h"

namespace kwetro::undo {
namespace {

// Roots that are links into another root's keys.
struct StandIn {
  Root root;
  Root under;
  std::u16string_view path;
};
constexpr StandIn kStandIns[] = {
    {Root::kClassesRoot, Root::kLocalMachine, u"Software\\Classes"},
    {Root::kCurrentConfig, Root::kLocalMachine,
     u"SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current"},
};

constexpr std::u16string_view kUserPrefix = u"S-1-5-21-";
constexpr std::u16string_view kClassesSuffix = u"_Classes";

bool IsInteractiveUser(std::u16string_view sid) {
  return sid.size() > kUserPrefix.size() &&
         EqualsIgnoringCase(sid.substr(0, kUserPrefix.size()), kUserPrefix) &&
         !(sid.size() > kClassesSuffix.size() &&
           EqualsIgnoringCase(sid.substr(sid.size() - kClassesSuffix.size()), kClassesSuffix));
}

}  // namespace

BackupScan::BackupScan(const ScriptTouches& touches, std::u16string user)
    : touches_(touches), user_(std::move(user)) {
  for (Root root : touches.RootOrder()) {
    AddMount(root, root, {});
    for (const StandIn& s : kStandIns)
      if (s.root == root) AddMount(root, s.under, s.path);
  }
}

void BackupScan::AddMount(Root root, Root backupRoot, std::u16string_view prefix) {
  Mount& m = mounts_.emplace_back();
  m.root = root;
  m.backupRoot = backupRoot;
  std::u16string_view component;
  while (NextComponent(prefix, component)) m.prefix.emplace_back(component);
  m.top = touches_.Top(root);
}

void BackupScan::NoteUser(std::u16string_view rest) {
  std::u16string_view sid;
  if (!NextComponent(rest, sid) || !IsInteractiveUser(sid)) return;
  if (!users_.empty() && EqualsIgnoringCase(users_.back(), sid)) return;
  for (const std::u16string& known : users_)
    if (EqualsIgnoringCase(known, sid)) return;
  users_.emplace_back(sid);
  if (touches_.Touches(Root::kCurrentUser) && (user_.empty() || EqualsIgnoringCase(user_, sid)))
    AddMount(Root::kCurrentUser, Root::kUsers, sid);
}

bool BackupScan::OnKey(const KeyLine& key) {
  valueTargets_.clear();
  captureTargets_.clear();
  if (std::exchange(first_, false)) {
    topRoot_ = key.root;
    topSpelling_ = key.rest;
    std::u16string_view rest = key.rest, component;
    while (NextComponent(rest, component)) topPath_.emplace_back(component);
  } else if (oneKey_) {
    std::u16string_view rest = key.rest, component;
    bool below = key.root == topRoot_;
    for (std::size_t i = 0; below && i < topPath_.size(); ++i)
      below = NextComponent(rest, component) && EqualsIgnoringCase(component, topPath_[i]);
    oneKey_ = below;
  }
  if (key.root == Root::kUsers) NoteUser(key.rest);
  std::u16string_view top = key.rest, component;
  if (!NextComponent(top, component) &&
      std::find(wholeRoots_.begin(), wholeRoots_.end(), key.root) == wholeRoots_.end())
    wholeRoots_.push_back(key.root);
  for (Mount& m : mounts_) {
    if (m.backupRoot != key.root) continue;
    std::u16string_view rest = key.rest, component;
    bool inside = true;
    for (std::size_t i = 0; inside && i < m.prefix.size(); ++i)
      inside = NextComponent(rest, component) && EqualsIgnoringCase(component, m.prefix[i]);
    if (!inside) continue;
    std::u16string_view below = rest;
    if (!NextComponent(below, component)) m.seen = true;
    Walk(m.top, rest);
  }
  return !valueTargets_.empty() || !captureTargets_.empty();
}

// Follows the key down the tree of touched keys, as far as the scripts touch.
void BackupScan::Walk(TouchNode& top, std::u16string_view rest) {
  TouchNode* node = &top;
  node->inBackup = true;
  std::u16string_view component;
  for (;;) {
    if (node->deleted) {
      rest.remove_prefix(std::min(rest.find_first_not_of(u'\\'), rest.size()));
      node->subtree.push_back({std::u16string(rest), {}});
      captureTargets_.emplace_back(node, node->subtree.size() - 1);
      return;
    }
    if (!NextComponent(rest, component)) break;
    node = node->Find(component);
    if (!node) return;
    if (!node->inBackup) {
      node->inBackup = true;
      node->backupName = component;
    }
  }
  if (!node->values.empty()) valueTargets_.push_back(node);
}

void BackupScan::OnValue(const ValueLine& value) {
  if (!value.rejected.empty()) {
    bool needed = !captureTargets_.empty();
    for (const TouchNode* node : valueTargets_)
      for (const TouchedValue& touched : node->values)
        needed = needed || EqualsIgnoringCase(touched.name, value.name);
    if (needed && unreadable_.what.empty()) {
      unreadable_.line = value.line;
      unreadable_.what = "the value \"" + Utf16ToUtf8(value.name) +
                         "\", which the scripts touch, is in a line REGEDIT does not import (" +
                         std::string(value.rejected) + "): its data are unknown";
    }
    return;
  }
  for (const auto& [node, index] : captureTargets_)
    node->subtree[index].values.push_back(ToRegValue(value));
  for (TouchNode* node : valueTargets_) {
    for (TouchedValue& touched : node->values) {
      if (!EqualsIgnoringCase(touched.name, value.name)) continue;
      touched.inBackup = true;
      touched.backup = ToRegValue(value);
    }
  }
}

std::string BackupScan::UserList() const {
  std::string list;
  for (const std::u16string& sid : users_) list += (list.empty() ? "" : ", ") + Utf16ToUtf8(sid);
  return list.empty() ? "none" : list;
}

bool BackupScan::OneRootOnly(Root missing, ScanProblem& problem) const {
  if (wholeRoots_.size() != 1) return false;
  problem.what = "is an export of [" + Utf16ToUtf8(RootName(wholeRoots_[0])) +
                 "] alone, which backs only scripts that touch nothing else; these also touch [" +
                 Utf16ToUtf8(RootName(missing)) + "]";
  return true;
}

const BackupScan::Mount* BackupScan::BelowExportedKey(Root root) const {
  if (!oneKey_ || topPath_.empty() || topRoot_ != root) return nullptr;
  // Above the exported key the scripts may only name the way down to it: the
  // export says nothing of the values and other keys there.
  const TouchNode* node = &touches_.Top(root);
  for (const std::u16string& component : topPath_) {
    if (!node->values.empty() || node->deleted || node->children.size() != 1) return nullptr;
    node = node->Find(component);
    if (!node) return nullptr;
  }
  for (const Mount& m : mounts_)
    if (m.root == root && m.backupRoot == root && m.prefix.empty()) return &m;
  return nullptr;
}

const BackupScan::Mount* BackupScan::Choose(Root root, ScanProblem& problem) const {
  const Mount* own = nullptr;
  const Mount* standIn = nullptr;
  std::vector<const Mount*> userHives;
  for (const Mount& m : mounts_) {
    if (m.root != root || !m.seen) continue;
    if (m.backupRoot == root)
      own = &m;
    else if (root == Root::kCurrentUser)
      userHives.push_back(&m);
    else
      standIn = &m;
  }
  if (root == Root::kCurrentUser) {
    // With --user, only that user's hive has a mount. Without it, a section
    // of the backup's own comes first, then the one user's hive.
    if (user_.empty() && own) return own;
    if (user_.empty() && users_.size() > 1) {
      problem.usage = true;
      problem.what = "holds several users (" + UserList() +
                     "); choose the one the scripts were imported for with --user SID";
      return nullptr;
    }
    if (!userHives.empty()) return userHives[0];
    if (const Mount* below = BelowExportedKey(root)) return below;
    if (OneRootOnly(root, problem)) return nullptr;
    problem.what =
        "holds no user's hive (neither [HKEY_CURRENT_USER] nor [HKEY_USERS\\S-1-5-21-...]) for "
        "the scripts' HKEY_CURRENT_USER";
    return nullptr;
  }
  if (own) return own;
  if (standIn) return standIn;
  if (const Mount* below = BelowExportedKey(root)) return below;
  if (OneRootOnly(root, problem)) return nullptr;
  problem.what = "holds no key [" + Utf16ToUtf8(RootName(root)) + "]";
  for (const StandIn& s : kStandIns)
    if (s.root == root)
      problem.what += " nor [" + Utf16ToUtf8(RootName(s.under)) + "\\" + Utf16ToUtf8(s.path) + "]";
  problem.what += ": it must be an export of the whole registry (REGEDIT /E without a key)";
  if (oneKey_ && !topPath_.empty() && topRoot_ == root)
    problem.what += "; an export of one key, as of [" + Utf16ToUtf8(RootName(topRoot_)) + "\\" +
                    Utf16ToUtf8(topSpelling_) + "], serves only where nothing outside it is needed";
  return nullptr;
}

bool BackupScan::Resolve(std::vector<UndoTree>& trees, ScanProblem& problem) const {
  if (!unreadable_.what.empty()) {
    problem = unreadable_;
    return false;
  }
  if (!user_.empty()) {
    bool known = false;
    for (const std::u16string& sid : users_) known = known || EqualsIgnoringCase(sid, user_);
    if (!known) {
      problem.usage = true;
      problem.what = "holds no user " + Utf16ToUtf8(user_) + " (its users: " + UserList() + ")";
      return false;
    }
  }
  trees.clear();
  for (Root root : touches_.RootOrder()) {
    const Mount* m = Choose(root, problem);
    if (!m) return false;
    trees.push_back({root, &m->top});
  }
  return true;
}

}  // namespace kwetro::undo
