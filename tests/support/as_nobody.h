// Root reads and writes anything: checks of permissions run in a child with
// the rights of "nobody" (POSIX only). The child's answer is its exit status:
// 0 the check held, 1 it did not, 77 the rights could not be dropped.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace kwetro::testing {

inline int AsNobody(const std::function<bool()>& check) {
  if (::geteuid() != 0) return check() ? 0 : 1;
  const pid_t child = ::fork();
  if (child == 0) ::_exit(::setgid(65534) != 0 || ::setuid(65534) != 0 ? 77 : check() ? 0 : 1);
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 2;
}

}  // namespace kwetro::testing
