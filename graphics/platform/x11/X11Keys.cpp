#include "graphics/platform/x11/X11Keys.h"

#include <X11/keysym.h>

namespace graphics {

namespace {

struct KeyPair {
  unsigned long keysym;
  int vk;
};

// Keys whose code is not a letter, a digit or a function key.
constexpr KeyPair kKeys[] = {
    {XK_BackSpace, 0x08}, {XK_Tab, 0x09}, {XK_ISO_Left_Tab, 0x09}, {XK_Clear, 0x0C}, {XK_Return, 0x0D},
    {XK_KP_Enter, 0x0D}, {XK_Shift_L, 0x10}, {XK_Shift_R, 0x10}, {XK_Control_L, 0x11}, {XK_Control_R, 0x11},
    {XK_Alt_L, 0x12}, {XK_Alt_R, 0x12}, {XK_Meta_L, 0x12}, {XK_Meta_R, 0x12}, {XK_Pause, 0x13},
    {XK_Caps_Lock, 0x14}, {XK_Escape, 0x1B}, {XK_space, 0x20}, {XK_Prior, 0x21}, {XK_Next, 0x22},
    {XK_End, 0x23}, {XK_Home, 0x24}, {XK_Left, 0x25}, {XK_Up, 0x26}, {XK_Right, 0x27}, {XK_Down, 0x28},
    {XK_Select, 0x29}, {XK_Print, 0x2C}, {XK_Insert, 0x2D}, {XK_Delete, 0x2E}, {XK_Help, 0x2F},
    {XK_Super_L, 0x5B}, {XK_Super_R, 0x5C}, {XK_Menu, 0x5D}, {XK_KP_Multiply, 0x6A}, {XK_KP_Add, 0x6B},
    {XK_KP_Separator, 0x6C}, {XK_KP_Subtract, 0x6D}, {XK_KP_Decimal, 0x6E}, {XK_KP_Divide, 0x6F},
    {XK_KP_Home, 0x24}, {XK_KP_End, 0x23}, {XK_KP_Prior, 0x21}, {XK_KP_Next, 0x22}, {XK_KP_Left, 0x25},
    {XK_KP_Up, 0x26}, {XK_KP_Right, 0x27}, {XK_KP_Down, 0x28}, {XK_KP_Insert, 0x2D}, {XK_KP_Delete, 0x2E},
    {XK_KP_Begin, 0x0C}, {XK_Num_Lock, 0x90}, {XK_Scroll_Lock, 0x91}, {XK_semicolon, 0xBA},
    {XK_equal, 0xBB}, {XK_comma, 0xBC}, {XK_minus, 0xBD}, {XK_period, 0xBE}, {XK_slash, 0xBF},
    {XK_grave, 0xC0}, {XK_bracketleft, 0xDB}, {XK_backslash, 0xDC}, {XK_bracketright, 0xDD},
    {XK_apostrophe, 0xDE}, {XK_less, 0xE2},
};

}  // namespace

int VirtualKeyOf(unsigned long keysym) noexcept {
  if (keysym >= XK_a && keysym <= XK_z) return static_cast<int>('A' + (keysym - XK_a));
  if (keysym >= XK_A && keysym <= XK_Z) return static_cast<int>(keysym);
  if (keysym >= XK_0 && keysym <= XK_9) return static_cast<int>(keysym);
  if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return static_cast<int>(0x60 + (keysym - XK_KP_0));
  if (keysym >= XK_F1 && keysym <= XK_F24) return static_cast<int>(0x70 + (keysym - XK_F1));
  for (const KeyPair& k : kKeys)
    if (k.keysym == keysym) return k.vk;
  return 0;
}

char32_t CharacterOf(unsigned long keysym) noexcept {
  if ((keysym >= 0x20 && keysym <= 0x7E) || (keysym >= 0xA0 && keysym <= 0xFF)) return static_cast<char32_t>(keysym);
  // Key symbols of the form 0x01000000 + code point stand for any other character.
  if ((keysym & 0xFF000000UL) == 0x01000000UL) return static_cast<char32_t>(keysym & 0x00FFFFFFUL);
  if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return static_cast<char32_t>('0' + (keysym - XK_KP_0));
  switch (keysym) {
    case XK_KP_Space: return U' ';
    case XK_KP_Multiply: return U'*';
    case XK_KP_Add: return U'+';
    case XK_KP_Separator: return U',';
    case XK_KP_Subtract: return U'-';
    case XK_KP_Decimal: return U'.';
    case XK_KP_Divide: return U'/';
    case XK_KP_Equal: return U'=';
    case XK_Return:
    case XK_KP_Enter: return U'\r';
    case XK_Escape: return 0x1B;
    case XK_BackSpace: return U'\b';
    case XK_Tab: return U'\t';
    default: return 0;
  }
}

int EncodeUtf8(char32_t c, char out[5]) noexcept {
  int n = 0;
  if (c == 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
  } else if (c < 0x80) {
    out[n++] = static_cast<char>(c);
  } else if (c < 0x800) {
    out[n++] = static_cast<char>(0xC0 | (c >> 6));
    out[n++] = static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out[n++] = static_cast<char>(0xE0 | (c >> 12));
    out[n++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[n++] = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out[n++] = static_cast<char>(0xF0 | (c >> 18));
    out[n++] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out[n++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[n++] = static_cast<char>(0x80 | (c & 0x3F));
  }
  out[n] = '\0';
  return n;
}

}  // namespace graphics
