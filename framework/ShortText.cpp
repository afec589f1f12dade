#include "framework/ShortText.h"

#include <cstdio>
#include <cstring>

namespace framework {

namespace {
int CappedLength(const char* text, int maxChars) noexcept {
  if (!text) return 0;
  if (maxChars < 0) return static_cast<int>(std::strlen(text));
  return static_cast<int>(strnlen(text, static_cast<size_t>(maxChars)));
}
}  // namespace

bool ShortText::Set(const char* text, int maxChars) noexcept {
  const int n = CappedLength(text, maxChars);
  uint8_t* data = buffer_.Resize(n + 1);
  if (!data) return false;
  if (n) std::memcpy(data, text, n);
  data[n] = 0;
  return true;
}

bool ShortText::Append(const char* text, int maxChars) noexcept {
  const int old = Length();
  const int n = CappedLength(text, maxChars);
  uint8_t* data = buffer_.Resize(old + n + 1);
  if (!data) return false;
  if (n) std::memcpy(data + old, text, n);
  data[old + n] = 0;
  return true;
}

bool ShortText::SetFormattedV(int maxChars, const char* format, va_list args) noexcept {
  va_list copy;
  va_copy(copy, args);
  const int full = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (full < 0) return Set("");
  const int n = maxChars >= 0 && maxChars < full ? maxChars : full;
  uint8_t* data = buffer_.Resize(full + 1);
  if (!data) return false;
  std::vsnprintf(reinterpret_cast<char*>(data), static_cast<size_t>(full) + 1, format, args);
  data[n] = 0;
  buffer_.Resize(n + 1);
  return true;
}

bool ShortText::SetFormatted(int maxChars, const char* format, ...) noexcept {
  va_list args;
  va_start(args, format);
  const bool ok = SetFormattedV(maxChars, format, args);
  va_end(args);
  return ok;
}

const char* ShortText::Get() const noexcept {
  return buffer_.Size() ? reinterpret_cast<const char*>(buffer_.Data()) : "";
}

int ShortText::Length() const noexcept { return buffer_.Size() ? buffer_.Size() - 1 : 0; }

void CopyText(char* dest, int capacity, const char* src) noexcept {
  if (!dest || capacity <= 0) return;
  const int n = CappedLength(src, capacity - 1);
  if (n) std::memcpy(dest, src, n);
  dest[n] = 0;
}

}  // namespace framework
