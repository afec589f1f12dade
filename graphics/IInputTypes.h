#pragma once
// The input records the platform hands to the UI: mouse modifiers, pointer events and keys.
// Coordinates are in UI units. [thread-safe] as values.
#include <cstdint>

namespace graphics {

struct IMouseModifiers {
  bool L = false, R = false, S = false, C = false, A = false;
  // 0 for the mouse.
  uint64_t pointerId = 0;
  float radius = 0.0f;
};

struct IPointerEvent {
  float x = 0.0f, y = 0.0f;
  // Movement since the previous event; drags only.
  float dX = 0.0f, dY = 0.0f;
  IMouseModifiers mods;
};

struct IKeyEvent {
  int vk = 0;
  // The character the key produces as UTF-8; empty when none.
  char utf8[5] = {};
  bool S = false, C = false, A = false;
};

enum class CursorType : int {
  Arrow = 0,
  TextBeam = 1,
  Wait = 2,
  Cross = 3,
  UpArrow = 4,
  SizeNWSE = 5,
  SizeNESW = 6,
  SizeWE = 7,
  SizeNS = 8,
  SizeAll = 9,
  Forbidden = 10,
  Hand = 11,
  AppStarting = 12,
  Help = 13,
};

}  // namespace graphics
