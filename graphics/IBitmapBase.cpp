#include "graphics/IBitmapBase.h"

#include <algorithm>
#include <cmath>

#include "graphics/IControl.h"
#include "graphics/IGui.h"

namespace graphics {

IRect IBitmapBase::FrameRectIn(const IBitmapRef& bitmap, const IRect& rect) {
  const float w = static_cast<float>(bitmap.FrameWidth()), h = static_cast<float>(bitmap.FrameHeight());
  const float left = (rect.L + rect.R) * 0.5f - w * 0.5f;
  const float top = (rect.T + rect.B) * 0.5f - h * 0.5f;
  return {left, top, left + w, top + h};
}

IRect IBitmapBase::FrameRectAt(const IBitmapRef& bitmap, float x, float y) {
  return {x, y, x + static_cast<float>(bitmap.FrameWidth()), y + static_cast<float>(bitmap.FrameHeight())};
}

int IBitmapBase::FrameForValue(double value) const noexcept {
  const int n = bitmap.frames;
  if (n < 2) return 1;
  if (!std::isfinite(value)) return 1;
  const double frame = std::clamp(value, 0.0, 1.0) * (n - 1) + 0.5;
  return std::clamp(static_cast<int>(frame) + 1, 1, n);
}

void IBitmapBase::DrawFrame(IGui& g, double value) {
  g.DrawBitmapFrame(bitmap, FrameRectIn(bitmap, control.GetRect()), FrameForValue(value), &control.Blend());
}

void IBitmapBase::ReloadForScale() {
  IGui* ui = control.GetUI();
  if (!ui || bitmap.name.empty()) return;
  const int target = std::max(1, static_cast<int>(std::ceil(ui->BackingScale())));
  // A scale that cannot be had keeps the picture the control already shows.
  IBitmapRef reloaded = ui->LoadBitmap(bitmap.name.c_str(), bitmap.frames, bitmap.framesAreHorizontal, target);
  if (reloaded.IsValid()) bitmap = std::move(reloaded);
}

}  // namespace graphics
