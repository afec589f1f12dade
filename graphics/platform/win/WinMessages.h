#pragma once
// How the Win32 window turns a message into an input call of the UI: the message numbers it
// handles and the translation of their parameters (client or screen pixels, button and key
// flags, wheel steps, pen marks) into UI units and modifiers, as pure functions of plain
// integers. No Windows header is needed here, so the rules are tested on every platform;
// IGuiWin.cpp checks each number against the system's definitions. [thread-safe]
#include <cstdint>

#include "graphics/IInputTypes.h"

namespace graphics::win {

namespace msg {
constexpr uint32_t kSetFocus = 0x0007;
constexpr uint32_t kKillFocus = 0x0008;
constexpr uint32_t kClose = 0x0010;
constexpr uint32_t kEraseBackground = 0x0014;
constexpr uint32_t kSetCursor = 0x0020;
constexpr uint32_t kGetDialogCode = 0x0087;
constexpr uint32_t kKeyDown = 0x0100;
constexpr uint32_t kKeyUp = 0x0101;
constexpr uint32_t kTimer = 0x0113;
constexpr uint32_t kEditColours = 0x0133;
constexpr uint32_t kMouseMove = 0x0200;
constexpr uint32_t kLeftDown = 0x0201;
constexpr uint32_t kLeftUp = 0x0202;
constexpr uint32_t kLeftDoubleClick = 0x0203;
constexpr uint32_t kRightDown = 0x0204;
constexpr uint32_t kRightUp = 0x0205;
constexpr uint32_t kRightDoubleClick = 0x0206;
constexpr uint32_t kMiddleDown = 0x0207;
constexpr uint32_t kMiddleUp = 0x0208;
constexpr uint32_t kMouseWheel = 0x020A;
constexpr uint32_t kDropFiles = 0x0233;
constexpr uint32_t kMouseLeave = 0x02A3;
// The vertical-blank thread's tick, its count in the first parameter.
constexpr uint32_t kDisplayTick = 0x0400 + 1;
}  // namespace msg

// Button and key flags of mouse messages (the low word of the first parameter).
constexpr uint32_t kFlagLeft = 0x0001;
constexpr uint32_t kFlagRight = 0x0002;
constexpr uint32_t kFlagShift = 0x0004;
constexpr uint32_t kFlagControl = 0x0008;
constexpr uint64_t kDisplayTimerId = 2;
constexpr int kWheelStep = 120;

enum class WinAction {
  Default,           // the system's default handling
  Handled,           // nothing to do, answered as handled
  Close,
  SetCursor,
  WantAllKeys,
  KeyDown,
  KeyUp,
  Tick,
  EditColours,
  MouseOver,
  MouseDrag,
  MouseDown,
  MouseUp,
  DoubleClick,
  Wheel,
  DropFiles,
  MouseLeave,
  RequestEntryCommit,
  RequestEntryCancel,
};

struct WinMessage {
  uint32_t message = 0;
  uint64_t wParam = 0;
  int64_t lParam = 0;
  // The message's extra information (GetMessageExtraInfo).
  uint64_t extraInfo = 0;
};

// What the window knows when the message arrives.
struct WinWindowState {
  float backingScale = 1.0f;
  // The live state of the Alt key (messages do not carry it).
  bool altDown = false;
  bool entryOpen = false;
  // The entry has keyboard focus and nothing has happened since.
  bool entryEditing = false;
  bool hasCapture = false;
  // The last pointer position, UI units.
  float lastX = 0.0f, lastY = 0.0f;
  // The window's client origin on the screen, pixels (wheel positions are screen positions).
  int originX = 0, originY = 0;
};

struct WinInput {
  WinAction action = WinAction::Default;
  // Position (UI units), movement for drags, modifiers; for mouse, wheel and drop messages.
  IPointerEvent event;
  float wheelDelta = 0.0f;
  // For ticks: the count the message carries (0 for the timer).
  int tickCount = 0;
  // The message came from a pen or touch.
  bool pen = false;
};

// The signed 16-bit coordinates packed in a mouse message's second parameter.
int LowSigned(int64_t lParam) noexcept;
int HighSigned(int64_t lParam) noexcept;
// Extra information masked with 0xFFFFFF00 equal to 0xFF515700 marks pen and touch input.
bool IsPenMessage(uint64_t extraInfo) noexcept;
// Whole notches: the signed wheel value / 120, rounded toward zero (60 gives 0).
float WheelNotches(uint64_t wParam) noexcept;
IMouseModifiers ModifiersOf(uint64_t wParam, bool altDown) noexcept;

WinInput TranslateMessage(const WinMessage& message, const WinWindowState& state) noexcept;

}  // namespace graphics::win
