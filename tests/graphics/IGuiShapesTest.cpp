// The shape operations against a recording backend: which path primitives each one makes.
#include <gtest/gtest.h>

#include <functional>

#include "GraphicsTestSupport.h"

namespace {

using namespace graphics;

class Shapes : public ::testing::Test {
protected:
  graphicstest::TestDelegate delegate;
  graphicstest::RecordingGui g{delegate};
  const IColour red{255, 255, 0, 0};
};

TEST_F(Shapes, OperationsBuildTheirPaths) {
  struct Case {
    const char* what;
    std::function<void(IGui&)> draw;
    const char* expected;
  };
  const IColour c{255, 255, 0, 0};
  const Case cases[] = {
      {"rect", [&](IGui& gui) { gui.DrawRect(c, {1, 2, 3, 4}); },
       "clear; move (1, 2); line (3, 2); line (3, 4); line (1, 4); close; stroke 1 colour 255,255,0,0"},
      {"round rect", [&](IGui& gui) { gui.FillRoundRect(c, {0, 0, 10, 10}, 2); },
       "clear; move (0, 2); arc (2, 2) r 2 270..360; arc (8, 2) r 2 0..90; arc (8, 8) r 2 90..180; "
       "arc (2, 8) r 2 180..270; close; fill 255,255,0,0"},
      {"round rect without radii is a rect", [&](IGui& gui) { gui.FillRoundRect(c, {0, 0, 10, 10}, 0, -1, 0, 0); },
       "clear; move (0, 0); line (10, 0); line (10, 10); line (0, 10); close; fill 255,255,0,0"},
      {"circle", [&](IGui& gui) { gui.DrawCircle(c, 5, 5, 2, nullptr, 3); },
       "clear; move (5, 3); arc (5, 5) r 2 0..360; close; stroke 3 colour 255,255,0,0"},
      {"pie", [&](IGui& gui) { gui.FillPie(c, 5, 5, 4, 350, 10); },
       "clear; move (5, 5); arc (5, 5) r 4 350..10; close; fill 255,255,0,0"},
      {"arc", [&](IGui& gui) { gui.DrawArc(c, 0, 0, 1, 0, -720); }, "clear; arc (0, 0) r 1 0..-720; stroke 1 colour 255,255,0,0"},
      {"triangle", [&](IGui& gui) { gui.FillTriangle(c, 0, 0, 4, 0, 2, 3); },
       "clear; move (0, 0); line (4, 0); line (2, 3); close; fill 255,255,0,0"},
      {"point", [&](IGui& gui) { gui.DrawPoint(c, 3, 4); },
       "clear; move (3, 4); line (4, 4); line (4, 5); line (3, 5); close; fill 255,255,0,0"},
      {"ellipse with a zero radius adds nothing", [&](IGui& gui) { gui.FillEllipse(c, 5, 5, 0, 3, 0); },
       "clear; fill 255,255,0,0"},
      {"grid on (0, 0, 100, 100) step 25 and 1", [&](IGui& gui) { gui.DrawGrid(c, {0, 0, 100, 100}, 25, 1); },
       "clear; move (25, 0); line (25, 100); move (50, 0); line (50, 100); move (75, 0); line (75, 100); "
       "stroke 1 colour 255,255,0,0"},
  };
  for (const Case& test : cases) {
    const size_t first = g.log.size();
    test.draw(g);
    EXPECT_EQ(g.Joined(first), test.expected) << test.what;
  }
}

TEST_F(Shapes, DashedLineUsesOneLengthOnAndOff) {
  g.DrawDashedLine(red, 0, 0, 10, 0, nullptr, 1, 4);
  ASSERT_EQ(g.strokes.size(), 1u);
  EXPECT_EQ(g.strokes[0].dashCount, 1);
  EXPECT_EQ(g.strokes[0].dashes[0], 4.0f);
  EXPECT_EQ(g.strokes[0].dashOffset, 0.0f);
}

TEST_F(Shapes, TransformsComposeSoTheNewestActsFirst) {
  g.Translate(10, 0);
  g.Scale(2, 2);
  double x = 1, y = 1;
  g.CurrentTransform().Map(x, y);
  EXPECT_DOUBLE_EQ(x, 12.0);
  EXPECT_DOUBLE_EQ(y, 2.0);
  g.PushTransform();
  g.Rotate(90);
  x = 1, y = 0;
  g.CurrentTransform().Map(x, y);
  EXPECT_NEAR(x, 10.0, 1e-6);
  EXPECT_NEAR(y, 2.0, 1e-6);
  g.PopTransform();
  EXPECT_EQ(g.CurrentTransform(), (ITransform{2, 0, 0, 2, 10, 0}));
  const size_t count = g.transforms.size();
  g.PopTransform();
  EXPECT_EQ(g.transforms.size(), count) << "an empty stack changes nothing";
  EXPECT_EQ(g.CurrentTransform(), (ITransform{2, 0, 0, 2, 10, 0}));
}

TEST_F(Shapes, EllipseDrawsAUnitCircleUnderItsOwnTransform) {
  g.FillEllipse(red, 10, 20, 4, 2, 0);
  ASSERT_GE(g.transforms.size(), 4u);
  EXPECT_EQ(g.transforms[g.transforms.size() - 2], (ITransform{4, 0, 0, 2, 10, 20}));
  EXPECT_TRUE(g.transforms.back().IsIdentity()) << "popped back";
  EXPECT_TRUE(g.CurrentTransform().IsIdentity());
}

TEST_F(Shapes, BitmapFramesAreClampedAndOffset) {
  const IBitmapRef stacked = graphicstest::FakeBitmap(27, 54, 2);
  const IBitmapRef strip = graphicstest::FakeBitmap(90, 30, 3, true);
  struct Case {
    IBitmapRef bitmap;
    int frame;
    const char* expected;
  };
  const Case cases[] = {
      {stacked, 0, "bitmap 27x54 into (0, 0)-(27, 27) from (0, 0)"},
      {stacked, 2, "bitmap 27x54 into (0, 0)-(27, 27) from (0, 27)"},
      {stacked, 9, "bitmap 27x54 into (0, 0)-(27, 27) from (0, 27)"},
      {strip, 3, "bitmap 90x30 into (0, 0)-(27, 27) from (60, 0)"},
      {graphicstest::FakeBitmap(10, 10), 5, "bitmap 10x10 into (0, 0)-(27, 27) from (0, 0)"},
  };
  for (const Case& test : cases) {
    g.DrawBitmapFrame(test.bitmap, {0, 0, 27, 27}, test.frame);
    EXPECT_EQ(g.log.back(), test.expected) << "frame " << test.frame;
  }
}

TEST_F(Shapes, TextIsPlacedByAlignment) {
  ITextStyle style(10.0f, {255, 0, 0, 0});
  IRect box{0, 0, 100, 20};
  // Width 6 per character; ascent −8, descent 2; rect (0, 0, 100, 20).
  EXPECT_EQ(g.MeasureText(style, "abcd", box), 24.0f);
  EXPECT_EQ(box, (IRect{38, 5, 62, 15})) << "centred: x = 50 − 12, baseline 10 − 2 + 5 = 13";
  style.align = TextAlign::Right;
  style.valign = TextVAlign::Bottom;
  g.DrawText(style, "ab", {0, 0, 100, 20});
  EXPECT_EQ(g.log.back(), "text 'ab' at (88, 18)");
  style.align = TextAlign::Left;
  style.valign = TextVAlign::Top;
  g.DrawText(style, "ab", {0, 0, 100, 20});
  EXPECT_EQ(g.log.back(), "text 'ab' at (0, 8)");
  IRect untouched{1, 2, 3, 4};
  EXPECT_EQ(g.MeasureText(style, "", untouched), 0.0f);
  EXPECT_EQ(untouched, (IRect{1, 2, 3, 4}));
  const size_t before = g.log.size();
  g.DrawText(style, nullptr, {0, 0, 10, 10});
  EXPECT_EQ(g.log.size(), before);
}

}  // namespace
