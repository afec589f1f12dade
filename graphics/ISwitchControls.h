#pragma once
// Switches and pictures: ISwitchControlBase (a click steps through n states),
// IBitmapSwitch (steps through its bitmap's frames), IBitmapControl (a picture, framed by
// value). [editor-thread]
#include <vector>

#include "graphics/IBitmapBase.h"
#include "graphics/IControl.h"

namespace graphics {

class ISwitchControlBase : public IControl {
public:
  ISwitchControlBase(const IRect& bounds, int paramIdx = -1, ActionFunction action = nullptr, int states = 2);

  void OnMouseDown(float x, float y, const IMouseModifiers& mods) override;
  void OnMouseUp(float x, float y, const IMouseModifiers& mods) override;
  // A bound switch has as many states as its parameter has whole values.
  void OnSetup() override;

  int NStates() const noexcept { return states; }
  bool MouseIsDown() const noexcept { return mouseDown; }

protected:
  int states;
  std::vector<uint8_t> disabledStates;
  bool mouseDown = false;
};

class IBitmapSwitch : public ISwitchControlBase, public IBitmapBase {
public:
  IBitmapSwitch(const IRect& rect, const IBitmapRef& bitmap, int paramIdx);
  IBitmapSwitch(float x, float y, const IBitmapRef& bitmap, int paramIdx);

  void OnMouseDown(float x, float y, const IMouseModifiers& mods) override;
  void Draw(IGui& g) override { DrawFrame(g, GetValue(0)); }
  void OnScaleChanged() override { ReloadForScale(); }
};

class IBitmapControl : public IControl, public IBitmapBase {
public:
  IBitmapControl(const IRect& rect, const IBitmapRef& bitmap, int paramIdx = -1,
                 BlendMode mode = BlendMode::SrcOver);

  void Draw(IGui& g) override { DrawFrame(g, GetValue(0)); }
  void OnScaleChanged() override { ReloadForScale(); }
};

}  // namespace graphics
