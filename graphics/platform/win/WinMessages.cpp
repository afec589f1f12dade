#include "graphics/platform/win/WinMessages.h"

namespace graphics::win {

int LowSigned(int64_t lParam) noexcept { return static_cast<int16_t>(static_cast<uint64_t>(lParam) & 0xFFFF); }

int HighSigned(int64_t lParam) noexcept {
  return static_cast<int16_t>((static_cast<uint64_t>(lParam) >> 16) & 0xFFFF);
}

bool IsPenMessage(uint64_t extraInfo) noexcept { return (extraInfo & 0xFFFFFF00u) == 0xFF515700u; }

float WheelNotches(uint64_t wParam) noexcept {
  const int value = static_cast<int16_t>((wParam >> 16) & 0xFFFF);
  return static_cast<float>(value / kWheelStep);
}

IMouseModifiers ModifiersOf(uint64_t wParam, bool altDown) noexcept {
  IMouseModifiers mods;
  mods.L = (wParam & kFlagLeft) != 0;
  mods.R = (wParam & kFlagRight) != 0;
  mods.S = (wParam & kFlagShift) != 0;
  mods.C = (wParam & kFlagControl) != 0;
  mods.A = altDown;
  return mods;
}

namespace {

IPointerEvent PointerAt(int px, int py, const WinMessage& m, const WinWindowState& s) noexcept {
  IPointerEvent e;
  const float scale = s.backingScale > 0.0f ? s.backingScale : 1.0f;
  e.x = static_cast<float>(px) / scale;
  e.y = static_cast<float>(py) / scale;
  e.mods = ModifiersOf(m.wParam, s.altDown);
  return e;
}

IPointerEvent ClientPointer(const WinMessage& m, const WinWindowState& s) noexcept {
  return PointerAt(LowSigned(m.lParam), HighSigned(m.lParam), m, s);
}

}  // namespace

WinInput TranslateMessage(const WinMessage& m, const WinWindowState& s) noexcept {
  WinInput in;
  in.pen = IsPenMessage(m.extraInfo);
  // While the entry is being typed into, the editor only watches for a click that ends it.
  if (s.entryOpen && s.entryEditing) {
    if (m.message == msg::kLeftDown || m.message == msg::kRightDown) in.action = WinAction::RequestEntryCancel;
    return in;
  }
  switch (m.message) {
    case msg::kSetFocus:
    case msg::kKillFocus:
    case msg::kEraseBackground: in.action = WinAction::Handled; break;
    case msg::kClose: in.action = WinAction::Close; break;
    case msg::kSetCursor: in.action = WinAction::SetCursor; break;
    case msg::kGetDialogCode: in.action = WinAction::WantAllKeys; break;
    case msg::kKeyDown: in.action = WinAction::KeyDown; break;
    case msg::kKeyUp: in.action = WinAction::KeyUp; break;
    case msg::kTimer:
      if (m.wParam == kDisplayTimerId) in.action = WinAction::Tick;
      break;
    case msg::kDisplayTick:
      in.action = WinAction::Tick;
      in.tickCount = static_cast<int>(static_cast<int32_t>(m.wParam & 0xFFFFFFFFu));
      break;
    case msg::kEditColours: in.action = WinAction::EditColours; break;
    case msg::kMouseMove: {
      in.event = ClientPointer(m, s);
      if (!in.event.mods.L && !in.event.mods.R) {
        in.action = WinAction::MouseOver;
        break;
      }
      if (!s.hasCapture) break;
      in.action = WinAction::Handled;
      if (s.entryOpen) break;
      in.event.dX = in.event.x - s.lastX;
      in.event.dY = in.event.y - s.lastY;
      if (in.event.dX != 0.0f || in.event.dY != 0.0f) in.action = WinAction::MouseDrag;
      break;
    }
    case msg::kLeftDown:
    case msg::kRightDown:
    case msg::kMiddleDown:
      if (s.entryOpen) {
        in.action = WinAction::RequestEntryCommit;
        break;
      }
      in.action = WinAction::MouseDown;
      in.event = ClientPointer(m, s);
      break;
    case msg::kLeftUp:
    case msg::kRightUp:
    case msg::kMiddleUp:
      in.action = WinAction::MouseUp;
      in.event = ClientPointer(m, s);
      // The flags no longer hold the released button; the event names it, as a press does.
      in.event.mods.L = m.message == msg::kLeftUp;
      in.event.mods.R = m.message == msg::kRightUp;
      break;
    case msg::kLeftDoubleClick:
    case msg::kRightDoubleClick:
      in.action = WinAction::DoubleClick;
      in.event = ClientPointer(m, s);
      break;
    case msg::kMouseWheel:
      if (s.entryOpen) {
        in.action = WinAction::RequestEntryCancel;
        break;
      }
      in.action = WinAction::Wheel;
      in.event = PointerAt(LowSigned(m.lParam) - s.originX, HighSigned(m.lParam) - s.originY, m, s);
      in.wheelDelta = WheelNotches(m.wParam);
      break;
    case msg::kDropFiles: in.action = WinAction::DropFiles; break;
    case msg::kMouseLeave: in.action = WinAction::MouseLeave; break;
    default: break;
  }
  return in;
}

}  // namespace graphics::win
