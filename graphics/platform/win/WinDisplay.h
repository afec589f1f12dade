#pragma once
// The Win32 window's timing and geometry rules as pure functions: the timer period for a
// frame rate, which display ticks to act on, the screen scale of a DPI, window sizes in
// pixels and dirty regions in whole device pixels. [thread-safe]
#include "graphics/IGraphicsTypes.h"

namespace graphics::win {

// floor(1000 / fps) milliseconds, but 15 when that is under 20 (60 → 15, 50 → 20, 30 → 33).
int TimerPeriodMs(int fps) noexcept;

// The DPI / 96; exactly 1 for 96, and 1 when the DPI is unknown (0).
float ScreenScaleOfDpi(unsigned dpi) noexcept;

// Which display ticks repaint. The vertical-blank thread counts its ticks and posts each count;
// the timer's tick carries 0. Stale counts are dropped so a slow frame never queues repaints,
// and after a paint that overran a blank the next one is skipped. [editor-thread]
class WinTickGate {
public:
  explicit WinTickGate(bool verticalBlankMode) noexcept : vblank(verticalBlankMode) {}

  // True when the tick carrying count should run, given the thread's counter now.
  bool Accept(int count, int counter) noexcept {
    if (vblank) {
      if (skipUntil != 0 && counter < skipUntil) return false;
      skipUntil = 0;
    }
    return count == counter;
  }
  // After a paint: the counter moved from before to after while painting.
  void Painted(int before, int after) noexcept {
    if (vblank && after != before) skipUntil = after + 1;
  }
  bool VerticalBlankMode() const noexcept { return vblank; }

private:
  bool vblank;
  int skipUntil = 0;
};

struct WinPixelSize {
  int width = 0, height = 0;
};

// The window's size when it opens: int(size × draw scale) × int(screen scale).
WinPixelSize OpeningPixelSize(int width, int height, float drawScale, float screenScale) noexcept;
// The size a resize asks for: int(int(size × draw scale) × screen scale).
WinPixelSize ResizedPixelSize(int width, int height, float drawScale, float screenScale) noexcept;

// A region in UI units as whole device pixels, rounded outward.
IRect DevicePixelsOut(const IRect& units, float backingScale) noexcept;
// Pixels back to UI units.
IRect UnitsOfPixels(const IRect& pixels, float backingScale) noexcept;

}  // namespace graphics::win
