// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A serial device refused to the user, as /dev/ttyUSB0 is to a user outside
// the dialout group, made of a pseudo-terminal with no rights on it. Root
// opens it all the same, so as root the opening runs in a child that has
// given up root's rights for those of "nobody".

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace kvx::platform::test {

inline constexpr uid_t kPersonne = 65534;

// Gives up root's rights for good in this process (a child): true when done.
inline bool PerdDroitsRoot() {
  if (::geteuid() != 0) return true;
  return ::setgroups(0, nullptr) == 0 && ::setgid(kPersonne) == 0 && ::setuid(kPersonne) == 0 &&
         ::setuid(0) != 0;
}

// Runs `f` with the rights of a user who is not root, in a child when the
// test runs as root. f's result (0..254), or -1 when that was not possible.
inline int SansDroitsRoot(const std::function<int()> &f) {
  if (::geteuid() != 0) return f();
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(PerdDroitsRoot() ? f() : 255);
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
      WEXITSTATUS(status) == 255)
    return -1;
  return WEXITSTATUS(status);
}

// Why a refused device cannot be made here, or empty when it can.
inline std::string SansRefusPossible() {
  if (SansDroitsRoot([] { return 0; }) != 0)
    return "the test runs as root, which opens any device, and cannot give up its rights";
  return {};
}

}  // namespace kvx::platform::test
