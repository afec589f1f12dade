#pragma once
// Our declarations of the Skia C interface that libSkiaSharp (4.156.1) exports: only the
// functions the drawing backend and the artwork tool call. Every name was checked against the
// library's exported symbols; layouts that cross the boundary are pinned by the asserts below.
// [editor-thread] Skia objects are not thread-safe: each is used by one thread at a time.
#include <stddef.h>
#include <stdint.h>
#ifndef __cplusplus
#include <stdbool.h>
#endif

#ifdef __cplusplus
#define KORVEL_SK_ASSERT(condition, message) static_assert(condition, message)
extern "C" {
#else
#define KORVEL_SK_ASSERT(condition, message) _Static_assert(condition, message)
#endif

// ---- Records passed by value or through pointers ------------------------------------------

// Unpremultiplied colour, 0xAARRGGBB.
typedef uint32_t sk_color_t;

typedef struct {
  float x;
  float y;
} sk_point_t;

typedef struct {
  float left;
  float top;
  float right;
  float bottom;
} sk_rect_t;

typedef struct {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
} sk_irect_t;

// 3x3 matrix in row order: x' = scaleX·x + skewX·y + transX, y' = skewY·x + scaleY·y + transY.
typedef struct {
  float scaleX, skewX, transX;
  float skewY, scaleY, transY;
  float persp0, persp1, persp2;
} sk_matrix_t;

// 4x4 matrix exactly as Skia's SkM44 stores it, which the canvas matrix calls take unconverted:
// column-major, element (row r, column c) at m[c * 4 + r], so a 2D translation is m[12], m[13].
typedef struct {
  float m[16];
} sk_matrix44_t;

typedef enum {
  UNKNOWN_SK_COLORTYPE = 0,
  RGBA_8888_SK_COLORTYPE = 4,
  BGRA_8888_SK_COLORTYPE = 6,
} sk_colortype_t;

typedef enum {
  UNKNOWN_SK_ALPHATYPE = 0,
  OPAQUE_SK_ALPHATYPE = 1,
  PREMUL_SK_ALPHATYPE = 2,
  UNPREMUL_SK_ALPHATYPE = 3,
} sk_alphatype_t;

typedef struct sk_colorspace_t sk_colorspace_t;

// colorspace null: untagged pixels, drawn without colour conversion.
typedef struct {
  sk_colorspace_t* colorspace;
  int32_t width;
  int32_t height;
  sk_colortype_t colorType;
  sk_alphatype_t alphaType;
} sk_imageinfo_t;

typedef enum {
  NEAREST_SK_FILTER_MODE = 0,
  LINEAR_SK_FILTER_MODE = 1,
} sk_filter_mode_t;

typedef enum {
  NONE_SK_MIPMAP_MODE = 0,
  NEAREST_SK_MIPMAP_MODE = 1,
  LINEAR_SK_MIPMAP_MODE = 2,
} sk_mipmap_mode_t;

typedef struct {
  float B;
  float C;
} sk_cubic_resampler_t;

// Linear filtering without mipmaps: {0, false, {0, 0}, LINEAR_SK_FILTER_MODE, NONE_SK_MIPMAP_MODE}.
typedef struct {
  int maxAniso;
  bool useCubic;
  sk_cubic_resampler_t cubic;
  sk_filter_mode_t filter;
  sk_mipmap_mode_t mipmap;
} sk_sampling_options_t;

// Porter-Duff modes in Skia's order; the backend maps its blend enumeration onto these.
typedef enum {
  CLEAR_SK_BLENDMODE = 0,
  SRC_SK_BLENDMODE = 1,
  DST_SK_BLENDMODE = 2,
  SRCOVER_SK_BLENDMODE = 3,
  DSTOVER_SK_BLENDMODE = 4,
  SRCIN_SK_BLENDMODE = 5,
  DSTIN_SK_BLENDMODE = 6,
  SRCOUT_SK_BLENDMODE = 7,
  DSTOUT_SK_BLENDMODE = 8,
  SRCATOP_SK_BLENDMODE = 9,
  DSTATOP_SK_BLENDMODE = 10,
  XOR_SK_BLENDMODE = 11,
  PLUS_SK_BLENDMODE = 12,
} sk_blendmode_t;

typedef enum {
  DIFFERENCE_SK_CLIPOP = 0,
  INTERSECT_SK_CLIPOP = 1,
} sk_clipop_t;

typedef enum {
  WINDING_SK_PATH_FILLTYPE = 0,
  EVENODD_SK_PATH_FILLTYPE = 1,
} sk_path_filltype_t;

typedef enum {
  CW_SK_PATH_DIRECTION = 0,
  CCW_SK_PATH_DIRECTION = 1,
} sk_path_direction_t;

typedef enum {
  FILL_SK_PAINT_STYLE = 0,
  STROKE_SK_PAINT_STYLE = 1,
} sk_paint_style_t;

typedef enum {
  BUTT_SK_STROKE_CAP = 0,
  ROUND_SK_STROKE_CAP = 1,
  SQUARE_SK_STROKE_CAP = 2,
} sk_stroke_cap_t;

typedef enum {
  MITER_SK_STROKE_JOIN = 0,
  ROUND_SK_STROKE_JOIN = 1,
  BEVEL_SK_STROKE_JOIN = 2,
} sk_stroke_join_t;

// Skia's order, not the drawing vocabulary's extend order (decal, clamp, mirror, repeat).
typedef enum {
  CLAMP_SK_SHADER_TILEMODE = 0,
  REPEAT_SK_SHADER_TILEMODE = 1,
  MIRROR_SK_SHADER_TILEMODE = 2,
  DECAL_SK_SHADER_TILEMODE = 3,
} sk_shader_tilemode_t;

typedef enum {
  NORMAL_SK_BLUR_STYLE = 0,
} sk_blurstyle_t;

typedef enum {
  UTF8_SK_TEXT_ENCODING = 0,
} sk_text_encoding_t;

typedef enum {
  ALIAS_SK_FONT_EDGING = 0,
  ANTIALIAS_SK_FONT_EDGING = 1,
  SUBPIXEL_ANTIALIAS_SK_FONT_EDGING = 2,
} sk_font_edging_t;

typedef enum {
  NONE_SK_FONT_HINTING = 0,
  SLIGHT_SK_FONT_HINTING = 1,
  NORMAL_SK_FONT_HINTING = 2,
  FULL_SK_FONT_HINTING = 3,
} sk_font_hinting_t;

// Font metrics in font units scaled to the font size; ascent is negative (above the baseline).
typedef struct {
  uint32_t flags;
  float top;
  float ascent;
  float descent;
  float bottom;
  float leading;
  float avgCharWidth;
  float maxCharWidth;
  float xMin;
  float xMax;
  float xHeight;
  float capHeight;
  float underlineThickness;
  float underlinePosition;
  float strikeoutThickness;
  float strikeoutPosition;
} sk_fontmetrics_t;

typedef enum {
  ALLOW_SK_IMAGE_CACHING_HINT = 0,
  DISALLOW_SK_IMAGE_CACHING_HINT = 1,
} sk_image_caching_hint_t;

typedef enum {
  ZERO_SK_PNGENCODER_FILTER_FLAGS = 0x00,
  ALL_SK_PNGENCODER_FILTER_FLAGS = 0xF8,
} sk_pngencoder_filterflags_t;

// The library reads only filterFlags and zlibLevel (0 … 9; Skia's default is 6) and ignores the
// pointers: keep them null.
typedef struct {
  sk_pngencoder_filterflags_t filterFlags;
  int zlibLevel;
  void* comments;
  const void* gainmap;
  const void* gainmapInfo;
} sk_pngencoder_options_t;

KORVEL_SK_ASSERT(sizeof(sk_point_t) == 8, "sk_point_t is two floats");
KORVEL_SK_ASSERT(sizeof(sk_rect_t) == 16, "sk_rect_t is four floats");
KORVEL_SK_ASSERT(sizeof(sk_irect_t) == 16, "sk_irect_t is four int32");
KORVEL_SK_ASSERT(sizeof(sk_matrix_t) == 36, "sk_matrix_t is nine floats");
KORVEL_SK_ASSERT(sizeof(sk_matrix44_t) == 64, "sk_matrix44_t is sixteen floats (SkM44)");
KORVEL_SK_ASSERT(sizeof(sk_colortype_t) == 4 && sizeof(sk_alphatype_t) == 4 &&
                     sizeof(sk_blendmode_t) == 4 && sizeof(sk_filter_mode_t) == 4 &&
                     sizeof(sk_image_caching_hint_t) == 4 && sizeof(sk_pngencoder_filterflags_t) == 4,
                 "Skia's C enumerations are passed and stored as int");
KORVEL_SK_ASSERT(sizeof(sk_imageinfo_t) == sizeof(void*) + 16 &&
                     offsetof(sk_imageinfo_t, width) == sizeof(void*) &&
                     offsetof(sk_imageinfo_t, colorType) == sizeof(void*) + 8,
                 "sk_imageinfo_t: colour space, width, height, colour type, alpha type");
KORVEL_SK_ASSERT(sizeof(sk_sampling_options_t) == 24 &&
                     offsetof(sk_sampling_options_t, cubic) == 8 &&
                     offsetof(sk_sampling_options_t, filter) == 16 &&
                     offsetof(sk_sampling_options_t, mipmap) == 20,
                 "sk_sampling_options_t mirrors SkSamplingOptions");
KORVEL_SK_ASSERT(sizeof(sk_fontmetrics_t) == 64, "sk_fontmetrics_t is a flag word and 15 floats");
KORVEL_SK_ASSERT(offsetof(sk_pngencoder_options_t, zlibLevel) == 4 &&
                     offsetof(sk_pngencoder_options_t, comments) == 8 &&
                     sizeof(sk_pngencoder_options_t) == 8 + 3 * sizeof(void*),
                 "sk_pngencoder_options_t: filter flags, zlib level, three pointers");

// ---- Objects (opaque) ------------------------------------------------------------------------

typedef struct sk_surface_t sk_surface_t;
typedef struct sk_canvas_t sk_canvas_t;
typedef struct sk_paint_t sk_paint_t;
typedef struct sk_path_t sk_path_t;
typedef struct sk_pathbuilder_t sk_pathbuilder_t;
typedef struct sk_shader_t sk_shader_t;
typedef struct sk_path_effect_t sk_path_effect_t;
typedef struct sk_maskfilter_t sk_maskfilter_t;
typedef struct sk_data_t sk_data_t;
typedef struct sk_image_t sk_image_t;
typedef struct sk_pixmap_t sk_pixmap_t;
typedef struct sk_fontmgr_t sk_fontmgr_t;
typedef struct sk_typeface_t sk_typeface_t;
typedef struct sk_font_t sk_font_t;
typedef struct sk_surfaceprops_t sk_surfaceprops_t;
// Write streams: the concrete streams are passed where sk_wstream_t is asked for (cast).
typedef struct sk_wstream_t sk_wstream_t;
typedef struct sk_wstream_dynamicmemorystream_t sk_wstream_dynamicmemorystream_t;
typedef struct sk_wstream_filestream_t sk_wstream_filestream_t;

typedef void (*sk_surface_raster_release_proc)(void* pixels, void* context);

// Functions that take a shader, path effect, mask filter, data or typeface add their own
// reference; the caller still releases its own.

// ---- Surfaces --------------------------------------------------------------------------------

// Wraps caller-owned pixels; they must outlive the surface. releaseProc may be null.
sk_surface_t* sk_surface_new_raster_direct(const sk_imageinfo_t* info, void* pixels, size_t rowBytes,
                                           sk_surface_raster_release_proc releaseProc, void* context,
                                           const sk_surfaceprops_t* props);
// Surface that owns its pixels (not cleared); rowBytes 0 lets Skia choose.
sk_surface_t* sk_surface_new_raster(const sk_imageinfo_t* info, size_t rowBytes, const sk_surfaceprops_t* props);
void sk_surface_unref(sk_surface_t* surface);
// The surface owns the canvas: never destroy it.
sk_canvas_t* sk_surface_get_canvas(sk_surface_t* surface);
sk_image_t* sk_surface_new_image_snapshot(sk_surface_t* surface);
// Draws the surface's current pixels with its top-left corner at (x, y).
void sk_surface_draw_with_sampling(sk_surface_t* surface, sk_canvas_t* canvas, float x, float y,
                                   const sk_sampling_options_t* sampling, const sk_paint_t* paint);
// Copies and converts pixels starting at (srcX, srcY) into dstPixels laid out as dstInfo.
bool sk_surface_read_pixels(sk_surface_t* surface, sk_imageinfo_t* dstInfo, void* dstPixels, size_t dstRowBytes,
                            int srcX, int srcY);
// Points pixmap at the surface's pixels (raster surfaces only).
bool sk_surface_peek_pixels(sk_surface_t* surface, sk_pixmap_t* pixmap);

// ---- Canvas ----------------------------------------------------------------------------------

int sk_canvas_save(sk_canvas_t* canvas);
void sk_canvas_restore(sk_canvas_t* canvas);
int sk_canvas_get_save_count(sk_canvas_t* canvas);
void sk_canvas_restore_to_count(sk_canvas_t* canvas, int saveCount);
void sk_canvas_set_matrix(sk_canvas_t* canvas, const sk_matrix44_t* matrix);
void sk_canvas_concat(sk_canvas_t* canvas, const sk_matrix44_t* matrix);
void sk_canvas_reset_matrix(sk_canvas_t* canvas);
void sk_canvas_translate(sk_canvas_t* canvas, float dx, float dy);
void sk_canvas_scale(sk_canvas_t* canvas, float sx, float sy);
void sk_canvas_rotate_degrees(sk_canvas_t* canvas, float degrees);
// doAntiAlias false gives a hard-edged clip.
void sk_canvas_clip_rect_with_operation(sk_canvas_t* canvas, const sk_rect_t* rect, sk_clipop_t op, bool doAntiAlias);
// Fills the clip with color, ignoring the matrix and blending (source mode).
void sk_canvas_clear(sk_canvas_t* canvas, sk_color_t color);
void sk_canvas_draw_path(sk_canvas_t* canvas, const sk_path_t* path, const sk_paint_t* paint);
// Fills the whole clip with the paint.
void sk_canvas_draw_paint(sk_canvas_t* canvas, const sk_paint_t* paint);
void sk_canvas_draw_line(sk_canvas_t* canvas, float x0, float y0, float x1, float y1, sk_paint_t* paint);
void sk_canvas_draw_rect(sk_canvas_t* canvas, const sk_rect_t* rect, const sk_paint_t* paint);
void sk_canvas_draw_round_rect(sk_canvas_t* canvas, const sk_rect_t* rect, float rx, float ry, const sk_paint_t* paint);
void sk_canvas_draw_image(sk_canvas_t* canvas, const sk_image_t* image, float x, float y,
                          const sk_sampling_options_t* sampling, const sk_paint_t* paint);
// src null means the whole image; paint may be null (source-over, opaque).
void sk_canvas_draw_image_rect(sk_canvas_t* canvas, const sk_image_t* image, const sk_rect_t* src, const sk_rect_t* dst,
                               const sk_sampling_options_t* sampling, const sk_paint_t* paint);
// (x, y) is the start of the baseline.
void sk_canvas_draw_simple_text(sk_canvas_t* canvas, const void* text, size_t byteLength, sk_text_encoding_t encoding,
                                float x, float y, const sk_font_t* font, const sk_paint_t* paint);

// ---- Paths -----------------------------------------------------------------------------------
// Paths are built with a builder and drawn as the immutable path it hands out.

sk_pathbuilder_t* sk_pathbuilder_new(void);
void sk_pathbuilder_delete(sk_pathbuilder_t* builder);
void sk_pathbuilder_reset(sk_pathbuilder_t* builder);
void sk_pathbuilder_move_to(sk_pathbuilder_t* builder, float x, float y);
void sk_pathbuilder_line_to(sk_pathbuilder_t* builder, float x, float y);
void sk_pathbuilder_quad_to(sk_pathbuilder_t* builder, float x1, float y1, float x2, float y2);
void sk_pathbuilder_cubic_to(sk_pathbuilder_t* builder, float x1, float y1, float x2, float y2, float x3, float y3);
// Angles in degrees, 0 at 3 o'clock, positive clockwise; forceMoveTo false connects the arc.
void sk_pathbuilder_arc_to_with_oval(sk_pathbuilder_t* builder, const sk_rect_t* oval, float startAngle,
                                     float sweepAngle, bool forceMoveTo);
void sk_pathbuilder_add_circle(sk_pathbuilder_t* builder, float x, float y, float radius, sk_path_direction_t dir);
void sk_pathbuilder_add_rect(sk_pathbuilder_t* builder, const sk_rect_t* rect, sk_path_direction_t dir);
void sk_pathbuilder_add_oval(sk_pathbuilder_t* builder, const sk_rect_t* rect, sk_path_direction_t dir);
void sk_pathbuilder_add_rounded_rect(sk_pathbuilder_t* builder, const sk_rect_t* rect, float rx, float ry,
                                     sk_path_direction_t dir);
void sk_pathbuilder_close(sk_pathbuilder_t* builder);
void sk_pathbuilder_set_filltype(sk_pathbuilder_t* builder, sk_path_filltype_t fillType);
// A new path (delete it) holding the contours so far; the builder keeps them.
sk_path_t* sk_pathbuilder_snapshot_path(sk_pathbuilder_t* builder);
// A new path (delete it) holding the contours so far; the builder is left empty.
sk_path_t* sk_pathbuilder_detach_path(sk_pathbuilder_t* builder);

void sk_path_delete(sk_path_t* path);
void sk_path_set_filltype(sk_path_t* path, sk_path_filltype_t fillType);
void sk_path_transform(sk_path_t* path, const sk_matrix_t* matrix);

// ---- Paint and its effects -------------------------------------------------------------------

// A new paint: black, opaque, fill, not anti-aliased, source-over, stroke width 0 (hairline).
sk_paint_t* sk_paint_new(void);
void sk_paint_delete(sk_paint_t* paint);
void sk_paint_set_antialias(sk_paint_t* paint, bool antialias);
// The colour's alpha also scales images and shaders drawn with the paint.
void sk_paint_set_color(sk_paint_t* paint, sk_color_t color);
void sk_paint_set_blendmode(sk_paint_t* paint, sk_blendmode_t mode);
void sk_paint_set_style(sk_paint_t* paint, sk_paint_style_t style);
void sk_paint_set_stroke_width(sk_paint_t* paint, float width);
void sk_paint_set_stroke_cap(sk_paint_t* paint, sk_stroke_cap_t cap);
void sk_paint_set_stroke_join(sk_paint_t* paint, sk_stroke_join_t join);
void sk_paint_set_stroke_miter(sk_paint_t* paint, float miterLimit);
// Null removes the effect.
void sk_paint_set_shader(sk_paint_t* paint, sk_shader_t* shader);
void sk_paint_set_path_effect(sk_paint_t* paint, sk_path_effect_t* effect);
void sk_paint_set_maskfilter(sk_paint_t* paint, sk_maskfilter_t* filter);

// Gradients: colorPos null spaces the colours evenly; localMatrix may be null.
sk_shader_t* sk_shader_new_linear_gradient(const sk_point_t points[2], const sk_color_t colors[], const float colorPos[],
                                           int colorCount, sk_shader_tilemode_t tileMode, const sk_matrix_t* localMatrix);
sk_shader_t* sk_shader_new_radial_gradient(const sk_point_t* center, float radius, const sk_color_t colors[],
                                           const float colorPos[], int colorCount, sk_shader_tilemode_t tileMode,
                                           const sk_matrix_t* localMatrix);
// Angles in degrees, clockwise from 3 o'clock.
sk_shader_t* sk_shader_new_sweep_gradient(const sk_point_t* center, const sk_color_t colors[], const float colorPos[],
                                          int colorCount, sk_shader_tilemode_t tileMode, float startAngle,
                                          float endAngle, const sk_matrix_t* localMatrix);
void sk_shader_unref(sk_shader_t* shader);

// intervals: on, off, on, off … (an even count); null when the list is unusable.
sk_path_effect_t* sk_path_effect_create_dash(const float intervals[], int count, float phase);
void sk_path_effect_unref(sk_path_effect_t* effect);

sk_maskfilter_t* sk_maskfilter_new_blur(sk_blurstyle_t style, float sigma);
void sk_maskfilter_unref(sk_maskfilter_t* filter);

// ---- Bytes, images and PNG encoding ----------------------------------------------------------

sk_data_t* sk_data_new_with_copy(const void* bytes, size_t length);
typedef void (*sk_data_release_proc)(const void* ptr, void* context);
// Uses the caller's bytes in place; they must outlive the data. proc may be null.
sk_data_t* sk_data_new_with_proc(const void* ptr, size_t length, sk_data_release_proc proc, void* context);
// The file's bytes, or null when it cannot be read.
sk_data_t* sk_data_new_from_file(const char* path);
void sk_data_unref(const sk_data_t* data);
const void* sk_data_get_data(const sk_data_t* data);
size_t sk_data_get_size(const sk_data_t* data);

// Null when the bytes are not an image. The result decodes lazily on first use; a truncated
// file still yields an image (rows past the end come out undefined).
sk_image_t* sk_image_new_from_encoded(const sk_data_t* data);
// A decoded copy (or the image itself, with a new reference, if it is already raster).
sk_image_t* sk_image_make_raster_image(const sk_image_t* image);
int sk_image_get_width(const sk_image_t* image);
int sk_image_get_height(const sk_image_t* image);
bool sk_image_read_pixels(const sk_image_t* image, const sk_imageinfo_t* dstInfo, void* dstPixels, size_t dstRowBytes,
                          int srcX, int srcY, sk_image_caching_hint_t cachingHint);
void sk_image_unref(const sk_image_t* image);

// An empty pixmap (fill it with sk_surface_peek_pixels) or one over caller pixels.
sk_pixmap_t* sk_pixmap_new(void);
sk_pixmap_t* sk_pixmap_new_with_params(const sk_imageinfo_t* info, const void* pixels, size_t rowBytes);
void sk_pixmap_destructor(sk_pixmap_t* pixmap);

// options must not be null.
bool sk_pngencoder_encode(sk_wstream_t* dst, const sk_pixmap_t* src, const sk_pngencoder_options_t* options);

sk_wstream_dynamicmemorystream_t* sk_dynamicmemorywstream_new(void);
// The bytes written so far as data (unref it); the stream is left empty.
sk_data_t* sk_dynamicmemorywstream_detach_as_data(sk_wstream_dynamicmemorystream_t* stream);
void sk_dynamicmemorywstream_destroy(sk_wstream_dynamicmemorystream_t* stream);
sk_wstream_filestream_t* sk_filewstream_new(const char* path);
bool sk_filewstream_is_valid(sk_wstream_filestream_t* stream);
// Flushes and closes the file.
void sk_filewstream_destroy(sk_wstream_filestream_t* stream);

// ---- Typefaces and fonts ---------------------------------------------------------------------

sk_fontmgr_t* sk_fontmgr_create_default(void);
void sk_fontmgr_unref(sk_fontmgr_t* manager);
// Null when the bytes hold no usable face at faceIndex.
sk_typeface_t* sk_fontmgr_create_from_data(sk_fontmgr_t* manager, sk_data_t* data, int faceIndex);
void sk_typeface_unref(sk_typeface_t* typeface);

sk_font_t* sk_font_new_with_values(sk_typeface_t* typeface, float size, float scaleX, float skewX);
void sk_font_delete(sk_font_t* font);
void sk_font_set_size(sk_font_t* font, float size);
void sk_font_set_edging(sk_font_t* font, sk_font_edging_t edging);
void sk_font_set_hinting(sk_font_t* font, sk_font_hinting_t hinting);
void sk_font_set_subpixel(sk_font_t* font, bool subpixel);
void sk_font_set_force_auto_hinting(sk_font_t* font, bool force);
// Returns the advance width; bounds and paint may be null.
float sk_font_measure_text(const sk_font_t* font, const void* text, size_t byteLength, sk_text_encoding_t encoding,
                           sk_rect_t* bounds, const sk_paint_t* paint);
// Fills metrics and returns the recommended line spacing.
float sk_font_get_metrics(const sk_font_t* font, sk_fontmetrics_t* metrics);

#ifdef __cplusplus
}
#endif
#undef KORVEL_SK_ASSERT
