#include "display/TriggerControl.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "display/HandleBitmap.h"
#include "display/Korvel.h"
#include "engine/ScopeMath.h"
#include "graphics/IGui.h"

using graphics::IRect;

namespace {
constexpr graphics::IColour kRed{255, 221, 32, 32};
}  // namespace

TriggerControl::TriggerControl(const IRect& rect, int paramIdx, const graphics::IBitmapRef& handleBitmap)
    : IControl(rect, paramIdx), handle(handleBitmap),
      levelScale(static_cast<float>(static_cast<int>(rect.B - rect.T)) * 0.5f / static_cast<float>(LevelRange(1.0))),
      captionStyle(10.0f, kRed, graphics::TextAlign::Right) {}

void TriggerControl::OnScaleChanged() { ReloadHandle(ui, handle); }

void TriggerControl::UpdateLevelScale() noexcept {
  if (const auto* korvel = dynamic_cast<const Korvel*>(delegate))
    levelScale = static_cast<float>(static_cast<int>(drawRect.B - drawRect.T)) * 0.5f /
                 static_cast<float>(LevelRange(korvel->yZoom.load(std::memory_order_relaxed)));
}

void TriggerControl::FormatValue(double v, char* text, int size) {
  const double db = HoldDb(v);
  if (v >= 1.0)
    std::snprintf(text, static_cast<size_t>(size), "off");
  else
    std::snprintf(text, static_cast<size_t>(size), db < 0.0 ? "%.1f dB" : "+%.1f dB", db);
}

void TriggerControl::Draw(graphics::IGui& g) {
  UpdateLevelScale();
  const float l = drawRect.L, t = drawRect.T, r = drawRect.R, b = drawRect.B;
  const float hw = HalfHandle();
  const auto hh = static_cast<float>(handle.FrameHeight());
  const float cy = (t + b) * 0.5f;
  const float xr = r - hw - 1.0f;
  const double v = GetValue();
  g.DrawLine(kRed, xr, t + hw, xr, b - hw);
  if (v >= 1.0) {
    g.DrawBitmapFrame(handle, {xr - hw, t, xr + hw, t + hh}, 1);
    g.DrawBitmapFrame(handle, {xr - hw, b - hh, xr + hw, b}, 1);
  } else {
    const float level = static_cast<float>(Amplitude(HoldDb(v))) * levelScale;
    const float d = std::min((b - t) * 0.5f - hw, level);
    const float yTop = cy - d, yBottom = cy + d;
    g.DrawLine(kRed, l, yBottom, r, yBottom);
    g.DrawLine(kRed, l, yTop, r, yTop);
    g.DrawLine(kRed, xr, yTop + hw, xr, yBottom - hw);
    g.DrawBitmapFrame(handle, {xr - hw, yTop - hw, xr + hw, yTop + hw}, 1);
    g.DrawBitmapFrame(handle, {xr - hw, yBottom - hw, xr + hw, yBottom + hw}, 1);
  }
  char text[32];
  FormatValue(v, text, sizeof text);
  g.DrawText(captionStyle, "HOLD", CaptionBox());
  g.DrawText(captionStyle, text, ValueBox());
}

IRect TriggerControl::CaptionBox() const noexcept {
  const float r = drawRect.R, cy = drawRect.MH();
  return {r - 54.0f, cy - 21.0f, r - 14.0f, cy - 9.0f};
}

IRect TriggerControl::ValueBox() const noexcept {
  const float r = drawRect.R, cy = drawRect.MH();
  return {r - 54.0f, cy + 8.0f, r - 14.0f, cy + 20.0f};
}

bool TriggerControl::HitTest(float x, float y) const {
  const float r = drawRect.R;
  return r - static_cast<float>(handle.FrameWidth()) < x && x < r && drawRect.T + 4.0f < y && y < drawRect.B - 4.0f;
}

void TriggerControl::OnMouseDown(float, float y, const graphics::IMouseModifiers& mods) {
  if (mods.R) return;
  SetFromY(y);
  MarkDirty(true);
}

void TriggerControl::OnMouseDrag(float, float y, float, float, const graphics::IMouseModifiers&) {
  SetFromY(y);
  MarkDirty(true);
}

void TriggerControl::SetFromY(float y) {
  const float cy = (drawRect.T + drawRect.B) * 0.5f;
  const float distance = std::fabs(cy - y);
  // Truncated to whole pixels; a pointer far outside (or not a number) counts as far away.
  const double pixels = distance < 1.0e6f ? static_cast<double>(static_cast<int>(distance)) : 1.0e6;
  const double a = levelScale > 0.0f ? pixels / levelScale : 1.0e6;
  const double db = 20.0 * std::log10(std::max(0.0001, a));
  const double v = HoldNormalised(db);
  SetValue(v);
  if (delegate && GetParamIdx() >= 0) delegate->EditorSetsParam(GetParamIdx(), v);
  MarkDirty(true);
}
