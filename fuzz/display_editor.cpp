// Random mouse, wheel, key-modifier, parameter, audio and resize sequences against an open
// headless editor: every index must stay inside its buffer (run with the sanitizers).
#include <cstddef>
#include <cstdint>

#include "tests/display/EditorChaos.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EditorHarness h;
  RunEditorChaos(h, data, size);
  return 0;
}
