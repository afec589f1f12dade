#include "graphics/IGraphicsTypes.h"

#include <algorithm>
#include <cstring>

namespace graphics {

IRect IRect::Intersect(const IRect& r) const noexcept {
  IRect result{std::max(L, r.L), std::max(T, r.T), std::min(R, r.R), std::min(B, r.B)};
  if (result.R <= result.L || result.B <= result.T) return {};
  return result;
}

IRect IRect::Union(const IRect& r) const noexcept {
  if (Empty()) return r;
  if (r.Empty()) return *this;
  return {std::min(L, r.L), std::min(T, r.T), std::max(R, r.R), std::max(B, r.B)};
}

IRect IRect::AlignedOut(float s) const noexcept {
  return {std::floor(L * s) / s, std::floor(T * s) / s, std::ceil(R * s) / s, std::ceil(B * s) / s};
}

ITransform ITransform::Then(const ITransform& first) const noexcept {
  const ITransform& a = *this;
  const ITransform& b = first;
  return {a.xx * b.xx + a.xy * b.yx, a.yx * b.xx + a.yy * b.yx, a.xx * b.xy + a.xy * b.yy,
          a.yx * b.xy + a.yy * b.yy, a.xx * b.tx + a.xy * b.ty + a.tx, a.yx * b.tx + a.yy * b.ty + a.ty};
}

bool ITransform::Invert(ITransform& inverse) const noexcept {
  const double det = xx * yy - xy * yx;
  if (det == 0.0 || !std::isfinite(det)) return false;
  const double d = 1.0 / det;
  inverse = {yy * d, -yx * d, -xy * d, xx * d, (xy * ty - yy * tx) * d, (yx * tx - xx * ty) * d};
  return true;
}

void ITransform::Map(double& x, double& y) const noexcept {
  const double mx = xx * x + xy * y + tx;
  const double my = yx * x + yy * y + ty;
  x = mx;
  y = my;
}

ITextStyle::ITextStyle(float textSize, const IColour& textColour, TextAlign horizontal, const char* font) noexcept
    : size(textSize), colour(textColour), align(horizontal) {
  SetFont(font);
}

void ITextStyle::SetFont(const char* font) noexcept {
  std::memset(fontId, 0, sizeof fontId);
  if (font) std::strncpy(fontId, font, sizeof fontId - 1);
}

}  // namespace graphics
