#include "graphics/IFontInfo.h"

#include <cstring>

namespace graphics {
namespace {

// Bounds-checked big-endian reads: every read of the file goes through these.
struct Reader {
  const uint8_t* bytes;
  size_t size;

  bool Has(size_t offset, size_t count) const noexcept { return offset <= size && count <= size - offset; }
  uint16_t U16(size_t offset, bool& ok) const noexcept {
    if (!Has(offset, 2)) {
      ok = false;
      return 0;
    }
    return static_cast<uint16_t>(bytes[offset] << 8 | bytes[offset + 1]);
  }
  uint32_t U32(size_t offset, bool& ok) const noexcept {
    if (!Has(offset, 4)) {
      ok = false;
      return 0;
    }
    return uint32_t{bytes[offset]} << 24 | uint32_t{bytes[offset + 1]} << 16 | uint32_t{bytes[offset + 2]} << 8 |
           bytes[offset + 3];
  }
};

bool TagIs(const Reader& in, size_t offset, const char* tag) {
  return in.Has(offset, 4) && std::memcmp(in.bytes + offset, tag, 4) == 0;
}

// A name record's text as UTF-8; UTF-16BE for the Unicode and Windows platforms, bytes
// taken as Latin-1 otherwise.
std::string DecodeName(const Reader& in, size_t offset, size_t length, bool utf16) {
  std::string text;
  if (!in.Has(offset, length)) return text;
  const uint8_t* p = in.bytes + offset;
  auto append = [&text](uint32_t c) {
    if (c < 0x80) {
      text.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      text.push_back(static_cast<char>(0xC0 | c >> 6));
      text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      text.push_back(static_cast<char>(0xE0 | c >> 12));
      text.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
      text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  };
  if (utf16) {
    for (size_t i = 0; i + 1 < length; i += 2) {
      const uint32_t c = uint32_t{p[i]} << 8 | p[i + 1];
      // Surrogates have no meaning alone; names here never need them.
      append(c >= 0xD800 && c < 0xE000 ? 0xFFFD : c);
    }
  } else {
    for (size_t i = 0; i < length; ++i) append(p[i]);
  }
  return text;
}

// Name identifier `id`, preferring the Windows and Unicode encodings.
std::string FindName(const Reader& in, size_t table, uint16_t id) {
  bool ok = true;
  const uint16_t count = in.U16(table + 2, ok);
  const uint16_t storage = in.U16(table + 4, ok);
  if (!ok) return {};
  std::string fallback;
  bool haveFallback = false;
  for (uint16_t i = 0; i < count; ++i) {
    const size_t record = table + 6 + size_t{i} * 12;
    const uint16_t platform = in.U16(record, ok);
    const uint16_t nameId = in.U16(record + 6, ok);
    const uint16_t length = in.U16(record + 8, ok);
    const uint16_t offset = in.U16(record + 10, ok);
    if (!ok) return fallback;
    if (nameId != id) continue;
    const size_t at = table + storage + offset;
    const bool utf16 = platform == 0 || platform == 3;
    if (utf16) {
      std::string text = DecodeName(in, at, length, true);
      if (!text.empty()) return text;
    } else if (!haveFallback) {
      fallback = DecodeName(in, at, length, false);
      haveFallback = !fallback.empty();
    }
  }
  return fallback;
}

}  // namespace

IFontInfo ParseFontInfo(const uint8_t* bytes, size_t size, int faceIndex) {
  IFontInfo info;
  if (!bytes || faceIndex < 0) return info;
  const Reader in{bytes, size};
  bool ok = true;
  size_t directory = 0;
  const bool single = TagIs(in, 0, "\x00\x01\x00\x00") || TagIs(in, 0, "OTTO") || TagIs(in, 0, "typ1");
  if (single) {
    if (faceIndex != 0) return info;
  } else if (TagIs(in, 0, "ttcf")) {
    const uint32_t version = in.U32(4, ok);
    const uint32_t fonts = in.U32(8, ok);
    if (!ok || (version != 0x00010000u && version != 0x00020000u)) return info;
    if (static_cast<uint32_t>(faceIndex) >= fonts) return info;
    directory = in.U32(12 + 4 * static_cast<size_t>(faceIndex), ok);
    if (!ok) return info;
  } else {
    return info;
  }

  const uint16_t tables = in.U16(directory + 4, ok);
  if (!ok || !in.Has(directory, 12 + size_t{tables} * 16)) return info;
  for (uint16_t i = 0; i < tables; ++i) {
    const size_t entry = directory + 12 + size_t{i} * 16;
    const uint32_t offset = in.U32(entry + 8, ok);
    const uint32_t length = in.U32(entry + 12, ok);
    // A table that does not lie inside the file counts as absent.
    if (!ok || offset == 0 || !in.Has(offset, length)) continue;
    if (TagIs(in, entry, "head") && length >= 54) info.headOffset = offset;
    else if (TagIs(in, entry, "name") && length >= 6) info.nameOffset = offset;
    else if (TagIs(in, entry, "hhea") && length >= 36) info.hheaOffset = offset;
    else if (TagIs(in, entry, "fdsc")) info.fdscOffset = offset;
  }
  if (!info.headOffset || !info.nameOffset || !info.hheaOffset) return IFontInfo{};

  info.tableDirectory = bytes + directory;
  info.unitsPerEm = in.U16(info.headOffset + 18, ok);
  info.macStyle = in.U16(info.headOffset + 44, ok);
  info.ascender = static_cast<int16_t>(in.U16(info.hheaOffset + 4, ok));
  info.descender = static_cast<int16_t>(in.U16(info.hheaOffset + 6, ok));
  info.lineGap = static_cast<int16_t>(in.U16(info.hheaOffset + 8, ok));
  info.family = FindName(in, info.nameOffset, 1);
  info.style = FindName(in, info.nameOffset, 2);
  if (!ok) return IFontInfo{};
  return info;
}

}  // namespace graphics
