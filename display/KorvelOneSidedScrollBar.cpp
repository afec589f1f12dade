#include "display/KorvelOneSidedScrollBar.h"

#include <algorithm>
#include <cmath>

#include "display/HandleBitmap.h"
#include "framework/IParam.h"
#include "graphics/IGui.h"

KorvelOneSidedScrollBar::KorvelOneSidedScrollBar(const graphics::IRect& rect, int paramIdx,
                                                 const graphics::IBitmapRef& handleBitmap)
    : IControl(rect, paramIdx), handle(handleBitmap) {}

void KorvelOneSidedScrollBar::OnScaleChanged() { ReloadHandle(ui, handle); }

float KorvelOneSidedScrollBar::TrackY(double v) const noexcept {
  const float hh = HalfHeight();
  return (drawRect.B - hh) + static_cast<float>(v) * ((drawRect.T + hh) - (drawRect.B - hh));
}

void KorvelOneSidedScrollBar::Draw(graphics::IGui& g) {
  const double v = GetValue();
  const float cx = drawRect.MW(), y = TrackY(v), hw = HalfWidth(), hh = HalfHeight();
  g.DrawLine(trackColour, cx, drawRect.T, cx, drawRect.B, nullptr, 1.0f);
  g.DrawLine(rangeColour, cx, y, cx, drawRect.B, nullptr, 2.0f);
  g.DrawBitmapFrame(handle, {cx - hw, y - hh, cx + hw, y + hh}, 1);
}

void KorvelOneSidedScrollBar::OnMouseDrag(float, float y, float, float, const graphics::IMouseModifiers&) {
  const float hh = HalfHeight();
  const double track = (drawRect.B - hh) - (drawRect.T + hh);
  const double v = track > 0.0 && std::isfinite(y) ? std::clamp(((drawRect.B - hh) - y) / track, 0.0, 1.0) : 0.0;
  SetValue(v);
  MarkDirty(true);
}

void KorvelOneSidedScrollBar::OnMouseDown(float x, float y, const graphics::IMouseModifiers& mods) {
  OnMouseDrag(x, y, 0.0f, 0.0f, mods);
}

void KorvelOneSidedScrollBar::OnMouseWheel(float, float, const graphics::IMouseModifiers&, float delta) {
  if (!std::isfinite(delta)) return;
  SetValue(std::clamp(GetValue() + delta * 0.01, 0.0, 1.0));
  MarkDirty(true);
}

void KorvelOneSidedScrollBar::OnMouseDoubleClick(float, float, const graphics::IMouseModifiers&) {
  if (const framework::IParam* param = GetParam()) SetValue(param->DefaultOf(true));
  MarkDirty(true);
}
