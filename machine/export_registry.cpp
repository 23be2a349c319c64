#include "machine/export_registry.h"

#include <algorithm>

#include "machine/control_model.h"
#include "options/text_encoding.h"

namespace kwetro::machine {
namespace {

ExportedKey& FindOrAdd(ExportedKey& parent, std::u16string_view component) {
  if (ExportedKey* child = parent.Find(component)) return *child;
  parent.children.emplace_back().name = component;
  return parent.children.back();
}

// The keys and values the model's probes name, one tree per root, nothing
// found yet; and the roots in the order the probes first name them.
struct Named {
  ExportedKey tops[undo::kRootCount];
  std::vector<undo::Root> roots;

  Named() {
    for (const Probe& probe : TheModel().Probes()) {
      if (std::find(roots.begin(), roots.end(), probe.root) == roots.end())
        roots.push_back(probe.root);
      ExportedKey* key = &tops[static_cast<int>(probe.root)];
      std::u16string_view path = probe.path, component;
      while (undo::NextComponent(path, component)) key = &FindOrAdd(*key, component);
      if (!probe.isValue) continue;
      bool known = false;
      for (const ExportedValue& value : key->values)
        known = known || undo::EqualsIgnoringCase(value.name, probe.name);
      if (!known) key->values.push_back({probe.name, false, {}});
    }
  }
};

const Named& TheNamed() {
  static const Named* named = new Named;
  return *named;
}

}  // namespace

const ExportedKey* ExportedKey::Find(std::u16string_view component) const {
  for (const ExportedKey& child : children)
    if (undo::EqualsIgnoringCase(child.name, component)) return &child;
  return nullptr;
}

ExportRegistry::ExportRegistry(const std::string& user)
    : roots_(TheNamed().roots, Cp1251ToUtf16(Utf8ToCp1251(user))) {}

bool ExportRegistry::OnKey(const undo::KeyLine& key) {
  valuesOf_.clear();
  for (const auto& [place, below] : roots_.OnKey(key)) {
    while (found_.size() <= place)
      found_.push_back(TheNamed().tops[static_cast<int>(roots_.RootOf(found_.size()))]);
    // The key and every key on the way to it are there, as far as the
    // model names them.
    ExportedKey* node = &found_[place];
    node->present = true;
    std::u16string_view rest = below, component;
    while (node && undo::NextComponent(rest, component)) {
      node = node->Find(component);
      if (node) node->present = true;
    }
    if (node && !node->values.empty()) valuesOf_.push_back(node);
  }
  return !valuesOf_.empty();
}

void ExportRegistry::OnValue(const undo::ValueLine& value) {
  for (ExportedKey* key : valuesOf_)
    for (ExportedValue& named : key->values) {
      if (!undo::EqualsIgnoringCase(named.name, value.name)) continue;
      if (value.rejected.empty()) {
        named.present = true;
        named.data = DataOf(undo::ToRegValue(value));
      } else if (unreadable_.what.empty()) {
        unreadable_.line = value.line;
        unreadable_.what = "the value \"" + Utf16ToUtf8(value.name) +
                           "\", which a control writes, is in a line REGEDIT does not import (" +
                           std::string(value.rejected) + "): its data are unknown";
      }
    }
}

bool ExportRegistry::Read(undo::ByteSource& source, ExportProblem& problem,
                          undo::ReadWarnings& warnings) {
  undo::ReadProblem read;
  if (!undo::ReadRegFile(source, *this, undo::FileKind::kExport, read, warnings)) {
    problem.kind =
        read.readFailure ? ExportProblem::Kind::kReadFailure : ExportProblem::Kind::kBadInput;
    problem.line = read.line;
    problem.what = read.what;
    return false;
  }
  undo::ScanProblem resolve = unreadable_;
  std::vector<std::size_t> places;
  if (resolve.what.empty() && roots_.Resolve(places, resolve)) {
    for (std::size_t place : places)
      resolved_[static_cast<int>(roots_.RootOf(place))] = &found_[place];
    return true;
  }
  problem.kind = resolve.usage ? ExportProblem::Kind::kUsage : ExportProblem::Kind::kBadInput;
  problem.line = resolve.line;
  problem.what = resolve.what;
  return false;
}

const ExportedKey* ExportRegistry::Node(undo::Root root, std::u16string_view path) const {
  const ExportedKey* node = resolved_[static_cast<int>(root)];
  for (std::u16string_view component; node && undo::NextComponent(path, component);)
    node = node->Find(component);
  return node && node->present ? node : nullptr;
}

Found ExportRegistry::Key(undo::Root root, std::u16string_view path) const {
  return Node(root, path) ? Found::kPresent : Found::kAbsent;
}

Found ExportRegistry::Value(undo::Root root, std::u16string_view path, std::u16string_view name,
                            RegData& data) const {
  if (const ExportedKey* key = Node(root, path))
    for (const ExportedValue& value : key->values)
      if (value.present && undo::EqualsIgnoringCase(value.name, name)) {
        data = value.data;
        return Found::kPresent;
      }
  return Found::kAbsent;
}

}  // namespace kwetro::machine
