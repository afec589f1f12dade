#include "display/KorvelScrollBar.h"

#include <algorithm>
#include <cmath>

#include "display/HandleBitmap.h"
#include "framework/IParam.h"
#include "graphics/IGui.h"

using graphics::IRect;

KorvelScrollBar::KorvelScrollBar(const IRect& rect, int lowParam, int highParam, const graphics::IBitmapRef& handle)
    : IControl(rect, {lowParam, highParam}), lowHandle(handle), highHandle(handle) {}

void KorvelScrollBar::OnScaleChanged() {
  ReloadHandle(ui, lowHandle);
  highHandle = lowHandle;
}

float KorvelScrollBar::TrackX(double v) const noexcept {
  const float hw = HalfWidth();
  return drawRect.L + hw + static_cast<float>(v) * ((drawRect.R - hw) - (drawRect.L + hw));
}

IRect KorvelScrollBar::HandleRect(double v) const noexcept {
  const float x = TrackX(v), cy = drawRect.MH(), hw = HalfWidth(), hh = HalfHeight();
  return {x - hw, cy - hh, x + hw, cy + hh};
}

void KorvelScrollBar::EnsureOrder() {
  const double lo = NVals() > 0 ? GetValue(0) : 0.0;
  const double hi = NVals() > 1 ? GetValue(1) : 1.0;
  if (lo + 0.001 > hi) {
    // Pulled apart inside 0 … 1: at either end only the inner handle moves.
    const double newLo = std::clamp(hi - 0.001, 0.0, 0.999);
    SetValue(newLo, 0);
    SetValue(std::clamp(lo + 0.001, newLo + 0.001, 1.0), 1);
  }
}

int KorvelScrollBar::HitMode(float x, float y) const noexcept {
  const double lo = GetValue(0), hi = GetValue(1);
  const IRect low = HandleRect(lo), high = HandleRect(hi);
  if (lo < 0.5) {
    if (high.Contains(x, y)) return HighHandle;
    if (low.Contains(x, y)) return LowHandle;
  } else {
    if (low.Contains(x, y)) return LowHandle;
    if (high.Contains(x, y)) return HighHandle;
  }
  return Range;
}

void KorvelScrollBar::Draw(graphics::IGui& g) {
  const double lo = GetValue(0), hi = GetValue(1);
  const float cy = drawRect.MH();
  g.DrawLine(trackColour, drawRect.L, cy, drawRect.R, cy, nullptr, 1.0f);
  g.DrawLine(rangeColour, TrackX(lo), cy, TrackX(hi), cy, nullptr, 2.0f);
  g.DrawBitmapFrame(lowHandle, HandleRect(lo), 1);
  g.DrawBitmapFrame(highHandle, HandleRect(hi), 1);
}

void KorvelScrollBar::OnMouseDown(float x, float y, const graphics::IMouseModifiers&) {
  EnsureOrder();
  dragMode = HitMode(x, y);
}

void KorvelScrollBar::OnMouseUp(float, float, const graphics::IMouseModifiers&) {
  EnsureOrder();
  dragMode = None;
}

void KorvelScrollBar::OnMouseDrag(float x, float, float dX, float, const graphics::IMouseModifiers&) {
  EnsureOrder();
  const float hw = HalfWidth();
  const double track = (drawRect.R - hw) - (drawRect.L + hw);
  if (dragMode == LowHandle || dragMode == HighHandle) {
    const double v = track > 0.0 && std::isfinite(x) ? std::clamp((x - (drawRect.L + hw)) / track, 0.0, 1.0) : 0.0;
    SetValue(v, dragMode == LowHandle ? 0 : 1);
  } else if (dragMode == Range && track > 0.0 && std::isfinite(dX)) {
    const double lo = GetValue(0), hi = GetValue(1);
    double d = dX / track;
    if (lo + d < 0.0) d = -lo;
    if (hi + d > 1.0) d = 1.0 - hi;
    SetValue(lo + d, 0);
    SetValue(hi + d, 1);
  }
  EnsureOrder();
  MarkDirty(true);
}

void KorvelScrollBar::OnMouseWheel(float x, float y, const graphics::IMouseModifiers&, float delta) {
  if (!std::isfinite(delta)) return;
  EnsureOrder();
  const int mode = dragMode != None ? dragMode : HitMode(x, y);
  const double z = delta * 0.01;
  const double lo = GetValue(0), hi = GetValue(1);
  if (mode == LowHandle) {
    SetValue(std::clamp(lo + z, 0.0, 1.0), 0);
  } else if (mode == HighHandle) {
    SetValue(std::clamp(hi + z, 0.0, 1.0), 1);
  } else {
    SetValue(std::clamp(lo + z, 0.0, 1.0), 0);
    SetValue(std::clamp(hi - z, 0.0, 1.0), 1);
  }
  EnsureOrder();
  MarkDirty(true);
}

void KorvelScrollBar::OnMouseDoubleClick(float, float, const graphics::IMouseModifiers&) {
  for (int i = 0; i < NVals(); ++i)
    if (const framework::IParam* param = GetParam(i)) SetValue(param->DefaultOf(true), i);
  MarkDirty(true);
}
