// Proves the restored Skia library works through our C declarations: drawing into caller-owned
// premultiplied BGRA pixels, decoding and drawing a PNG, and encoding a frame as PNG.
#include "graphics/skia/SkiaCApi.h"

#include <gtest/gtest.h>

#if KORVEL_SKIA_FOUND

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 48;
constexpr size_t kRowBytes = kWidth * 4;

constexpr sk_color_t kBackground = 0xFF203040;
constexpr sk_color_t kRed = 0xFFFF0000;
constexpr sk_color_t kGreen = 0xFF00FF00;
constexpr sk_color_t kBlue = 0xFF0000FF;
constexpr sk_color_t kWhite = 0xFFFFFFFF;
constexpr sk_color_t kYellow = 0xFFFFFF00;

// 4 x 4 RGBA PNG: red, green / blue, white quadrants of 2 x 2 pixels.
constexpr uint8_t kQuadrantPng[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52,
    0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x04, 0x08, 0x06, 0x00, 0x00, 0x00, 0xa9, 0xf1, 0x9e,
    0x7e, 0x00, 0x00, 0x00, 0x17, 0x49, 0x44, 0x41, 0x54, 0x78, 0xda, 0x63, 0xf8, 0xcf, 0xc0, 0xf0,
    0x1f, 0x84, 0x91, 0x20, 0x9a, 0x00, 0x94, 0x0f, 0x07, 0x18, 0x02, 0x00, 0x97, 0xe4, 0x27, 0xd9,
    0x58, 0xb7, 0xef, 0x9a, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

constexpr sk_sampling_options_t kLinear = {0, false, {0.0f, 0.0f}, LINEAR_SK_FILTER_MODE, NONE_SK_MIPMAP_MODE};

int Channel(sk_color_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

// a·(1 − t) + b·t per channel, the colour an edge with coverage t gives over opaque a.
sk_color_t Mix(sk_color_t a, sk_color_t b, double t) {
  sk_color_t mixed = 0;
  for (int shift : {0, 8, 16, 24}) {
    const double v = Channel(a, shift) * (1.0 - t) + Channel(b, shift) * t;
    mixed |= static_cast<sk_color_t>(v + 0.5) << shift;
  }
  return mixed;
}

bool Near(sk_color_t actual, sk_color_t expected, int tolerance) {
  for (int shift : {0, 8, 16, 24})
    if (std::abs(Channel(actual, shift) - Channel(expected, shift)) > tolerance) return false;
  return true;
}

struct Probe {
  int x, y;
  sk_color_t expected;
  int tolerance;
  const char* what;
};

class SkiaRaster : public ::testing::Test {
protected:
  void SetUp() override {
    const sk_imageinfo_t info = {nullptr, kWidth, kHeight, BGRA_8888_SK_COLORTYPE, PREMUL_SK_ALPHATYPE};
    surface = sk_surface_new_raster_direct(&info, pixels.data(), kRowBytes, nullptr, nullptr, nullptr);
    ASSERT_NE(surface, nullptr);
    canvas = sk_surface_get_canvas(surface);
    ASSERT_NE(canvas, nullptr);
    sk_canvas_clear(canvas, kBackground);
  }
  void TearDown() override {
    if (surface) sk_surface_unref(surface);
  }

  // The pixel at (x, y) read straight from our buffer (B, G, R, A bytes) as 0xAARRGGBB.
  sk_color_t BufferPixel(int x, int y) const {
    const uint8_t* p = pixels.data() + y * kRowBytes + x * 4;
    return sk_color_t{p[3]} << 24 | sk_color_t{p[2]} << 16 | sk_color_t{p[1]} << 8 | p[0];
  }

  void ExpectProbes(const std::vector<Probe>& probes) const {
    for (const Probe& probe : probes)
      EXPECT_TRUE(Near(BufferPixel(probe.x, probe.y), probe.expected, probe.tolerance))
          << probe.what << " at (" << probe.x << ", " << probe.y << "): 0x" << std::hex
          << BufferPixel(probe.x, probe.y) << ", expected 0x" << probe.expected;
  }

  // Poisoned so that a clear that never reached our memory shows.
  std::vector<uint8_t> pixels = std::vector<uint8_t>(kHeight * kRowBytes, 0xAB);
  sk_surface_t* surface = nullptr;
  sk_canvas_t* canvas = nullptr;
};

TEST_F(SkiaRaster, DrawsPathLineAndTransformIntoCallerPixels) {
  sk_paint_t* paint = sk_paint_new();
  sk_paint_set_antialias(paint, true);

  // Square with a half-pixel right edge and an inner square that even-odd leaves empty.
  sk_pathbuilder_t* builder = sk_pathbuilder_new();
  sk_pathbuilder_move_to(builder, 4.0f, 4.0f);
  sk_pathbuilder_line_to(builder, 28.5f, 4.0f);
  sk_pathbuilder_line_to(builder, 28.5f, 28.0f);
  sk_pathbuilder_line_to(builder, 4.0f, 28.0f);
  sk_pathbuilder_close(builder);
  const sk_rect_t hole = {12.0f, 12.0f, 20.0f, 20.0f};
  sk_pathbuilder_add_rect(builder, &hole, CW_SK_PATH_DIRECTION);
  sk_pathbuilder_set_filltype(builder, EVENODD_SK_PATH_FILLTYPE);
  sk_path_t* path = sk_pathbuilder_detach_path(builder);
  ASSERT_NE(path, nullptr);
  sk_paint_set_color(paint, kRed);
  sk_canvas_draw_path(canvas, path, paint);
  sk_path_delete(path);
  sk_pathbuilder_delete(builder);

  // Two pixels wide around y = 42.5: row 42 covered, rows 41 and 43 half covered.
  sk_paint_set_style(paint, STROKE_SK_PAINT_STYLE);
  sk_paint_set_stroke_width(paint, 2.0f);
  sk_paint_set_color(paint, kGreen);
  sk_canvas_draw_line(canvas, 4.0f, 42.5f, 60.0f, 42.5f, paint);

  // Scale 2 then translate (48, 24), column-major: the 4 x 4 rect lands on 48 … 56, 24 … 32.
  sk_matrix44_t matrix = {};
  matrix.m[0] = 2.0f;
  matrix.m[5] = 2.0f;
  matrix.m[10] = 1.0f;
  matrix.m[15] = 1.0f;
  matrix.m[12] = 48.0f;
  matrix.m[13] = 24.0f;
  sk_canvas_save(canvas);
  sk_canvas_set_matrix(canvas, &matrix);
  sk_paint_set_style(paint, FILL_SK_PAINT_STYLE);
  sk_paint_set_color(paint, kBlue);
  const sk_rect_t unit = {0.0f, 0.0f, 4.0f, 4.0f};
  sk_canvas_draw_rect(canvas, &unit, paint);
  sk_canvas_restore(canvas);
  // Back to the identity after restore.
  sk_paint_set_color(paint, kYellow);
  const sk_rect_t corner = {60.0f, 0.0f, 62.0f, 2.0f};
  sk_canvas_draw_rect(canvas, &corner, paint);
  sk_paint_delete(paint);

  ExpectProbes({
      {2, 2, kBackground, 0, "outside the path"},
      {8, 8, kRed, 0, "inside the path"},
      {27, 27, kRed, 0, "inside the path near its corner"},
      {16, 16, kBackground, 0, "even-odd hole"},
      {28, 10, Mix(kBackground, kRed, 0.5), 12, "half-covered path edge"},
      {29, 10, kBackground, 0, "right of the path"},
      {30, 42, kGreen, 0, "line centre row"},
      {30, 41, Mix(kBackground, kGreen, 0.5), 12, "line upper edge"},
      {30, 43, Mix(kBackground, kGreen, 0.5), 12, "line lower edge"},
      {30, 40, kBackground, 0, "above the line"},
      {2, 42, kBackground, 0, "before the line's butt end"},
      {49, 25, kBlue, 0, "transformed rect, first pixel"},
      {55, 31, kBlue, 0, "transformed rect, last pixel"},
      {47, 28, kBackground, 0, "left of the transformed rect"},
      {56, 28, kBackground, 0, "right of the transformed rect"},
      {52, 32, kBackground, 0, "below the transformed rect"},
      {61, 1, kYellow, 0, "rect drawn after restore"},
  });

  // The surface reads back the same picture, converted to RGBA.
  std::vector<uint8_t> rgba(kHeight * kRowBytes);
  sk_imageinfo_t rgbaInfo = {nullptr, kWidth, kHeight, RGBA_8888_SK_COLORTYPE, UNPREMUL_SK_ALPHATYPE};
  ASSERT_TRUE(sk_surface_read_pixels(surface, &rgbaInfo, rgba.data(), kRowBytes, 0, 0));
  for (size_t i = 0; i < rgba.size(); i += 4) {
    ASSERT_EQ(rgba[i + 0], pixels[i + 2]) << "red of pixel " << i / 4;
    ASSERT_EQ(rgba[i + 1], pixels[i + 1]) << "green of pixel " << i / 4;
    ASSERT_EQ(rgba[i + 2], pixels[i + 0]) << "blue of pixel " << i / 4;
    ASSERT_EQ(rgba[i + 3], pixels[i + 3]) << "alpha of pixel " << i / 4;
  }

  // One pixel at an offset, as the backend's ReadPixel does it.
  uint32_t one = 0;
  sk_imageinfo_t oneInfo = {nullptr, 1, 1, BGRA_8888_SK_COLORTYPE, PREMUL_SK_ALPHATYPE};
  ASSERT_TRUE(sk_surface_read_pixels(surface, &oneInfo, &one, 4, 49, 25));
  EXPECT_EQ(one, BufferPixel(49, 25));
}

TEST_F(SkiaRaster, DecodesPngAndDrawsItScaledWithLinearSampling) {
  sk_data_t* data = sk_data_new_with_copy(kQuadrantPng, sizeof kQuadrantPng);
  sk_image_t* lazy = sk_image_new_from_encoded(data);
  sk_data_unref(data);
  ASSERT_NE(lazy, nullptr);
  sk_image_t* image = sk_image_make_raster_image(lazy);
  sk_image_unref(lazy);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(sk_image_get_width(image), 4);
  EXPECT_EQ(sk_image_get_height(image), 4);

  uint32_t decoded[16] = {};
  const sk_imageinfo_t info = {nullptr, 4, 4, BGRA_8888_SK_COLORTYPE, PREMUL_SK_ALPHATYPE};
  ASSERT_TRUE(sk_image_read_pixels(image, &info, decoded, 16, 0, 0, ALLOW_SK_IMAGE_CACHING_HINT));
  EXPECT_EQ(decoded[0], kRed);
  EXPECT_EQ(decoded[3], kGreen);
  EXPECT_EQ(decoded[12], kBlue);
  EXPECT_EQ(decoded[15], kWhite);

  // Twice the size at (40, 8): linear filtering blends across the quadrant border.
  const sk_rect_t dst = {40.0f, 8.0f, 48.0f, 16.0f};
  sk_canvas_draw_image_rect(canvas, image, nullptr, &dst, &kLinear, nullptr);
  sk_image_unref(image);

  ExpectProbes({
      {41, 9, kRed, 1, "red quadrant"},
      {46, 9, kGreen, 1, "green quadrant"},
      {41, 14, kBlue, 1, "blue quadrant"},
      {46, 14, kWhite, 1, "white quadrant"},
      {43, 9, Mix(kRed, kGreen, 0.25), 3, "a quarter towards green"},
      {44, 9, Mix(kRed, kGreen, 0.75), 3, "three quarters towards green"},
      {39, 9, kBackground, 0, "left of the image"},
      {48, 9, kBackground, 0, "right of the image"},
      {44, 16, kBackground, 0, "below the image"},
  });
}

TEST_F(SkiaRaster, RejectsBytesThatAreNoImage) {
  const uint8_t garbage[] = {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'};
  for (size_t length : {sizeof garbage, size_t{0}}) {
    sk_data_t* data = sk_data_new_with_copy(garbage, length);
    EXPECT_EQ(sk_image_new_from_encoded(data), nullptr) << length << " bytes";
    sk_data_unref(data);
  }
}

TEST_F(SkiaRaster, EncodesFrameAsPngThatDecodesToTheSamePixels) {
  sk_paint_t* paint = sk_paint_new();
  sk_paint_set_antialias(paint, true);
  sk_paint_set_color(paint, kYellow);
  sk_pathbuilder_t* builder = sk_pathbuilder_new();
  sk_pathbuilder_add_circle(builder, 30.0f, 20.0f, 13.3f, CW_SK_PATH_DIRECTION);
  sk_path_t* path = sk_pathbuilder_detach_path(builder);
  sk_canvas_draw_path(canvas, path, paint);
  sk_path_delete(path);
  sk_pathbuilder_delete(builder);
  sk_paint_delete(paint);

  sk_pixmap_t* pixmap = sk_pixmap_new();
  ASSERT_TRUE(sk_surface_peek_pixels(surface, pixmap));
  sk_wstream_dynamicmemorystream_t* stream = sk_dynamicmemorywstream_new();
  const sk_pngencoder_options_t options = {ALL_SK_PNGENCODER_FILTER_FLAGS, 6, nullptr, nullptr, nullptr};
  const bool encoded = sk_pngencoder_encode(reinterpret_cast<sk_wstream_t*>(stream), pixmap, &options);
  sk_pixmap_destructor(pixmap);
  sk_data_t* png = sk_dynamicmemorywstream_detach_as_data(stream);
  sk_dynamicmemorywstream_destroy(stream);
  ASSERT_TRUE(encoded);
  ASSERT_NE(png, nullptr);
  ASSERT_GT(sk_data_get_size(png), 8u);
  const auto* bytes = static_cast<const uint8_t*>(sk_data_get_data(png));
  EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 8), (std::vector<uint8_t>{0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a}));

  sk_image_t* image = sk_image_new_from_encoded(png);
  sk_data_unref(png);
  ASSERT_NE(image, nullptr);
  std::vector<uint8_t> decoded(kHeight * kRowBytes);
  const sk_imageinfo_t info = {nullptr, kWidth, kHeight, BGRA_8888_SK_COLORTYPE, PREMUL_SK_ALPHATYPE};
  EXPECT_TRUE(sk_image_read_pixels(image, &info, decoded.data(), kRowBytes, 0, 0, ALLOW_SK_IMAGE_CACHING_HINT));
  sk_image_unref(image);
  EXPECT_EQ(decoded, pixels);
  EXPECT_NE(BufferPixel(30, 20), kBackground) << "the circle was drawn";
}

}  // namespace

#else

TEST(SkiaRaster, NeedsTheRestoredLibrary) { GTEST_SKIP() << KORVEL_SKIA_RESTORE_ERROR; }

#endif
