// Feeds arbitrary bytes to the font-table parser (every face index a header could ask for)
// and to the bitmap decoder.
#include <cstddef>
#include <cstdint>

#include "graphics/IFontInfo.h"
#include "graphics/skia/IGuiSkia.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (int face = 0; face < 3; ++face) {
    const graphics::IFontInfo info = graphics::ParseFontInfo(data, size, face);
    if (info.IsValid() && info.family.size() > size * 4) __builtin_trap();
  }
  auto bitmap = graphics::IGuiSkia::DecodeBitmap(data, size, 1);
  if (bitmap && (bitmap->width <= 0 || bitmap->height <= 0)) __builtin_trap();
  return 0;
}
