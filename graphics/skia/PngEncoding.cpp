#include "graphics/skia/PngEncoding.h"

#include <cstdio>

#include "graphics/skia/SkiaCApi.h"

namespace graphics {

bool EncodePng(const uint8_t* pixels, int width, int height, int rowBytes, std::vector<uint8_t>& png) {
  if (!pixels || width <= 0 || height <= 0 || rowBytes < width * 4) return false;
  const sk_imageinfo_t info = {nullptr, width, height, BGRA_8888_SK_COLORTYPE, PREMUL_SK_ALPHATYPE};
  sk_pixmap_t* pixmap = sk_pixmap_new_with_params(&info, pixels, static_cast<size_t>(rowBytes));
  sk_wstream_dynamicmemorystream_t* stream = sk_dynamicmemorywstream_new();
  const sk_pngencoder_options_t options = {ALL_SK_PNGENCODER_FILTER_FLAGS, 6, nullptr, nullptr, nullptr};
  const bool encoded = sk_pngencoder_encode(reinterpret_cast<sk_wstream_t*>(stream), pixmap, &options);
  sk_pixmap_destructor(pixmap);
  sk_data_t* data = sk_dynamicmemorywstream_detach_as_data(stream);
  sk_dynamicmemorywstream_destroy(stream);
  if (!data) return false;
  const auto* bytes = static_cast<const uint8_t*>(sk_data_get_data(data));
  if (encoded && bytes) png.assign(bytes, bytes + sk_data_get_size(data));
  sk_data_unref(data);
  return encoded && bytes;
}

bool WritePngFile(const char* path, const uint8_t* pixels, int width, int height, int rowBytes) {
  std::vector<uint8_t> png;
  if (!path || !EncodePng(pixels, width, height, rowBytes, png)) return false;
  FILE* file = std::fopen(path, "wb");
  if (!file) return false;
  const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace graphics
