// libFuzzer target: any bytes as the settings file, through LoadSettings as
// the program runs it at start, both generators, and a save, load and save.
// Besides crashes and sanitizer reports, a script line the program does not
// define or a save that does not read back counts as a failure (abort).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "robustness/fuzz_checks.h"

namespace {

// One scratch file per fuzzing process: in KWETRO_FUZZ_SCRATCH, a folder that
// scripts/test-fuzz.sh makes in memory and removes (libFuzzer ends a run
// without running exit handlers), else in /dev/shm or the temporary folder.
const std::string& ScratchPath() {
  static const std::string path = [] {
    const char* dir = std::getenv("KWETRO_FUZZ_SCRATCH");
    if (!dir) dir = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::getenv("TMPDIR");
    return std::string(dir ? dir : "/tmp") + "/kwetro-fuzz-" + std::to_string(::getpid()) + ".ini";
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string problem = kwetro::robustness::CheckSettingsBytes(
      std::string_view(reinterpret_cast<const char*>(data), size), ScratchPath());
  if (!problem.empty()) {
    std::fprintf(stderr, "settings_fuzz: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
