#pragma once
// Writes a frame of top-down premultiplied BGRA pixels as a PNG file, with Skia's encoder.
#include <cstdint>
#include <string>

// False when the pixels cannot be encoded or the file cannot be written.
bool WritePngFile(const std::string& path, const uint8_t* pixels, int width, int height, int rowBytes);
