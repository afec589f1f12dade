#pragma once
// Shows regions of a frame buffer (top-down premultiplied BGRA, the backend's layout) in an
// X11 window: through a shared-memory image when the server offers the extension and can
// attach the segment, else with a plain XPutImage of the frame's rows. [main-thread]
#include <cstdint>

#include "graphics/IGraphicsTypes.h"
// Internal to the X11 platform: after every header of ours (Xlib's macros).
#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

namespace graphics {

class X11FrameCopy {
public:
  // The visual must be a 24- or 32-bit true-colour one with the usual red, green, blue masks.
  X11FrameCopy(Display* display, Window window, Visual* visual, int depth);
  ~X11FrameCopy();
  X11FrameCopy(const X11FrameCopy&) = delete;
  X11FrameCopy& operator=(const X11FrameCopy&) = delete;

  // Copies the region (window pixels, clipped to the frame) of the w × h frame to the window.
  // The regions of one frame may be put one after another; call Finish before the next frame.
  void Put(const uint8_t* pixels, int w, int h, const IRect& region);
  // Waits until the server has read the shared image, so it may be written again.
  void Finish();
  bool UsesSharedMemory() const noexcept { return shmImage != nullptr; }

  // Whether a visual can show the frame's pixels as they are.
  static bool VisualFits(const Visual* visual, int depth) noexcept;

private:
  bool MakeSharedImage(int w, int h);
  void DropSharedImage();

  Display* display;
  Window window;
  Visual* visual;
  int depth;
  GC gc;
  bool shmAvailable = false;
  XShmSegmentInfo segment{};
  XImage* shmImage = nullptr;
  bool pending = false;
};

}  // namespace graphics
