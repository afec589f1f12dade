#include "graphics/platform/win/WinDisplay.h"

#include <algorithm>
#include <cmath>

namespace graphics::win {

int TimerPeriodMs(int fps) noexcept {
  const int p = 1000 / std::max(fps, 1);
  return p < 20 ? 15 : p;
}

float ScreenScaleOfDpi(unsigned dpi) noexcept {
  return dpi == 0 ? 1.0f : static_cast<float>(dpi) / 96.0f;
}

WinPixelSize OpeningPixelSize(int width, int height, float drawScale, float screenScale) noexcept {
  const int s = std::max(1, static_cast<int>(screenScale));
  return {static_cast<int>(static_cast<float>(width) * drawScale) * s,
          static_cast<int>(static_cast<float>(height) * drawScale) * s};
}

WinPixelSize ResizedPixelSize(int width, int height, float drawScale, float screenScale) noexcept {
  const auto side = [&](int units) {
    return static_cast<int>(static_cast<float>(static_cast<int>(static_cast<float>(units) * drawScale)) * screenScale);
  };
  return {side(width), side(height)};
}

IRect DevicePixelsOut(const IRect& r, float s) noexcept {
  return {std::floor(r.L * s), std::floor(r.T * s), std::ceil(r.R * s), std::ceil(r.B * s)};
}

IRect UnitsOfPixels(const IRect& r, float s) noexcept {
  if (!(s > 0.0f)) s = 1.0f;
  return {r.L / s, r.T / s, r.R / s, r.B / s};
}

}  // namespace graphics::win
