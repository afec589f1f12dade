// The X11 window's event loop: X events translated into the headless window's input in
// window pixels, exposure served from the frame buffer, and the display tick.
#include "graphics/platform/x11/IGuiX11.h"
#include "graphics/platform/x11/X11Clipboard.h"
#include "graphics/platform/x11/X11Keys.h"
#include "graphics/platform/x11/X11TextEntry.h"
#include "graphics/skia/IGuiSkia.h"
// Xlib last: its macros clash with our names.
#include "graphics/platform/x11/X11FrameCopy.h"
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace graphics {

namespace {

constexpr unsigned int kLeft = Button1, kMiddle = Button2, kRight = Button3, kWheelUp = Button4, kWheelDown = Button5;
constexpr int kWheelNotch = 120;

using MouseButton = IGuiHeadless::MouseButton;

// The buttons that press and release in the editor; the wheel's and any others are not.
bool EditorButton(unsigned int button, MouseButton& which) noexcept {
  switch (button) {
    case kLeft: which = MouseButton::Left; return true;
    case kMiddle: which = MouseButton::Middle; return true;
    case kRight: which = MouseButton::Right; return true;
    default: return false;
  }
}

}  // namespace

void IGuiX11::Pump() {
  if (!display) return;
  while (display && XPending(display)) {
    XEvent e;
    XNextEvent(display, &e);
    HandleEvent(e);
  }
  if (!display) return;
  if (entry) entry->Update();
  frameCopy->Finish();
  RunDueTick();
}

bool IGuiX11::HostTick() {
  if (!display) return IGuiHeadless::HostTick();
  const int before = PaintCount();
  Pump();
  return PaintCount() != before;
}

const uint8_t* IGuiX11::FramePixels(int& pixelsWide, int& pixelsHigh, int& rowBytes) const {
  return display ? nullptr : IGuiHeadless::FramePixels(pixelsWide, pixelsHigh, rowBytes);
}

void IGuiX11::RunDueTick() {
  if (!display || !ticks.TakeDue(X11TickClock::Clock::now())) return;
  if (entry && entry->GetState() != X11TextEntry::State::Editing) {
    ResolveTextEntry();
    XFlush(display);
    return;
  }
  if (Tick()) {
    for (const IRect& r : LastPaintedPixels()) ShowFrame(r);
    frameCopy->Finish();
  }
  if (entry) entry->Update();
  XFlush(display);
}

void IGuiX11::ShowFrame(const IRect& pixels) {
  if (!window || !FrameBuffer()) return;
  frameCopy->Put(FrameBuffer() + IGuiSkia::kHeaderBytes, PixelWidth(), PixelHeight(), pixels);
}

void IGuiX11::SetModifiersFrom(unsigned int state) noexcept {
  SetModifierKeys((state & ShiftMask) != 0, (state & ControlMask) != 0, (state & Mod1Mask) != 0);
  SetHeldButtons((state & Button1Mask) != 0, (state & Button3Mask) != 0, (state & Button2Mask) != 0);
}

bool IGuiX11::ServeWhileModal(XEvent& e) {
  if (clipboard && clipboard->HandleEvent(e)) return true;
  if (!window || e.xany.window != window) return window != 0;
  switch (e.type) {
    case Expose:
      ShowFrame({static_cast<float>(e.xexpose.x), static_cast<float>(e.xexpose.y),
                 static_cast<float>(e.xexpose.x + e.xexpose.width), static_cast<float>(e.xexpose.y + e.xexpose.height)});
      frameCopy->Finish();
      return true;
    case DestroyNotify:
      if (e.xdestroywindow.window == window) window = 0;
      return false;
    case UnmapNotify: return false;
    // Without a grab (another client holds one) a click or Escape in the editor dismisses it.
    case ButtonPress: return false;
    case KeyPress: return XLookupKeysym(&e.xkey, 0) != XK_Escape;
    default: return true;
  }
}

void IGuiX11::HandleKey(XEvent& e, bool down) {
  // Held keys repeat as a release and a press with the same time; Windows reports repeats as
  // presses only.
  if (!down && XEventsQueued(display, QueuedAfterReading)) {
    XEvent next;
    XPeekEvent(display, &next);
    if (next.type == KeyPress && next.xkey.keycode == e.xkey.keycode && next.xkey.time == e.xkey.time) return;
  }
  KeySym typed = 0;
  char ignored[16];
  XLookupString(&e.xkey, ignored, sizeof ignored, &typed, nullptr);
  IKeyEvent key;
  key.vk = VirtualKeyOf(XLookupKeysym(&e.xkey, 0));
  EncodeUtf8(CharacterOf(typed), key.utf8);
  key.S = (e.xkey.state & ShiftMask) != 0;
  key.C = (e.xkey.state & ControlMask) != 0;
  key.A = (e.xkey.state & Mod1Mask) != 0;
  SetModifiersFrom(e.xkey.state);
  const bool taken = down ? KeyDown(key) : KeyUp(key);
  // What the editor leaves goes to the host's window, as on Windows.
  if (!taken && parentWindow) {
    XEvent forwarded = e;
    forwarded.xkey.window = parentWindow;
    forwarded.xkey.subwindow = None;
    XSendEvent(display, parentWindow, True, down ? KeyPressMask : KeyReleaseMask, &forwarded);
  }
}

void IGuiX11::HandleEvent(XEvent& e) {
  if (clipboard && clipboard->HandleEvent(e)) return;
  if (e.type == MappingNotify) {
    XRefreshKeyboardMapping(&e.xmapping);
    return;
  }
  if (entry && e.xany.window == entry->Id()) {
    entry->HandleEvent(e);
    return;
  }
  if (!window || e.xany.window != window) return;
  switch (e.type) {
    case Expose:
      if (focusPending) TakeFocusWhenViewable();
      ShowFrame({static_cast<float>(e.xexpose.x), static_cast<float>(e.xexpose.y),
                 static_cast<float>(e.xexpose.x + e.xexpose.width), static_cast<float>(e.xexpose.y + e.xexpose.height)});
      break;
    case DestroyNotify:
      // The host destroyed its window first.
      if (e.xdestroywindow.window == window) {
        entry.reset();
        window = 0;
      }
      break;
    case MotionNotify: {
      // Only the newest of a run of moves matters: movement is measured from the last one
      // handled. A move after a press or release stays after it.
      XEvent next;
      while (XEventsQueued(display, QueuedAlready) > 0) {
        XPeekEvent(display, &next);
        if (next.type != MotionNotify || next.xmotion.window != window) break;
        XNextEvent(display, &e);
      }
      SetModifiersFrom(e.xmotion.state);
      MouseMove(static_cast<float>(e.xmotion.x), static_cast<float>(e.xmotion.y));
      break;
    }
    case ButtonPress: {
      const XButtonEvent& b = e.xbutton;
      const auto px = static_cast<float>(b.x), py = static_cast<float>(b.y);
      SetModifiersFrom(b.state);
      if (b.button == kWheelUp || b.button == kWheelDown) {
        if (entry) entry->Request(X11TextEntry::State::CancelRequested);
        else Wheel(px, py, b.button == kWheelUp ? kWheelNotch : -kWheelNotch);
        break;
      }
      MouseButton button = MouseButton::Left;
      if (!EditorButton(b.button, button)) break;
      if (entry) {
        if (entry->GetState() == X11TextEntry::State::Editing) entry->Request(X11TextEntry::State::CommitRequested);
        break;
      }
      XSetInputFocus(display, window, RevertToParent, b.time);
      menuTookRelease = false;
      // Only left and right double-click; every middle press is a press.
      const bool twice = doubleClick.Press(b.button, b.x, b.y, b.time);
      if (twice && button != MouseButton::Middle) DoubleClick(px, py, button == MouseButton::Right);
      else MouseDown(px, py, button);
      // A menu opened by this press took its release: the editor ends the press here.
      if (menuTookRelease) {
        menuTookRelease = false;
        MouseUp(px, py, button);
      }
      break;
    }
    case ButtonRelease: {
      const XButtonEvent& b = e.xbutton;
      MouseButton button = MouseButton::Left;
      if (!EditorButton(b.button, button)) break;
      SetModifiersFrom(b.state);
      MouseUp(static_cast<float>(b.x), static_cast<float>(b.y), button);
      break;
    }
    case KeyPress: HandleKey(e, true); break;
    case KeyRelease: HandleKey(e, false); break;
    case LeaveNotify: {
      const XCrossingEvent& c = e.xcrossing;
      if (c.detail == NotifyInferior || c.mode == NotifyGrab) break;
      // While a button is held the window keeps the pointer (a drag may leave and come back).
      if (c.mode == NotifyNormal && (c.state & (Button1Mask | Button2Mask | Button3Mask))) break;
      MouseLeave();
      break;
    }
    default: break;
  }
}

}  // namespace graphics
