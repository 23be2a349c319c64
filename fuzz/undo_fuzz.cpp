// libFuzzer target: any bytes as the backup of `kwetro-cli undo` and as the
// export of `kwetro-cli audit`. Besides crashes and sanitizer reports, a
// refusal without a reason, an undo file that does not read back or names a
// key the script does not touch, or a captured selection that would change
// the machine it was captured from, aborts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "support/checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string problem = kwetro::testing::CheckExportBytes(
      std::string_view(reinterpret_cast<const char*>(data), size));
  if (!problem.empty()) std::fprintf(stderr, "undo_fuzz: %s\n", problem.c_str()), std::abort();
  return 0;
}
