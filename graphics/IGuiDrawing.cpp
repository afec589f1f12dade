// The drawing vocabulary: transforms, path builders and the shape operations, all defined
// on the backend's path primitives; text placement; layers.
#include <algorithm>
#include <cmath>

#include "graphics/IControl.h"
#include "graphics/IGui.h"

namespace graphics {

// ---- Transforms -------------------------------------------------------------------------------

void IGui::PushTransform() { transformStack.push_back(transform); }

void IGui::PopTransform() {
  if (transformStack.empty()) return;
  transform = transformStack.back();
  transformStack.pop_back();
  PathSetTransform(transform);
}

void IGui::Translate(double x, double y) {
  transform = transform.Then({1.0, 0.0, 0.0, 1.0, x, y});
  PathSetTransform(transform);
}

void IGui::Scale(double sx, double sy) {
  transform = transform.Then({sx, 0.0, 0.0, sy, 0.0, 0.0});
  PathSetTransform(transform);
}

void IGui::Rotate(double deg) {
  const double radians = deg / 180.0 * static_cast<double>(3.1415927f);
  const double c = std::cos(radians), s = std::sin(radians);
  transform = transform.Then({c, s, -s, c, 0.0, 0.0});
  PathSetTransform(transform);
}

// ---- Path builders ----------------------------------------------------------------------------

void IGui::PathRect(const IRect& r) {
  PathMoveTo(r.L, r.T);
  PathLineTo(r.R, r.T);
  PathLineTo(r.R, r.B);
  PathLineTo(r.L, r.B);
  PathClose();
}

void IGui::PathRoundRect(const IRect& r, float rTL, float rTR, float rBR, float rBL) {
  if (rTL <= 0.0f && rTR <= 0.0f && rBR <= 0.0f && rBL <= 0.0f) {
    PathRect(r);
    return;
  }
  PathMoveTo(r.L, r.T + rTL);
  PathArc(r.L + rTL, r.T + rTL, rTL, 270.0f, 360.0f);
  PathArc(r.R - rTR, r.T + rTR, rTR, 0.0f, 90.0f);
  PathArc(r.R - rBR, r.B - rBR, rBR, 90.0f, 180.0f);
  PathArc(r.L + rBL, r.B - rBL, rBL, 180.0f, 270.0f);
  PathClose();
}

void IGui::PathCircle(float cx, float cy, float r) {
  PathMoveTo(cx, cy - r);
  PathArc(cx, cy, r, 0.0f, 360.0f);
  PathClose();
}

void IGui::PathEllipse(float cx, float cy, float r1, float r2, float angleDeg) {
  if (r1 <= 0.0f || r2 <= 0.0f) return;
  PushTransform();
  Translate(cx, cy);
  Rotate(angleDeg);
  Scale(r1, r2);
  PathCircle(0.0f, 0.0f, 1.0f);
  PopTransform();
}

void IGui::PathPolygon(const float* xs, const float* ys, int n) {
  if (!xs || !ys || n < 1) return;
  PathMoveTo(xs[0], ys[0]);
  for (int i = 1; i < n; ++i) PathLineTo(xs[i], ys[i]);
  PathClose();
}

// ---- Shape operations -------------------------------------------------------------------------

void IGui::DrawBitmapFitted(const IBitmapRef& bitmap, const IRect& dest, const IBlendSpec* blend) {
  if (!bitmap.IsValid() || bitmap.width <= 0 || bitmap.height <= 0) return;
  const float bw = static_cast<float>(bitmap.width), bh = static_cast<float>(bitmap.height);
  PushTransform();
  Translate(dest.L, dest.T);
  Scale(dest.W() / bw, dest.H() / bh);
  DrawBitmap(bitmap, {0.0f, 0.0f, bw, bh}, 0, 0, blend);
  PopTransform();
}

void IGui::DrawBitmapRotated(const IBitmapRef& bitmap, float cx, float cy, double deg, const IBlendSpec* blend) {
  if (!bitmap.IsValid()) return;
  const float bitmapDrawScale = bitmap.bitmap->drawScale > 0.0f ? bitmap.bitmap->drawScale : 1.0f;
  const float w = static_cast<float>(bitmap.width) / bitmapDrawScale;
  const float h = static_cast<float>(bitmap.height) / bitmapDrawScale;
  PushTransform();
  Translate(cx, cy);
  Rotate(deg);
  DrawBitmap(bitmap, {-w / 2.0f, -h / 2.0f, w / 2.0f, h / 2.0f}, 0, 0, blend);
  PopTransform();
}

void IGui::DrawPoint(const IColour& colour, float x, float y, const IBlendSpec* blend) {
  FillRect(colour, {x, y, x + 1.0f, y + 1.0f}, blend);
}

void IGui::DrawLine(const IColour& colour, float x1, float y1, float x2, float y2, const IBlendSpec* blend,
                    float thickness) {
  PathClear();
  PathMoveTo(x1, y1);
  PathLineTo(x2, y2);
  PathStroke(IPaintPattern::Solid(colour), thickness, {}, blend);
}

void IGui::DrawDashedLine(const IColour& colour, float x1, float y1, float x2, float y2, const IBlendSpec* blend,
                          float thickness, float dashLength) {
  PathClear();
  PathMoveTo(x1, y1);
  PathLineTo(x2, y2);
  PathStroke(IPaintPattern::Solid(colour), thickness, IStrokeStyle::Dashed(dashLength), blend);
}

void IGui::DrawTriangle(const IColour& colour, float x1, float y1, float x2, float y2, float x3, float y3,
                        const IBlendSpec* blend, float thickness) {
  PathClear();
  PathMoveTo(x1, y1);
  PathLineTo(x2, y2);
  PathLineTo(x3, y3);
  PathClose();
  PathStroke(IPaintPattern::Solid(colour), thickness, {}, blend);
}

void IGui::DrawRect(const IColour& colour, const IRect& rect, const IBlendSpec* blend, float thickness) {
  PathClear();
  PathRect(rect);
  PathStroke(IPaintPattern::Solid(colour), thickness, {}, blend);
}

void IGui::DrawRoundRect(const IColour& colour, const IRect& rect, float rTL, float rTR, float rBR, float rBL,
                         const IBlendSpec* blend, float thickness) {
  PathClear();
  PathRoundRect(rect, rTL, rTR, rBR, rBL);
  PathStroke(IPaintPattern::Solid(colour), thickness, {}, blend);
}

void IGui::DrawRoundRect(const IColour& colour, const IRect& rect, float radius, const IBlendSpec* blend,
                         float thickness) {
  DrawRoundRect(colour, rect, radius, radius, radius, radius, blend, thickness);
}

void IGui::DrawArc(const IColour& colour, float cx, float cy, float r, float fromDeg, float toDeg,
                   const IBlendSpec* blend, float thickness) {
  PathClear();
  PathArc(cx, cy, r, fromDeg, toDeg, false);
  PathStroke(IPaintPattern::Solid(colour), thickness, {}, blend);
}

void IGui::DrawCircle(const IColour& colour, float cx, float cy, float r, const IBlendSpec* blend, float thickness) {
  PathClear();
  PathCircle(cx, cy, r);
  PathStroke(IPaintPattern::Solid(colour), thickness, {}, blend);
}

void IGui::DrawEllipse(const IColour& colour, float cx, float cy, float r1, float r2, float deg,
                       const IBlendSpec* blend, float thickness) {
  PathClear();
  PathEllipse(cx, cy, r1, r2, deg);
  PathStroke(IPaintPattern::Solid(colour), thickness, {}, blend);
}

void IGui::DrawEllipse(const IColour& colour, const IRect& rect, const IBlendSpec* blend, float thickness) {
  DrawEllipse(colour, rect.MW(), rect.MH(), rect.W() / 2.0f, rect.H() / 2.0f, 0.0f, blend, thickness);
}

void IGui::DrawPolygon(const IColour& colour, const float* xs, const float* ys, int n, const IBlendSpec* blend,
                       float thickness) {
  PathClear();
  PathPolygon(xs, ys, n);
  PathStroke(IPaintPattern::Solid(colour), thickness, {}, blend);
}

void IGui::DrawDashedRect(const IColour& colour, const IRect& rect, const IBlendSpec* blend, float thickness,
                          float dashLength) {
  PathClear();
  PathRect(rect);
  PathStroke(IPaintPattern::Solid(colour), thickness, IStrokeStyle::Dashed(dashLength), blend);
}

void IGui::FillTriangle(const IColour& colour, float x1, float y1, float x2, float y2, float x3, float y3,
                        const IBlendSpec* blend) {
  PathClear();
  PathMoveTo(x1, y1);
  PathLineTo(x2, y2);
  PathLineTo(x3, y3);
  PathClose();
  PathFill(IPaintPattern::Solid(colour), {}, blend);
}

void IGui::FillRect(const IColour& colour, const IRect& rect, const IBlendSpec* blend) {
  PathClear();
  PathRect(rect);
  PathFill(IPaintPattern::Solid(colour), {}, blend);
}

void IGui::FillRoundRect(const IColour& colour, const IRect& rect, float rTL, float rTR, float rBR, float rBL,
                         const IBlendSpec* blend) {
  PathClear();
  PathRoundRect(rect, rTL, rTR, rBR, rBL);
  PathFill(IPaintPattern::Solid(colour), {}, blend);
}

void IGui::FillRoundRect(const IColour& colour, const IRect& rect, float radius, const IBlendSpec* blend) {
  FillRoundRect(colour, rect, radius, radius, radius, radius, blend);
}

void IGui::FillCircle(const IColour& colour, float cx, float cy, float r, const IBlendSpec* blend) {
  PathClear();
  PathCircle(cx, cy, r);
  PathFill(IPaintPattern::Solid(colour), {}, blend);
}

void IGui::FillEllipse(const IColour& colour, float cx, float cy, float r1, float r2, float deg,
                       const IBlendSpec* blend) {
  PathClear();
  PathEllipse(cx, cy, r1, r2, deg);
  PathFill(IPaintPattern::Solid(colour), {}, blend);
}

void IGui::FillEllipse(const IColour& colour, const IRect& rect, const IBlendSpec* blend) {
  FillEllipse(colour, rect.MW(), rect.MH(), rect.W() / 2.0f, rect.H() / 2.0f, 0.0f, blend);
}

void IGui::FillPie(const IColour& colour, float cx, float cy, float r, float fromDeg, float toDeg,
                   const IBlendSpec* blend) {
  PathClear();
  PathMoveTo(cx, cy);
  PathArc(cx, cy, r, fromDeg, toDeg, false);
  PathClose();
  PathFill(IPaintPattern::Solid(colour), {}, blend);
}

void IGui::FillPolygon(const IColour& colour, const float* xs, const float* ys, int n, const IBlendSpec* blend) {
  PathClear();
  PathPolygon(xs, ys, n);
  PathFill(IPaintPattern::Solid(colour), {}, blend);
}

void IGui::DrawGrid(const IColour& colour, const IRect& rect, float stepX, float stepY, const IBlendSpec* blend,
                    float thickness) {
  PathClear();
  if (stepX > 1.0f)
    for (int i = 1;; ++i) {
      const float x = rect.L + static_cast<float>(i) * stepX;
      if (!(x < rect.R)) break;
      PathMoveTo(x, rect.T);
      PathLineTo(x, rect.B);
    }
  if (stepY > 1.0f)
    for (int i = 1;; ++i) {
      const float y = rect.T + static_cast<float>(i) * stepY;
      if (!(y < rect.B)) break;
      PathMoveTo(rect.L, y);
      PathLineTo(rect.R, y);
    }
  PathStroke(IPaintPattern::Solid(colour), thickness, {}, blend);
}

// ---- Text and bitmap frames -------------------------------------------------------------------

float IGui::MeasureText(const ITextStyle& style, const char* text, IRect& rect) {
  if (!text || !*text) return 0.0f;
  return DoMeasureText(style, text, rect);
}

void IGui::DrawText(const ITextStyle& style, const char* text, const IRect& rect, const IBlendSpec* blend) {
  if (!text || !*text) return;
  DoDrawText(style, text, rect, blend);
}

void IGui::PlaceText(const ITextStyle& style, float w, float a, float d, const IRect& rect, float& x, float& y,
                     IRect& box) {
  const float s = style.size;
  switch (style.align) {
    case TextAlign::Left: x = rect.L; break;
    case TextAlign::Right: x = rect.R - w; break;
    default: x = rect.MW() - w / 2.0f; break;
  }
  switch (style.valign) {
    case TextVAlign::Top: y = rect.T - a; break;
    case TextVAlign::Bottom: y = rect.B - d; break;
    default: y = rect.MH() - d + s / 2.0f; break;
  }
  box = {x, y + a, x + w, y + a + s};
}

void IGui::DrawBitmapFrame(const IBitmapRef& bitmap, const IRect& dest, int frame, const IBlendSpec* blend) {
  const int frames = std::max(bitmap.frames, 1);
  frame = std::clamp(frame, 1, frames);
  int srcX = 0, srcY = 0;
  if (frames >= 2) {
    if (bitmap.framesAreHorizontal) srcX = (frame - 1) * bitmap.width / frames;
    else srcY = (frame - 1) * bitmap.height / frames;
  }
  DrawBitmap(bitmap, dest, srcX, srcY, blend);
}

// ---- Layers -----------------------------------------------------------------------------------

void IGui::StartLayer(IControl* owner, const IRect& rect) {
  const float s = drawScale * screenScale;
  const IRect aligned = rect.AlignedOut(s);
  const int pixelW = static_cast<int>(std::ceil(std::ceil((aligned.R - aligned.L) * s)));
  const int pixelH = static_cast<int>(std::ceil(std::ceil((aligned.B - aligned.T) * s)));
  std::unique_ptr<BackendBitmap> bitmap =
      CreateAPIBitmap(pixelW, pixelH, static_cast<int>(std::lround(screenScale)), drawScale);
  if (!bitmap) return;
  auto layer = std::make_unique<ILayer>();
  layer->bitmap = std::move(bitmap);
  layer->owner = owner;
  if (owner) layer->controlRect = owner->GetRect();
  layer->rect = aligned;
  layers.push_back(std::move(layer));
  UpdateLayer();
  transform = ITransform{};
  PathSetTransform(transform);
  PrepareRegion(aligned);
  PathSetTransform(transform);
  PathClear();
}

std::unique_ptr<ILayer> IGui::EndLayer() {
  if (layers.empty()) return nullptr;
  std::unique_ptr<ILayer> layer = std::move(layers.back());
  layers.pop_back();
  UpdateLayer();
  transform = ITransform{};
  SetClipRegion({});
  PathClear();
  return layer;
}

void IGui::SetClipRegion(const IRect& rect) {
  IRect area = drawArea;
  if (const ILayer* layer = InnermostLayer()) area = layer->rect;
  else if (area.Empty()) area = {0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height)};
  IRect clip = rect.Empty() ? area : rect.Intersect(area);
  PathSetTransform(ITransform{});
  PrepareRegion(clip);
  PathSetTransform(transform);
}

}  // namespace graphics
