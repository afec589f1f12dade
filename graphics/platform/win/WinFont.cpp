#include "graphics/platform/win/WinFont.h"

#include "graphics/IFontInfo.h"
#include "graphics/platform/win/WinText.h"

namespace graphics::win {
namespace {

// GetFontData's table tag for a whole font collection ("ttcf" in file byte order).
constexpr DWORD kCollectionTag = 0x66637474;

HFONT MakeFont(const std::string& family, int weight, bool italic, bool underline) {
  LOGFONTW description{};
  description.lfWeight = weight;
  description.lfItalic = italic;
  description.lfUnderline = underline;
  description.lfCharSet = DEFAULT_CHARSET;
  description.lfOutPrecision = OUT_TT_PRECIS;
  description.lfQuality = ANTIALIASED_QUALITY;
  const std::u16string face = Utf16Of(family);
  if (face.empty() || face.size() >= LF_FACESIZE) return nullptr;
  face.copy(reinterpret_cast<char16_t*>(description.lfFaceName), face.size());
  return CreateFontIndirectW(&description);
}

// The system picks a substitute when it has no such face: only the exact face counts.
bool HasFace(HFONT font, const std::string& family) {
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return false;
  HGDIOBJ old = SelectObject(dc, font);
  wchar_t face[LF_FACESIZE] = {};
  const int n = GetTextFaceW(dc, LF_FACESIZE, face);
  SelectObject(dc, old);
  DeleteDC(dc);
  return n > 0 && Utf8Of(reinterpret_cast<const char16_t*>(face), static_cast<size_t>(n - 1)) == family;
}

}  // namespace

std::unique_ptr<WinFont> WinFont::FromMemory(const uint8_t* bytes, size_t size) {
  if (!bytes || size == 0 || size > MAXDWORD) return nullptr;
  const IFontInfo info = ParseFontInfo(bytes, size, 0);
  if (!info.IsValid() || info.family.empty()) return nullptr;
  DWORD fonts = 0;
  HANDLE memory = AddFontMemResourceEx(const_cast<uint8_t*>(bytes), static_cast<DWORD>(size), nullptr, &fonts);
  if (!memory) return nullptr;
  HFONT font = MakeFont(info.family, (info.macStyle & IFontInfo::kBold) ? FW_BOLD : FW_NORMAL, (info.macStyle & IFontInfo::kItalic) != 0,
                        (info.macStyle & IFontInfo::kUnderline) != 0);
  if (!font || !HasFace(font, info.family)) {
    if (font) DeleteObject(font);
    RemoveFontMemResourceEx(memory);
    return nullptr;
  }
  return std::unique_ptr<WinFont>(new WinFont(font, memory, false, ""));
}

std::unique_ptr<WinFont> WinFont::FromFamily(const char* family, int style) {
  if (!family || style < 0 || style > 2) return nullptr;
  static constexpr const char* kStyleNames[] = {"Regular", "Bold", "Italic"};
  HFONT font = MakeFont(family, style == 1 ? FW_BOLD : FW_NORMAL, style == 2, false);
  if (!font || !HasFace(font, family)) {
    if (font) DeleteObject(font);
    return nullptr;
  }
  return std::unique_ptr<WinFont>(new WinFont(font, nullptr, true, kStyleNames[style]));
}

WinFont::~WinFont() {
  if (font) DeleteObject(font);
  if (memoryFont) RemoveFontMemResourceEx(memoryFont);
}

bool WinFont::FontData(const uint8_t*& bytes, size_t& size, int& faceIndex) const {
  if (data.empty()) {
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return false;
    HGDIOBJ old = SelectObject(dc, font);
    DWORD table = kCollectionTag;
    DWORD length = GetFontData(dc, table, 0, nullptr, 0);
    if (length == GDI_ERROR || length == 0) {
      table = 0;
      length = GetFontData(dc, table, 0, nullptr, 0);
    }
    if (length != GDI_ERROR && length > 0) {
      data.resize(length);
      if (GetFontData(dc, table, 0, data.data(), length) != length) data.clear();
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    if (data.empty()) return false;
  }
  for (int index = 0; index < 256; ++index) {
    const IFontInfo info = ParseFontInfo(data.data(), data.size(), index);
    if (!info.IsValid()) return false;
    if (info.style.empty() || (!style.empty() && info.style != style)) continue;
    bytes = data.data();
    size = data.size();
    faceIndex = index;
    return true;
  }
  return false;
}

}  // namespace graphics::win
