#include "graphics/platform/win/WinText.h"

#include <cstring>

namespace graphics::win {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The code point starting at s[i]; i moves past it. Overlong forms, surrogates and values
// past U+10FFFF are ill-formed and read as one replacement character per bad byte.
char32_t NextUtf8(const std::string& s, size_t& i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char b0 = byte(i);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  int extra = 0;
  char32_t c = 0;
  char32_t minimum = 0;
  if ((b0 & 0xE0) == 0xC0) extra = 1, c = b0 & 0x1F, minimum = 0x80;
  else if ((b0 & 0xF0) == 0xE0) extra = 2, c = b0 & 0x0F, minimum = 0x800;
  else if ((b0 & 0xF8) == 0xF0) extra = 3, c = b0 & 0x07, minimum = 0x10000;
  else {
    ++i;
    return kReplacement;
  }
  if (i + static_cast<size_t>(extra) >= s.size()) {
    ++i;
    return kReplacement;
  }
  for (int k = 1; k <= extra; ++k) {
    const unsigned char b = byte(i + static_cast<size_t>(k));
    if ((b & 0xC0) != 0x80) {
      ++i;
      return kReplacement;
    }
    c = (c << 6) | (b & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++i;
    return kReplacement;
  }
  i += static_cast<size_t>(extra) + 1;
  return c;
}

void AppendUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::u16string Utf16Of(const std::string& utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const char32_t c = NextUtf8(utf8, i);
    if (c < 0x10000) {
      out += static_cast<char16_t>(c);
    } else {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  return out;
}

std::string Utf8Of(const char16_t* s, size_t units) {
  std::string out;
  if (!s) return out;
  out.reserve(units);
  for (size_t i = 0; i < units; ++i) {
    char32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(s[i + 1]) - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
    }
    AppendUtf8(c, out);
  }
  return out;
}

std::string ResourceNameOf(const char* name) {
  std::string out = name ? name : "";
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::vector<uint8_t> FileDropList(const std::u16string& path) {
  constexpr size_t kHeader = 20;
  std::vector<uint8_t> block(kHeader + (path.size() + 2) * sizeof(char16_t), 0);
  const uint32_t listOffset = kHeader, wide = 1;
  std::memcpy(block.data(), &listOffset, 4);
  std::memcpy(block.data() + 16, &wide, 4);
  std::memcpy(block.data() + kHeader, path.data(), path.size() * sizeof(char16_t));
  return block;
}

std::vector<std::string> PathsOfFileDropList(const uint8_t* bytes, size_t size) {
  std::vector<std::string> paths;
  if (!bytes || size < 20) return paths;
  uint32_t offset = 0, wide = 0;
  std::memcpy(&offset, bytes, 4);
  std::memcpy(&wide, bytes + 16, 4);
  if (offset < 20 || offset >= size) return paths;
  if (wide) {
    std::u16string current;
    for (size_t i = offset; i + 1 < size; i += 2) {
      char16_t unit = 0;
      std::memcpy(&unit, bytes + i, 2);
      if (unit == 0) {
        if (current.empty()) break;
        paths.push_back(Utf8Of(current));
        current.clear();
      } else {
        current += unit;
      }
    }
  } else {
    std::string current;
    for (size_t i = offset; i < size; ++i) {
      if (bytes[i] == 0) {
        if (current.empty()) break;
        paths.push_back(current);
        current.clear();
      } else {
        current += static_cast<char>(bytes[i]);
      }
    }
  }
  return paths;
}

uint16_t SystemCursorId(CursorType type) noexcept {
  static constexpr uint16_t kIds[] = {32512, 32513, 32514, 32515, 32516, 32642, 32643,
                                      32644, 32645, 32646, 32648, 32649, 32650, 32651};
  const int i = static_cast<int>(type);
  return i >= 0 && i < static_cast<int>(sizeof kIds / sizeof kIds[0]) ? kIds[i] : kIds[0];
}

}  // namespace graphics::win
