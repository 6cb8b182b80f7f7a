// What a fuzz target checks besides the sanitizers: a rule that does not hold ends the run as a finding.
#pragma once

#include <cstdio>
#include <cstdlib>

inline void require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "violated: %s\n", what);
  std::abort();
}
