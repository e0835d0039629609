#pragma once
// Tests of what happens when memory runs out: they run in the child process of a death test whose
// address space is limited. Not under the sanitizers, whose shadow memory needs far more address
// space than any limit here allows.
#if defined(__unix__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
#define QM_ADDRESS_SPACE_LIMIT 1
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

// Limits the address space of this process to what it uses now plus `headroom` bytes. Exits with
// code 3 when the use cannot be read and 4 when the limit cannot be set.
inline void LimitAddressSpace(long long headroom) {
  FILE* f = std::fopen("/proc/self/statm", "r");
  long long pages = -1;
  if (!f || std::fscanf(f, "%lld", &pages) != 1 || pages <= 0) std::exit(3);
  std::fclose(f);
  const rlim_t limit = static_cast<rlim_t>(pages * 4096 + headroom);
  const rlimit lim{limit, limit};
  if (setrlimit(RLIMIT_AS, &lim) != 0) std::exit(4);
}

// Runs `checks` in a child process and expects it to exit with code 0; any other code names the
// check that failed.
inline void ExpectChildPasses(void (*checks)()) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(checks(), testing::ExitedWithCode(0), "");
}
#endif
