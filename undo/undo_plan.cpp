#include "undo/undo_plan.h"

#include "undo/reg_writer.h"

namespace kwetro::undo {
namespace {

bool CreatesAnything(const TouchNode& node) {
  if (node.created) return true;
  for (const TouchNode& child : node.children)
    if (CreatesAnything(child)) return true;
  return false;
}

struct Plan {
  RegWriter deletions;
  RegWriter writes;

  void Visit(const TouchNode& node, const std::u16string& path, bool top) {
    if (!top && !node.inBackup) {
      // Nothing below is in the backup either: the one deletion covers it.
      if (CreatesAnything(node)) deletions.DeleteKey(path);
      return;
    }
    if (node.deleted) {
      deletions.DeleteKey(path);
      for (const CapturedKey& key : node.subtree) {
        writes.Key(key.path.empty() ? path : path + u'\\' + key.path);
        for (const RegValue& value : key.values) writes.Value(value);
      }
      return;
    }
    if (!node.values.empty()) {
      writes.Key(path);
      for (const TouchedValue& value : node.values) {
        if (value.inBackup)
          writes.Value(value.backup);
        else
          writes.DeleteValue(value.rawName);
      }
    }
    for (const TouchNode& child : node.children) Visit(child, path + u'\\' + child.Name(), false);
  }
};

}  // namespace

std::string WriteUndo(const std::vector<UndoTree>& trees) {
  Plan plan;
  for (const UndoTree& tree : trees)
    plan.Visit(*tree.top, std::u16string(RootName(tree.root)), true);
  plan.deletions.Append(plan.writes);
  return plan.deletions.FileBytes();
}

}  // namespace kwetro::undo
