// The graph on its own: frame cycle, domains and zoom memory, what it draws in each domain,
// and the frequency range. Drawing is recorded, not painted.
#include "display/KorvelGraph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "display/TipControl.h"
#include "tests/display/RecordingGui.h"
#include "tests/engine/KorvelHarness.h"

namespace {

constexpr graphics::IRect kGraphRect{80, 56, 618, 362};

class GraphTest : public testing::Test {
protected:
  KorvelHarness h;
  Korvel& korvel = *h.korvel;
  RecordingGui g{korvel};
  KorvelGraph graph{kGraphRect, &korvel};

  void SetUp() override { korvel.editorControls[static_cast<int>(KorvelControl::Graph)] = &graph; }
  void TearDown() override { korvel.editorControls[static_cast<int>(KorvelControl::Graph)] = nullptr; }

  void Fill(int c, float (*f)(int)) {
    float* history = korvel.Channel(c)->History();
    for (int i = 0; i < Korvel::kHistorySamples; ++i) history[i] = f(i);
  }
  void Enable(int c, bool on) { h.SetParam(static_cast<KorvelParam>(ParamIdx(KorvelParam::Input1) + c), on ? 1 : 0); }
  void Draw() {
    g.Clear();
    graph.Draw(g);
  }
};

TEST_F(GraphTest, TakesTheSettingsOfKorvelEachFrame) {
  h.SetParam(KorvelParam::XZoomLow, 0.2);
  h.SetParam(KorvelParam::XZoomHigh, 0.4);
  h.SetParam(KorvelParam::YZoom, 0.75);
  Draw();
  EXPECT_DOUBLE_EQ(graph.CurrentZoom().xZoomLow, 0.2);
  EXPECT_DOUBLE_EQ(graph.CurrentZoom().xZoomHigh, 0.4);
  EXPECT_FLOAT_EQ(graph.YScale(), 306.0f * 0.5f / static_cast<float>(0.25 * 1.999 + 0.001));
  EXPECT_DOUBLE_EQ(graph.HoldLevel(), -1.0);
  h.SetParam(KorvelParam::Hold, -6.0);
  Draw();
  EXPECT_NEAR(graph.HoldLevel(), 0.501187, 1e-6);
}

TEST_F(GraphTest, RemembersTheZoomOfEachDomain) {
  h.SetParam(KorvelParam::XZoomLow, 0.1);
  h.SetParam(KorvelParam::XZoomHigh, 0.3);
  Draw();
  graph.SwitchDomain(static_cast<int>(DisplayDomain::Freq));
  EXPECT_DOUBLE_EQ(graph.SavedZoom(0).xZoomLow, 0.1);
  EXPECT_DOUBLE_EQ(graph.CurrentZoom().xZoomLow, 0.5);  // Freq's own, still the default
  // Freq envelopes restart on the bottom edge, the others in the middle.
  EXPECT_FLOAT_EQ(graph.EnvelopeTop(2)[100], kGraphRect.B);
  graph.SwitchDomain(static_cast<int>(DisplayDomain::Time));
  EXPECT_DOUBLE_EQ(graph.CurrentZoom().xZoomHigh, 0.3);
  EXPECT_FLOAT_EQ(graph.EnvelopeBottom(3)[0], (kGraphRect.T + kGraphRect.B) * 0.5f);
  // A domain a host sends out of range is taken as the nearest one.
  graph.SwitchDomain(7);
  EXPECT_EQ(graph.Domain(), 2);
}

TEST_F(GraphTest, DrainsOnlyWhileRunning) {
  h.Connect(2, 2);
  h.Run(400, 0, Counter);
  graph.SetFrozenState(true);
  graph.MarkClean();
  Draw();
  EXPECT_EQ(korvel.pendingFrames.load(), 400);
  EXPECT_FALSE(graph.IsDirty());  // a frozen graph is not redrawn by itself
  graph.SetFrozenState(false);
  Draw();
  EXPECT_EQ(korvel.pendingFrames.load(), 0);
  EXPECT_TRUE(graph.IsDirty());
}

TEST_F(GraphTest, DrawsChannelsFromThreeDownToZero) {
  for (int c = 0; c < 4; ++c) Enable(c, true);
  Draw();
  std::vector<int> order;
  for (const RecordedLine& line : g.lines) {
    const int red = line.colour.R, green = line.colour.G;
    const int c = red == 255 ? 0 : red == 221 ? 1 : green == 185 ? 2 : 3;
    if (order.empty() || order.back() != c) order.push_back(c);
  }
  EXPECT_EQ(order, (std::vector<int>{3, 2, 1, 0}));
}

TEST_F(GraphTest, PhaseDrawsOnlyWholePairs) {
  h.SetParam(KorvelParam::Domain, 2);
  struct Case {
    bool on[4];
    size_t points;
  };
  const Case cases[] = {{{true, true, false, false}, 1024},
                        {{false, true, false, false}, 0},
                        {{true, true, true, true}, 2048},
                        {{false, false, true, true}, 1024},
                        {{true, false, false, true}, 0}};
  for (const Case& c : cases) {
    for (int i = 0; i < 4; ++i) Enable(i, c.on[i]);
    Draw();
    EXPECT_EQ(g.rects.size(), c.points);
  }
  // The main pair's colour is the mean of white and red.
  Enable(0, true);
  Enable(1, true);
  Enable(2, false);
  Enable(3, false);
  Draw();
  ASSERT_FALSE(g.rects.empty());
  EXPECT_EQ(g.rects[0].colour, (graphics::IColour{255, 238, 143, 143}));
}

TEST_F(GraphTest, PhasePointsFoldTheLowerHalfUp) {
  const double cx = (kGraphRect.L + kGraphRect.R) * 0.5, b = kGraphRect.B;
  const double xs = (kGraphRect.R - kGraphRect.L) / 1.0005 * 0.5, ys = (kGraphRect.B - kGraphRect.T) / 1.0005;
  struct Case {
    double a, b, x, y;
  };
  const Case cases[] = {
      {0.5, 0.5, cx, b - 0.7071 * ys},                          // identical: straight up
      {0.5, 0.0, cx + 0.3536 * xs, b - 0.3536 * ys},            // a alone: up and right
      {0.0, 0.5, cx - 0.3536 * xs, b - 0.3536 * ys},            // b alone: up and left
      {0.5, -0.5, cx - 0.7071 * xs, b},                         // opposite: bottom edge, left
      {-0.5, 0.5, cx - 0.7071 * xs, b},
      {-0.5, -0.5, cx, b - 0.7071 * ys},                        // folded back up
      {100.0, 100.0, cx, static_cast<double>(kGraphRect.T)},    // clamped to the graph
  };
  for (const Case& c : cases) {
    int px = 0, py = 0;
    ASSERT_TRUE(graph.PhasePoint(c.a, c.b, px, py));
    EXPECT_NEAR(px, c.x, 1.0) << c.a << " " << c.b;
    EXPECT_NEAR(py, c.y, 1.0) << c.a << " " << c.b;
  }
  int px = 0, py = 0;
  EXPECT_FALSE(graph.PhasePoint(std::nan(""), 0.0, px, py));
  EXPECT_FALSE(graph.PhasePoint(INFINITY, 0.0, px, py));
}

TEST_F(GraphTest, FewSamplesAreJoinedByLinesWithCrosses) {
  Enable(1, false);
  h.SetParam(KorvelParam::XZoomHigh, 1.0);
  h.SetParam(KorvelParam::XZoomLow, 0.999);
  Draw();
  // 47 segments, each followed by the two strokes of its cross.
  ASSERT_EQ(g.lines.size(), 47u * 3u);
  EXPECT_FLOAT_EQ(g.lines[0].x1, kGraphRect.L);
  EXPECT_FLOAT_EQ(g.lines[47 * 3 - 3].x2, kGraphRect.L + 537.0f);
  // Wider than a quarter of the columns: no crosses.
  h.SetParam(KorvelParam::XZoomLow, 0.996);
  Draw();
  EXPECT_EQ(g.lines.size(), 191u);
}

TEST_F(GraphTest, EnvelopeScrollsByTruncatedColumnsAndRebuildsOnZoom) {
  Enable(1, false);
  Fill(0, [](int i) { return static_cast<float>((i % 1000) / 1000.0); });
  Draw();  // the first frame took the zoom: a full rebuild
  const std::vector<float> before(graph.EnvelopeTop(0), graph.EnvelopeTop(0) + graph.Columns());
  EXPECT_FALSE(graph.FullRedraw());
  // 800 new frames at 24000 samples over 538 columns: 17.93, so 17 columns.
  graph.DrawTimeTrace(g, *korvel.Channel(0), 0, 800);
  EXPECT_TRUE(std::equal(before.begin() + 17, before.end(), graph.EnvelopeTop(0)));
  // A zoom change rebuilds every column from the history.
  graph.SwitchDomain(1);
  graph.SwitchDomain(0);
  h.SetParam(KorvelParam::YZoom, 0.4);
  Draw();
  EXPECT_NE(graph.EnvelopeTop(0)[0], graph.EnvelopeBottom(0)[0]);
  EXPECT_LE(*std::max_element(graph.EnvelopeBottom(0), graph.EnvelopeBottom(0) + graph.Columns()), kGraphRect.B - 1);
}

TEST_F(GraphTest, HoldCentresTheFirstLoudSample) {
  Enable(1, false);
  float* history = korvel.Channel(0)->History();
  history[30000] = 0.5f;
  h.SetParam(KorvelParam::Hold, -20.0);
  Draw();
  const float* top = graph.EnvelopeTop(0);
  const int peak = static_cast<int>(std::min_element(top, top + graph.Columns()) - top);
  EXPECT_EQ(peak, 269);
  EXPECT_NEAR(top[peak], (kGraphRect.T + kGraphRect.B) * 0.5f - graph.YScale() * 0.5f, 0.01f);
}

TEST_F(GraphTest, ReduceColumnsKeepsEveryColumnInsideTheGraph) {
  const float samples[] = {0.0f, 1.0f, -1.0f, 0.5f, std::nanf(""), INFINITY, -INFINITY};
  float top[3], bottom[3];
  graph.ReduceColumns(samples, 7, top, bottom, 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_GE(top[i], kGraphRect.T);
    EXPECT_LE(bottom[i], kGraphRect.B - 1.0f);
    EXPECT_LE(top[i], bottom[i] + 0.001f);
  }
  // Column 0 holds samples 0 and 1 (k / cols = 2.33).
  EXPECT_FLOAT_EQ(top[0], std::max(kGraphRect.T, 209.0f - graph.YScale()));
  EXPECT_FLOAT_EQ(bottom[0], 209.0f);
}

TEST_F(GraphTest, MarkerIsPlacedByAPressAndStaysInsideTheGraph) {
  graphics::IMouseModifiers mods;
  // A press at a quarter of the width on the default zoom puts the marker at 0.625.
  graph.OnMouseDown(kGraphRect.L + 0.25f * 538.0f, 200, mods);
  EXPECT_TRUE(graph.Frozen());
  EXPECT_DOUBLE_EQ(graph.Marker(), 0.625);
  EXPECT_EQ(graph.MarkerColumn(), 214);
  graph.OnMouseUp(0, 0, mods);
  EXPECT_TRUE(graph.Frozen());
  // A release without movement on the frozen graph runs it again and removes the marker.
  graph.OnMouseDown(500, 200, mods);
  graph.OnMouseUp(500, 200, mods);
  EXPECT_FALSE(graph.Frozen());
  EXPECT_LT(graph.Marker(), 0.0);
  // Far outside, the marker sits at the window's edge, and its column stays inside the graph.
  graph.OnMouseDown(-1.0e9f, 200, mods);
  EXPECT_DOUBLE_EQ(graph.Marker(), 0.5);
  EXPECT_EQ(graph.MarkerColumn(), static_cast<int>(kGraphRect.L) + 1);
  graph.OnMouseUp(0, 0, mods);
  graph.OnMouseDown(1.0e9f, 200, mods);
  graph.OnMouseDown(std::nanf(""), std::nanf(""), mods);
  EXPECT_GE(graph.MarkerColumn(), static_cast<int>(kGraphRect.L) + 1);
  EXPECT_LE(graph.MarkerColumn(), static_cast<int>(kGraphRect.R) - 2);
}

TEST_F(GraphTest, FrozenMarkerIsDrawnWithItsHighlightNearThePointer) {
  graphics::IMouseModifiers mods;
  graph.OnMouseDown(214.5f, 200, mods);
  graph.OnMouseUp(214.5f, 200, mods);
  Enable(0, false);
  Enable(1, false);
  Draw();
  ASSERT_EQ(g.lines.size(), 1u);
  EXPECT_EQ(g.lines[0].colour, (graphics::IColour{255, 32, 128, 216}));
  EXPECT_FLOAT_EQ(g.lines[0].x1, 214.0f);
  graph.OnMouseOver(216, 200, mods);
  Draw();
  ASSERT_EQ(g.lines.size(), 3u);
  EXPECT_FLOAT_EQ(g.lines[1].x1, 213.0f);
  EXPECT_FLOAT_EQ(g.lines[2].x1, 215.0f);
  graph.OnMouseOver(300, 200, mods);
  Draw();
  EXPECT_EQ(g.lines.size(), 1u);
}

TEST_F(GraphTest, TipShowsTheFrequencyUnderThePointerInFreqOnly) {
  TipControl tip(kGraphRect);
  graph.SetTip(&tip);
  h.SetParam(KorvelParam::Domain, 1);
  h.SetParam(KorvelParam::XZoomLow, 0.0);
  Draw();
  graph.OnMouseOver(349, 200, {});
  Draw();
  EXPECT_EQ(tip.X(), 349);
  EXPECT_DOUBLE_EQ(tip.Frequency(), graph.FrequencyAt(349));
  // The tip reads the warped axis: at the column where bin 400 is drawn it shows that bin.
  const auto warp = [](int i) { return std::pow(4096.0, -i / 4096.0); };
  const double column = 80.0 + (warp(400) - warp(2)) / (warp(2043) - warp(2)) * 538.0;
  EXPECT_NEAR(graph.FrequencyAt(static_cast<float>(column)), 400 * 44100.0 / 4096, 0.5);
  EXPECT_NEAR(graph.FrequencyAt(80), 2 * 44100.0 / 4096, 1e-6);
  EXPECT_NEAR(graph.FrequencyAt(618), 2043 * 44100.0 / 4096, 1e-6);
  tip.MarkClean();
  Draw();
  EXPECT_FALSE(tip.IsDirty());  // unchanged: not redrawn
  graph.OnMouseOver(349, 60, {});  // too near the top
  Draw();
  EXPECT_EQ(tip.X(), -1);
  graph.OnMouseOver(349, 200, {});
  h.SetParam(KorvelParam::Domain, 0);
  Draw();
  EXPECT_EQ(tip.X(), -1);
  graph.SetTip(nullptr);
}

TEST_F(GraphTest, FrequencyRangeNarrowerThanOneBinWidensToOne) {
  h.SetParam(KorvelParam::XZoomLow, 0.0);
  h.SetParam(KorvelParam::XZoomHigh, 1.0);
  Draw();
  EXPECT_EQ(graph.FirstBin(), 2);
  EXPECT_EQ(graph.LastBin(), 2044);
  EXPECT_DOUBLE_EQ(graph.LowHz(), 20.0);
  EXPECT_DOUBLE_EQ(graph.HighHz(), 22000.0);
  // Closer than the parameters' own gap allows, as Korvel's members may still be.
  korvel.xZoomLow.store(0.5);
  korvel.xZoomHigh.store(0.5001);
  Draw();
  EXPECT_EQ(graph.FirstBin(), 513);
  EXPECT_EQ(graph.LastBin(), 514);
  EXPECT_DOUBLE_EQ(graph.LowHz(), 513 * 44100.0 / 4096);
  EXPECT_DOUBLE_EQ(graph.HighHz(), 514 * 44100.0 / 4096);
}

TEST_F(GraphTest, SpectrumHeightFollowsTheRootOfTheMagnitude) {
  Enable(1, false);
  h.SetParam(KorvelParam::Opacity, 0.75);
  h.SetParam(KorvelParam::Domain, 1);
  h.SetParam(KorvelParam::XZoomLow, 0.0);
  h.SetParam(KorvelParam::XZoomHigh, 1.0);
  // A quiet sine on bin 1000 of 4096, in the dense part of the axis.
  Fill(0, [](int i) { return static_cast<float>(0.1 * std::sin(6.283185307179586 * 1000.0 * i / 4096.0)); });
  Draw();
  const float* spectrum = korvel.Channel(0)->analyser.Spectrum();
  const float peak = *std::max_element(spectrum + 2, spectrum + 2044);
  const float gain = 2.0f / 1.0005f * 306.0f;
  float tallest = 0.0f;
  size_t fills = 0;
  for (const RecordedLine& line : g.lines) {
    if (line.colour.A == 255) continue;  // the outline
    ++fills;
    tallest = std::max(tallest, line.y2 - line.y1);
  }
  EXPECT_EQ(fills, 538u);
  EXPECT_NEAR(tallest, std::sqrt(peak) * gain, 0.01f);
}

}  // namespace
