#pragma once
// PNG files of frames: top-down premultiplied BGRA pixels encoded with Skia's PNG encoder.
// [thread-safe]
#include <cstdint>
#include <vector>

namespace graphics {

// width × height pixels, rows rowBytes apart; false (png untouched) when they cannot be encoded.
bool EncodePng(const uint8_t* pixels, int width, int height, int rowBytes, std::vector<uint8_t>& png);
// False when the pixels cannot be encoded or the file cannot be written.
bool WritePngFile(const char* path, const uint8_t* pixels, int width, int height, int rowBytes);

}  // namespace graphics
