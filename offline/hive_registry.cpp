#include "offline/hive_registry.h"

#include "undo/reg_names.h"

namespace kwetro::offline {

bool HiveRegistry::Open(const std::string& root, const std::string& user,
                        std::vector<std::string>& warnings, OfflineProblem& problem) {
  Image image;
  std::string what, reason;
  const auto fail = [&](std::string text, bool usage = false) {
    problem.what = std::move(text);
    problem.usage = usage;
    return false;
  };
  if (!FindImage(root, image, what)) return fail(what);
  for (const HiveFile& hive : image.machine) {
    if (!CheckHiveFile(hive, what)) warnings.push_back(what);
    hives_[static_cast<int>(hive.kind)] = Hive::Open(hive.path, false, reason);
    if (!hives_[static_cast<int>(hive.kind)])
      return fail("cannot read the hive " + hive.path + ": " + reason);
  }
  if (!CurrentControlSet(*hives_[0], controlSet_, what))
    return fail("the hive " + image.machine[0].path + ": " + what);
  std::vector<HiveFile> users;
  bool usage = false;
  if (!FindUserHives(image, *hives_[1],
                     user.empty() ? std::vector<std::string>{} : std::vector<std::string>{user},
                     users, what, usage))
    return fail(what, usage);
  if (user.empty() && users.size() > 2) {
    std::string names;
    for (const HiveFile& u : users) names += (names.empty() ? "" : ", ") + u.label;
    return fail("the system has several profiles (" + names + "): choose one with --user NAME",
                true);
  }
  user_ = users.back();
  if (!CheckHiveFile(user_, what)) warnings.push_back(what);
  hives_[static_cast<int>(HiveKind::kUser)] = Hive::Open(user_.path, false, reason);
  if (!hives_[static_cast<int>(HiveKind::kUser)])
    return fail("cannot read the hive " + user_.path + ": " + reason);
  return true;
}

Hive::Node HiveRegistry::Node(undo::Root root, std::u16string_view path, const Hive*& hive) const {
  Place place;
  std::string why;
  if (!Route(root, path, controlSet_, place, why)) return 0;
  hive = hives_[static_cast<int>(place.hive)].get();
  return hive ? hive->Find(place.path) : 0;
}

machine::Found HiveRegistry::Key(undo::Root root, std::u16string_view path) const {
  const Hive* hive = nullptr;
  return Node(root, path, hive) ? machine::Found::kPresent : machine::Found::kAbsent;
}

machine::Found HiveRegistry::Value(undo::Root root, std::u16string_view path,
                                   std::u16string_view name, machine::RegData& data) const {
  const Hive* hive = nullptr;
  const Hive::Node node = Node(root, path, hive);
  if (!node) return machine::Found::kAbsent;
  std::vector<Hive::Value> values;
  std::string reason;
  if (!hive->Values(node, values, reason)) return machine::Found::kUnreadable;
  for (Hive::Value& v : values) {
    if (!undo::EqualsIgnoringCase(v.name, name)) continue;
    data = std::move(v.data);
    return machine::Found::kPresent;
  }
  return machine::Found::kAbsent;
}

}  // namespace kwetro::offline
