// What each state of each control does to the registry, read once from the
// catalogue's lines as REGEDIT reads them: keys it makes or deletes, values
// it sets or deletes. Every key and value that any state names is a probe:
// the machine is looked up once per probe (machine.h), and every state is
// judged against those answers.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "machine/registry_view.h"
#include "options/controls.h"
#include "undo/reg_value.h"

namespace kwetro::machine {

// A key, or a value of a key, that some state of some control names.
struct Probe {
  undo::Root root;
  std::u16string path;  // below the root, as the catalogue first spells it
  bool isValue = false;
  std::u16string name;  // the value's name, escapes resolved; empty for the default value
  // The key's place in the registry for comparing: HKEY_CLASSES_ROOT as the
  // machine's classes, letter case folded.
  std::u16string place;
};

// One registry line of a state: the key exists or is gone (a key line, a key
// deletion); the value holds these data or is gone.
struct Effect {
  enum class Kind { kKey, kNoKey, kValue, kNoValue };
  Kind kind = Kind::kKey;
  int probe = -1;
  RegData data;  // kValue
  // Where the line stands among all lines of all states in the order the
  // scripts are imported (hkcu.reg first), for telling which control writes
  // a value last.
  int importOrder = 0;
};

// The lines of one state of a control (of one item, of a spinner's built-in
// value), in the order the script holds them.
struct Variant {
  int variant = 0;  // the state, item or seconds (LineOrigin::variant)
  int group = -1;   // the key group the lines are written in, or -1
  std::vector<Effect> effects;
};

struct ControlModel {
  ControlRef control;
  std::vector<Variant> variants;  // checked, unchecked, grayed; items in order

  const Variant* Find(int variant) const {
    for (const Variant& v : variants)
      if (v.variant == variant) return &v;
    return nullptr;
  }
  // The lines a state (item, seconds) writes: a spinner's value holds the
  // seconds. None for a state that writes nothing of its own.
  std::vector<Effect> LinesOf(int variant) const;
};

class Model {
 public:
  const std::vector<Probe>& Probes() const { return probes_; }
  const ControlModel& Of(ControlRef control) const {
    return byKind_[static_cast<int>(control.kind)][static_cast<std::size_t>(control.index)];
  }
  // The effects of lines that stand apart from the controls (UTF-8, each a
  // line as the catalogue writes it, a key line before its values), in the
  // probes of the model: probe -1 for a key or value no control names.
  std::vector<Effect> EffectsOf(const std::vector<std::string>& lines) const;

 private:
  friend class ModelBuilder;

  std::vector<Probe> probes_;
  std::map<std::u16string, int> index_;  // the identity of each probe, its index
  std::vector<ControlModel> byKind_[4];
};

// Built on first use from the catalogue, kept until the program ends.
const Model& TheModel();

// A spinner's line holds whole seconds as milliseconds in a string.
RegData SpinnerData(int seconds);

// The data a value line of a registry file gives the registry.
RegData DataOf(const undo::RegValue& value);

}  // namespace kwetro::machine
