#pragma once
// Key translation for the X11 window: X key symbols to the Windows virtual-key codes and the
// UTF-8 characters that IKeyEvent carries, so controls see the same keys on every platform.
// [thread-safe]
#include <cstdint>

namespace graphics {

// The virtual-key code of an unshifted key symbol (level 0 of the key); 0 when it has none.
int VirtualKeyOf(unsigned long keysym) noexcept;

// The Unicode character a key symbol types (control characters for Enter, Escape, Backspace
// and Tab, as Windows' layouts give them); 0 when it types none.
char32_t CharacterOf(unsigned long keysym) noexcept;

// Writes the character as UTF-8 with a terminating zero into out (5 bytes); an invalid code
// point or 0 writes "". Returns the number of bytes.
int EncodeUtf8(char32_t c, char out[5]) noexcept;

}  // namespace graphics
