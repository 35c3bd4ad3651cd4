#pragma once
// A property the code under fuzzing must keep; breaking it stops the fuzzer
// with the property's name, as a crash would.

#include <cstdio>
#include <cstdlib>

namespace zrm::fuzz {

inline void Require(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", property);
  std::abort();
}

}  // namespace zrm::fuzz
