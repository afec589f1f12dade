#pragma once
// What the font file's own tables say about one face: family and style names, style bits
// and the vertical metrics text placement needs. Parsed straight from the bytes, which
// must stay valid while the record is used. [thread-safe] (a pure function of the bytes)
#include <cstddef>
#include <cstdint>
#include <string>

namespace graphics {

struct IFontInfo {
  static constexpr uint16_t kBold = 1u << 0;
  static constexpr uint16_t kItalic = 1u << 1;
  static constexpr uint16_t kUnderline = 1u << 2;

  // The face's table directory; null when the bytes hold no such face.
  const uint8_t* tableDirectory = nullptr;
  uint32_t headOffset = 0, nameOffset = 0, hheaOffset = 0, fdscOffset = 0;
  std::string family;
  std::string style;
  uint16_t macStyle = 0;
  uint16_t unitsPerEm = 0;
  int16_t ascender = 0, descender = 0, lineGap = 0;

  // The table directory and the head, name and hhea tables were found.
  bool IsValid() const noexcept { return tableDirectory && headOffset && nameOffset && hheaOffset; }
};

// Face `faceIndex` of a TrueType or OpenType font or collection. Any malformed, truncated
// or out-of-range input gives an invalid record.
IFontInfo ParseFontInfo(const uint8_t* bytes, size_t size, int faceIndex);

}  // namespace graphics
