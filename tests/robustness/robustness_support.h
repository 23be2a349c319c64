// Helpers of the robustness tests: running kwetro-cli in-process, reading what
// it left on disk, and the exact system reasons a message must carry.
#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/cli.h"
#include "app/file_io.h"
#include "app/ini_file.h"
#include "app/settings_file.h"
#include "robustness/script_vocabulary.h"
#include "support/script_lines.h"
#include "support/temp_dir.h"

#ifdef _WIN32
#include <windows.h>

#include "app/win32_text.h"
#endif

namespace kwetro::robustness {

using kwetro::testing::BuiltInForm;
using kwetro::testing::TempDir;

struct CliRun {
  int code = -1;
  std::string out, err;
};

inline CliRun Cli(const std::vector<std::string>& args) {
  CliRun r;
  r.code = RunCli(args, r.out, r.err);
  return r;
}

// The names in a folder, sorted.
inline std::set<std::string> Listing(const std::string& dir) {
  std::set<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec))
    names.insert(entry.path().filename().string());
  return names;
}

// The system's words for the reasons the tests provoke, as the program
// reports them on this platform.
enum class Why { kNoSuchFile, kIsFolder, kTargetIsFolder, kNoSuchFolder, kDenied, kNoSpace };

inline std::string Reason(Why why) {
#ifdef _WIN32
  switch (why) {
    case Why::kNoSuchFile:
      return "No such file or directory";  // kwetro-cli's own words
    case Why::kIsFolder:
      return SystemMessage(ERROR_DIRECTORY);
    case Why::kTargetIsFolder:
      return SystemMessage(ERROR_ACCESS_DENIED);
    case Why::kNoSuchFolder:
      return SystemMessage(ERROR_PATH_NOT_FOUND);
    case Why::kDenied:
      return SystemMessage(ERROR_ACCESS_DENIED);
    case Why::kNoSpace:
      return SystemMessage(ERROR_DISK_FULL);
  }
  return {};
#else
  switch (why) {
    case Why::kNoSuchFile:
      return std::strerror(ENOENT);
    case Why::kIsFolder:
      return std::strerror(EISDIR);
    case Why::kTargetIsFolder:
      return std::strerror(EISDIR);
    case Why::kNoSuchFolder:
      return std::strerror(ENOENT);
    case Why::kDenied:
      return std::strerror(EACCES);
    case Why::kNoSpace:
      return std::strerror(ENOSPC);
  }
  return {};
#endif
}

inline std::string ReadError(const std::string& path, const std::string& reason) {
  return "kwetro-cli: cannot read settings file '" + path + "': " + reason + "\n";
}
inline std::string ScriptError(const std::string& path, const std::string& reason) {
  return "kwetro-cli: cannot write registry script '" + path + "': " + reason + "\n";
}
inline std::string SettingsWriteError(const std::string& path, const std::string& reason) {
  return "kwetro-cli: cannot write settings file '" + path + "': " + reason + "\n";
}

// The scripts of a selection, as Apply would write them.
struct Scripts {
  std::string hkcu, hklm;
  bool operator==(const Scripts& o) const { return hkcu == o.hkcu && hklm == o.hklm; }
};

inline Scripts ScriptsOf(const Form& form) {
  return {BuildHkcuScript(form).Bytes(), BuildHklmScript(form).Bytes()};
}

// A folder with a settings file "k.ini" and an output folder "out".
class Workspace {
 public:
  Workspace() { std::filesystem::create_directory(dir_.File("out")); }

  std::string Settings() const { return dir_.File("k.ini"); }
  std::string Out() const { return dir_.File("out"); }
  std::string OutFile(const std::string& name) const { return JoinPath(Out(), name); }
  const TempDir& Dir() const { return dir_; }

  // Writes the settings file and runs "generate" with it.
  CliRun Generate(const std::string& settingsBytes) const {
    dir_.Write("k.ini", settingsBytes);
    return Cli({"generate", "--settings", Settings(), "--out", Out()});
  }
  Scripts Written() const { return {dir_.Read("out/hkcu.reg"), dir_.Read("out/hklm.reg")}; }

  // What LoadSettings makes of the bytes, starting from the built-in form.
  Form Loaded(const std::string& settingsBytes, int* countdown = nullptr) const {
    dir_.Write("k.ini", settingsBytes);
    Form form = BuiltInForm();
    form.settingsPath = Settings();
    int ticks = 30;
    std::string error;
    EXPECT_EQ(LoadSettings(form, Settings(), ticks, error), LoadResult::kLoaded) << error;
    if (countdown) *countdown = ticks;
    return form;
  }

 private:
  TempDir dir_;
};

// The vocabulary of the built-in window description, built once.
inline const ScriptVocabulary& Vocabulary() {
  static const ScriptVocabulary vocabulary(BuiltInForm());
  return vocabulary;
}

// Both scripts hold only line kinds REGEDIT reads and only lines the program
// defines.
inline void ExpectOnlyDefinedLines(const Scripts& s, const std::string& context) {
  EXPECT_EQ(CheckLineKinds(s.hkcu), "") << "hkcu.reg, " << context;
  EXPECT_EQ(CheckLineKinds(s.hklm), "") << "hklm.reg, " << context;
  EXPECT_EQ(Vocabulary().CheckScript(s.hkcu), "") << "hkcu.reg, " << context;
  EXPECT_EQ(Vocabulary().CheckScript(s.hklm), "") << "hklm.reg, " << context;
}

}  // namespace kwetro::robustness
