#include "tools/render/PngFile.h"

#include <cstdio>

#include "graphics/skia/SkiaCApi.h"

bool WritePngFile(const std::string& path, const uint8_t* pixels, int width, int height, int rowBytes) {
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
  const void* bytes = sk_data_get_data(data);
  const size_t size = sk_data_get_size(data);
  bool written = false;
  if (encoded && bytes) {
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
      written = std::fwrite(bytes, 1, size, file) == size;
      written = std::fclose(file) == 0 && written;
    }
  }
  sk_data_unref(data);
  return written;
}
