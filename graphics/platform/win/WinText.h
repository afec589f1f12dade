#pragma once
// Text and data at the Windows boundary, as pure functions: UTF-8 ↔ UTF-16 (ill-formed
// input becomes U+FFFD, never an error), the upper-cased names module resources are found
// by, and the file-drop list the clipboard and drags carry. [thread-safe]
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/IInputTypes.h"

namespace graphics::win {

std::u16string Utf16Of(const std::string& utf8);
std::string Utf8Of(const char16_t* utf16, size_t units);
inline std::string Utf8Of(const std::u16string& utf16) { return Utf8Of(utf16.data(), utf16.size()); }

// A resource name or type as stored in the module: ASCII letters upper-cased.
std::string ResourceNameOf(const char* name);

// A file-drop list holding one path: a 20-byte header (list offset 20, point 0, 0, not in
// the non-client area, wide characters), the path in UTF-16 with its terminator and the
// list's closing terminator.
std::vector<uint8_t> FileDropList(const std::u16string& path);
// The paths of a file-drop list; none when the header is malformed.
std::vector<std::string> PathsOfFileDropList(const uint8_t* bytes, size_t size);

// The system cursor (the number of its IDC_ resource) for a cursor type; the arrow for
// anything unknown.
uint16_t SystemCursorId(CursorType type) noexcept;

}  // namespace graphics::win
