#pragma once
// A short, null-terminated text in a HeapBuffer (granularity 128). Setting a text with
// a limit of N characters keeps at most N of them. Never null: an empty text reads "".
#include <cstdarg>

#include "framework/HeapBuffer.h"

namespace framework {

class ShortText {
public:
  ShortText() = default;
  explicit ShortText(const char* text) { Set(text); }

  // Copies text (null counts as empty), keeping at most maxChars characters (−1: all).
  bool Set(const char* text, int maxChars = -1) noexcept;
  // Prints with printf rules, keeping at most maxChars characters.
  bool SetFormatted(int maxChars, const char* format, ...) noexcept __attribute__((format(printf, 3, 4)));
  bool SetFormattedV(int maxChars, const char* format, va_list args) noexcept;
  bool Append(const char* text, int maxChars = -1) noexcept;

  const char* Get() const noexcept;
  int Length() const noexcept;
  bool Empty() const noexcept { return Length() == 0; }

private:
  HeapBuffer buffer_{128};
};

// Copies src into a fixed array of `capacity` bytes, cutting it and always terminating it.
void CopyText(char* dest, int capacity, const char* src) noexcept;

}  // namespace framework
