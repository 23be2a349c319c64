// What went wrong while reading a registry file, for a message that names the
// file, the line and the fault.
#pragma once

#include <string>

namespace kwetro::undo {

struct ReadProblem {
  long line = 0;             // the line it is on; 0 for a read failure
  bool readFailure = false;  // the system could not read; what is its reason
  std::string what;          // in words (UTF-8)
};

}  // namespace kwetro::undo
