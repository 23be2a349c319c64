// What must hold for every selection and every input, shared by the tests,
// the fuzz targets (fuzz/) and the replay of their inputs. No GoogleTest
// here: the fuzz targets link only the engine. Each Check... returns an empty
// string when all is well, else what went wrong.
#pragma once

#include <algorithm>
#include <random>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "app/cli.h"
#include "app/settings_file.h"
#include "catalogue/control_lines.h"
#include "catalogue/generators.h"
#include "machine/audit.h"
#include "machine/capture.h"
#include "machine/export_registry.h"
#include "ui/layout.h"
#include "undo/reg_reader.h"
#include "undo/touch_tree.h"
#include "undo/undo.h"

namespace kwetro::testing {

struct CliRun {
  int code = -1;
  std::string out, err;
};

inline CliRun Cli(const std::vector<std::string>& args) {
  CliRun r;
  r.code = RunCli(args, r.out, r.err);
  return r;
}

inline Selection Restored(std::string_view settings) {
  Selection selection;
  RestoreSettings(settings, selection);
  return selection;
}

// A selection a user can make in the window: every control at random.
inline Selection RandomSelection(std::mt19937& rng) {
  const auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  Selection s;
  std::vector<int> file(s.services.size());
  for (int& state : file) state = pick(3);
  // The preset first: it fills the services list, whose items the user may change after.
  s.SetState(PresetOption(), static_cast<TriState>(pick(3)), StoredServicesRead(file));
  for (std::size_t i = 0; i < s.options.size(); ++i)
    if (static_cast<int>(i) != PresetOption()) s.options[i] = static_cast<TriState>(pick(3));
  for (std::size_t i = 0; i < s.combos.size(); ++i)
    s.combos[i] = pick(static_cast<int>(Controls().combos[i].items.size()) + 1) - 1;
  for (std::size_t i = 0; i < s.spinners.size(); ++i) {
    const SpinnerDecl& d = Controls().spinners[i];
    s.spinners[i] = d.min + pick(d.max - d.min + 1);
  }
  for (TriState& state : s.services) state = static_cast<TriState>(pick(3));
  return s;
}

// The first control whose state (or caption) differs; empty when none does.
inline std::string DifferentControl(const Selection& a, const Selection& b) {
  const ControlTable& t = Controls();
  for (std::size_t i = 0; i < t.options.size(); ++i)
    if (a.options[i] != b.options[i] || a.Caption(int(i)) != b.Caption(int(i)))
      return std::string(t.options[i].name);
  for (std::size_t i = 0; i < t.combos.size(); ++i)
    if (a.combos[i] != b.combos[i]) return std::string(t.combos[i].name);
  for (std::size_t i = 0; i < t.spinners.size(); ++i)
    if (a.spinners[i] != b.spinners[i]) return std::string(t.spinners[i].name);
  for (std::size_t i = 0; i < t.services.size(); ++i)
    if (a.services[i] != b.services[i]) return "service " + std::string(t.services[i].key);
  return a.ServicesEnabled() != b.ServicesEnabled() ? "the services section" : "";
}

// Saving into a file (existing: its bytes, empty when new) and loading gives
// every control back; saving again changes no byte.
inline std::string CheckRoundTrip(const Selection& selection, std::string_view existing) {
  const std::string once = StoreSettings(selection, existing);
  Selection loaded;
  if (RestoreSettings(once, loaded).countdown != 30) return "the saved Timer is not 30";
  if (std::string what = DifferentControl(selection, loaded); !what.empty())
    return "save and load changed " + what;
  return StoreSettings(loaded, once) == once ? "" : "saving again changed the file";
}

// Calls each(line) for every line of a script; false when the bytes do not
// end with CR LF.
template <typename Each>
bool ForEachScriptLine(const std::string& bytes, Each each) {
  std::size_t pos = 0;
  for (std::size_t end; (end = bytes.find("\r\n", pos)) != std::string::npos; pos = end + 2)
    each(std::string_view(bytes).substr(pos, end - pos));
  return pos == bytes.size();
}

// Every line a script can hold: those of the selections that put each option
// in each state beside all others set (so that its group is written), every
// drop-down and service in each state, and every spinner at each value.
inline const std::unordered_set<std::string>& ScriptVocabulary() {
  static const std::unordered_set<std::string> vocabulary = [] {
    std::unordered_set<std::string> lines;
    const auto add = [&lines](const Selection& s) {
      for (const RegScript& script : {BuildHkcuScript(s), BuildHklmScript(s)})
        ForEachScriptLine(script.Bytes(), [&lines](std::string_view l) { lines.emplace(l); });
    };
    const ControlTable& t = Controls();
    for (TriState state : {cbUnchecked, cbChecked, cbGrayed})
      for (TriState others : {cbUnchecked, cbChecked})
        for (std::size_t option = 0; option < t.options.size(); ++option) {
          Selection s;
          s.options.assign(s.options.size(), others);
          s.options[option] = state;
          add(s);
        }
    for (TriState state : {cbUnchecked, cbChecked, cbGrayed})
      for (int index = -1; index < 4; ++index) {
        Selection s;
        for (std::size_t i = 0; i < s.combos.size(); ++i)
          s.combos[i] = index < static_cast<int>(t.combos[i].items.size()) ? index : -1;
        s.services.assign(s.services.size(), state);
        s.presetShown = cbChecked;
        add(s);
      }
    Selection s;
    s.options.assign(s.options.size(), cbChecked);
    int lowest = 0, highest = 0;
    for (const SpinnerDecl& d : t.spinners)
      lowest = std::min(lowest, d.min), highest = std::max(highest, d.max);
    for (int value = lowest; value <= highest; ++value) {
      for (std::size_t i = 0; i < s.spinners.size(); ++i)
        s.spinners[i] = std::clamp(value, t.spinners[i].min, t.spinners[i].max);
      add(s);
    }
    return lines;
  }();
  return vocabulary;
}

inline std::string CheckScriptLines(const Selection& selection) {
  for (const RegScript& script : {BuildHkcuScript(selection), BuildHklmScript(selection)}) {
    std::string stray;
    const bool ended = ForEachScriptLine(script.Bytes(), [&stray](std::string_view line) {
      if (stray.empty() && !ScriptVocabulary().count(std::string(line))) stray = line;
    });
    if (!ended) return "a script does not end with CR LF";
    if (!stray.empty()) return "a line the program does not define: " + stray;
  }
  return {};
}

// Any bytes as the settings file: the scripts hold only the program's lines,
// and the selection survives a save and a load.
inline std::string CheckSettingsBytes(std::string_view bytes) {
  const Selection selection = Restored(bytes);
  std::string problem = CheckScriptLines(selection);
  return problem.empty() ? CheckRoundTrip(selection, bytes) : problem;
}

// Any bytes as the window's layout: refused with a message, or bound with
// every item inside the window and every bound item inside its table.
inline std::string CheckLayoutBytes(std::string_view bytes) {
  Layout layout;
  std::string error;
  if (!LoadFormResource(bytes, layout, error))
    return error.rfind("window layout", 0) == 0 ? "" : "a refusal without a place: " + error;
  for (std::size_t i = 0; i < layout.items.size(); ++i)
    if (layout.items[i].parent >= static_cast<int>(i) || (i > 0 && layout.items[i].parent < 0))
      return "item " + layout.items[i].name + " outside the window";
  return {};
}

// Any bytes as the backup of `kwetro-cli undo`, with a fixed script that
// touches keys in every way: refused with a reason, or an undo file that
// reads back and names only keys the script touches (one it names, one on the
// way there, or one below a key it deletes).
inline std::string CheckUndoBackupBytes(std::string_view bytes) {
  using namespace undo;
  static const std::string kScript =
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n\"MenuShowDelay\"=\"0\"\r\n@=-\r\n"
      "[-HKEY_CLASSES_ROOT\\CLSID\\{1}]\r\n[HKEY_CLASSES_ROOT\\CLSID\\{1}\\New]\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kw\\A\\B]\r\n\"v\"=dword:1\r\n"
      "[-HKEY_USERS\\.DEFAULT\\Kw]\r\n";
  static const ScriptTouches touches = [] {
    ScriptTouches t;
    MemorySource source(kScript);
    ReadProblem problem;
    ReadWarnings warnings;
    ReadRegFile(source, t, FileKind::kScript, problem, warnings);
    return t;
  }();
  // Stops at the first key of the undo file that the script does not touch.
  struct TouchedKeysOnly : RegFileHandler {
    std::string stray;
    bool OnKey(const KeyLine& key) override {
      const TouchNode* node = &touches.Top(key.root);
      std::u16string_view rest = key.rest, component;
      while (!node->deleted && NextComponent(rest, component)) {
        node = node->Find(component);
        if (!node) {
          stray = "line " + std::to_string(key.line);
          return false;
        }
      }
      return false;
    }
    void OnValue(const ValueLine&) override {}
  };

  MemorySource backup(bytes), script(kScript);
  std::string undo;
  UndoProblem problem;
  std::vector<ReadWarnings> warnings;
  if (!MakeUndo(backup, {&script}, "", undo, problem, warnings))
    return problem.what.empty() ? "refused without saying why" : "";
  MemorySource written(undo);
  TouchedKeysOnly check;
  ReadProblem reread;
  ReadWarnings passedOver;
  if (!ReadRegFile(written, check, FileKind::kScript, reread, passedOver))
    return "the undo file does not read back: line " + std::to_string(reread.line) + ": " +
           reread.what;
  if (passedOver.count)
    return "the undo file reads back with a line passed over: line " +
           std::to_string(passedOver.first[0].line) + ": " + passedOver.first[0].what;
  if (!check.stray.empty())
    return "the undo file names a key the script does not touch (" + check.stray + ")";
  return {};
}

// Any bytes as the export of `kwetro-cli audit`: refused with a reason, or
// every control judged, and the audit of the selection captured from it finds
// no control the machine does not hold, but those capture names unavoidable.
inline std::string CheckAuditExportBytes(std::string_view bytes) {
  undo::MemorySource source(bytes);
  machine::ExportRegistry exported("");
  machine::ExportProblem problem;
  undo::ReadWarnings warnings;
  if (!exported.Read(source, problem, warnings))
    return problem.what.empty() ? "refused without saying why" : "";
  const machine::Machine m = machine::ReadMachine(exported);
  if (machine::AuditMachine(m, Selection()).size() != WindowOrder().size())
    return "not every control judged";
  const machine::Captured captured = machine::CaptureMachine(m, Selection());
  const auto& unavoidable = captured.unavoidable;
  for (const machine::ControlState& s : machine::AuditMachine(m, captured.selection))
    if (s.match == machine::Match::kNo &&
        std::find(unavoidable.begin(), unavoidable.end(), s.control) == unavoidable.end())
      return "the captured selection changes " + std::string(ControlName(s.control));
  return "";
}

// Any bytes as a registry export, to both commands that read one.
inline std::string CheckExportBytes(std::string_view bytes) {
  const std::string problem = CheckUndoBackupBytes(bytes);
  return problem.empty() ? CheckAuditExportBytes(bytes) : problem;
}

}  // namespace kwetro::testing
