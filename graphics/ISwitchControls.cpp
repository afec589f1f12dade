#include "graphics/ISwitchControls.h"

#include <algorithm>

#include "framework/IParam.h"

namespace graphics {

ISwitchControlBase::ISwitchControlBase(const IRect& bounds, int paramIdx, ActionFunction actionFunction,
                                       int stateCount)
    : IControl(bounds, paramIdx, std::move(actionFunction)), states(std::max(stateCount, 1)),
      disabledStates(static_cast<size_t>(states), 0) {
  doubleClickAsSingle = true;
  MarkDirty(false, -1);
}

void ISwitchControlBase::OnSetup() {
  if (const framework::IParam* param = GetParam(0)) {
    const double range = param->Max() - param->Min();
    states = range >= 0.0 && range < 1e6 ? static_cast<int>(range) + 1 : 2;
    disabledStates.assign(static_cast<size_t>(states), 0);
  }
}

void ISwitchControlBase::OnMouseDown(float, float, const IMouseModifiers&) {
  double value = GetValue(0);
  if (states == 2) {
    value = value == 0.0 ? 1.0 : 0.0;
  } else if (states > 2) {
    value += 1.0 / (states - 1);
    if (value > 1.0000000000000002) value = 0.0;
  }
  SetValue(value, 0);
  mouseDown = true;
  MarkDirty(true, -1);
}

void ISwitchControlBase::OnMouseUp(float, float, const IMouseModifiers&) {
  mouseDown = false;
  MarkDirty(false);
}

IBitmapSwitch::IBitmapSwitch(const IRect& rect, const IBitmapRef& bitmapRef, int paramIdx)
    : ISwitchControlBase(FrameRectIn(bitmapRef, rect), paramIdx), IBitmapBase(*this, bitmapRef) {}

IBitmapSwitch::IBitmapSwitch(float x, float y, const IBitmapRef& bitmapRef, int paramIdx)
    : ISwitchControlBase(FrameRectAt(bitmapRef, x, y), paramIdx), IBitmapBase(*this, bitmapRef) {}

void IBitmapSwitch::OnMouseDown(float, float, const IMouseModifiers&) {
  const int n = bitmap.frames;
  double value = GetValue(0) + (n < 2 ? 1.0 : 1.0 / (n - 1));
  if (value > 1.001) value = 0.0;
  SetValue(value, 0);
  MarkDirty(true, -1);
}

IBitmapControl::IBitmapControl(const IRect& rect, const IBitmapRef& bitmapRef, int paramIdx, BlendMode mode)
    : IControl(rect, paramIdx), IBitmapBase(*this, bitmapRef) {
  blend = {mode, 1.0f};
}

}  // namespace graphics
