// Runs a check in a child process that file permissions bind: tests often
// run as the superuser, who may write into any folder.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

namespace tvlc::testing {

// The user id of "nobody" on Debian.
constexpr uid_t kNobody = 65534;

inline void DropPrivileges() {
  if (::geteuid() == 0 &&
      (::setresgid(kNobody, kNobody, kNobody) != 0 || ::setresuid(kNobody, kNobody, kNobody) != 0))
    std::_Exit(2);
}

}  // namespace tvlc::testing

// The argument is an expression that is true when the child's behaviour is right;
// it prints what went wrong to stderr otherwise.
#define EXPECT_UNPRIVILEGED(...)           \
  EXPECT_EXIT(                             \
      {                                    \
        ::tvlc::testing::DropPrivileges(); \
        std::_Exit((__VA_ARGS__) ? 0 : 1); \
      },                                   \
      ::testing::ExitedWithCode(0), "")
