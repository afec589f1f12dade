// Draws Korvel's pictures with Skia and writes each as PNG at 1x and 2x:
//   korvel-artwork <output folder> <Roboto-Regular.ttf>
// The background carries the panel art aligned with the editor's control rectangles.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "graphics/skia/SkiaCApi.h"

namespace {

struct Art {
  const char* name;
  int width, height;
  void (*draw)(sk_canvas_t*, sk_font_t*);
};

sk_paint_t* Paint(sk_color_t colour, bool stroke = false, float width = 1.0f) {
  sk_paint_t* paint = sk_paint_new();
  sk_paint_set_antialias(paint, true);
  sk_paint_set_color(paint, colour);
  if (stroke) {
    sk_paint_set_style(paint, STROKE_SK_PAINT_STYLE);
    sk_paint_set_stroke_width(paint, width);
  }
  return paint;
}

void Rect(sk_canvas_t* c, float l, float t, float r, float b, sk_color_t colour, float radius = 0.0f) {
  sk_paint_t* paint = Paint(colour);
  const sk_rect_t rect = {l, t, r, b};
  sk_canvas_draw_round_rect(c, &rect, radius, radius, paint);
  sk_paint_delete(paint);
}

void Frame(sk_canvas_t* c, float l, float t, float r, float b, sk_color_t colour, float width, float radius = 0.0f) {
  sk_paint_t* paint = Paint(colour, true, width);
  const sk_rect_t rect = {l, t, r, b};
  sk_canvas_draw_round_rect(c, &rect, radius, radius, paint);
  sk_paint_delete(paint);
}

void Gradient(sk_canvas_t* c, float l, float t, float r, float b, sk_color_t top, sk_color_t bottom, float radius) {
  const sk_point_t points[2] = {{l, t}, {l, b}};
  const sk_color_t colours[2] = {top, bottom};
  sk_shader_t* shader = sk_shader_new_linear_gradient(points, colours, nullptr, 2, CLAMP_SK_SHADER_TILEMODE, nullptr);
  sk_paint_t* paint = Paint(0xFF000000);
  sk_paint_set_shader(paint, shader);
  sk_shader_unref(shader);
  const sk_rect_t rect = {l, t, r, b};
  sk_canvas_draw_round_rect(c, &rect, radius, radius, paint);
  sk_paint_delete(paint);
}

void Circle(sk_canvas_t* c, float x, float y, float r, sk_paint_t* paint) {
  sk_pathbuilder_t* builder = sk_pathbuilder_new();
  sk_pathbuilder_add_circle(builder, x, y, r, CW_SK_PATH_DIRECTION);
  sk_path_t* path = sk_pathbuilder_detach_path(builder);
  sk_canvas_draw_path(c, path, paint);
  sk_path_delete(path);
  sk_pathbuilder_delete(builder);
}

// Centred on (x, baseline y).
void Text(sk_canvas_t* c, sk_font_t* font, const char* text, float x, float y, float size, sk_color_t colour) {
  if (!font) return;
  sk_font_set_size(font, size);
  const float w = sk_font_measure_text(font, text, std::strlen(text), UTF8_SK_TEXT_ENCODING, nullptr, nullptr);
  sk_paint_t* paint = Paint(colour);
  sk_canvas_draw_simple_text(c, text, std::strlen(text), UTF8_SK_TEXT_ENCODING, x - w / 2.0f, y, font, paint);
  sk_paint_delete(paint);
}

void Background(sk_canvas_t* c, sk_font_t* font) {
  Gradient(c, 0, 0, 724, 526, 0xFF30343A, 0xFF1E2125, 0);
  // Scope frame and its surround.
  Rect(c, 40, 34, 690, 404, 0xFF17191C, 6);
  Frame(c, 40.5f, 34.5f, 689.5f, 403.5f, 0xFF464B52, 1, 6);
  Rect(c, 80, 56, 618, 362, 0xFF0B0C0E);
  Frame(c, 79.5f, 55.5f, 618.5f, 362.5f, 0xFF585E66, 1);
  // Product name.
  Text(c, font, "KORVEL", 82, 24, 16, 0xFFE8E2D0);
  Text(c, font, "AUDIO ANALYSER", 168, 24, 9, 0xFF8A9099);
  // Control panel.
  Rect(c, 24, 428, 700, 510, 0xFF262A2F, 8);
  Frame(c, 24.5f, 428.5f, 699.5f, 509.5f, 0xFF40454C, 1, 8);
  const sk_color_t caption = 0xFFB8BEC6;
  Text(c, font, "DOMAIN", 62.5f, 502, 9, caption);
  Text(c, font, "FFT SIZE", 475.5f, 502, 9, caption);
  Text(c, font, "BLEND", 523.5f, 502, 9, caption);
  Text(c, font, "OPACITY", 571.5f, 502, 9, caption);
  for (int i = 0; i < 4; ++i) {
    const float x0 = 170.0f + 89.0f * static_cast<float>(i);
    char input[16];
    std::snprintf(input, sizeof input, "INPUT %d", i + 1);
    Text(c, font, "DELAY", x0 - 52.5f, 502, 9, caption);
    Text(c, font, input, x0 - 7.5f, 502, 9, caption);
    Rect(c, x0 - 72, 440, x0 + 10, 442, 0xFF3A3F46);
  }
  // Sockets under the knobs.
  sk_paint_t* socket = Paint(0xFF15171A);
  for (float x : {62.5f, 571.5f}) Circle(c, x, 467.5f, 17, socket);
  for (int i = 0; i < 4; ++i) Circle(c, 170.0f + 89.0f * static_cast<float>(i) - 52.5f, 467.5f, 17, socket);
  sk_paint_delete(socket);
  // Plate behind the version label.
  Rect(c, 650, 482, 696, 501, 0xFFC9C3B2, 3);
}

void KnobLine(sk_canvas_t* c, sk_font_t*) {
  sk_paint_t* body = Paint(0xFF3C4148);
  Circle(c, 15.5f, 15.5f, 14, body);
  sk_paint_delete(body);
  sk_paint_t* rim = Paint(0xFF6A7078, true, 1);
  Circle(c, 15.5f, 15.5f, 13.5f, rim);
  sk_paint_delete(rim);
  sk_paint_t* line = Paint(0xFFF2EEE2, true, 2);
  sk_paint_set_stroke_cap(line, ROUND_SK_STROKE_CAP);
  sk_canvas_draw_line(c, 15.5f, 15.5f, 15.5f, 3.5f, line);
  sk_paint_delete(line);
}

void BigKnob(sk_canvas_t* c, sk_font_t*) {
  sk_paint_t* ring = Paint(0xFF8C6A3A, true, 3);
  Circle(c, 21.5f, 21.5f, 19.5f, ring);
  sk_paint_delete(ring);
  sk_paint_t* inner = Paint(0xFF15171A, true, 1);
  Circle(c, 21.5f, 21.5f, 17.5f, inner);
  sk_paint_delete(inner);
}

void SmallButton(sk_canvas_t* c, sk_font_t*) {
  // Frame 1 (top): off; frame 2: on.
  Gradient(c, 2, 2, 25, 25, 0xFF4A4F56, 0xFF2C3035, 4);
  Frame(c, 2.5f, 2.5f, 24.5f, 24.5f, 0xFF1A1C1F, 1, 4);
  Rect(c, 10, 11, 17, 16, 0xFF3A2A18, 2);
  Gradient(c, 2, 29, 25, 52, 0xFF4A4F56, 0xFF2C3035, 4);
  Frame(c, 2.5f, 29.5f, 24.5f, 51.5f, 0xFF1A1C1F, 1, 4);
  Rect(c, 10, 38, 17, 43, 0xFFFFB040, 2);
}

void BarHandle(sk_canvas_t* c, sk_font_t*) {
  sk_paint_t* fill = Paint(0xFFD8D2C0);
  Circle(c, 8, 8, 6.5f, fill);
  sk_paint_delete(fill);
  sk_paint_t* edge = Paint(0xFF202226, true, 1);
  Circle(c, 8, 8, 6.5f, edge);
  sk_paint_delete(edge);
}

void TrigHandle(sk_canvas_t* c, sk_font_t*) {
  sk_pathbuilder_t* builder = sk_pathbuilder_new();
  sk_pathbuilder_move_to(builder, 1.5f, 1.5f);
  sk_pathbuilder_line_to(builder, 13.5f, 7.5f);
  sk_pathbuilder_line_to(builder, 1.5f, 13.5f);
  sk_pathbuilder_close(builder);
  sk_path_t* path = sk_pathbuilder_detach_path(builder);
  sk_paint_t* fill = Paint(0xFFFFB040);
  sk_canvas_draw_path(c, path, fill);
  sk_paint_delete(fill);
  sk_path_delete(path);
  sk_pathbuilder_delete(builder);
}

// A soft vignette over the scope area.
void Mask(sk_canvas_t* c, sk_font_t*) {
  const sk_point_t centre = {269, 153};
  const sk_color_t colours[2] = {0x00000000, 0x80000000};
  sk_shader_t* shader = sk_shader_new_radial_gradient(&centre, 300, colours, nullptr, 2, CLAMP_SK_SHADER_TILEMODE, nullptr);
  sk_paint_t* paint = Paint(0xFF000000);
  sk_paint_set_shader(paint, shader);
  sk_shader_unref(shader);
  sk_canvas_draw_paint(c, paint);
  sk_paint_delete(paint);
}

void GradientArt(sk_canvas_t* c, sk_font_t*) { Gradient(c, 0, 0, 538, 306, 0x40FFFFFF, 0x00FFFFFF, 0); }

bool WritePng(sk_surface_t* surface, const std::string& path) {
  sk_pixmap_t* pixmap = sk_pixmap_new();
  if (!sk_surface_peek_pixels(surface, pixmap)) {
    sk_pixmap_destructor(pixmap);
    return false;
  }
  sk_wstream_filestream_t* file = sk_filewstream_new(path.c_str());
  const sk_pngencoder_options_t options = {ALL_SK_PNGENCODER_FILTER_FLAGS, 9, nullptr, nullptr, nullptr};
  const bool ok = sk_filewstream_is_valid(file) &&
                  sk_pngencoder_encode(reinterpret_cast<sk_wstream_t*>(file), pixmap, &options);
  sk_filewstream_destroy(file);
  sk_pixmap_destructor(pixmap);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: korvel-artwork <output folder> <Roboto-Regular.ttf>\n");
    return 2;
  }
  sk_fontmgr_t* manager = sk_fontmgr_create_default();
  sk_data_t* fontData = sk_data_new_from_file(argv[2]);
  sk_typeface_t* typeface = fontData && manager ? sk_fontmgr_create_from_data(manager, fontData, 0) : nullptr;
  if (fontData) sk_data_unref(fontData);
  if (!typeface) {
    std::fprintf(stderr, "korvel-artwork: cannot read the font %s\n", argv[2]);
    return 1;
  }
  sk_font_t* font = sk_font_new_with_values(typeface, 10.0f, 1.0f, 0.0f);
  sk_font_set_edging(font, ANTIALIAS_SK_FONT_EDGING);
  sk_font_set_subpixel(font, true);

  const Art arts[] = {
      {"bg", 724, 526, Background},         {"knob_line", 31, 31, KnobLine},   {"big_knob", 43, 43, BigKnob},
      {"sm_button", 27, 54, SmallButton},   {"bar_handle", 16, 16, BarHandle}, {"trig_handle", 15, 15, TrigHandle},
      {"mask", 538, 306, Mask},             {"gradient", 538, 306, GradientArt},
  };
  int failures = 0;
  for (const Art& art : arts) {
    for (int scale : {1, 2}) {
      const sk_imageinfo_t info = {nullptr, art.width * scale, art.height * scale, RGBA_8888_SK_COLORTYPE,
                                   PREMUL_SK_ALPHATYPE};
      sk_surface_t* surface = sk_surface_new_raster(&info, 0, nullptr);
      sk_canvas_t* canvas = sk_surface_get_canvas(surface);
      sk_canvas_clear(canvas, 0);
      sk_canvas_scale(canvas, static_cast<float>(scale), static_cast<float>(scale));
      art.draw(canvas, font);
      const std::string path = std::string(argv[1]) + "/" + art.name + (scale == 2 ? "@2x.png" : ".png");
      if (!WritePng(surface, path)) {
        std::fprintf(stderr, "korvel-artwork: cannot write %s\n", path.c_str());
        ++failures;
      }
      sk_surface_unref(surface);
    }
  }
  sk_font_delete(font);
  sk_typeface_unref(typeface);
  sk_fontmgr_unref(manager);
  return failures ? 1 : 0;
}
