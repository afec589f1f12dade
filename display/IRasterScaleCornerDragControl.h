#pragma once
// The window-scale corner: a small triangle in the editor's bottom-right corner. Dragging it
// zooms the whole editor (the UI rescales while the mouse drags); on release the scale snaps to
// the nearest of its steps unless shift is held; a double click returns to 100 %. While
// dragging it shows the step it will snap to. The corner keeps its size on screen at any
// zoom. [editor-thread]
#include <vector>

#include "graphics/IControl.h"

class IRasterScaleCornerDragControl final : public graphics::IControl {
public:
  // rect: (0, 0, editor width, editor height) in UI units.
  IRasterScaleCornerDragControl(const graphics::IRect& rect, float cornerSize, const graphics::ITextStyle& labelStyle,
                                const graphics::IColour& idleColour, const graphics::IColour& hoverColour,
                                const graphics::IColour& dragColour, std::vector<float> steps);

  void Draw(graphics::IGui& g) override;
  void OnMouseDown(float x, float y, const graphics::IMouseModifiers& mods) override;
  void OnMouseUp(float x, float y, const graphics::IMouseModifiers& mods) override;
  void OnMouseDoubleClick(float x, float y, const graphics::IMouseModifiers& mods) override;
  void OnMouseOver(float x, float y, const graphics::IMouseModifiers& mods) override;
  void OnMouseOut() override;
  void OnScaleChanged() override { Layout(); }
  void OnBoundsChanged() override { Layout(); }
  void OnAddedToUI() override;
  bool HitTest(float x, float y) const override;

  // Places the corner and its label room for the UI's size and draw scale.
  void Layout();
  // The step nearest to a; of two equally near (within 0.0001) the smaller. a without steps.
  float NearestStep(float a) const noexcept;
  // The snap label's box for the current draw scale.
  graphics::IRect LabelBox() const noexcept;

  const graphics::IRect& HitArea() const noexcept { return hitArea; }
  const graphics::IRect& Corner() const noexcept { return corner; }

private:
  float cornerSize;
  float startScale = 1.0f;
  bool cursorSet = false;
  graphics::CursorType previousCursor = graphics::CursorType::Arrow;
  graphics::IRect hitArea;
  graphics::IRect corner;
  graphics::ITextStyle labelStyle;
  graphics::IColour idleColour;
  graphics::IColour hoverColour;
  graphics::IColour dragColour;
  std::vector<float> steps;
  float width;
  float height;
};
