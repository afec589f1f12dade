// Pixels through Skia: the frame buffer, anti-aliased shapes, blending, gradients, clips,
// layers, bitmaps at 1x, 2x and scaled, and text with the embedded Roboto.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>
#include <string>

#include "GraphicsTestSupport.h"
#include "graphics/platform/headless/IGuiHeadless.h"

namespace {

using namespace graphics;

int A(uint32_t p) { return static_cast<int>(p >> 24); }
int R(uint32_t p) { return static_cast<int>(p >> 16 & 0xFF); }

class Pixels : public ::testing::Test {
protected:
  void SetUp() override {
    g.DrawResize();
    Region({0, 0, 200, 100});
  }
  void TearDown() override {
    if (HasFailure()) g.WritePng((std::string(KORVEL_TEST_OUTPUT_DIR) + "/" + Name() + ".png").c_str());
  }
  static std::string Name() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }
  void Region(const IRect& r) {
    g.PathSetTransform({});
    g.PrepareRegion(r);
  }
  graphicstest::TestDelegate delegate;
  IGuiHeadless g{delegate, 200, 100, 60, 1.0f};
};

TEST_F(Pixels, FrameBufferIsSizedAndHeadedLikeAWindowsBitmap) {
  IGuiHeadless sized(delegate, 300, 200, 60, 1.5f);
  sized.SetScreenScale(1.25f);
  EXPECT_EQ(sized.PixelWidth(), 563);
  EXPECT_EQ(sized.PixelHeight(), 375);
  int32_t header[10];
  std::memcpy(header, sized.FrameBuffer(), sizeof header);
  EXPECT_EQ(header[0], 40);
  EXPECT_EQ(header[1], 563);
  EXPECT_EQ(header[2], -375);
  EXPECT_EQ(header[3], 1 | 32 << 16) << "one plane, 32 bits";
  for (int i = 4; i < 10; ++i) EXPECT_EQ(header[i], 0);
  EXPECT_STREQ(sized.DrawingBackendName(), "SKIA | CPU");
}

TEST_F(Pixels, ZeroAndNegativeSizesDrawNothingAndNeverCrash) {
  IGuiHeadless empty(delegate, 0, -5, 60, 1.0f);
  empty.DrawResize();
  EXPECT_EQ(empty.PixelWidth(), 0);
  EXPECT_FALSE(empty.EncodePng(*std::make_unique<std::vector<uint8_t>>()));
  empty.PrepareRegion({0, 0, 10, 10});
  empty.FillRect({255, 255, 0, 0}, {0, 0, 10, 10});
  empty.DrawText(ITextStyle(), "text", {0, 0, 10, 10});
  EXPECT_EQ(empty.ReadPixel(0, 0), (IColour{0, 0, 0, 0}));
  empty.StartLayer(nullptr, {5, 5, 5, 5});
  EXPECT_EQ(empty.EndLayer(), nullptr) << "an empty layer is never opened";
  EXPECT_EQ(empty.CreateAPIBitmap(0, 10, 1, 1.0f), nullptr);
  EXPECT_EQ(empty.CreateAPIBitmap(-4, -4, 1, 1.0f), nullptr);
  // An inverted rectangle fills the area it spans.
  g.FillRect({255, 255, 0, 0}, {30, 30, 20, 20});
  EXPECT_EQ(g.PixelAt(25, 25), 0xFFFF0000u);
  EXPECT_EQ(g.PixelAt(35, 25), 0u);
}

TEST_F(Pixels, FillsAndLinesLandOnTheirPixels) {
  g.FillRect({255, 0, 0, 255}, {10, 10, 20.5f, 20});
  g.DrawLine({255, 0, 255, 0}, 30, 40.5f, 60, 40.5f, nullptr, 1);
  EXPECT_EQ(g.PixelAt(15, 15), 0xFF0000FFu);
  EXPECT_EQ(g.PixelAt(9, 15), 0u);
  EXPECT_NEAR(A(g.PixelAt(20, 15)), 128, 2) << "half-covered edge";
  EXPECT_EQ(g.PixelAt(45, 40), 0xFF00FF00u);
  EXPECT_EQ(g.PixelAt(45, 39), 0u);
  const IColour read = g.ReadPixel(15, 15);
  EXPECT_EQ(read, (IColour{255, 0, 0, 255}));
}

TEST_F(Pixels, BlendWeightAndModes) {
  const IBlendSpec half{BlendMode::SrcOver, 0.5f};
  g.FillRect({255, 255, 0, 0}, {0, 0, 10, 10}, &half);
  EXPECT_EQ(A(g.PixelAt(5, 5)), 127);
  g.FillRect({255, 0, 0, 255}, {20, 0, 30, 10});
  const IBlendSpec add{BlendMode::Add, 1.0f};
  g.FillRect({255, 255, 0, 0}, {20, 0, 30, 10}, &add);
  EXPECT_EQ(g.PixelAt(25, 5), 0xFFFF00FFu);
  const IBlendSpec dstOut{BlendMode::DstOut, 1.0f};
  g.FillRect({255, 0, 0, 0}, {20, 0, 25, 10}, &dstOut);
  EXPECT_EQ(g.PixelAt(22, 5), 0u);
}

TEST_F(Pixels, LinearGradientRunsAlongItsTransform) {
  IPaintPattern pattern;
  pattern.kind = PatternKind::Linear;
  pattern.AddStop({255, 0, 0, 0}, 0.0f);
  pattern.AddStop({255, 255, 255, 255}, 1.0f);
  // UI → pattern space: x / 100 along the pattern's y axis.
  pattern.transform = {0, 0.01, 1, 0, 0, 0};
  g.PathRect({0, 0, 100, 10});
  g.PathFill(pattern);
  EXPECT_LT(R(g.PixelAt(2, 5)), 16);
  EXPECT_NEAR(R(g.PixelAt(50, 5)), 128, 8);
  EXPECT_GT(R(g.PixelAt(97, 5)), 240);
}

TEST_F(Pixels, RadialAndSweepGradientsCentreOnTheInvertedOrigin) {
  IPaintPattern radial;
  radial.kind = PatternKind::Radial;
  radial.AddStop({255, 255, 255, 255}, 0.0f);
  radial.AddStop({255, 0, 0, 0}, 1.0f);
  // Pattern space = (UI − (50, 50)) / 40: centre (50, 50), radius 40.
  radial.transform = {0.025, 0, 0, 0.025, -1.25, -1.25};
  g.PathRect({0, 0, 100, 100});
  g.PathFill(radial);
  EXPECT_GT(R(g.PixelAt(50, 50)), 240);
  EXPECT_NEAR(R(g.PixelAt(70, 50)), 128, 10);
  EXPECT_LT(R(g.PixelAt(95, 50)), 8);
  IPaintPattern sweep;
  sweep.kind = PatternKind::Sweep;
  sweep.AddStop({255, 0, 0, 0}, 0.0f);
  sweep.AddStop({255, 255, 255, 255}, 1.0f);
  sweep.transform = {1, 0, 0, 1, -150, -50};
  g.PathRect({100, 0, 200, 100});
  g.PathFill(sweep);
  EXPECT_LT(R(g.PixelAt(190, 51)), 16) << "starts at 3 o'clock";
  EXPECT_NEAR(R(g.PixelAt(110, 50)), 128, 10) << "halfway round at 9 o'clock";
}

TEST_F(Pixels, RegionsClipAndTransformsScaleTheStroke) {
  Region({0, 0, 50, 50});
  g.FillRect({255, 255, 255, 255}, {0, 0, 200, 100});
  EXPECT_EQ(g.PixelAt(49, 49), 0xFFFFFFFFu);
  EXPECT_EQ(g.PixelAt(50, 49), 0u);
  Region({0, 0, 200, 100});
  g.Translate(100, 50);
  g.Scale(4, 4);
  g.DrawLine({255, 0, 0, 255}, 0, 0, 10, 0, nullptr, 1);  // 4 pixels thick after scaling
  g.PopTransform();
  EXPECT_EQ(g.PixelAt(120, 51), 0xFF0000FFu);
  EXPECT_EQ(g.PixelAt(120, 48), 0xFF0000FFu);
  EXPECT_EQ(g.PixelAt(120, 53), 0u);
}

TEST_F(Pixels, ArcsGoClockwiseFromTwelveOClock) {
  g.DrawArc({255, 255, 255, 255}, 50, 50, 20, 0, 90, nullptr, 3);
  EXPECT_GT(A(g.PixelAt(60, 32)), 200) << "upper right quarter";
  EXPECT_EQ(A(g.PixelAt(40, 32)), 0) << "not the upper left";
  g.FillCircle({255, 0, 255, 0}, 150, 50, 10);
  EXPECT_EQ(g.PixelAt(150, 50), 0xFF00FF00u);
  EXPECT_EQ(A(g.PixelAt(150, 38)), 0);
}

TEST_F(Pixels, LayersDrawOffscreenAndComeBackAsBitmaps) {
  g.StartLayer(nullptr, {10, 10, 30, 30});
  g.FillRect({255, 255, 0, 0}, {10, 10, 20, 20});
  std::unique_ptr<ILayer> layer = g.EndLayer();
  ASSERT_NE(layer, nullptr);
  EXPECT_EQ(layer->bitmap->width, 20);
  EXPECT_EQ(g.PixelAt(15, 15), 0u) << "nothing reached the main frame";
  IBitmapRef ref{layer->bitmap.get(), 20, 20, 1, false, "layer"};
  g.DrawBitmap(ref, {100, 50, 120, 70}, 0, 0);
  EXPECT_EQ(g.PixelAt(105, 55), 0xFFFF0000u);
  EXPECT_EQ(g.PixelAt(115, 65), 0u);
  EXPECT_EQ(g.EndLayer(), nullptr);
}

TEST_F(Pixels, TextIsMeasuredAndDrawnWithTheEmbeddedFont) {
  ASSERT_TRUE(g.LoadFont("Roboto-Regular", "Roboto-Regular.ttf"));
  ITextStyle style(20.0f, {255, 255, 255, 255}, TextAlign::Left);
  IRect box{10, 10, 190, 90};
  const float w = g.MeasureText(style, "Korvel", box);
  EXPECT_GT(w, 40.0f);
  EXPECT_LT(w, 80.0f);
  EXPECT_NEAR(box.H(), 20.0f, 0.01f) << "the size is the ascender-to-descender distance";
  EXPECT_NEAR(box.MH(), 50.0f, 0.5f);
  g.DrawText(style, "Korvel", {10, 10, 190, 90});
  int lit = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x)
      if (A(g.PixelAt(x, y)) > 128) {
        ++lit;
        EXPECT_TRUE(box.Grown(1).Contains(static_cast<float>(x), static_cast<float>(y))) << x << ", " << y;
      }
  EXPECT_GT(lit, 50);
  ITextStyle unknown = style;
  unknown.SetFont("NoSuchFont");
  IRect none{1, 1, 2, 2};
  EXPECT_EQ(g.MeasureText(unknown, "Korvel", none), 0.0f);
  EXPECT_TRUE(none.Empty());
  g.FillRect({0, 0, 0, 0}, {0, 0, 200, 100}, nullptr);
}

TEST_F(Pixels, BitmapsComeAtTheirScaleAndScaleToAMissingOne) {
  struct Case {
    float backing;
    int expectedScale;
  };
  for (const Case& test : {Case{1.0f, 1}, Case{1.5f, 2}, Case{2.0f, 2}, Case{3.0f, 3}}) {
    g.SetScreenScale(test.backing);
    const IBitmapRef ref = g.LoadBitmap("knob_line.png");
    ASSERT_TRUE(ref.IsValid()) << test.backing;
    EXPECT_EQ(ref.bitmap->scale, test.expectedScale) << test.backing;
    EXPECT_EQ(ref.width, 31);
    EXPECT_EQ(ref.bitmap->width, 31 * test.expectedScale);
    // Drawn at its size: the knob's centre is opaque, its corner is not.
    Region({0, 0, 200, 100});
    g.DrawBitmap(ref, {0, 0, 31, 31}, 0, 0);
    const int s = static_cast<int>(test.backing * 15.5f);
    EXPECT_EQ(A(g.PixelAt(s, s)), 255) << test.backing;
    EXPECT_EQ(A(g.PixelAt(1, 1)), 0) << test.backing;
  }
  EXPECT_EQ(g.LoadBitmap("knob_line.png", 1, false, 3).bitmap, g.LoadBitmap("knob_line.png", 1, false, 3).bitmap);
}

}  // namespace
