#pragma once
// Shared by the graphics tests and benchmarks: a delegate with a few parameters of each
// kind that records gestures and edits, a backend that records the path primitives it is
// given, and a demo editor laid out with the stock controls.
#include <string>
#include <vector>

#include "framework/IGuiEditorDelegate.h"
#include "framework/IParam.h"
#include "graphics/IControl.h"
#include "graphics/IGui.h"

namespace graphicstest {

// Parameters: 0 "Domain" enumerated Time/Freq/Phase; 1 "Delay" 0 … 100 ms continuous;
// 2 "Steps" integer 0 … 10; 3 "Input" on/off; 4 "Level" 0 … 1.
struct TestDelegate : framework::IGuiEditorDelegate {
  TestDelegate();
  void EditorGestureBegin(int paramIdx) override { log.push_back("begin " + std::to_string(paramIdx)); }
  void EditorGestureEnd(int paramIdx) override { log.push_back("end " + std::to_string(paramIdx)); }
  void EditorSetsParam(int paramIdx, double value) override {
    IGuiEditorDelegate::EditorSetsParam(paramIdx, value);
    log.push_back("set " + std::to_string(paramIdx) + " " + std::to_string(value));
  }
  bool EditorRequestsSize(int width, int height, bool) override {
    requestedWidth = width;
    requestedHeight = height;
    return false;
  }
  void OnEditorOpened() override {
    IGuiEditorDelegate::OnEditorOpened();
    ++opened;
  }

  std::vector<std::string> log;
  int requestedWidth = 0, requestedHeight = 0;
  int opened = 0;
};

// Logs every primitive as text; text measures 6 units per byte with ascent −8 and descent 2.
class RecordingGui : public graphics::IGui {
public:
  explicit RecordingGui(framework::IGuiEditorDelegate& d, int w = 724, int h = 526, float scale = 1.0f)
      : IGui(d, w, h, 60, scale) {}
  void* OpenWindow(void*) override { return this; }
  void CloseWindow() override {}

  void DrawBitmap(const graphics::IBitmapRef& bitmap, const graphics::IRect& dest, int srcX, int srcY,
                  const graphics::IBlendSpec* blend) override;
  graphics::IColour ReadPixel(int, int) override { return {}; }
  void* DrawingContext() override { return nullptr; }
  const char* DrawingBackendName() const override { return "RECORDING"; }
  bool BitmapExtSupported(const char*) const override { return true; }
  void DrawBoxShadow(const graphics::IRect&, const graphics::IRect&, float, float, float,
                     const graphics::IBlendSpec*) override {}
  void UpdateLayer() override {}
  void PathClear() override { log.push_back("clear"); }
  void PathClose() override { log.push_back("close"); }
  void PathArc(float cx, float cy, float r, float fromDeg, float toDeg, bool ccw) override;
  void PathMoveTo(float x, float y) override;
  void PathLineTo(float x, float y) override;
  void PathCubicTo(float, float, float, float, float x, float y) override;
  void PathQuadTo(float, float, float x, float y) override;
  void PathStroke(const graphics::IPaintPattern& pattern, float thickness, const graphics::IStrokeStyle& style,
                  const graphics::IBlendSpec* blend) override;
  void PathFill(const graphics::IPaintPattern& pattern, const graphics::IFillStyle& style,
                const graphics::IBlendSpec* blend) override;
  void PathSetTransform(const graphics::ITransform& t) override {
    transforms.push_back(t);
    log.push_back("transform");
  }
  void PrepareRegion(const graphics::IRect& rect) override { regions.push_back(rect); }
  void DrawResize() override { ++resizes; }
  std::unique_ptr<graphics::BackendBitmap> LoadAPIBitmap(const char*, int, int, const char*) override { return nullptr; }
  std::unique_ptr<graphics::BackendBitmap> CreateAPIBitmap(int w, int h, int scale, float ds) override {
    return std::make_unique<graphics::BackendBitmap>(w, h, scale, ds);
  }
  bool LoadAPIFont(const char*, graphics::PlatformFont&) override { return true; }
  float DoMeasureText(const graphics::ITextStyle& style, const char* text, graphics::IRect& rect) override;
  void DoDrawText(const graphics::ITextStyle& style, const char* text, const graphics::IRect& rect,
                  const graphics::IBlendSpec* blend) override;
  void PlatformResize(bool parentHasResized) override {
    log.push_back(parentHasResized ? "platform resize (host did)" : "platform resize");
  }

  // The log from `first` on, joined with "; ".
  std::string Joined(size_t first = 0) const;

  std::vector<std::string> log;
  std::vector<graphics::ITransform> transforms;
  std::vector<graphics::IRect> regions;
  std::vector<graphics::IStrokeStyle> strokes;
  int resizes = 0;
};

// Records the input that reaches it: the buttons named in drag and wheel modifiers, and where
// keys were dispatched (UI units).
struct InputProbe : graphics::IControl {
  explicit InputProbe(const graphics::IRect& bounds) : IControl(bounds) {}
  void Draw(graphics::IGui&) override {}
  void OnMouseDrag(float, float, float, float, const graphics::IMouseModifiers& mods) override {
    log.push_back(std::string("drag") + Buttons(mods));
  }
  void OnMouseWheel(float, float, const graphics::IMouseModifiers& mods, float) override {
    log.push_back(std::string("wheel") + Buttons(mods));
  }
  bool OnKeyDown(float x, float y, const graphics::IKeyEvent&) override {
    keyX = x;
    keyY = y;
    log.push_back("key");
    return true;
  }
  static const char* Buttons(const graphics::IMouseModifiers& m) {
    return m.L ? (m.R ? " left right" : " left") : (m.R ? " right" : "");
  }
  std::vector<std::string> log;
  float keyX = -1.0f, keyY = -1.0f;
};

// A fake bitmap of the given UI size at scale 1, for recording tests.
graphics::IBitmapRef FakeBitmap(int w, int h, int frames = 1, bool horizontal = false);

// The stock controls on the 724 × 526 editor: background, knobs, switches, captions, labels.
void DemoLayout(graphics::IGui& gui);

}  // namespace graphicstest
