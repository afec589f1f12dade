#include "display/TipControl.h"

#include <cstdio>

#include "engine/ScopeMath.h"
#include "graphics/IGui.h"

using graphics::IRect;

TipControl::TipControl(const IRect& rect)
    : IControl(rect), tipStyle(10.0f, {255, 255, 255, 255}, graphics::TextAlign::Centre) {
  mouseTransparent = true;
}

void TipControl::Show(int tipX, int tipY, double tipFrequency) {
  if (tipX == x && tipY == y && tipFrequency == frequency) return;
  x = tipX;
  y = tipY;
  frequency = tipFrequency;
  MarkDirty(false);
}

IRect TipControl::Box() const noexcept {
  const auto fx = static_cast<float>(x), fy = static_cast<float>(y);
  if (x < static_cast<int>((drawRect.L + drawRect.R) * 0.5f)) return {fx, fy - 14.0f, fx + 100.0f, fy};
  return {fx - 100.0f, fy - 14.0f, fx, fy};
}

void TipControl::FormatFrequency(double f, char* text, int size) {
  if (f < 100.0)
    std::snprintf(text, static_cast<size_t>(size), "%.1f Hz", f);
  else if (f < 1000.0)
    std::snprintf(text, static_cast<size_t>(size), "%.0f Hz", f);
  else
    std::snprintf(text, static_cast<size_t>(size), "%.2f kHz", f / 1000.0);
}

void TipControl::Draw(graphics::IGui& g) {
  if (x < 0 || y < 0 || !(frequency > 20.0) || frequency > kHighestFrequency) return;
  const IRect box = Box();
  g.FillRect({128, 0, 0, 0}, box);
  char text[32];
  FormatFrequency(frequency, text, sizeof text);
  g.DrawText(tipStyle, text, box);
}
