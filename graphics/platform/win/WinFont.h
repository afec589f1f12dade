#pragma once
// The Windows platform font: a GDI font handle made for a family, either installed or added
// to the process from memory (then it also owns that private font), and the bytes of the font
// file as GDI reports them, with the face that matches its style. [editor-thread]
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "graphics/PlatformFont.h"

namespace graphics::win {

class WinFont final : public PlatformFont {
public:
  // bytes added to the process as a private font and a font for the family their first face
  // names; null unless the system then reports exactly that face.
  static std::unique_ptr<WinFont> FromMemory(const uint8_t* bytes, size_t size);
  // An installed family: style 0 regular (weight 400), 1 bold (700), 2 italic.
  static std::unique_ptr<WinFont> FromFamily(const char* family, int style);
  ~WinFont() override;
  WinFont(const WinFont&) = delete;
  WinFont& operator=(const WinFont&) = delete;

  void* Descriptor() const override { return font; }
  bool FontData(const uint8_t*& bytes, size_t& size, int& faceIndex) const override;

private:
  WinFont(HFONT handle, HANDLE privateFont, bool installed, std::string styleName)
      : font(handle), memoryFont(privateFont), fromFamily(installed), style(std::move(styleName)) {}

  HFONT font;
  HANDLE memoryFont;
  bool fromFamily;
  std::string style;
  mutable std::vector<uint8_t> data;
};

}  // namespace graphics::win
