// What the scripts touch, as one tree of keys per root, with what the backup
// says about each: whether the key exists there, how it spells the key's
// name, the data of each touched value, and the whole subtree of each key a
// script deletes.
#pragma once

#include <list>
#include <string>
#include <string_view>
#include <vector>

#include "undo/reg_names.h"
#include "undo/reg_reader.h"
#include "undo/reg_value.h"

namespace kwetro::undo {

struct TouchedValue {
  std::u16string name;     // escapes resolved, for comparing
  std::u16string rawName;  // as the scripts first wrote it
  bool inBackup = false;
  RegValue backup;
};

// A key of the backup below a deleted key, with its values, in the backup's
// order and spelling.
struct CapturedKey {
  std::u16string path;  // below the deleted key; empty for the key itself
  std::vector<RegValue> values;
};

struct TouchNode {
  std::u16string scriptName;  // as the scripts first spelled it
  std::u16string backupName;  // as the backup spells it, once seen there
  bool created = false;       // a script's key line names it
  bool deleted = false;       // a script deletes it with its subtree
  bool inBackup = false;
  std::vector<TouchedValue> values;
  std::vector<CapturedKey> subtree;  // when deleted and in the backup
  std::list<TouchNode> children;     // in the order the scripts first name them

  TouchNode* Find(std::u16string_view name);
  const TouchNode* Find(std::u16string_view name) const {
    return const_cast<TouchNode*>(this)->Find(name);
  }
  TouchNode& FindOrAdd(std::u16string_view name);
  const std::u16string& Name() const { return inBackup ? backupName : scriptName; }
};

// The scripts' touches of every root, in the order the scripts first name
// the roots.
class ScriptTouches : public RegFileHandler {
 public:
  bool OnKey(const KeyLine& key) override;
  void OnValue(const ValueLine& value) override;

  bool Touches(Root root) const;
  const TouchNode& Top(Root root) const { return top_[static_cast<int>(root)]; }
  const std::vector<Root>& RootOrder() const { return order_; }

 private:
  TouchNode top_[kRootCount];
  std::vector<Root> order_;
  TouchNode* current_ = nullptr;  // the key values go to; none after a deletion
};

}  // namespace kwetro::undo
