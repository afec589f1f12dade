#include "graphics/IGraphicsCaches.h"

#include <cstdio>

#include "graphics/PlatformFont.h"

namespace graphics {

std::string CacheKeyText(const std::string& name, double scale) {
  char suffix[64];
  std::snprintf(suffix, sizeof suffix, "-%.1fx", scale);
  return name + suffix;
}

uint64_t CacheKeyHash(const std::string& name, double scale) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (unsigned char c : CacheKeyText(name, scale)) {
    hash ^= c;
    hash *= 0x100000001b3ull;
  }
  return hash;
}

IFontMemory::IFontMemory() = default;
IFontMemory::~IFontMemory() = default;

ICache<BackendBitmap>& BitmapCache() {
  static ICache<BackendBitmap> cache;
  return cache;
}

ICache<IFontMemory>& FontMemoryCache() {
  static ICache<IFontMemory> cache;
  return cache;
}

}  // namespace graphics
