// What the fuzz targets check for each input, shared with the test that
// replays the seed corpus and every input a fuzz run ever failed on
// (fuzz_regressions_test.cpp). No GoogleTest here: the fuzz targets link
// only the engine. Each check returns an empty string when the input passes.
#pragma once

#include <string>
#include <string_view>

#include "app/file_io.h"
#include "app/ini_file.h"
#include "app/settings_file.h"
#include "catalogue/generators.h"
#include "robustness/script_vocabulary.h"
#include "ui/form_loader.h"

namespace kwetro::robustness {

// The built-in form as kwetro-cli loads it: only what the engine reads, so
// that each input's copy of it is cheap.
inline const Form& BuiltInFormOnce() {
  static const Form form = [] {
    Form f;
    std::string error;
    if (!LoadFormResource(StoredFormDescription(), f, error, FormDetail::kEngine)) f = Form();
    return f;
  }();
  return form;
}

inline std::string CheckScripts(const Form& form, const ScriptVocabulary* vocabulary) {
  const struct {
    const char* name;
    RegScript script;
  } scripts[] = {{"hkcu.reg", BuildHkcuScript(form)}, {"hklm.reg", BuildHklmScript(form)}};
  for (const auto& s : scripts) {
    std::string problem = CheckLineKinds(s.script.Bytes());
    if (problem.empty() && vocabulary) problem = vocabulary->CheckScript(s.script.Bytes());
    if (!problem.empty()) return std::string(s.name) + ": " + problem;
  }
  return {};
}

// The bytes as the settings file at scratchPath, loaded the way the program
// starts: both scripts may hold only lines the program defines; saving the
// selection into that file, loading it back and saving again must change no
// byte and keep every control.
inline std::string CheckSettingsBytes(std::string_view bytes, const std::string& scratchPath) {
  std::string reason;
  if (!WriteFileAtomically(scratchPath, std::string(bytes), reason))
    return "cannot write the scratch file: " + reason;
  static const ScriptVocabulary vocabulary(BuiltInFormOnce());

  auto load = [&scratchPath](Form& form, std::string& error) {
    form = BuiltInFormOnce();
    form.settingsPath = scratchPath;
    int countdown = 0;
    return LoadSettings(form, scratchPath, countdown, error);
  };
  Form first;
  std::string error;
  const LoadResult loaded = load(first, error);
  if (bytes.size() > kMaxReadFileSize)
    return loaded == LoadResult::kFailed ? "" : "a file over the size limit was loaded";
  if (loaded != LoadResult::kLoaded) return "LoadSettings failed: " + error;
  if (std::string problem = CheckScripts(first, &vocabulary); !problem.empty()) return problem;

  if (!SaveSettings(first, scratchPath, error)) return "SaveSettings failed: " + error;
  std::string once;
  if (!ReadWholeFile(scratchPath, once, reason)) return "cannot read the saved file: " + reason;
  Form second;
  if (load(second, error) != LoadResult::kLoaded) return "LoadSettings failed: " + error;
  for (std::size_t i = 0; i < first.options.size(); ++i)
    if (first.options[i].state != second.options[i].state)
      return "option " + OptionDefs()[i].name + " changed its state in a save and load";
  for (std::size_t i = 0; i < first.combos.size(); ++i)
    if (first.combos[i].itemIndex != second.combos[i].itemIndex)
      return std::string("drop-down list ") + ComboNames()[i] + " changed in a save and load";
  for (std::size_t i = 0; i < first.spinners.size(); ++i)
    if (first.spinners[i].value != second.spinners[i].value)
      return std::string("spinner ") + SpinnerNames()[i] + " changed in a save and load";
  if (first.services.states != second.services.states)
    return "a service state changed in a save and load";
  if (!SaveSettings(second, scratchPath, error)) return "SaveSettings failed: " + error;
  std::string twice;
  if (!ReadWholeFile(scratchPath, twice, reason)) return "cannot read the saved file: " + reason;
  if (twice != once) return "save, load, save changed the file";
  return {};
}

// A window description: whatever it says, the loader either refuses it with
// a message or gives a form whose scripts hold only the line kinds REGEDIT
// reads, and whose settings can be stored and read back.
inline std::string CheckFormDescription(std::string_view bytes) {
  for (FormDetail detail : {FormDetail::kWindow, FormDetail::kEngine}) {
    Form form;
    std::string error;
    if (!LoadFormResource(bytes, form, error, detail)) {
      if (error.empty()) return "the loader refused a description without saying why";
      continue;
    }
    if (std::string problem = CheckScripts(form, nullptr); !problem.empty()) return problem;
    IniFile ini;
    StoreSettings(form, ini);
    const std::string stored = ini.Serialize();
    IniFile reread = IniFile::Parse(stored);
    StoreSettings(form, reread);
    if (reread.Serialize() != stored) return "storing the settings twice changed them";
  }
  return {};
}

}  // namespace kwetro::robustness
