#include "undo/export_roots.h"

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

ExportRoots::ExportRoots(std::vector<Root> roots, std::u16string user)
    : roots_(std::move(roots)), user_(std::move(user)) {
  for (Root root : roots_) {
    AddPlace(root, root, {});
    for (const StandIn& s : kStandIns)
      if (s.root == root) AddPlace(root, s.under, s.path);
  }
}

bool ExportRoots::Wants(Root root) const {
  return std::find(roots_.begin(), roots_.end(), root) != roots_.end();
}

void ExportRoots::AddPlace(Root root, Root exportRoot, std::u16string_view prefix) {
  Place& p = places_.emplace_back();
  p.root = root;
  p.exportRoot = exportRoot;
  std::u16string_view component;
  while (NextComponent(prefix, component)) p.prefix.emplace_back(component);
}

void ExportRoots::NoteUser(std::u16string_view rest) {
  std::u16string_view sid;
  if (!NextComponent(rest, sid) || !IsInteractiveUser(sid)) return;
  if (!users_.empty() && EqualsIgnoringCase(users_.back(), sid)) return;
  for (const std::u16string& known : users_)
    if (EqualsIgnoringCase(known, sid)) return;
  users_.emplace_back(sid);
  if (Wants(Root::kCurrentUser) && (user_.empty() || EqualsIgnoringCase(user_, sid)))
    AddPlace(Root::kCurrentUser, Root::kUsers, sid);
}

const ExportRoots::Inside& ExportRoots::OnKey(const KeyLine& key) {
  inside_.clear();
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
  for (std::size_t i = 0; i < places_.size(); ++i) {
    Place& p = places_[i];
    if (p.exportRoot != key.root) continue;
    std::u16string_view rest = key.rest;
    bool inside = true;
    for (std::size_t c = 0; inside && c < p.prefix.size(); ++c)
      inside = NextComponent(rest, component) && EqualsIgnoringCase(component, p.prefix[c]);
    if (!inside) continue;
    std::u16string_view below = rest;
    if (!NextComponent(below, component)) p.seen = true;
    inside_.emplace_back(i, rest);
  }
  return inside_;
}

std::string ExportRoots::UserList() const {
  std::string list;
  for (const std::u16string& sid : users_) list += (list.empty() ? "" : ", ") + Utf16ToUtf8(sid);
  return list.empty() ? "none" : list;
}

bool ExportRoots::OneRootOnly(Root missing, ScanProblem& problem) const {
  if (wholeRoots_.size() != 1) return false;
  problem.what = "is an export of [" + Utf16ToUtf8(RootName(wholeRoots_[0])) +
                 "] alone, which backs only scripts that touch nothing else; these also touch [" +
                 Utf16ToUtf8(RootName(missing)) + "]";
  return true;
}

const ExportRoots::Place* ExportRoots::BelowExportedKey(Root root,
                                                        const ScriptTouches* touches) const {
  if (!touches || !oneKey_ || topPath_.empty() || topRoot_ != root) return nullptr;
  // Above the exported key the scripts may only name the way down to it: the
  // export says nothing of the values and other keys there.
  const TouchNode* node = &touches->Top(root);
  for (const std::u16string& component : topPath_) {
    if (!node->values.empty() || node->deleted || node->children.size() != 1) return nullptr;
    node = node->Find(component);
    if (!node) return nullptr;
  }
  for (const Place& p : places_)
    if (p.root == root && p.exportRoot == root && p.prefix.empty()) return &p;
  return nullptr;
}

const ExportRoots::Place* ExportRoots::Choose(Root root, const ScriptTouches* touches,
                                              ScanProblem& problem) const {
  const Place* own = nullptr;
  const Place* standIn = nullptr;
  std::vector<const Place*> userHives;
  for (const Place& p : places_) {
    if (p.root != root || !p.seen) continue;
    if (p.exportRoot == root)
      own = &p;
    else if (root == Root::kCurrentUser)
      userHives.push_back(&p);
    else
      standIn = &p;
  }
  if (root == Root::kCurrentUser) {
    // With a user chosen, only that user's hive has a place. Without one, a
    // section of the export's own comes first, then the one user's hive.
    if (user_.empty() && own) return own;
    if (user_.empty() && users_.size() > 1) {
      problem.usage = true;
      problem.what = "holds several users (" + UserList() +
                     "); choose the one the scripts were imported for with --user SID";
      return nullptr;
    }
    if (!userHives.empty()) return userHives[0];
    if (const Place* below = BelowExportedKey(root, touches)) return below;
    if (OneRootOnly(root, problem)) return nullptr;
    problem.what =
        "holds no user's hive (neither [HKEY_CURRENT_USER] nor [HKEY_USERS\\S-1-5-21-...]) for "
        "the scripts' HKEY_CURRENT_USER";
    return nullptr;
  }
  if (own) return own;
  if (standIn) return standIn;
  if (const Place* below = BelowExportedKey(root, touches)) return below;
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

bool ExportRoots::Resolve(std::vector<std::size_t>& places, ScanProblem& problem,
                          const ScriptTouches* touches) const {
  if (!user_.empty()) {
    bool known = false;
    for (const std::u16string& sid : users_) known = known || EqualsIgnoringCase(sid, user_);
    if (!known) {
      problem.usage = true;
      problem.what = "holds no user " + Utf16ToUtf8(user_) + " (its users: " + UserList() + ")";
      return false;
    }
  }
  places.clear();
  for (Root root : roots_) {
    const Place* p = Choose(root, touches, problem);
    if (!p) return false;
    places.push_back(static_cast<std::size_t>(p - places_.data()));
  }
  return true;
}

}  // namespace kwetro::undo
