#pragma once
// Mix-in for controls that show a bitmap: the reference, the frame chosen by a value, and
// the reload for the UI's current scale. [editor-thread]
#include "graphics/IGraphicsTypes.h"

namespace graphics {

class IControl;
class IGui;

class IBitmapBase {
public:
  IBitmapBase(IControl& owner, const IBitmapRef& bitmapRef) : bitmap(bitmapRef), control(owner) {}
  virtual ~IBitmapBase() = default;

  const IBitmapRef& Bitmap() const noexcept { return bitmap; }
  // One frame's size centred in rect (single precision).
  static IRect FrameRectIn(const IBitmapRef& bitmap, const IRect& rect);
  // One frame's size with its top-left at (x, y).
  static IRect FrameRectAt(const IBitmapRef& bitmap, float x, float y);

protected:
  // 1 for fewer than two frames, else int(value × (n − 1) + 0.5) + 1 within 1 … n.
  int FrameForValue(double value) const noexcept;
  // The frame for the value, centred in the control's draw rectangle, with its blend.
  void DrawFrame(IGui& g, double value);
  // Loads the same name, frames and layout for ceil(backing scale).
  void ReloadForScale();

  IBitmapRef bitmap;
  IControl& control;
};

}  // namespace graphics
