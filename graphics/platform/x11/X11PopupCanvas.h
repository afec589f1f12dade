#pragma once
// A small window of our own — a pop-up menu or the text entry — whose picture the graphics
// framework draws: one control on an offscreen UI at the editor's backing scale, copied to the
// window after every tick that repainted it. [main-thread]
#include <memory>

#include "graphics/platform/headless/IGuiHeadless.h"
#include "graphics/platform/x11/X11Types.h"

namespace graphics {

class IControl;
class X11FrameCopy;

class X11PopupCanvas {
public:
  // A window of w × h UI units drawn at `scale` pixels per unit, at (x, y) pixels in `parent`.
  // overrideRedirect makes it a pop-up that no window manager frames or moves. Unmapped.
  X11PopupCanvas(XDisplayHandle* display, XId parent, bool overrideRedirect, int x, int y, int w, int h, float scale,
                 long eventMask);
  ~X11PopupCanvas();
  X11PopupCanvas(const X11PopupCanvas&) = delete;
  X11PopupCanvas& operator=(const X11PopupCanvas&) = delete;

  XId Id() const noexcept { return window; }
  IGuiHeadless& Gui() noexcept { return *gui; }
  float Scale() const noexcept { return scale; }
  // The drawing control, owned by the canvas from now on.
  void SetView(IControl* view);
  // New size in UI units (the window follows).
  void Resize(int w, int h);
  // Repaints what changed and shows it.
  void Update();
  // Shows again what the server lost.
  void ShowAgain(int x, int y, int w, int h);

private:
  struct Delegate;

  XDisplayHandle* display;
  XId window = 0;
  float scale;
  std::unique_ptr<Delegate> delegate;
  std::unique_ptr<IGuiHeadless> gui;
  std::unique_ptr<X11FrameCopy> copy;
};

}  // namespace graphics
