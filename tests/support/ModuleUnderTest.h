#pragma once
// The plug-in module a test loads: the one built with it, unless the environment variable of
// the same name points elsewhere (tools/check-release.sh runs the tests on an unpacked release).
#include <cstdlib>

namespace korvel_test {

inline const char* ModuleUnderTest(const char* variable, const char* built) {
  const char* chosen = std::getenv(variable);
  return chosen && *chosen ? chosen : built;
}

}  // namespace korvel_test
