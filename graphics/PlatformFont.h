#pragma once
// A font the platform made from an installed family or from bytes: its native handle and
// the bytes of the face that matches its style. MemoryFont is the form for platforms
// without a font registry of their own (headless): the bytes are its handle.
// [editor-thread]
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace graphics {

class PlatformFont {
public:
  virtual ~PlatformFont() = default;
  // The platform's font handle.
  virtual void* Descriptor() const = 0;
  // The font file's bytes and the index of the face that matches the style; false when none does.
  virtual bool FontData(const uint8_t*& bytes, size_t& size, int& faceIndex) const = 0;
};

class MemoryFont final : public PlatformFont {
public:
  // Face names are checked against the bytes' own tables: a font whose first face has no
  // family name is refused (null).
  static std::unique_ptr<MemoryFont> Make(const uint8_t* bytes, size_t size, const char* style = "");

  void* Descriptor() const override { return const_cast<uint8_t*>(bytes); }
  bool FontData(const uint8_t*& outBytes, size_t& outSize, int& faceIndex) const override;
  const std::string& Family() const noexcept { return family; }

private:
  MemoryFont(const uint8_t* fontBytes, size_t fontSize, std::string familyName, std::string styleName)
      : bytes(fontBytes), size(fontSize), family(std::move(familyName)), style(std::move(styleName)) {}

  const uint8_t* bytes;
  size_t size;
  std::string family;
  std::string style;
};

}  // namespace graphics
