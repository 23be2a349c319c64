// libFuzzer target: any bytes as the window description, stored or plain.
// Besides crashes and sanitizer reports, an accepted description whose
// scripts break the script format, or a refusal without a message, counts as
// a failure (abort).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "robustness/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string problem = kwetro::robustness::CheckFormDescription(
      std::string_view(reinterpret_cast<const char*>(data), size));
  if (!problem.empty()) {
    std::fprintf(stderr, "form_fuzz: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
