// What kwetro-cli audit costs, per part: reading what the controls name from
// a registry export (the undo benchmarks' synthetic export), judging the
// machine against a selection (what the window does on every click), and
// capturing a selection from it.
#include <benchmark/benchmark.h>

#include "app/settings_file.h"
#include "bench/export_world.h"
#include "machine/audit.h"
#include "machine/capture.h"
#include "machine/export_registry.h"

namespace kwetro {
namespace {

machine::Machine ReadExport() {
  undo::MemorySource source(bench::TheExportWorld().backup);
  machine::ExportRegistry exported("");
  machine::ExportProblem problem;
  undo::ReadWarnings warnings;
  if (!exported.Read(source, problem, warnings)) throw std::runtime_error(problem.what);
  return machine::ReadMachine(exported);
}

const machine::Machine& TheMachine() {
  static const machine::Machine machine = ReadExport();
  return machine;
}

const Selection& AllChecked() {
  static const Selection selection = [] {
    std::string bytes, reason;
    ReadWholeFile(std::string(KWETRO_SOURCE_DIR) + "/tests/golden/all-checked/selection.ini", bytes,
                  reason);
    Selection s;
    RestoreSettings(bytes, s);
    return s;
  }();
  return selection;
}

void BM_Audit_ReadExport(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ReadExport());
  const auto bytes = static_cast<std::int64_t>(bench::TheExportWorld().backup.size());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * bytes);
}
BENCHMARK(BM_Audit_ReadExport)->Unit(benchmark::kMillisecond);

void BM_Audit_Judge(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(machine::AuditMachine(TheMachine(), AllChecked()));
}
BENCHMARK(BM_Audit_Judge)->Unit(benchmark::kMicrosecond);

void BM_Audit_Capture(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(machine::CaptureMachine(TheMachine(), AllChecked()));
}
BENCHMARK(BM_Audit_Capture)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kwetro
