#include "offline/hive_edit.h"

#include "undo/reg_names.h"

namespace kwetro::offline {
namespace {

// The key at the path, made with the keys above it where missing; made says
// whether any was.
Hive::Node MakeKey(Hive& hive, std::u16string_view path, bool& made, std::string& reason) {
  Hive::Node node = hive.Root();
  made = false;
  for (std::u16string_view component; node && undo::NextComponent(path, component);) {
    const Hive::Node child = hive.Child(node, component);
    if (child) {
      node = child;
      continue;
    }
    node = hive.AddChild(node, component, reason);
    made = true;
  }
  return node;
}

std::size_t FindValue(const std::vector<Hive::Value>& values, std::u16string_view name) {
  for (std::size_t i = 0; i < values.size(); ++i)
    if (undo::EqualsIgnoringCase(values[i].name, name)) return i;
  return values.size();
}

class Editor {
 public:
  Editor(Hive& hive, std::vector<Change>& changes, std::string& reason)
      : hive_(hive), changes_(changes), reason_(reason) {}

  bool Do(const Edit& edit) {
    switch (edit.kind) {
      case Edit::Kind::kKey:
        return Key(edit);
      case Edit::Kind::kNoKey:
        return NoKey(edit);
      case Edit::Kind::kValue:
        return Value(edit);
      case Edit::Kind::kNoValue:
        return NoValue(edit);
    }
    return false;
  }

 private:
  Change& Record(const Edit& edit) {
    Change& change = changes_.emplace_back();
    change.kind = edit.kind;
    change.path = edit.place.path;
    change.name = edit.name;
    return change;
  }

  bool Key(const Edit& edit) {
    bool made = false;
    if (!MakeKey(hive_, edit.place.path, made, reason_)) return false;
    if (made) Record(edit);
    return true;
  }

  bool NoKey(const Edit& edit) {
    if (edit.place.path.empty()) {
      reason_ = "a deletion of the hive's root key";
      return false;
    }
    const Hive::Node node = hive_.Find(edit.place.path);
    if (!node) return true;
    if (!hive_.DeleteChild(node, reason_)) return false;
    Record(edit);
    return true;
  }

  bool Value(const Edit& edit) {
    bool made = false;
    const Hive::Node node = MakeKey(hive_, edit.place.path, made, reason_);
    if (!node || !hive_.Values(node, values_, reason_)) return false;
    const std::size_t at = FindValue(values_, edit.name);
    Hive::Value value{edit.name, edit.data};
    std::optional<machine::RegData> before;
    if (at < values_.size()) {
      if (values_[at].data == edit.data) return true;
      before = values_[at].data;
      value.name = values_[at].name;  // the registry keeps a value's spelling
    }
    if (!hive_.SetValue(node, value, reason_)) return false;
    Change& change = Record(edit);
    change.before = std::move(before);
    change.after = edit.data;
    return true;
  }

  bool NoValue(const Edit& edit) {
    const Hive::Node node = hive_.Find(edit.place.path);
    if (!node) return true;
    if (!hive_.Values(node, values_, reason_)) return false;
    const std::size_t at = FindValue(values_, edit.name);
    if (at == values_.size()) return true;
    const machine::RegData before = values_[at].data;
    values_.erase(values_.begin() + static_cast<std::ptrdiff_t>(at));
    if (!hive_.SetValues(node, values_, reason_)) return false;
    Record(edit).before = before;
    return true;
  }

  Hive& hive_;
  std::vector<Change>& changes_;
  std::string& reason_;
  std::vector<Hive::Value> values_;
};

}  // namespace

bool ApplyEdits(Hive& hive, const std::vector<const Edit*>& edits, std::vector<Change>& changes,
                std::string& reason) {
  Editor editor(hive, changes, reason);
  for (const Edit* edit : edits)
    if (!editor.Do(*edit)) return false;
  return true;
}

}  // namespace kwetro::offline
