#include "display/IRasterScaleCornerDragControl.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "graphics/IGui.h"

using graphics::IRect;

IRasterScaleCornerDragControl::IRasterScaleCornerDragControl(const IRect& rect, float size,
                                                             const graphics::ITextStyle& style,
                                                             const graphics::IColour& idle,
                                                             const graphics::IColour& hover,
                                                             const graphics::IColour& drag, std::vector<float> snap)
    : IControl(rect), cornerSize(size), labelStyle(style), idleColour(idle), hoverColour(hover), dragColour(drag),
      steps(std::move(snap)), width(rect.R), height(rect.B) {
  drawRect = targetRect = {width - 2.0f * cornerSize + 1.0f, height - 2.0f * cornerSize + 1.0f, width - 1.0f,
                           height - 1.0f};
  corner = {width - cornerSize + 1.0f, height - cornerSize + 1.0f, width - 1.0f, height - 1.0f};
  std::sort(steps.begin(), steps.end());
}

void IRasterScaleCornerDragControl::Layout() {
  if (!ui) return;
  const float s = std::max(0.0001f, ui->DrawScale());
  const float k = 1.0f / s;
  width = static_cast<float>(ui->Width());
  height = static_cast<float>(ui->Height());
  const float size = 2.0f * cornerSize * k;
  drawRect = targetRect = {width - size + 1.0f - 72.0f * k, height - size + 1.0f - 72.0f * k, width - 1.0f,
                           height - 1.0f};
  hitArea = {width - size + 1.0f, height - size + 1.0f, width - 1.0f, height - 1.0f};
  corner = {width - cornerSize * k + 1.0f, height - cornerSize * k + 1.0f, width - 1.0f, height - 1.0f};
}

void IRasterScaleCornerDragControl::OnAddedToUI() {
  if (ui) ui->EnableMouseOver(true);
  Layout();
}

bool IRasterScaleCornerDragControl::HitTest(float x, float y) const {
  if (hitArea.Empty()) return false;
  return hitArea.L <= x && x < hitArea.R && hitArea.T <= y && y < hitArea.B;
}

float IRasterScaleCornerDragControl::NearestStep(float a) const noexcept {
  float best = a;
  float bestDistance = 3.4028235e38f;
  for (float step : steps) {
    const float distance = std::fabs(a - step);
    if (distance < bestDistance || (std::fabs(distance - bestDistance) <= 0.0001f && step < best)) {
      best = step;
      bestDistance = distance;
    }
  }
  return best;
}

void IRasterScaleCornerDragControl::OnMouseDown(float, float, const graphics::IMouseModifiers& mods) {
  if (mods.R || !ui) return;
  startScale = ui->DrawScale();
  ui->BeginResizeGesture();
}

void IRasterScaleCornerDragControl::OnMouseUp(float, float, const graphics::IMouseModifiers& mods) {
  if (mods.S || !ui) return;
  const float a = ui->DrawScale();
  if (std::fabs(a - startScale) <= 0.0001f) return;
  const float b = NearestStep(a);
  if (std::fabs(b - a) > 0.0001f) ui->SetPendingScale(b);
}

void IRasterScaleCornerDragControl::OnMouseDoubleClick(float, float, const graphics::IMouseModifiers&) {
  if (!ui) return;
  ui->BeginResizeGesture();
  ui->ResizeEditor(ui->Width(), ui->Height(), 1.0f, true);
  ui->EndResizeGesture();
}

void IRasterScaleCornerDragControl::OnMouseOver(float x, float y, const graphics::IMouseModifiers& mods) {
  if (!cursorSet && ui) {
    previousCursor = ui->SetMouseCursor(graphics::CursorType::SizeNWSE);
    cursorSet = true;
  }
  IControl::OnMouseOver(x, y, mods);
}

void IRasterScaleCornerDragControl::OnMouseOut() {
  if (cursorSet && ui) ui->SetMouseCursor(previousCursor);
  cursorSet = false;
  IControl::OnMouseOut();
}

IRect IRasterScaleCornerDragControl::LabelBox() const noexcept {
  const float k = 1.0f / std::max(0.0001f, ui ? ui->DrawScale() : 1.0f);
  return {corner.L - 66.0f * k, corner.T - 28.0f * k, corner.L - 8.0f * k, corner.T - 8.0f * k};
}

void IRasterScaleCornerDragControl::Draw(graphics::IGui& g) {
  const bool dragging = g.ResizeGestureInProgress();
  const graphics::IColour colour = dragging ? dragColour : (mouseIsOver ? hoverColour : idleColour);
  g.FillTriangle(colour, corner.L, corner.B, corner.R, corner.T, corner.R, corner.B);
  const float scale = g.DrawScale();
  if (!dragging || std::fabs(scale - startScale) <= 0.0001f) return;
  const float k = 1.0f / std::max(0.0001f, scale);
  const IRect box = LabelBox();
  char text[16];
  std::snprintf(text, sizeof text, "%d%%", static_cast<int>(std::lround(NearestStep(scale) * 100.0f)));
  g.FillRoundRect({220, 24, 24, 24}, box, 4.0f * k);
  g.DrawRoundRect({220, 255, 255, 255}, box, 4.0f * k, nullptr, 1.0f);
  graphics::ITextStyle style = labelStyle;
  style.size = labelStyle.size * k;
  g.DrawText(style, text, box);
}
