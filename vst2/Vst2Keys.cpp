#include "vst2/Vst2Keys.h"

#include <cmath>
#include <cstring>

namespace {

constexpr int kShifted = 0x100;

// VKEY_BACK … VKEY_ALT (1 … 56) → Windows codes.
constexpr int kWindowsKeys[] = {
    8,   9,   12,  13,  19,  27,  32,  34,  35,  36,  37,  38,  39,  40,  33,  34,  41,  42,  13,
    44,  45,  46,  47,  96,  97,  98,  99,  100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110,
    111, 112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123, 144, 145, 16,  17,  18,
};
static_assert(sizeof kWindowsKeys / sizeof kWindowsKeys[0] == VKEY_ALT);

// US layout: punctuation keys and what they give without and with shift.
struct PunctuationKey {
  int code;
  char plain, shifted;
};
constexpr PunctuationKey kPunctuation[] = {
    {0xBA, ';', ':'}, {0xBB, '=', '+'}, {0xBC, ',', '<'},  {0xBD, '-', '_'}, {0xBE, '.', '>'},
    {0xBF, '/', '?'}, {0xC0, '`', '~'}, {0xDB, '[', '{'}, {0xDC, '\\', '|'}, {0xDD, ']', '}'},
    {0xDE, '\'', '"'},
};
constexpr char kShiftedDigits[] = ")!@#$%^&*(";

// opt carries the modifier bits as a float; anything that is not a small whole number has none.
int ModifierBits(float modifiers) noexcept {
  if (!(modifiers >= 0.0f && modifiers < 65536.0f)) return 0;
  return static_cast<int>(modifiers);
}

}  // namespace

int KeyScanOfCharacter(char character) noexcept {
  const char c = character;
  if (c >= 'a' && c <= 'z') return 'A' + (c - 'a');
  if (c >= 'A' && c <= 'Z') return kShifted | c;
  if (c >= '0' && c <= '9') return c;
  if (c == ' ' || c == '\b' || c == '\t' || c == '\r' || c == 27) return c;
  if (c != 0) {
    if (const char* digit = std::strchr(kShiftedDigits, c)) return kShifted | ('0' + static_cast<int>(digit - kShiftedDigits));
    for (const PunctuationKey& key : kPunctuation) {
      if (c == key.plain) return key.code;
      if (c == key.shifted) return kShifted | key.code;
    }
  }
  return -1;
}

int WindowsKeyOfVstKey(VstIntPtr vstKey, char character) noexcept {
  if (vstKey == 0 || vstKey == VKEY_EQUALS) return KeyScanOfCharacter(character);
  if (vstKey < VKEY_BACK || vstKey > VKEY_ALT) return 0;
  return kWindowsKeys[vstKey - VKEY_BACK];
}

graphics::IKeyEvent Vst2KeyEvent(VstInt32 character, VstIntPtr vstKey, float modifiers) noexcept {
  graphics::IKeyEvent key;
  const auto c = static_cast<char>(character);
  key.vk = WindowsKeyOfVstKey(vstKey, c);
  key.utf8[0] = c;
  const int bits = ModifierBits(modifiers);
  key.S = (bits & MODIFIER_SHIFT) != 0;
  key.C = (bits & MODIFIER_CONTROL) != 0;
  key.A = (bits & MODIFIER_ALTERNATE) != 0;
  return key;
}
