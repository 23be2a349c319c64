// What kwetro-cli undo costs on a registry export, per part: decoding the
// lines, reading them as registry text, and the whole undo with the scripts of
// the all-checked selection (its golden files). The export is synthetic (synthetic_export.h),
// made once in memory; "bytes" is its size.
#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>

#include "bench/export_world.h"
#include "undo/line_decoder.h"
#include "undo/reg_reader.h"
#include "undo/undo.h"

namespace kwetro {
namespace {

const bench::ExportWorld& World() { return bench::TheExportWorld(); }

void Report(benchmark::State& state) {
  const std::size_t bytes = World().backup.size();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.counters["bytes"] = static_cast<double>(bytes);
}

void BM_Undo_DecodeLines(benchmark::State& state) {
  for (auto _ : state) {
    undo::MemorySource source(World().backup);
    undo::LineDecoder lines(source);
    std::u16string_view line;
    std::size_t count = 0;
    while (lines.Next(line)) ++count;
    benchmark::DoNotOptimize(count);
  }
  Report(state);
}
BENCHMARK(BM_Undo_DecodeLines)->Unit(benchmark::kMillisecond);

// Every line read and checked; no key wanted.
class NothingWanted : public undo::RegFileHandler {
 public:
  bool OnKey(const undo::KeyLine&) override { return false; }
  void OnValue(const undo::ValueLine&) override {}
};

void BM_Undo_ReadExport(benchmark::State& state) {
  for (auto _ : state) {
    undo::MemorySource source(World().backup);
    NothingWanted handler;
    undo::ReadProblem problem;
    undo::ReadWarnings warnings;
    if (!undo::ReadRegFile(source, handler, undo::FileKind::kExport, problem, warnings))
      state.SkipWithError(problem.what.c_str());
  }
  Report(state);
}
BENCHMARK(BM_Undo_ReadExport)->Unit(benchmark::kMillisecond);

void BM_Undo_AllCheckedScripts(benchmark::State& state) {
  std::size_t written = 0;
  for (auto _ : state) {
    undo::MemorySource backup(World().backup), hkcu(World().hkcu), hklm(World().hklm);
    std::string bytes;
    undo::UndoProblem problem;
    std::vector<undo::ReadWarnings> warnings;
    if (!undo::MakeUndo(backup, {&hkcu, &hklm}, "", bytes, problem, warnings))
      state.SkipWithError(problem.what.c_str());
    written = bytes.size();
  }
  Report(state);
  state.counters["written"] = static_cast<double>(written);
}
BENCHMARK(BM_Undo_AllCheckedScripts)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kwetro
