// What went wrong while reading a registry file, for a message that names the
// file, the line and the fault; and the lines the reader passed over as
// REGEDIT does, for warnings that name them the same way.
#pragma once

#include <string>
#include <vector>

namespace kwetro::undo {

struct ReadProblem {
  long line = 0;             // the line it is on; 0 for a read failure
  bool readFailure = false;  // the system could not read; what is its reason
  std::string what;          // in words (UTF-8)
};

// Lines REGEDIT skips or does not import: the reading goes on. Only the first
// few are kept, so that a damaged export of a whole machine cannot fill the
// memory with them; count has them all.
struct ReadWarnings {
  static constexpr std::size_t kKept = 10;
  std::vector<ReadProblem> first;
  long count = 0;

  void Add(long line, std::string what) {
    if (first.size() < kKept) first.push_back({line, false, std::move(what)});
    ++count;
  }
};

}  // namespace kwetro::undo
