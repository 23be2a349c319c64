// make_xp_image DIR [PROFILE...]: the tests' Windows XP system drive (see
// tests/support/xp_image.h) at DIR, with the profiles named.
#include <cstdio>

#include "support/xp_image.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: make_xp_image DIR [PROFILE...]\n", stderr);
    return 2;
  }
  std::vector<kwetro::testing::XpProfile> profiles;
  for (int i = 2; i < argc; ++i) profiles.push_back({argv[i]});
  kwetro::testing::MakeXpImage(argv[1], profiles);
  return 0;
}
