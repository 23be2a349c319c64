#include "undo/backup_scan.h"

#include <algorithm>

#include "options/text_encoding.h"

namespace kwetro::undo {

BackupScan::BackupScan(const ScriptTouches& touches, std::u16string user)
    : touches_(touches), roots_(touches.RootOrder(), std::move(user)) {}

bool BackupScan::OnKey(const KeyLine& key) {
  valueTargets_.clear();
  captureTargets_.clear();
  for (const auto& [place, below] : roots_.OnKey(key)) {
    while (tops_.size() <= place) tops_.push_back(touches_.Top(roots_.RootOf(tops_.size())));
    Walk(tops_[place], below);
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

bool BackupScan::Resolve(std::vector<UndoTree>& trees, ScanProblem& problem) const {
  if (!unreadable_.what.empty()) {
    problem = unreadable_;
    return false;
  }
  std::vector<std::size_t> places;
  if (!roots_.Resolve(places, problem, &touches_)) return false;
  trees.clear();
  for (std::size_t place : places) trees.push_back({roots_.RootOf(place), &tops_[place]});
  return true;
}

}  // namespace kwetro::undo
