// make_hive_image DIR: the XP system drive of the hive benchmarks
// (hive_world.h) at DIR, for scripts/measure-hives.sh.
#include <cstdio>

#include "bench/hive_world.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: make_hive_image DIR\n", stderr);
    return 2;
  }
  kwetro::bench::MakeBenchImage(argv[1]);
  return 0;
}
