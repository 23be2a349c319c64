// Writes a synthetic registry export (synthetic_export.h) for measuring
// kwetro-cli undo as a whole process:
//
//   make_export MEGABYTES OUT.reg [SCRIPT.reg...]
//
// The export holds every key the scripts touch.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/file_io.h"
#include "bench/synthetic_export.h"
#include "undo/reg_reader.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: make_export MEGABYTES OUT.reg [SCRIPT.reg...]\n");
    return 2;
  }
  kwetro::undo::ScriptTouches touches;
  for (int i = 3; i < argc; ++i) {
    std::string bytes, reason;
    if (!kwetro::ReadWholeFile(argv[i], bytes, reason)) {
      std::fprintf(stderr, "make_export: %s: %s\n", argv[i], reason.c_str());
      return 1;
    }
    kwetro::undo::MemorySource script(bytes);
    kwetro::undo::ReadProblem problem;
    kwetro::undo::ReadWarnings warnings;
    if (!kwetro::undo::ReadRegFile(script, touches, kwetro::undo::FileKind::kScript, problem,
                                   warnings)) {
      std::fprintf(stderr, "make_export: %s, line %ld: %s\n", argv[i], problem.line,
                   problem.what.c_str());
      return 1;
    }
  }
  kwetro::bench::SyntheticExport source(std::strtoull(argv[1], nullptr, 10) << 20, touches);
  std::FILE* out = std::fopen(argv[2], "wb");
  if (!out) {
    std::perror(argv[2]);
    return 1;
  }
  std::string buffer(1 << 16, '\0'), reason;
  for (std::size_t got = 0; source.Read(buffer.data(), buffer.size(), got, reason) && got;)
    std::fwrite(buffer.data(), 1, got, out);
  return std::fclose(out) == 0 ? 0 : 1;
}
