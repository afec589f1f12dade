#pragma once
// The drawing backend: the path primitives, paints, bitmaps, layers and text of the UI on
// Skia's C interface, drawn by the CPU into one frame buffer (a 40-byte Windows bitmap
// header followed by top-down premultiplied BGRA pixels) that the platform shows.
// Also writes any frame as PNG. [editor-thread] (each object on its own thread; the caches
// they share are locked)
#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/IGui.h"

struct sk_surface_t;
struct sk_canvas_t;
struct sk_pathbuilder_t;
struct sk_image_t;
struct sk_paint_t;

namespace graphics {

class IGuiSkia : public IGui {
public:
  static constexpr int kHeaderBytes = 40;

  // A decoded image, or a raster surface while it is an open layer.
  class Bitmap final : public BackendBitmap {
  public:
    Bitmap(sk_image_t* decoded, int bitmapScale, float bitmapDrawScale);
    Bitmap(sk_surface_t* raster, int pixelWidth, int pixelHeight, int bitmapScale, float bitmapDrawScale);
    ~Bitmap() override;
    sk_image_t* Image() const noexcept { return image; }
    sk_surface_t* Surface() const noexcept { return surface; }
    // A finished layer becomes an immutable image, safe to draw from several threads.
    void Freeze();

  private:
    sk_image_t* image = nullptr;
    sk_surface_t* surface = nullptr;
  };

  IGuiSkia(framework::IGuiEditorDelegate& delegate, int width, int height, int fps, float scale);
  ~IGuiSkia() override;

  // PNG or JPEG bytes at a resolution factor; null for anything that does not decode.
  // copy false uses the bytes in place (they must outlive the bitmap).
  static std::unique_ptr<Bitmap> DecodeBitmap(const uint8_t* bytes, size_t size, int scale, bool copy = true);

  // ---- Frame buffer -------------------------------------------------------------------------
  // Header and pixels, as the platform copies them.
  const uint8_t* FrameBuffer() const noexcept { return frameBuffer.empty() ? nullptr : frameBuffer.data(); }
  int PixelWidth() const noexcept { return pixelWidth; }
  int PixelHeight() const noexcept { return pixelHeight; }
  // 0xAARRGGBB premultiplied; 0 outside the frame.
  uint32_t PixelAt(int x, int y) const noexcept;
  // The current frame as PNG; false when there is no frame or the encoder fails.
  bool EncodePng(std::vector<uint8_t>& png) const;
  bool WritePng(const char* path) const;

  // ---- Backend ------------------------------------------------------------------------------
  void DrawResize() override;
  void DrawBitmap(const IBitmapRef& bitmap, const IRect& dest, int srcX, int srcY,
                  const IBlendSpec* blend = nullptr) override;
  IColour ReadPixel(int x, int y) override;
  void* DrawingContext() override { return canvas; }
  const char* DrawingBackendName() const override { return "SKIA | CPU"; }
  void RetainBitmap(std::unique_ptr<BackendBitmap> bitmap, const std::string& name) override;
  // The extension, lower-cased, contains "png", "jpg" or "jpeg".
  bool BitmapExtSupported(const char* ext) const override;
  void DrawBoxShadow(const IRect& inner, const IRect& outer, float offset, float roundness, float blur,
                     const IBlendSpec* blend = nullptr) override;
  void UpdateLayer() override;
  void PathClear() override;
  void PathClose() override;
  void PathArc(float cx, float cy, float r, float fromDeg, float toDeg, bool counterClockwise = false) override;
  void PathMoveTo(float x, float y) override;
  void PathLineTo(float x, float y) override;
  void PathCubicTo(float c1x, float c1y, float c2x, float c2y, float x, float y) override;
  void PathQuadTo(float cx, float cy, float x, float y) override;
  void PathStroke(const IPaintPattern& pattern, float thickness, const IStrokeStyle& style = {},
                  const IBlendSpec* blend = nullptr) override;
  void PathFill(const IPaintPattern& pattern, const IFillStyle& style = {}, const IBlendSpec* blend = nullptr) override;
  void PathSetTransform(const ITransform& t) override;
  void PrepareRegion(const IRect& rect) override;
  std::unique_ptr<BackendBitmap> LoadAPIBitmap(const char* nameOrPath, int scale, int location,
                                               const char* ext) override;
  std::unique_ptr<BackendBitmap> CreateAPIBitmap(int pixelWidth, int pixelHeight, int scale,
                                                 float bitmapDrawScale) override;
  bool LoadAPIFont(const char* fontId, PlatformFont& font) override;
  float DoMeasureText(const ITextStyle& style, const char* text, IRect& rect) override;
  void DoDrawText(const ITextStyle& style, const char* text, const IRect& rect,
                  const IBlendSpec* blend = nullptr) override;

private:
  // Device scale, then the innermost layer's offset: UI units to the current canvas's pixels.
  ITransform DeviceTransform() const noexcept;
  void ApplyCanvasMatrix(const ITransform& matrix);
  void DrawCurrentPath(sk_paint_t* paint, bool keepPath, bool evenOdd);
  void MappedPoint(float x, float y, float& mx, float& my) const noexcept;
  void ArcSegments(float cx, float cy, float r, double startDeg, double sweepDeg);

  sk_surface_t* surface = nullptr;
  sk_canvas_t* canvas = nullptr;
  sk_pathbuilder_t* path = nullptr;
  bool pathHasPoint = false;
  ITransform pathTransform;
  std::vector<uint8_t> frameBuffer;
  int pixelWidth = 0;
  int pixelHeight = 0;
};

}  // namespace graphics
