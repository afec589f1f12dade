#include "graphics/skia/IGuiSkia.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <mutex>
#include <string>

#include "graphics/IFontInfo.h"
#include "graphics/IGraphicsCaches.h"
#include "graphics/IResources.h"
#include "graphics/PlatformFont.h"
#include "graphics/skia/PngEncoding.h"
#include "graphics/skia/SkiaCApi.h"

namespace graphics {
namespace {

constexpr sk_sampling_options_t kLinear = {0, false, {0.0f, 0.0f}, LINEAR_SK_FILTER_MODE, NONE_SK_MIPMAP_MODE};
// Larger pictures are refused rather than decoded (a hostile header can claim any size).
constexpr int64_t kMaxPixels = int64_t{1} << 26;

// A typeface made from a font's bytes, with the metrics text placement needs.
struct SkiaTypeface {
  ~SkiaTypeface() {
    if (typeface) sk_typeface_unref(typeface);
  }
  sk_typeface_t* typeface = nullptr;
  int faceIndex = -1;
  int unitsPerEm = 0;
  int ascender = 0;
  int descender = 0;
};

ICache<SkiaTypeface>& TypefaceCache() {
  static ICache<SkiaTypeface> cache;
  return cache;
}

// One font manager for the process, made on first use and kept.
sk_fontmgr_t* FontManager() {
  static std::once_flag once;
  static sk_fontmgr_t* manager = nullptr;
  std::call_once(once, [] { manager = sk_fontmgr_create_default(); });
  return manager;
}

int ClampAlpha(double a) {
  if (!(a > 0.0)) return 0;
  return a >= 255.0 ? 255 : static_cast<int>(a);
}

sk_color_t ToSk(const IColour& c, float weight) {
  const int a = ClampAlpha(c.A * static_cast<double>(weight));
  auto channel = [](int v) { return static_cast<sk_color_t>(std::clamp(v, 0, 255)); };
  return channel(a) << 24 | channel(c.R) << 16 | channel(c.G) << 8 | channel(c.B);
}

sk_blendmode_t ToSk(const IBlendSpec* blend) {
  if (!blend) return SRCOVER_SK_BLENDMODE;
  switch (blend->mode) {
    case BlendMode::SrcOver: return SRCOVER_SK_BLENDMODE;
    case BlendMode::SrcIn: return SRCIN_SK_BLENDMODE;
    case BlendMode::SrcOut: return SRCOUT_SK_BLENDMODE;
    case BlendMode::SrcAtop: return SRCATOP_SK_BLENDMODE;
    case BlendMode::DstOver: return DSTOVER_SK_BLENDMODE;
    case BlendMode::DstIn: return DSTIN_SK_BLENDMODE;
    case BlendMode::DstOut: return DSTOUT_SK_BLENDMODE;
    case BlendMode::DstAtop: return DSTATOP_SK_BLENDMODE;
    case BlendMode::Add: return PLUS_SK_BLENDMODE;
    case BlendMode::XOR: return XOR_SK_BLENDMODE;
  }
  return CLEAR_SK_BLENDMODE;
}

sk_shader_tilemode_t ToSk(PatternExtend extend) {
  switch (extend) {
    case PatternExtend::None: return DECAL_SK_SHADER_TILEMODE;
    case PatternExtend::Reflect: return MIRROR_SK_SHADER_TILEMODE;
    case PatternExtend::Repeat: return REPEAT_SK_SHADER_TILEMODE;
    case PatternExtend::Pad: break;
  }
  return CLAMP_SK_SHADER_TILEMODE;
}

sk_matrix44_t ToM44(const ITransform& t) {
  sk_matrix44_t m = {};
  m.m[0] = static_cast<float>(t.xx);
  m.m[1] = static_cast<float>(t.yx);
  m.m[4] = static_cast<float>(t.xy);
  m.m[5] = static_cast<float>(t.yy);
  m.m[10] = 1.0f;
  m.m[12] = static_cast<float>(t.tx);
  m.m[13] = static_cast<float>(t.ty);
  m.m[15] = 1.0f;
  return m;
}

sk_matrix_t ToSkMatrix(const ITransform& t) {
  return {static_cast<float>(t.xx), static_cast<float>(t.xy), static_cast<float>(t.tx),
          static_cast<float>(t.yx), static_cast<float>(t.yy), static_cast<float>(t.ty),
          0.0f, 0.0f, 1.0f};
}

// The paint for a pattern: anti-aliased, blended, solid or a gradient shader.
sk_paint_t* MakePaint(const IPaintPattern& pattern, const IBlendSpec* blend) {
  sk_paint_t* paint = sk_paint_new();
  sk_paint_set_antialias(paint, true);
  sk_paint_set_blendmode(paint, ToSk(blend));
  const float weight = blend ? blend->weight : 1.0f;
  const int stops = std::clamp(pattern.stopCount, 0, IPaintPattern::kMaxStops);
  ITransform inverse;
  if (pattern.kind == PatternKind::Solid || stops < 2 || !pattern.transform.Invert(inverse)) {
    sk_paint_set_color(paint, ToSk(pattern.stops[0].colour, weight));
    return paint;
  }
  sk_color_t colours[IPaintPattern::kMaxStops];
  float offsets[IPaintPattern::kMaxStops];
  for (int i = 0; i < stops; ++i) {
    colours[i] = ToSk(pattern.stops[i].colour, weight);
    offsets[i] = pattern.stops[i].offset;
  }
  double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 1.0;
  inverse.Map(x0, y0);
  inverse.Map(x1, y1);
  const sk_point_t p0 = {static_cast<float>(x0), static_cast<float>(y0)};
  const sk_point_t p1 = {static_cast<float>(x1), static_cast<float>(y1)};
  const sk_shader_tilemode_t tile = ToSk(pattern.extend);
  sk_shader_t* shader = nullptr;
  switch (pattern.kind) {
    case PatternKind::Linear: {
      const sk_point_t points[2] = {p0, p1};
      shader = sk_shader_new_linear_gradient(points, colours, offsets, stops, tile, nullptr);
      break;
    }
    case PatternKind::Radial:
      shader = sk_shader_new_radial_gradient(&p0, static_cast<float>(std::hypot(x1 - x0, y1 - y0)), colours, offsets,
                                             stops, tile, nullptr);
      break;
    case PatternKind::Sweep:
      shader = sk_shader_new_sweep_gradient(&p0, colours, offsets, stops, tile, 0.0f,
                                            360.0f * pattern.stops[stops - 1].offset, nullptr);
      break;
    case PatternKind::Solid: break;
  }
  if (shader) {
    sk_paint_set_shader(paint, shader);
    sk_shader_unref(shader);
  } else {
    sk_paint_set_color(paint, ToSk(pattern.stops[0].colour, weight));
  }
  return paint;
}

bool InResourceTable(const uint8_t* bytes) {
  for (int i = 0; i < kResourceCount; ++i)
    if (bytes >= kResourceTable[i].bytes && bytes < kResourceTable[i].bytes + kResourceTable[i].size) return true;
  return false;
}

}  // namespace

// ---- Bitmap -------------------------------------------------------------------------------------

IGuiSkia::Bitmap::Bitmap(sk_image_t* decoded, int bitmapScale, float bitmapDrawScale)
    : BackendBitmap(sk_image_get_width(decoded), sk_image_get_height(decoded), bitmapScale, bitmapDrawScale),
      image(decoded) {}

IGuiSkia::Bitmap::Bitmap(sk_surface_t* raster, int pixelW, int pixelH, int bitmapScale, float bitmapDrawScale)
    : BackendBitmap(pixelW, pixelH, bitmapScale, bitmapDrawScale), surface(raster) {}

IGuiSkia::Bitmap::~Bitmap() {
  if (image) sk_image_unref(image);
  if (surface) sk_surface_unref(surface);
}

void IGuiSkia::Bitmap::Freeze() {
  if (!surface) return;
  if (sk_image_t* snapshot = sk_surface_new_image_snapshot(surface)) {
    if (image) sk_image_unref(image);
    image = snapshot;
    sk_surface_unref(surface);
    surface = nullptr;
  }
}

std::unique_ptr<IGuiSkia::Bitmap> IGuiSkia::DecodeBitmap(const uint8_t* bytes, size_t size, int scale, bool copy) {
  if (!bytes || size == 0 || scale < 1) return nullptr;
  sk_data_t* data = copy ? sk_data_new_with_copy(bytes, size) : sk_data_new_with_proc(bytes, size, nullptr, nullptr);
  if (!data) return nullptr;
  sk_image_t* lazy = sk_image_new_from_encoded(data);
  sk_data_unref(data);
  if (!lazy) return nullptr;
  const int64_t w = sk_image_get_width(lazy), h = sk_image_get_height(lazy);
  sk_image_t* raster = w > 0 && h > 0 && w * h <= kMaxPixels ? sk_image_make_raster_image(lazy) : nullptr;
  sk_image_unref(lazy);
  if (!raster) return nullptr;
  return std::make_unique<Bitmap>(raster, scale, 1.0f);
}

// ---- Lifetime and frame buffer ------------------------------------------------------------------

IGuiSkia::IGuiSkia(framework::IGuiEditorDelegate& editorDelegate, int w, int h, int frameRate, float scale)
    : IGui(editorDelegate, w, h, frameRate, scale), path(sk_pathbuilder_new()) {
  auto lock = TypefaceCache().Lock();
  TypefaceCache().AddUser();
}

IGuiSkia::~IGuiSkia() {
  // Controls may hold bitmaps of layers; they go before the surfaces.
  RemoveAllControls();
  while (EndLayer()) {
  }
  if (surface) sk_surface_unref(surface);
  sk_pathbuilder_delete(path);
  auto lock = TypefaceCache().Lock();
  TypefaceCache().RemoveUser();
}

void IGuiSkia::DrawResize() {
  if (surface) sk_surface_unref(surface);
  surface = nullptr;
  const double ds = DrawScale(), ss = ScreenScale();
  const double w = std::ceil(static_cast<double>(static_cast<int>(Width() * ds)) * ss);
  const double h = std::ceil(static_cast<double>(static_cast<int>(Height() * ds)) * ss);
  const bool usable = w >= 1.0 && h >= 1.0 && w * h <= static_cast<double>(kMaxPixels);
  pixelWidth = usable ? static_cast<int>(w) : 0;
  pixelHeight = usable ? static_cast<int>(h) : 0;
  frameBuffer.assign(kHeaderBytes + static_cast<size_t>(pixelWidth) * static_cast<size_t>(pixelHeight) * 4, 0);
  const int32_t header[10] = {kHeaderBytes, pixelWidth, -pixelHeight, 1 | 32 << 16, 0, 0, 0, 0, 0, 0};
  std::memcpy(frameBuffer.data(), header, sizeof header);
  if (usable) {
    const sk_imageinfo_t info = {nullptr, pixelWidth, pixelHeight, BGRA_8888_SK_COLORTYPE, PREMUL_SK_ALPHATYPE};
    surface = sk_surface_new_raster_direct(&info, frameBuffer.data() + kHeaderBytes,
                                           static_cast<size_t>(pixelWidth) * 4, nullptr, nullptr, nullptr);
  }
  UpdateLayer();
}

uint32_t IGuiSkia::PixelAt(int x, int y) const noexcept {
  if (x < 0 || y < 0 || x >= pixelWidth || y >= pixelHeight) return 0;
  const uint8_t* p = frameBuffer.data() + kHeaderBytes + (static_cast<size_t>(y) * pixelWidth + x) * 4;
  return uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
}

bool IGuiSkia::EncodePng(std::vector<uint8_t>& png) const {
  return graphics::EncodePng(frameBuffer.data() + kHeaderBytes, pixelWidth, pixelHeight, pixelWidth * 4, png);
}

bool IGuiSkia::WritePng(const char* filePath) const {
  return WritePngFile(filePath, frameBuffer.data() + kHeaderBytes, pixelWidth, pixelHeight, pixelWidth * 4);
}

// ---- Matrices and regions -----------------------------------------------------------------------

ITransform IGuiSkia::DeviceTransform() const noexcept {
  const double s = BackingScale();
  ITransform device{s, 0.0, 0.0, s, 0.0, 0.0};
  if (const ILayer* layer = InnermostLayer()) device = device.Then({1.0, 0.0, 0.0, 1.0, -layer->rect.L, -layer->rect.T});
  return device;
}

void IGuiSkia::ApplyCanvasMatrix(const ITransform& matrix) {
  const sk_matrix44_t m = ToM44(matrix);
  sk_canvas_set_matrix(canvas, &m);
}

void IGuiSkia::UpdateLayer() {
  const ILayer* layer = InnermostLayer();
  if (layer) {
    const auto* bitmap = static_cast<const Bitmap*>(layer->bitmap.get());
    canvas = bitmap->Surface() ? sk_surface_get_canvas(bitmap->Surface()) : nullptr;
  } else {
    canvas = surface ? sk_surface_get_canvas(surface) : nullptr;
  }
}

void IGuiSkia::PathSetTransform(const ITransform& t) {
  if (!canvas) return;
  pathTransform = t;
  ApplyCanvasMatrix(DeviceTransform().Then(t));
}

void IGuiSkia::PrepareRegion(const IRect& rect) {
  if (!canvas) return;
  sk_canvas_restore_to_count(canvas, 1);
  sk_canvas_save(canvas);
  ApplyCanvasMatrix(DeviceTransform());
  const sk_rect_t clip = {rect.L, rect.T, rect.R, rect.B};
  sk_canvas_clip_rect_with_operation(canvas, &clip, INTERSECT_SK_CLIPOP, false);
  ApplyCanvasMatrix(DeviceTransform().Then(pathTransform));
}

// ---- Paths ----------------------------------------------------------------------------------------

void IGuiSkia::MappedPoint(float x, float y, float& mx, float& my) const noexcept {
  double dx = x, dy = y;
  pathTransform.Map(dx, dy);
  mx = static_cast<float>(dx);
  my = static_cast<float>(dy);
}

void IGuiSkia::PathClear() {
  sk_pathbuilder_reset(path);
  pathHasPoint = false;
}

void IGuiSkia::PathClose() { sk_pathbuilder_close(path); }

void IGuiSkia::PathMoveTo(float x, float y) {
  float mx, my;
  MappedPoint(x, y, mx, my);
  sk_pathbuilder_move_to(path, mx, my);
  pathHasPoint = true;
}

void IGuiSkia::PathLineTo(float x, float y) {
  float mx, my;
  MappedPoint(x, y, mx, my);
  sk_pathbuilder_line_to(path, mx, my);
  pathHasPoint = true;
}

void IGuiSkia::PathCubicTo(float c1x, float c1y, float c2x, float c2y, float x, float y) {
  float a, b, c, d, e, f;
  MappedPoint(c1x, c1y, a, b);
  MappedPoint(c2x, c2y, c, d);
  MappedPoint(x, y, e, f);
  sk_pathbuilder_cubic_to(path, a, b, c, d, e, f);
  pathHasPoint = true;
}

void IGuiSkia::PathQuadTo(float cx, float cy, float x, float y) {
  float a, b, c, d;
  MappedPoint(cx, cy, a, b);
  MappedPoint(x, y, c, d);
  sk_pathbuilder_quad_to(path, a, b, c, d);
  pathHasPoint = true;
}

// Cubic Bézier pieces of at most 90° each, mapped point by point through the path
// transform (exact for affine maps), connected to the path by a line or a move.
void IGuiSkia::ArcSegments(float cx, float cy, float r, double startDeg, double sweepDeg) {
  const double kRadians = 3.14159265358979323846 / 180.0;
  const int pieces = std::max(1, static_cast<int>(std::ceil(std::fabs(sweepDeg) / 90.0 - 1e-9)));
  const double step = sweepDeg / pieces * kRadians;
  const double k = 4.0 / 3.0 * std::tan(step / 4.0);
  double a0 = startDeg * kRadians;
  const float sx = cx + r * static_cast<float>(std::cos(a0)), sy = cy + r * static_cast<float>(std::sin(a0));
  if (pathHasPoint) PathLineTo(sx, sy);
  else PathMoveTo(sx, sy);
  if (sweepDeg == 0.0) return;
  for (int i = 0; i < pieces; ++i) {
    const double a1 = a0 + step;
    const double c0 = std::cos(a0), s0 = std::sin(a0), c1 = std::cos(a1), s1 = std::sin(a1);
    PathCubicTo(cx + r * static_cast<float>(c0 - k * s0), cy + r * static_cast<float>(s0 + k * c0),
                cx + r * static_cast<float>(c1 + k * s1), cy + r * static_cast<float>(s1 - k * c1),
                cx + r * static_cast<float>(c1), cy + r * static_cast<float>(s1));
    a0 = a1;
  }
}

void IGuiSkia::PathArc(float cx, float cy, float r, float fromDeg, float toDeg, bool counterClockwise) {
  double sweep = static_cast<double>(toDeg) - fromDeg;
  if (!std::isfinite(sweep) || !std::isfinite(r)) return;
  if (sweep >= 360.0 || sweep <= -360.0) {
    // A full circle is a contour of its own, starting at 3 o'clock.
    pathHasPoint = false;
    ArcSegments(cx, cy, r, 0.0, 360.0);
    PathClose();
    return;
  }
  if (counterClockwise) {
    while (sweep > 0.0) sweep -= 360.0;
  } else {
    while (sweep < 0.0) sweep += 360.0;
  }
  ArcSegments(cx, cy, r, static_cast<double>(fromDeg) - 90.0, sweep);
}

void IGuiSkia::DrawCurrentPath(sk_paint_t* paint, bool keepPath, bool evenOdd) {
  sk_path_t* built = keepPath ? sk_pathbuilder_snapshot_path(path) : sk_pathbuilder_detach_path(path);
  if (!keepPath) pathHasPoint = false;
  if (!built) return;
  sk_path_set_filltype(built, evenOdd ? EVENODD_SK_PATH_FILLTYPE : WINDING_SK_PATH_FILLTYPE);
  ITransform inverse;
  if (pathTransform.IsIdentity()) {
    sk_canvas_draw_path(canvas, built, paint);
  } else if (pathTransform.Invert(inverse)) {
    // Back into the transform's own space, so strokes and dashes transform with the geometry.
    const sk_matrix_t m = ToSkMatrix(inverse);
    sk_path_transform(built, &m);
    sk_canvas_draw_path(canvas, built, paint);
  } else {
    ApplyCanvasMatrix(DeviceTransform());
    sk_canvas_draw_path(canvas, built, paint);
    ApplyCanvasMatrix(DeviceTransform().Then(pathTransform));
  }
  sk_path_delete(built);
}

void IGuiSkia::PathStroke(const IPaintPattern& pattern, float thickness, const IStrokeStyle& style,
                          const IBlendSpec* blend) {
  if (!canvas) {
    if (!style.keepPath) PathClear();
    return;
  }
  sk_paint_t* paint = MakePaint(pattern, blend);
  sk_paint_set_style(paint, STROKE_SK_PAINT_STYLE);
  sk_paint_set_stroke_cap(paint, style.cap == LineCap::Round    ? ROUND_SK_STROKE_CAP
                                 : style.cap == LineCap::Square ? SQUARE_SK_STROKE_CAP
                                                                : BUTT_SK_STROKE_CAP);
  sk_paint_set_stroke_join(paint, style.join == LineJoin::Round   ? ROUND_SK_STROKE_JOIN
                                  : style.join == LineJoin::Bevel ? BEVEL_SK_STROKE_JOIN
                                                                  : MITER_SK_STROKE_JOIN);
  sk_paint_set_stroke_width(paint, thickness);
  sk_paint_set_stroke_miter(paint, style.miterLimit);
  const int count = std::clamp(style.dashCount, 0, 8);
  if (count > 0) {
    float intervals[16];
    const int n = count % 2 ? count * 2 : count;
    for (int i = 0; i < n; ++i) intervals[i] = style.dashes[i % count];
    if (sk_path_effect_t* dash = sk_path_effect_create_dash(intervals, n, style.dashOffset)) {
      sk_paint_set_path_effect(paint, dash);
      sk_path_effect_unref(dash);
    }
  }
  DrawCurrentPath(paint, style.keepPath, false);
  sk_paint_delete(paint);
}

void IGuiSkia::PathFill(const IPaintPattern& pattern, const IFillStyle& style, const IBlendSpec* blend) {
  if (!canvas) {
    if (!style.keepPath) PathClear();
    return;
  }
  sk_paint_t* paint = MakePaint(pattern, blend);
  sk_paint_set_style(paint, FILL_SK_PAINT_STYLE);
  DrawCurrentPath(paint, style.keepPath, style.evenOdd);
  sk_paint_delete(paint);
}

// ---- Bitmaps --------------------------------------------------------------------------------------

void IGuiSkia::DrawBitmap(const IBitmapRef& ref, const IRect& dest, int srcX, int srcY, const IBlendSpec* blend) {
  const auto* bitmap = dynamic_cast<const Bitmap*>(ref.bitmap);
  if (!canvas || !bitmap || (!bitmap->Image() && !bitmap->Surface())) return;
  sk_paint_t* paint = sk_paint_new();
  sk_paint_set_blendmode(paint, ToSk(blend));
  const int alpha = blend ? ClampAlpha(static_cast<double>(blend->weight) * 255.0) : 255;
  sk_paint_set_color(paint, static_cast<sk_color_t>(alpha) << 24);
  sk_canvas_save(canvas);
  const sk_rect_t clip = {dest.L, dest.T, dest.R, dest.B};
  sk_canvas_clip_rect_with_operation(canvas, &clip, INTERSECT_SK_CLIPOP, false);
  sk_canvas_translate(canvas, dest.L, dest.T);
  const float s = static_cast<float>(bitmap->scale) * bitmap->drawScale;
  if (s > 0.0f) {
    sk_canvas_scale(canvas, 1.0f / s, 1.0f / s);
    sk_canvas_translate(canvas, -static_cast<float>(srcX) * s, -static_cast<float>(srcY) * s);
    if (bitmap->Image()) sk_canvas_draw_image(canvas, bitmap->Image(), 0.0f, 0.0f, &kLinear, paint);
    else sk_surface_draw_with_sampling(bitmap->Surface(), canvas, 0.0f, 0.0f, &kLinear, paint);
  }
  sk_canvas_restore(canvas);
  sk_paint_delete(paint);
}

void IGuiSkia::RetainBitmap(std::unique_ptr<BackendBitmap> bitmap, const std::string& name) {
  if (auto* skia = dynamic_cast<Bitmap*>(bitmap.get())) skia->Freeze();
  IGui::RetainBitmap(std::move(bitmap), name);
}

bool IGuiSkia::BitmapExtSupported(const char* ext) const {
  if (!ext) return false;
  std::string lower(ext);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower.find("png") != std::string::npos || lower.find("jpg") != std::string::npos ||
         lower.find("jpeg") != std::string::npos;
}

std::unique_ptr<BackendBitmap> IGuiSkia::LoadAPIBitmap(const char* nameOrPath, int scale, int location,
                                                       const char* ext) {
  if (!nameOrPath) return nullptr;
  if (location == static_cast<int>(ResourceLocation::Resource)) {
    size_t size = 0;
    const uint8_t* bytes = ResourceBytes(nameOrPath, ext, size, ModuleHandle());
    return DecodeBitmap(bytes, size, scale, false);
  }
  sk_data_t* data = sk_data_new_from_file(nameOrPath);
  if (!data) return nullptr;
  auto bitmap = DecodeBitmap(static_cast<const uint8_t*>(sk_data_get_data(data)), sk_data_get_size(data), scale, true);
  sk_data_unref(data);
  return bitmap;
}

std::unique_ptr<BackendBitmap> IGuiSkia::CreateAPIBitmap(int w, int h, int scale, float bitmapDrawScale) {
  if (w <= 0 || h <= 0 || int64_t{w} * h > kMaxPixels) return nullptr;
  const sk_imageinfo_t info = {nullptr, w, h, BGRA_8888_SK_COLORTYPE, PREMUL_SK_ALPHATYPE};
  sk_surface_t* raster = sk_surface_new_raster(&info, 0, nullptr);
  if (!raster) return nullptr;
  sk_canvas_clear(sk_surface_get_canvas(raster), 0);
  return std::make_unique<Bitmap>(raster, w, h, scale, bitmapDrawScale);
}

IColour IGuiSkia::ReadPixel(int x, int y) {
  const ILayer* layer = InnermostLayer();
  sk_surface_t* target = layer ? static_cast<const Bitmap*>(layer->bitmap.get())->Surface() : surface;
  uint32_t pixel = 0;
  sk_imageinfo_t info = {nullptr, 1, 1, BGRA_8888_SK_COLORTYPE, PREMUL_SK_ALPHATYPE};
  if (!target || !sk_surface_read_pixels(target, &info, &pixel, 4, x, y)) return {0, 0, 0, 0};
  return {static_cast<int>(pixel >> 24), static_cast<int>(pixel >> 16 & 0xFF), static_cast<int>(pixel >> 8 & 0xFF),
          static_cast<int>(pixel & 0xFF)};
}

void IGuiSkia::DrawBoxShadow(const IRect& inner, const IRect& outer, float offset, float roundness, float blur,
                             const IBlendSpec* blend) {
  if (!canvas) return;
  sk_paint_t* paint = MakePaint(IPaintPattern::Solid({128, 0, 0, 0}), blend);
  if (blur > 0.0f) {
    sk_maskfilter_t* filter = sk_maskfilter_new_blur(NORMAL_SK_BLUR_STYLE, blur / 2.0f);
    sk_paint_set_maskfilter(paint, filter);
    sk_maskfilter_unref(filter);
  }
  sk_canvas_save(canvas);
  const sk_rect_t keepOut = {inner.L, inner.T, inner.R, inner.B};
  sk_canvas_clip_rect_with_operation(canvas, &keepOut, DIFFERENCE_SK_CLIPOP, false);
  const sk_rect_t shadow = {outer.L + offset, outer.T + offset, outer.R + offset, outer.B + offset};
  sk_canvas_draw_round_rect(canvas, &shadow, roundness, roundness, paint);
  sk_canvas_restore(canvas);
  sk_paint_delete(paint);
}

// ---- Text -------------------------------------------------------------------------------------------

bool IGuiSkia::LoadAPIFont(const char* fontId, PlatformFont& font) {
  ICache<SkiaTypeface>& cache = TypefaceCache();
  auto lock = cache.Lock();
  if (cache.Find(fontId, 1.0)) return true;
  const uint8_t* bytes = nullptr;
  size_t size = 0;
  int faceIndex = -1;
  if (!font.FontData(bytes, size, faceIndex) || faceIndex < 0) return false;
  const IFontInfo info = ParseFontInfo(bytes, size, faceIndex);
  if (!info.IsValid() || !FontManager()) return false;
  // Module resources are used in place; bytes from a file are copied, since Skia's glyph
  // caches may hold the typeface longer than our caches hold the file.
  sk_data_t* data = InResourceTable(bytes) ? sk_data_new_with_proc(bytes, size, nullptr, nullptr)
                                           : sk_data_new_with_copy(bytes, size);
  sk_typeface_t* typeface = sk_fontmgr_create_from_data(FontManager(), data, faceIndex);
  sk_data_unref(data);
  if (!typeface) return false;
  auto record = std::make_unique<SkiaTypeface>();
  record->typeface = typeface;
  record->faceIndex = faceIndex;
  record->unitsPerEm = info.unitsPerEm;
  record->ascender = info.ascender;
  record->descender = info.descender;
  cache.Add(std::move(record), fontId, 1.0);
  return true;
}

namespace {

// A font for the style, with ascent and descent at its size; null without a usable typeface.
sk_font_t* FontFor(const ITextStyle& style, float& ascent, float& descent) {
  sk_typeface_t* typeface = nullptr;
  double size = 0.0;
  {
    ICache<SkiaTypeface>& cache = TypefaceCache();
    auto lock = cache.Lock();
    const SkiaTypeface* record = cache.Find(style.fontId, 1.0);
    if (!record || !record->typeface || record->faceIndex < 0 || record->unitsPerEm == 0 ||
        record->ascender - record->descender == 0)
      return nullptr;
    typeface = record->typeface;
    size = static_cast<double>(style.size) * record->unitsPerEm / (record->ascender - record->descender);
  }
  if (!(size > 0.0) || !std::isfinite(size)) return nullptr;
  sk_font_t* font = sk_font_new_with_values(typeface, static_cast<float>(size), 1.0f, 0.0f);
  sk_font_set_edging(font, SUBPIXEL_ANTIALIAS_SK_FONT_EDGING);
  sk_font_set_hinting(font, SLIGHT_SK_FONT_HINTING);
  sk_font_set_subpixel(font, true);
  sk_font_set_force_auto_hinting(font, false);
  sk_fontmetrics_t metrics = {};
  sk_font_get_metrics(font, &metrics);
  ascent = metrics.ascent;
  descent = metrics.descent;
  return font;
}

}  // namespace

float IGuiSkia::DoMeasureText(const ITextStyle& style, const char* text, IRect& rect) {
  float ascent = 0.0f, descent = 0.0f;
  sk_font_t* font = FontFor(style, ascent, descent);
  if (!font) {
    rect = {};
    return 0.0f;
  }
  const float w = sk_font_measure_text(font, text, std::strlen(text), UTF8_SK_TEXT_ENCODING, nullptr, nullptr);
  sk_font_delete(font);
  float x = 0.0f, y = 0.0f;
  PlaceText(style, w, ascent, descent, rect, x, y, rect);
  return rect.R - rect.L;
}

void IGuiSkia::DoDrawText(const ITextStyle& style, const char* text, const IRect& rect, const IBlendSpec* blend) {
  if (!canvas) return;
  float ascent = 0.0f, descent = 0.0f;
  sk_font_t* font = FontFor(style, ascent, descent);
  if (!font) return;
  const size_t length = std::strlen(text);
  const float w = sk_font_measure_text(font, text, length, UTF8_SK_TEXT_ENCODING, nullptr, nullptr);
  float x = 0.0f, y = 0.0f;
  IRect box;
  PlaceText(style, w, ascent, descent, rect, x, y, box);
  PushTransform();
  if (style.angle != 0.0f) {
    Translate(x, y);
    Rotate(style.angle);
    x = y = 0.0f;
  }
  sk_paint_t* paint = sk_paint_new();
  sk_paint_set_antialias(paint, true);
  sk_paint_set_blendmode(paint, ToSk(blend));
  sk_paint_set_color(paint, ToSk(style.colour, blend ? blend->weight : 1.0f));
  sk_canvas_draw_simple_text(canvas, text, length, UTF8_SK_TEXT_ENCODING, x, y, font, paint);
  sk_paint_delete(paint);
  sk_font_delete(font);
  PopTransform();
}

}  // namespace graphics
