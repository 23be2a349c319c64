// What one Apply, one start and one save cost in the engine: both script
// generators, the settings file in both directions and the window description.
//
// The "all checked" selection writes the largest scripts: every option box in
// the settings file says Checked=1, every services item is present. It is made
// the way scripts/measure-cli.sh makes full.ini: the built-in selection is
// saved, every Checked value set to 1, loaded and saved again.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "app/file_io.h"
#include "app/ini_file.h"
#include "app/settings_file.h"
#include "catalogue/generators.h"
#include "ui/form_loader.h"

namespace kwetro {
namespace {

Form BuiltInForm() {
  Form form;
  std::string error;
  if (!LoadFormResource(StoredFormDescription(), form, error)) throw std::runtime_error(error);
  return form;
}

std::string ReadFile(const std::string& path) {
  std::string bytes, reason;
  if (!ReadWholeFile(path, bytes, reason)) throw std::runtime_error(path + ": " + reason);
  return bytes;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::string reason;
  if (!WriteFileAtomically(path, bytes, reason)) throw std::runtime_error(path + ": " + reason);
}

void Save(const Form& form, const std::string& path) {
  std::string error;
  if (!SaveSettings(form, path, error)) throw std::runtime_error(error);
}

void Load(Form& form, const std::string& path) {
  int countdown = 0;
  std::string error;
  if (LoadSettings(form, path, countdown, error) != LoadResult::kLoaded)
    throw std::runtime_error(path + ": " + error);
}

// Every "Checked=" value of a settings file set to 1.
std::string CheckEverything(const std::string& ini) {
  std::string out;
  std::size_t pos = 0;
  while (pos < ini.size()) {
    std::size_t end = ini.find('\n', pos);
    end = end == std::string::npos ? ini.size() : end + 1;
    const std::string line = ini.substr(pos, end - pos);
    out += line.rfind("Checked=", 0) == 0 ? "Checked=1\r\n" : line;
    pos = end;
  }
  return out;
}

// The files and selections every benchmark shares, made once.
struct World {
  std::string dir;
  std::string fullIni;  // the all-checked settings file
  Form builtIn;
  Form allChecked;

  World() {
    char pattern[] = "/tmp/kwetro-bench-XXXXXX";
    if (!mkdtemp(pattern)) throw std::runtime_error("cannot make a temporary folder");
    dir = pattern;
    builtIn = BuiltInForm();

    const std::string base = dir + "/base.ini";
    const std::string checked = dir + "/checked.ini";
    fullIni = dir + "/full.ini";
    Save(builtIn, base);
    WriteFile(checked, CheckEverything(ReadFile(base)));
    Form form = builtIn;
    form.settingsPath = checked;
    Load(form, checked);
    Save(form, fullIni);

    allChecked = builtIn;
    allChecked.settingsPath = fullIni;
    Load(allChecked, fullIni);
  }

  ~World() {
    for (const char* name : {"base.ini", "checked.ini", "full.ini", "saved.ini"})
      DeleteFileAt(dir + "/" + name);
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
void BothGenerators(benchmark::State& state, const Form& form) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    const RegScript hkcu = BuildHkcuScript(form);
    const RegScript hklm = BuildHklmScript(form);
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

void BM_HklmScript_AllChecked(benchmark::State& state) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    const RegScript script = BuildHklmScript(Shared().allChecked);
    benchmark::DoNotOptimize(script.Bytes().data());
    bytes = script.Bytes().size();
  }
  ReportBytes(state, bytes);
}
BENCHMARK(BM_HklmScript_AllChecked);

void BM_HkcuScript_AllChecked(benchmark::State& state) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    const RegScript script = BuildHkcuScript(Shared().allChecked);
    benchmark::DoNotOptimize(script.Bytes().data());
    bytes = script.Bytes().size();
  }
  ReportBytes(state, bytes);
}
BENCHMARK(BM_HkcuScript_AllChecked);

// As at start: the full settings file restored into the built-in selection
// (resetting the form is not timed). "bytes" is the size of the file read.
void BM_LoadSettings_Full(benchmark::State& state) {
  const World& world = Shared();
  Form form = world.builtIn;
  for (auto _ : state) {
    state.PauseTiming();
    form = world.builtIn;
    form.settingsPath = world.fullIni;
    state.ResumeTiming();
    Load(form, world.fullIni);
  }
  ReportBytes(state, ReadFile(world.fullIni).size());
}
BENCHMARK(BM_LoadSettings_Full);

// As Apply does: the all-checked selection merged into an existing full
// settings file and written back under a temporary name (with fsync).
void BM_SaveSettings_Full(benchmark::State& state) {
  const World& world = Shared();
  const std::string path = world.dir + "/saved.ini";
  WriteFile(path, ReadFile(world.fullIni));
  for (auto _ : state) Save(world.allChecked, path);
  ReportBytes(state, ReadFile(path).size());
}
BENCHMARK(BM_SaveSettings_Full);

// The part of SaveSettings that is the program's own work: parse the old
// text, merge the selection, serialize; no file system.
void BM_StoreSettings_Full(benchmark::State& state) {
  const World& world = Shared();
  const std::string old = ReadFile(world.fullIni);
  std::size_t bytes = 0;
  for (auto _ : state) {
    IniFile ini = IniFile::Parse(old);
    StoreSettings(world.allChecked, ini);
    const std::string text = ini.Serialize();
    benchmark::DoNotOptimize(text.data());
    bytes = text.size();
  }
  ReportBytes(state, bytes);
}
BENCHMARK(BM_StoreSettings_Full);

// The stored window description into a fresh form, whole (as the window
// reads it) and in the engine's view (as kwetro-cli reads it); "bytes" is its
// size.
void LoadFormDescription(benchmark::State& state, FormDetail detail) {
  const std::string_view stored = StoredFormDescription();
  for (auto _ : state) {
    Form form;
    std::string error;
    if (!LoadFormResource(stored, form, error, detail)) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(form.components.data());
  }
  ReportBytes(state, stored.size());
}

void BM_LoadFormDescription_Window(benchmark::State& state) {
  LoadFormDescription(state, FormDetail::kWindow);
}
BENCHMARK(BM_LoadFormDescription_Window);

void BM_LoadFormDescription_Engine(benchmark::State& state) {
  LoadFormDescription(state, FormDetail::kEngine);
}
BENCHMARK(BM_LoadFormDescription_Engine);

}  // namespace
}  // namespace kwetro

BENCHMARK_MAIN();
