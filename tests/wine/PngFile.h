#pragma once
// A minimal PNG writer for the Wine test host: 8-bit RGBA, uncompressed (stored) deflate
// blocks, so the host needs no image library.
#include <cstdint>
#include <cstdio>
#include <vector>

namespace wine_host {

inline uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

// rgba: height rows of width × 4 bytes, top row first. False when the file cannot be written.
inline bool WritePng(const char* path, const uint8_t* rgba, int width, int height) {
  std::vector<uint8_t> raw;
  const size_t row = static_cast<size_t>(width) * 4;
  raw.reserve((row + 1) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    raw.insert(raw.end(), rgba + row * static_cast<size_t>(y), rgba + row * static_cast<size_t>(y + 1));
  }
  std::vector<uint8_t> z{0x78, 0x01};
  uint32_t a = 1, b = 0;
  for (uint8_t v : raw) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  for (size_t at = 0; at < raw.size() || raw.empty();) {
    const size_t n = raw.size() - at < 65535 ? raw.size() - at : 65535;
    const bool last = at + n == raw.size();
    z.push_back(last ? 1 : 0);
    z.push_back(static_cast<uint8_t>(n & 0xFF));
    z.push_back(static_cast<uint8_t>(n >> 8));
    z.push_back(static_cast<uint8_t>(~n & 0xFF));
    z.push_back(static_cast<uint8_t>((~n >> 8) & 0xFF));
    z.insert(z.end(), raw.begin() + static_cast<long>(at), raw.begin() + static_cast<long>(at + n));
    at += n;
    if (last) break;
  }
  const uint32_t adler = (b << 16) | a;
  for (int s = 24; s >= 0; s -= 8) z.push_back(static_cast<uint8_t>(adler >> s));

  std::vector<uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  const auto chunk = [&](const char type[4], const std::vector<uint8_t>& body) {
    const uint32_t n = static_cast<uint32_t>(body.size());
    for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(n >> s));
    std::vector<uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    out.insert(out.end(), typed.begin(), typed.end());
    const uint32_t crc = Crc32(typed.data(), typed.size());
    for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(crc >> s));
  };
  std::vector<uint8_t> header;
  for (uint32_t v : {static_cast<uint32_t>(width), static_cast<uint32_t>(height)})
    for (int s = 24; s >= 0; s -= 8) header.push_back(static_cast<uint8_t>(v >> s));
  header.insert(header.end(), {8, 6, 0, 0, 0});
  chunk("IHDR", header);
  chunk("IDAT", z);
  chunk("IEND", {});
  FILE* file = std::fopen(path, "wb");
  if (!file) return false;
  const bool ok = std::fwrite(out.data(), 1, out.size(), file) == out.size();
  return std::fclose(file) == 0 && ok;
}

}  // namespace wine_host
