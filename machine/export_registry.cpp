#include "machine/export_registry.h"

#include "machine/control_model.h"
#include "options/text_encoding.h"
#include "undo/reg_reader.h"

namespace kwetro::machine {

namespace {

// The model's probes as the keys and values a script would touch, once.
const undo::ScriptTouches& ModelTouches() {
  static const undo::ScriptTouches* touches = [] {
    auto* t = new undo::ScriptTouches;
    for (const Probe& probe : TheModel().Probes()) {
      undo::KeyLine key;
      key.root = probe.root;
      key.rest = probe.path;
      t->OnKey(key);
      if (!probe.isValue) continue;
      undo::ValueLine value;
      value.rawName = value.name = probe.name;
      t->OnValue(value);
    }
    return t;
  }();
  return *touches;
}

}  // namespace

ExportRegistry::ExportRegistry(const std::string& user)
    : scan_(std::make_unique<undo::BackupScan>(ModelTouches(), Cp1251ToUtf16(Utf8ToCp1251(user)))) {
}

ExportRegistry::~ExportRegistry() = default;

bool ExportRegistry::Read(undo::ByteSource& source, ExportProblem& problem,
                          undo::ReadWarnings& warnings) {
  undo::ReadProblem read;
  if (!undo::ReadRegFile(source, *scan_, undo::FileKind::kExport, read, warnings)) {
    problem.kind =
        read.readFailure ? ExportProblem::Kind::kReadFailure : ExportProblem::Kind::kBadInput;
    problem.line = read.line;
    problem.what = read.what;
    return false;
  }
  undo::ScanProblem resolve;
  if (scan_->Resolve(trees_, resolve)) return true;
  problem.kind = resolve.usage ? ExportProblem::Kind::kUsage : ExportProblem::Kind::kBadInput;
  problem.line = resolve.line;
  problem.what = resolve.what;
  return false;
}

const undo::TouchNode* ExportRegistry::Node(undo::Root root, std::u16string_view path) const {
  for (const undo::UndoTree& tree : trees_) {
    if (tree.root != root) continue;
    const undo::TouchNode* node = tree.top;
    for (std::u16string_view component; node && undo::NextComponent(path, component);)
      node = node->Find(component);
    return node;
  }
  return nullptr;
}

Found ExportRegistry::Key(undo::Root root, std::u16string_view path) const {
  const undo::TouchNode* node = Node(root, path);
  return node && node->inBackup ? Found::kPresent : Found::kAbsent;
}

Found ExportRegistry::Value(undo::Root root, std::u16string_view path, std::u16string_view name,
                            RegData& data) const {
  const undo::TouchNode* node = Node(root, path);
  if (!node || !node->inBackup) return Found::kAbsent;
  for (const undo::TouchedValue& value : node->values) {
    if (!value.inBackup || !undo::EqualsIgnoringCase(value.name, name)) continue;
    data = DataOf(value.backup);
    return Found::kPresent;
  }
  return Found::kAbsent;
}

}  // namespace kwetro::machine
