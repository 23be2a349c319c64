// What kwetro-cli apply --windows and audit --windows cost on a system drive
// of realistic size (hive_world.h: software 20 MB, system 6 MB, three
// profiles): the whole apply of the all-checked selection (every hive
// checked, written anew, read back, copied and compared, renamed into place),
// the same as a dry run (the edits in memory only), and the audit's read of
// the hives. Each apply starts from the drive as made (the copy back is not
// timed).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "app/file_io.h"
#include "app/settings_file.h"
#include "bench/hive_world.h"
#include "catalogue/generators.h"
#include "machine/audit.h"
#include "offline/apply.h"
#include "offline/hive_registry.h"

namespace kwetro {
namespace {

namespace fs = std::filesystem;

struct HiveWorld {
  std::string pristine, root;
  std::vector<std::string> scripts;
  Selection selection;

  HiveWorld() {
    const fs::path base =
        fs::temp_directory_path() / ("kwetro-hive-bench-" + std::to_string(getpid()));
    pristine = (base / "pristine").string();
    root = (base / "drive").string();
    bench::MakeBenchImage(pristine);
    std::string bytes, reason;
    ReadWholeFile(std::string(KWETRO_SOURCE_DIR) + "/tests/golden/all-checked/selection.ini", bytes,
                  reason);
    RestoreSettings(bytes, selection);
    scripts = {BuildHkcuScript(selection).Bytes(), BuildHklmScript(selection).Bytes()};
    Reset();
  }
  ~HiveWorld() { fs::remove_all(fs::path(pristine).parent_path()); }

  void Reset() const {
    fs::remove_all(root);
    fs::copy(pristine, root, fs::copy_options::recursive);
  }
};

const HiveWorld& World() {
  static const HiveWorld world;
  return world;
}

void Apply(benchmark::State& state, bool dryRun) {
  const HiveWorld& world = World();
  offline::ApplyRequest request;
  request.root = world.root;
  request.scripts = world.scripts;
  request.dryRun = dryRun;
  for (auto _ : state) {
    state.PauseTiming();
    world.Reset();
    state.ResumeTiming();
    std::vector<offline::HiveOutcome> outcomes;
    offline::OfflineProblem problem;
    if (!offline::ApplyToImage(request, outcomes, problem))
      state.SkipWithError(problem.what.c_str());
  }
}

void BM_Offline_Apply(benchmark::State& state) { Apply(state, false); }
BENCHMARK(BM_Offline_Apply)->Unit(benchmark::kMillisecond);

void BM_Offline_DryRun(benchmark::State& state) { Apply(state, true); }
BENCHMARK(BM_Offline_DryRun)->Unit(benchmark::kMillisecond);

void BM_Offline_Audit(benchmark::State& state) {
  const HiveWorld& world = World();
  world.Reset();
  for (auto _ : state) {
    offline::HiveRegistry hives;
    std::vector<std::string> warnings;
    offline::OfflineProblem problem;
    if (!hives.Open(world.root, "User1", warnings, problem))
      state.SkipWithError(problem.what.c_str());
    benchmark::DoNotOptimize(machine::AuditMachine(machine::ReadMachine(hives), world.selection));
  }
}
BENCHMARK(BM_Offline_Audit)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kwetro
