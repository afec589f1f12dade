// Random bytes as the stored scale file, read as an editor opening reads it, in a settings
// folder of the run's own. A scale read must be finite and positive, and one written back
// must read as itself (to the four decimals the file keeps).
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>

#include "display/StoredScale.h"
#include "fuzz/FuzzFail.h"
#include "fuzz/PrivateSettings.h"

namespace {

constexpr const char* kProduct = "Fuzz";

// The scale file's path in a settings folder of the run's own.
std::string PrivateScaleFile() {
  UsePrivateSettings();
  // The folder exists once a scale was written.
  if (!WriteStoredScale(kProduct, 1.0f)) FuzzFail("cannot write a scale");
  return ScaleFilePath(kProduct);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = PrivateScaleFile();
  {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  float scale = -1.0f;
  if (!ReadStoredScale(kProduct, scale)) return 0;
  if (!std::isfinite(scale) || scale <= 0.0f) FuzzFail("a stored scale that is not a positive number");
  if (scale < 0.001f || scale > 1.0e6f) return 0;  // four decimals cannot hold these
  if (!WriteStoredScale(kProduct, scale)) FuzzFail("a scale read cannot be written");
  float again = -1.0f;
  // Four decimals round by up to half a unit of the last, and single precision adds its own.
  if (!ReadStoredScale(kProduct, again) || std::fabs(again - scale) > 0.00006f * std::fmax(1.0f, scale))
    FuzzFail("a written scale reads as another");
  return 0;
}
