// What one Apply, one start and one save cost in the engine: both script
// generators and the files for every user, the settings file in both directions and the window's
// layout; and what the preview does on every click.
//
// The "all checked" selection writes the largest scripts: its settings file
// (tests/golden/all-checked/selection.ini) says Checked=1 for every option and
// holds every services item.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "app/all_users.h"
#include "app/file_io.h"
#include "app/settings_file.h"
#include "catalogue/generators.h"
#include "options/text_encoding.h"
#include "ui/layout.h"

namespace kwetro {
namespace {

std::string ReadSource(const std::string& relative) {
  std::string bytes, reason;
  const std::string path = std::string(KWETRO_SOURCE_DIR) + "/" + relative;
  if (!ReadWholeFile(path, bytes, reason)) throw std::runtime_error(path + ": " + reason);
  return bytes;
}

// The inputs every benchmark shares, made once.
struct World {
  std::string fullIni = ReadSource("tests/golden/all-checked/selection.ini");
  std::string layout = ReadSource("ui/kwetro.form");
  Selection builtIn;
  Selection allChecked;
  std::string dir;

  World() {
    RestoreSettings(fullIni, allChecked);
    char pattern[] = "/tmp/kwetro-bench-XXXXXX";
    if (!mkdtemp(pattern)) throw std::runtime_error("cannot make a temporary folder");
    dir = pattern;
  }
  ~World() {
    DeleteFileAt(dir + "/saved.ini");
    rmdir(dir.c_str());
  }
};

World& Shared() {
  static World world;
  return world;
}

void ReportBytes(benchmark::State& state, std::size_t bytesPerOperation) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytesPerOperation));
  state.counters["bytes"] = static_cast<double>(bytesPerOperation);
}

// One Apply's scripts: hkcu.reg, then hklm.reg, as bytes in memory.
void BothGenerators(benchmark::State& state, const Selection& selection) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    const RegScript hkcu = BuildHkcuScript(selection);
    const RegScript hklm = BuildHklmScript(selection);
    benchmark::DoNotOptimize(hkcu.Bytes().data());
    benchmark::DoNotOptimize(hklm.Bytes().data());
    bytes = hkcu.Bytes().size() + hklm.Bytes().size();
  }
  ReportBytes(state, bytes);
}

void BM_BothGenerators_AllChecked(benchmark::State& state) {
  BothGenerators(state, Shared().allChecked);
}
BENCHMARK(BM_BothGenerators_AllChecked);

void BM_BothGenerators_BuiltIn(benchmark::State& state) { BothGenerators(state, Shared().builtIn); }
BENCHMARK(BM_BothGenerators_BuiltIn);

// What an Apply for every user adds: user.reg, activesetup.reg and
// profiles.reg, each user part walked from the blocks of both scripts, and
// the selection's mark from a third walk.
void BM_EveryUserFiles_AllChecked(benchmark::State& state) {
  const Selection& selection = Shared().allChecked;
  const SetupVersion version = SetupVersion::At(std::tm{});
  std::size_t bytes = 0;
  for (auto _ : state) {
    const auto files = EveryUserScripts(selection, version);
    bytes = 0;
    for (const EveryUserScript& file : files) {
      benchmark::DoNotOptimize(file.bytes.data());
      bytes += file.bytes.size();
    }
  }
  ReportBytes(state, bytes);
}
BENCHMARK(BM_EveryUserFiles_AllChecked);

// One refresh of the open preview after a click: both files generated anew
// and both decoded for display (the window decodes the file it shows).
void BM_PreviewRefresh_AllChecked(benchmark::State& state) {
  const Selection& selection = Shared().allChecked;
  std::size_t bytes = 0;
  for (auto _ : state) {
    const RegScript hkcu = BuildHkcuScript(selection);
    const RegScript hklm = BuildHklmScript(selection);
    const std::u16string shownHkcu = Cp1251ToUtf16(hkcu.Bytes());
    const std::u16string shownHklm = Cp1251ToUtf16(hklm.Bytes());
    benchmark::DoNotOptimize(shownHkcu.data());
    benchmark::DoNotOptimize(shownHklm.data());
    bytes = hkcu.Bytes().size() + hklm.Bytes().size();
  }
  ReportBytes(state, bytes);
}
BENCHMARK(BM_PreviewRefresh_AllChecked);

// As at start: the full settings file restored into the built-in selection
// (making a fresh selection is not timed). "bytes" is the size of the file.
void BM_RestoreSettings_Full(benchmark::State& state) {
  const World& world = Shared();
  for (auto _ : state) {
    state.PauseTiming();
    Selection selection;
    state.ResumeTiming();
    const StoredSettings stored = RestoreSettings(world.fullIni, selection);
    benchmark::DoNotOptimize(stored.countdown);
  }
  ReportBytes(state, world.fullIni.size());
}
BENCHMARK(BM_RestoreSettings_Full);

// The program's own part of a save: the all-checked selection merged into the
// full settings file's text; no file system.
void BM_StoreSettings_Full(benchmark::State& state) {
  const World& world = Shared();
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string text = StoreSettings(world.allChecked, world.fullIni);
    benchmark::DoNotOptimize(text.data());
    bytes = text.size();
  }
  ReportBytes(state, bytes);
}
BENCHMARK(BM_StoreSettings_Full);

// As Apply does: merged into an existing full settings file and written back
// under a temporary name (with fsync).
void BM_SaveSettings_Full(benchmark::State& state) {
  const World& world = Shared();
  const std::string path = world.dir + "/saved.ini";
  std::string reason;
  if (!WriteFileAtomically(path, world.fullIni, reason)) state.SkipWithError(reason.c_str());
  for (auto _ : state)
    if (SaveSettings(path, world.allChecked, reason) != SaveResult::kSaved)
      state.SkipWithError(reason.c_str());
  ReportBytes(state, world.fullIni.size());
}
BENCHMARK(BM_SaveSettings_Full);

// The window's layout read and bound to the control table; "bytes" is its size.
void BM_ParseLayout(benchmark::State& state) {
  const std::string& text = Shared().layout;
  for (auto _ : state) {
    Layout layout;
    std::string error;
    if (!ParseLayout(text, layout, error)) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(layout.items.data());
  }
  ReportBytes(state, text.size());
}
BENCHMARK(BM_ParseLayout);

}  // namespace
}  // namespace kwetro

BENCHMARK_MAIN();
