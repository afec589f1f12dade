#pragma once
// Knobs: IKnobControlBase (vertical or horizontal drag with gearing, fine adjustment with
// shift or control, wheel steps), IBitmapKnob (a film-strip frame by value) and
// IBitmapRotaryKnob (one bitmap rotated by value × 260 − 130 degrees). [editor-thread]
#include "graphics/IBitmapBase.h"
#include "graphics/IControl.h"

namespace graphics {

class IKnobControlBase : public IControl {
public:
  IKnobControlBase(const IRect& bounds, int paramIdx = -1, Direction direction = Direction::Vertical,
                   double gearing = 4.0);

  void OnMouseDown(float x, float y, const IMouseModifiers& mods) override;
  void OnMouseUp(float x, float y, const IMouseModifiers& mods) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseModifiers& mods) override;
  void OnMouseWheel(float x, float y, const IMouseModifiers& mods, float delta) override;
  // The area a drag is measured against.
  virtual IRect DragArea() const { return targetRect; }

  double Gearing() const noexcept { return gearing; }
  void SetGearing(double g) noexcept { gearing = g; }
  bool MouseIsDown() const noexcept { return mouseDown; }

protected:
  bool hideCursorWhileDragging = true;
  Direction direction;
  double gearing;
  bool mouseDown = false;
  // Unrounded position of a drag between events.
  double dragValue = 0.0;
};

class IBitmapKnob : public IKnobControlBase, public IBitmapBase {
public:
  IBitmapKnob(const IRect& rect, const IBitmapRef& bitmap, int paramIdx);
  IBitmapKnob(float x, float y, const IBitmapRef& bitmap, int paramIdx);

  void Draw(IGui& g) override;
  void OnScaleChanged() override { ReloadForScale(); }
};

class IBitmapRotaryKnob : public IBitmapKnob {
public:
  IBitmapRotaryKnob(const IRect& rect, const IBitmapRef& bitmap, int paramIdx);
  IBitmapRotaryKnob(float x, float y, const IBitmapRef& bitmap, int paramIdx);

  void Draw(IGui& g) override;
  // Degrees for a value: −130 at 0, 0 at 0.5, +130 at 1.
  static double AngleFor(double value) noexcept { return value * 260.0 - 130.0; }
};

}  // namespace graphics
