#pragma once
// The horizontal zoom bar under the scope: one track with two handles for "X Zoom Low"
// (value 0) and "X Zoom High" (value 1). A handle moves one edge of the visible window, a drag
// between or beside the handles moves the window, the wheel widens or narrows it. [editor-thread]
#include "graphics/IControl.h"

class KorvelScrollBar final : public graphics::IControl {
public:
  enum DragMode : int { None = 0, LowHandle = 1, HighHandle = 2, Range = 3 };

  KorvelScrollBar(const graphics::IRect& rect, int lowParam, int highParam, const graphics::IBitmapRef& handle);

  void Draw(graphics::IGui& g) override;
  void OnMouseDown(float x, float y, const graphics::IMouseModifiers& mods) override;
  void OnMouseUp(float x, float y, const graphics::IMouseModifiers& mods) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const graphics::IMouseModifiers& mods) override;
  void OnMouseDoubleClick(float x, float y, const graphics::IMouseModifiers& mods) override;
  void OnMouseWheel(float x, float y, const graphics::IMouseModifiers& mods, float delta) override;
  void OnScaleChanged() override;

  // Crossed or touching handles are pulled more than 0.001 apart (crossed ones swap).
  void EnsureOrder();
  // Which handle (or the range) a press at (x, y) takes.
  int HitMode(float x, float y) const noexcept;
  int CurrentDragMode() const noexcept { return dragMode; }

private:
  float TrackX(double v) const noexcept;
  graphics::IRect HandleRect(double v) const noexcept;
  float HalfWidth() const noexcept { return static_cast<float>(lowHandle.FrameWidth()) * 0.5f; }
  float HalfHeight() const noexcept { return static_cast<float>(lowHandle.FrameHeight()) * 0.5f; }

  graphics::IBitmapRef lowHandle;
  graphics::IBitmapRef highHandle;
  graphics::IColour rangeColour{255, 255, 255, 255};
  graphics::IColour trackColour{255, 127, 127, 127};
  int dragMode = None;
};
