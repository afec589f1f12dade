#pragma once
// The Hold handle over the time view: two red threshold lines at ± the Hold level on the
// scope's vertical scale, a rail at the right edge with two handles on the lines, the caption
// "HOLD" and the value. Dragging either handle sets the level from its distance to the centre.
// Bound to the "Hold" parameter (normalised value v, dB = v × 33 − 30; v = 1 is off). [editor-thread]
#include "graphics/IControl.h"

class TriggerControl final : public graphics::IControl {
public:
  TriggerControl(const graphics::IRect& rect, int paramIdx, const graphics::IBitmapRef& handle);

  void Draw(graphics::IGui& g) override;
  void OnMouseDown(float x, float y, const graphics::IMouseModifiers& mods) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const graphics::IMouseModifiers& mods) override;
  // The rail column only; the lines across the scope let the mouse through to the graph.
  bool HitTest(float x, float y) const override;
  void OnScaleChanged() override;

  // Turns a pointer y into the value and sends it.
  void SetFromY(float y);
  float LevelScale() const noexcept { return levelScale; }
  // Where the caption "HOLD" and the value are written, beside the scope's centre line.
  graphics::IRect CaptionBox() const noexcept;
  graphics::IRect ValueBox() const noexcept;
  // The value's text: "off", "%.1f dB" below 0 dB, "+%.1f dB" otherwise.
  static void FormatValue(double v, char* text, int size);

private:
  void UpdateLevelScale() noexcept;
  float HalfHandle() const noexcept { return static_cast<float>(handle.FrameWidth()) * 0.5f; }

  graphics::IBitmapRef handle;
  float levelScale;
  graphics::ITextStyle captionStyle;
};
