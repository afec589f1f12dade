#include "graphics/IKnobControls.h"

#include <algorithm>

#include "framework/IParam.h"
#include "graphics/IGui.h"

namespace graphics {
namespace {

bool IsStepped(const framework::IParam* param) {
  return param && (param->Flags() & framework::IParam::Stepped) && param->Step() > 0.0;
}

}  // namespace

IKnobControlBase::IKnobControlBase(const IRect& bounds, int paramIdx, Direction dragDirection, double dragGearing)
    : IControl(bounds, paramIdx), direction(dragDirection), gearing(dragGearing) {}

void IKnobControlBase::OnMouseDown(float x, float y, const IMouseModifiers& mods) {
  mouseDown = true;
  dragValue = GetValue(0);
  if (hideCursorWhileDragging && ui) ui->HideMouseCursor(true, true);
  IControl::OnMouseDown(x, y, mods);
}

void IKnobControlBase::OnMouseUp(float, float, const IMouseModifiers&) {
  if (hideCursorWhileDragging && ui) ui->HideMouseCursor(false, true);
  mouseDown = false;
  MarkDirty(false);
}

void IKnobControlBase::OnMouseDrag(float, float, float dX, float dY, const IMouseModifiers& mods) {
  double g = gearing;
  if (mods.C || mods.S) g *= 10.0;
  if (!(g > 0.0)) return;
  const IRect area = DragArea();
  double d = 0.0;
  if (direction == Direction::Vertical) {
    if (area.H() > 0.0f) d = static_cast<double>(dY) / static_cast<double>(area.T - area.B);
  } else if (area.W() > 0.0f) {
    d = static_cast<double>(dX) / static_cast<double>(area.R - area.L);
  }
  dragValue = std::clamp(dragValue + d / g, 0.0, 1.0);
  double shown = dragValue;
  const framework::IParam* param = GetParam(0);
  if (IsStepped(param)) shown = std::clamp(param->Normalise(param->Denormalise(dragValue)), 0.0, 1.0);
  SetValue(shown, 0);
  MarkDirty(true, -1);
}

void IKnobControlBase::OnMouseWheel(float, float, const IMouseModifiers& mods, float delta) {
  const double step = (mods.C || mods.S) ? 0.001 : 0.01;
  double value = GetValue(0);
  const framework::IParam* param = GetParam(0);
  if (IsStepped(param)) {
    if (delta == 0.0f) return;
    const double plain = param->Denormalise(value);
    value = param->Normalise(delta > 0.0f ? plain + param->Step() : plain - param->Step());
  } else {
    value += static_cast<double>(delta) * step;
  }
  SetValue(value, 0);
  MarkDirty(true, -1);
}

IBitmapKnob::IBitmapKnob(const IRect& rect, const IBitmapRef& bitmapRef, int paramIdx)
    : IKnobControlBase(FrameRectIn(bitmapRef, rect), paramIdx), IBitmapBase(*this, bitmapRef) {}

IBitmapKnob::IBitmapKnob(float x, float y, const IBitmapRef& bitmapRef, int paramIdx)
    : IKnobControlBase(FrameRectAt(bitmapRef, x, y), paramIdx), IBitmapBase(*this, bitmapRef) {}

void IBitmapKnob::Draw(IGui& g) { DrawFrame(g, GetValue(0)); }

IBitmapRotaryKnob::IBitmapRotaryKnob(const IRect& rect, const IBitmapRef& bitmapRef, int paramIdx)
    : IBitmapKnob(rect, bitmapRef, paramIdx) {}

IBitmapRotaryKnob::IBitmapRotaryKnob(float x, float y, const IBitmapRef& bitmapRef, int paramIdx)
    : IBitmapKnob(x, y, bitmapRef, paramIdx) {}

void IBitmapRotaryKnob::Draw(IGui& g) {
  g.DrawBitmapRotated(bitmap, drawRect.MW(), drawRect.MH(), AngleFor(GetValue(0)), &blend);
}

}  // namespace graphics
