// The registry export the undo and audit benchmarks read: synthetic
// (synthetic_export.h), made once in memory, holding every key the scripts of
// the all-checked selection (its golden files) touch.
#pragma once

#include <stdexcept>
#include <string>

#include "app/file_io.h"
#include "bench/synthetic_export.h"
#include "undo/reg_reader.h"

namespace kwetro::bench {

inline constexpr std::uint64_t kExportBytes = 16 << 20;

struct ExportWorld {
  std::string hkcu, hklm, backup;

  ExportWorld() {
    std::string reason;
    const std::string golden = std::string(KWETRO_SOURCE_DIR) + "/tests/golden/all-checked/";
    if (!ReadWholeFile(golden + "hkcu.reg", hkcu, reason) ||
        !ReadWholeFile(golden + "hklm.reg", hklm, reason))
      throw std::runtime_error(golden + ": " + reason);
    undo::ScriptTouches touches;
    undo::ReadProblem problem;
    undo::ReadWarnings warnings;
    for (const std::string* script : {&hkcu, &hklm}) {
      undo::MemorySource source(*script);
      undo::ReadRegFile(source, touches, undo::FileKind::kScript, problem, warnings);
    }
    SyntheticExport source(kExportBytes, touches);
    std::string chunk(1 << 16, '\0');
    for (std::size_t got = 0; source.Read(chunk.data(), chunk.size(), got, reason) && got;)
      backup.append(chunk, 0, got);
  }
};

inline const ExportWorld& TheExportWorld() {
  static const ExportWorld world;
  return world;
}

}  // namespace kwetro::bench
