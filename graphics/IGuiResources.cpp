// Bitmaps and fonts by name: the 1x/2x choice by backing scale, the search order of
// scales, scaling to a missing scale through a layer, and the process-wide caches.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "graphics/IGraphicsCaches.h"
#include "graphics/IGui.h"
#include "graphics/IResources.h"
#include "graphics/PlatformFont.h"

namespace graphics {
namespace {

IBitmapRef MakeRef(BackendBitmap* bitmap, int frames, bool framesAreHorizontal, const std::string& name) {
  IBitmapRef ref;
  if (!bitmap || bitmap->scale < 1) return ref;
  ref.bitmap = bitmap;
  ref.width = bitmap->width / bitmap->scale;
  ref.height = bitmap->height / bitmap->scale;
  ref.frames = frames < 1 ? 1 : frames;
  ref.framesAreHorizontal = framesAreHorizontal;
  ref.name = name;
  return ref;
}

// "bg.png" at 2 is "bg@2x.png"; at 1 the name itself.
std::string NameAtScale(const std::string& name, int scale) {
  if (scale == 1) return name;
  const size_t dot = name.rfind('.');
  const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
  const std::string ext = dot == std::string::npos ? "" : name.substr(dot);
  return stem + "@" + std::to_string(scale) + "x" + ext;
}

bool ReadFile(const std::string& path, std::vector<uint8_t>& bytes) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  bool ok = std::fseek(file, 0, SEEK_END) == 0;
  const long size = ok ? std::ftell(file) : -1;
  ok = ok && size > 0 && std::fseek(file, 0, SEEK_SET) == 0;
  if (ok) {
    bytes.resize(static_cast<size_t>(size));
    ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
  }
  std::fclose(file);
  return ok;
}

}  // namespace

IBitmapRef IGui::LoadBitmap(const char* name, int frames, bool framesAreHorizontal, int targetScale) {
  if (!name || !*name) return {};
  if (targetScale <= 0) targetScale = static_cast<int>(std::ceil(BackingScale()));
  if (targetScale < 1) targetScale = 1;
  const std::string base(name);
  ICache<BackendBitmap>& cache = BitmapCache();
  auto lock = cache.Lock();
  if (BackendBitmap* cached = cache.Find(base, targetScale))
    return MakeRef(cached, frames, framesAreHorizontal, base);

  const size_t dot = base.rfind('.');
  const std::string ext = dot == std::string::npos ? "" : base.substr(dot + 1);
  if (ext.empty() || !BitmapExtSupported(ext.c_str())) return {};

  // The target first, then 3, then downwards, skipping the target.
  int foundScale = 0;
  ResourceLocation location = ResourceLocation::NotFound;
  std::string found;
  auto tryScale = [&](int scale) {
    location = LocateResource(NameAtScale(base, scale).c_str(), ext.c_str(), found, ModuleHandle());
    if (location != ResourceLocation::NotFound) foundScale = scale;
    return foundScale != 0;
  };
  if (!tryScale(targetScale)) {
    for (int scale = targetScale != 3 ? 3 : targetScale - 1; scale > 0;
         scale = scale == targetScale + 1 ? targetScale - 1 : scale - 1)
      if (scale != targetScale && tryScale(scale)) break;
  }

  BackendBitmap* source = nullptr;
  if (!foundScale) {
    double anyScale = 0.0;
    source = cache.FindAnyScale(base, anyScale);
    if (!source) return {};
  } else {
    source = foundScale != targetScale ? cache.Find(base, foundScale) : nullptr;
    if (!source) {
      std::unique_ptr<BackendBitmap> loaded =
          LoadAPIBitmap(found.c_str(), foundScale, static_cast<int>(location), ext.c_str());
      if (!loaded) return {};
      source = loaded.get();
      // The source stays cached at its own scale as well: one decode per name and scale.
      RetainBitmap(std::move(loaded), base);
      source = cache.Find(base, source->scale);
      if (!source) return {};
    }
  }
  if (source->scale == targetScale) return MakeRef(source, frames, framesAreHorizontal, base);
  return ScaleBitmap(MakeRef(source, frames, framesAreHorizontal, base), base, targetScale);
}

IBitmapRef IGui::ScaleBitmap(const IBitmapRef& bitmap, const std::string& name, int targetScale) {
  if (!bitmap.IsValid() || targetScale < 1) return {};
  auto lock = BitmapCache().Lock();
  const float oldScreen = screenScale, oldDraw = drawScale;
  SetScalesQuietly(static_cast<float>(targetScale), bitmap.bitmap->drawScale);
  const IRect rect{0.0f, 0.0f, static_cast<float>(bitmap.width), static_cast<float>(bitmap.height)};
  StartLayer(nullptr, rect);
  std::unique_ptr<ILayer> layer;
  if (!layers.empty()) {
    DrawBitmap(bitmap, rect, 0, 0, nullptr);
    layer = EndLayer();
  }
  SetScalesQuietly(oldScreen, oldDraw);
  if (!layer || !layer->bitmap) return {};
  const int scale = layer->bitmap->scale;
  RetainBitmap(std::move(layer->bitmap), name);
  return MakeRef(BitmapCache().Find(name, scale), bitmap.frames, bitmap.framesAreHorizontal, name);
}

void IGui::RetainBitmap(std::unique_ptr<BackendBitmap> bitmap, const std::string& name) {
  if (!bitmap) return;
  auto lock = BitmapCache().Lock();
  const double scale = bitmap->scale;
  BitmapCache().Add(std::move(bitmap), name, scale);
}

void IGui::ReleaseBitmap(BackendBitmap* bitmap) {
  auto lock = BitmapCache().Lock();
  BitmapCache().Remove(bitmap);
}

bool IGui::LoadFont(const char* fontId, const char* fileOrResourceName) {
  if (!fontId || !*fontId || !fileOrResourceName) return false;
  ICache<IFontMemory>& cache = FontMemoryCache();
  PlatformFont* font = nullptr;
  {
    auto lock = cache.Lock();
    IFontMemory* memory = cache.Find(fontId, 1.0);
    if (!memory) {
      std::string found;
      auto entry = std::make_unique<IFontMemory>();
      const uint8_t* bytes = nullptr;
      size_t size = 0;
      switch (LocateResource(fileOrResourceName, "ttf", found, ModuleHandle())) {
        case ResourceLocation::Resource: bytes = ResourceBytes(found.c_str(), "ttf", size, ModuleHandle()); break;
        case ResourceLocation::File:
          if (!ReadFile(found, entry->fileBytes)) return false;
          bytes = entry->fileBytes.data();
          size = entry->fileBytes.size();
          break;
        case ResourceLocation::NotFound: return false;
      }
      entry->font = LoadPlatformFont(fontId, bytes, size);
      if (!entry->font) return false;
      memory = cache.Add(std::move(entry), fontId, 1.0);
    }
    font = memory->font.get();
  }
  // The font-memory entry lives until the last UI goes, and this UI is one of them.
  return LoadAPIFont(fontId, *font);
}

}  // namespace graphics
