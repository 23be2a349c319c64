// libFuzzer target: any bytes as the settings file, restored as the program
// does at start. Besides crashes and sanitizer reports, a script line the
// program does not define or a save and load that loses a control aborts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "support/checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string problem = kwetro::testing::CheckSettingsBytes(
      std::string_view(reinterpret_cast<const char*>(data), size));
  if (!problem.empty()) std::fprintf(stderr, "settings_fuzz: %s\n", problem.c_str()), std::abort();
  return 0;
}
