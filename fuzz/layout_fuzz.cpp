// libFuzzer target: any bytes as the window's layout, stored or plain.
// Besides crashes and sanitizer reports, a refusal that does not say where,
// or an accepted layout with an item outside the window, aborts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "support/checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string problem = kwetro::testing::CheckLayoutBytes(
      std::string_view(reinterpret_cast<const char*>(data), size));
  if (!problem.empty()) std::fprintf(stderr, "layout_fuzz: %s\n", problem.c_str()), std::abort();
  return 0;
}
