#pragma once
// The vertical zoom bar left of the scope: one handle for "Y Zoom" on a track from 0 at the
// bottom to 1 at the top; a press jumps the handle to the pointer. [editor-thread]
#include "graphics/IControl.h"

class KorvelOneSidedScrollBar final : public graphics::IControl {
public:
  KorvelOneSidedScrollBar(const graphics::IRect& rect, int paramIdx, const graphics::IBitmapRef& handle);

  void Draw(graphics::IGui& g) override;
  void OnMouseDown(float x, float y, const graphics::IMouseModifiers& mods) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const graphics::IMouseModifiers& mods) override;
  void OnMouseDoubleClick(float x, float y, const graphics::IMouseModifiers& mods) override;
  void OnMouseWheel(float x, float y, const graphics::IMouseModifiers& mods, float delta) override;
  void OnScaleChanged() override;

private:
  float TrackY(double v) const noexcept;
  float HalfWidth() const noexcept { return static_cast<float>(handle.FrameWidth()) * 0.5f; }
  float HalfHeight() const noexcept { return static_cast<float>(handle.FrameHeight()) * 0.5f; }

  graphics::IBitmapRef handle;
  graphics::IColour rangeColour{255, 255, 255, 255};
  graphics::IColour trackColour{255, 127, 127, 127};
};
