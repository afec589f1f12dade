#include "graphics/PlatformFont.h"

#include "graphics/IFontInfo.h"

namespace graphics {

std::unique_ptr<MemoryFont> MemoryFont::Make(const uint8_t* bytes, size_t size, const char* style) {
  const IFontInfo info = ParseFontInfo(bytes, size, 0);
  if (!info.IsValid() || info.family.empty()) return nullptr;
  return std::unique_ptr<MemoryFont>(new MemoryFont(bytes, size, info.family, style ? style : ""));
}

bool MemoryFont::FontData(const uint8_t*& outBytes, size_t& outSize, int& faceIndex) const {
  // Faces of a collection are tried in order; a single font stops after face 0.
  for (int index = 0; index < 256; ++index) {
    const IFontInfo info = ParseFontInfo(bytes, size, index);
    if (!info.IsValid()) return false;
    if (info.style.empty() || (!style.empty() && info.style != style)) continue;
    outBytes = bytes;
    outSize = size;
    faceIndex = index;
    return true;
  }
  return false;
}

}  // namespace graphics
