// Korvel's editor as a host opens it on the headless platform: layout, domains, mouse on the
// scope, freeze button, host changes, the window-scale corner, and pixels of rendered frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>

#include "display/CaptionGridControl.h"
#include "display/FreezeControl.h"
#include "display/IRasterScaleCornerDragControl.h"
#include "display/StoredScale.h"
#include "graphics/IKnobControls.h"
#include "graphics/ISwitchControls.h"
#include "graphics/ITextControls.h"
#include "tests/display/EditorHarness.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr float kL = 80, kT = 56, kR = 618, kB = 362;

using HostCall = framework::IDetachedPlugin::HostCall;

// The last value the host was told for a parameter, or NaN.
double LastSent(const Korvel& korvel, KorvelParam p) {
  double value = std::nan("");
  for (const HostCall& call : korvel.HostCalls())
    if (call.kind == HostCall::Kind::ParamChanged && call.paramIdx == ParamIdx(p)) value = call.value;
  return value;
}

template <class T>
T* FindControl(graphics::IGui& gui, int paramIdx) {
  for (int i = 0; i < gui.NControls(); ++i)
    if (auto* c = dynamic_cast<T*>(gui.GetControl(i)); c && c->GetParamIdx() == paramIdx) return c;
  return nullptr;
}

class EditorTest : public testing::Test {
protected:
  EditorHarness h;

  void OpenAndRun(int ticks = 3) {
    ASSERT_NE(h.Open(), nullptr);
    for (int i = 0; i < ticks; ++i) {
      h.Feed(800);
      h.Tick();
    }
  }
  void Click(float x, float y) {
    h.Down(x, y);
    h.Up(x, y);
  }
};

TEST_F(EditorTest, LayoutPutsEveryRoleAtItsRectangle) {
  OpenAndRun(1);
  EXPECT_EQ(h.Graph()->GetRect(), (graphics::IRect{kL, kT, kR, kB}));
  EXPECT_EQ(h.gui->ControlByTag(1), h.Graph());
  EXPECT_EQ(h.gui->ControlByTag(2), h.Control(KorvelControl::FreezeButton));
  EXPECT_EQ(h.Control(KorvelControl::LevelReadout4)->GetRect(), (graphics::IRect{407, 409, 437, 421}));
  EXPECT_EQ(h.Control(KorvelControl::SpanReadout)->GetRect(), (graphics::IRect{300, 368, 430, 380}));
  EXPECT_EQ(h.Control(KorvelControl::HoldHandle)->GetRect(), (graphics::IRect{80, 49, 679, 369}));
  EXPECT_EQ(FindControl<graphics::IBitmapRotaryKnob>(*h.gui, ParamIdx(KorvelParam::Delay4))->GetRect(),
            (graphics::IRect{369, 452, 400, 483}));
  EXPECT_EQ(FindControl<graphics::IBitmapSwitch>(*h.gui, ParamIdx(KorvelParam::Input4))->GetRect(),
            (graphics::IRect{416, 463, 443, 490}));
  // The background first, the corner last, over everything.
  EXPECT_NE(dynamic_cast<graphics::IBitmapControl*>(h.gui->GetControl(0)), nullptr);
  EXPECT_NE(dynamic_cast<IRasterScaleCornerDragControl*>(h.gui->GetControl(h.gui->NControls() - 1)), nullptr);
  EXPECT_EQ(h.gui->NControls(), 1 + 34);
}

TEST_F(EditorTest, ReadoutsShowLevelsSpanAndNothingForDisabledChannels) {
  h.SetParam(KorvelParam::Input2, 0.0);
  h.SetParam(KorvelParam::Input3, 1.0);
  OpenAndRun(2);
  h.Feed(48000, [](int c, long) { return c == 0 ? 1.0 : (c == 2 ? 0.0 : 0.5); });
  h.Tick();
  EXPECT_EQ(h.Control<graphics::ITextControl>(KorvelControl::LevelReadout1)->GetString(), "0.0");
  EXPECT_EQ(h.Control<graphics::ITextControl>(KorvelControl::LevelReadout2)->GetString(), "");
  EXPECT_EQ(h.Control<graphics::ITextControl>(KorvelControl::LevelReadout3)->GetString(), "-oo");
  EXPECT_EQ(h.Control<graphics::ITextControl>(KorvelControl::SpanReadout)->GetString(), "544.2 ms");
}

TEST_F(EditorTest, TimeOnlyControlsAreHiddenInTheOtherDomains) {
  for (int domain : {1, 2, 0}) {
    SCOPED_TRACE(domain);
    h.SetParam(KorvelParam::Domain, domain);
    OpenAndRun(1);
    const bool hidden = domain != 0;
    EXPECT_EQ(h.Control(KorvelControl::SpanReadout)->IsHidden(), hidden);
    EXPECT_EQ(h.Control(KorvelControl::HoldHandle)->IsHidden(), hidden);
    EXPECT_EQ(h.Control(KorvelControl::LevelAxis)->IsHidden(), domain == 2);
    const auto* axis = h.Control<CaptionGridControl>(KorvelControl::TimeAxis);
    EXPECT_EQ(static_cast<int>(axis->axisKind), domain == 0 ? 0 : domain == 1 ? 2 : 4);
    h.Close();
  }
  // Switching while open follows at the next tick.
  OpenAndRun(1);
  h.SetParam(KorvelParam::Domain, 1);
  h.Tick();
  EXPECT_TRUE(h.Control(KorvelControl::HoldHandle)->IsHidden());
  EXPECT_EQ(h.Graph()->Domain(), 1);
  h.SetParam(KorvelParam::Domain, 0);
  h.Tick();
  EXPECT_FALSE(h.Control(KorvelControl::SpanReadout)->IsHidden());
}

TEST_F(EditorTest, ReopeningRebuildsEverythingWithCorrectAxes) {
  OpenAndRun(2);
  h.SetParam(KorvelParam::YZoom, 0.0);
  h.Tick();
  const std::string maxText = h.Control<CaptionGridControl>(KorvelControl::LevelAxis)->MaxText();
  EXPECT_EQ(maxText, "+6.0");
  h.Close();
  for (int role = 0; role < kNumEditorControls; ++role) EXPECT_EQ(h.korvel->editorControls[role], nullptr);
  ASSERT_NE(h.Open(), nullptr);
  EXPECT_EQ(h.Control<CaptionGridControl>(KorvelControl::LevelAxis)->MaxText(), maxText);
  EXPECT_FALSE(h.Graph()->Frozen());
  EXPECT_DOUBLE_EQ(h.Control(KorvelControl::FreezeButton)->GetValue(), 0.0);
}

TEST_F(EditorTest, RebuildUsesTheMarginThePreviousRebuildLeft) {
  ASSERT_NE(h.Open(), nullptr);
  // The layout's build ran with the construction margin 0.06, so -15 dB was labelled; the
  // first tick rebuilds (a new instance starts with the display dirty) with 0.1.
  auto* level = h.Control<CaptionGridControl>(KorvelControl::LevelAxis);
  EXPECT_DOUBLE_EQ(level->margin, 0.1);
  EXPECT_EQ(level->Labels().size(), 5u);
  h.Tick();
  EXPECT_EQ(level->Labels().size(), 4u);
}

TEST_F(EditorTest, HostChangesReachTheControlsAtTheNextIdleTick) {
  OpenAndRun(1);
  auto* opacity = FindControl<graphics::IBitmapRotaryKnob>(*h.gui, ParamIdx(KorvelParam::Opacity));
  ASSERT_NE(opacity, nullptr);
  h.HostSets(KorvelParam::Opacity, 0.3);
  EXPECT_NE(opacity->GetValue(), 0.3);
  h.korvel->OnIdleTimer();
  EXPECT_DOUBLE_EQ(opacity->GetValue(), 0.3);
  h.HostSets(KorvelParam::XZoomLow, 0.25);
  h.korvel->OnIdleTimer();
  h.Tick();
  EXPECT_DOUBLE_EQ(h.Graph()->CurrentZoom().xZoomLow, 0.25);
  EXPECT_EQ(h.Control<graphics::ITextControl>(KorvelControl::SpanReadout)->GetString(), "816.3 ms");
}

// ---- Mouse on the scope -------------------------------------------------------------------------

TEST_F(EditorTest, ClickFreezesPlacesTheMarkerAndAStillClickUnfreezes) {
  OpenAndRun();
  Click(kL + 0.25f * 538.0f, 200);
  EXPECT_TRUE(h.Graph()->Frozen());
  EXPECT_DOUBLE_EQ(h.Graph()->Marker(), 0.625);
  EXPECT_DOUBLE_EQ(h.Control(KorvelControl::FreezeButton)->GetValue(), 1.0);
  // Press at the marker and drag: the marker moves and the graph stays frozen.
  h.Move(215, 200);
  h.Down(215, 200);
  h.Move(349, 200);
  h.Up(349, 200);
  EXPECT_TRUE(h.Graph()->Frozen());
  EXPECT_NEAR(h.Graph()->Marker(), 0.75, 0.001);
  // A still click elsewhere runs it again and removes the marker.
  Click(500, 200);
  EXPECT_FALSE(h.Graph()->Frozen());
  EXPECT_LT(h.Graph()->Marker(), 0.0);
  EXPECT_DOUBLE_EQ(h.Control(KorvelControl::FreezeButton)->GetValue(), 0.0);
}

TEST_F(EditorTest, DragPansAndZoomsAndWritesTheParameters) {
  OpenAndRun();
  h.korvel->ClearHostCalls();
  h.Down(300, 200);
  h.Move(300 - 53.8f, 150);  // a tenth of the width to the left, 50 units up
  h.Up(300 - 53.8f, 150);
  EXPECT_TRUE(h.Graph()->Frozen());  // a drag never unfreezes
  EXPECT_NEAR(h.Param(KorvelParam::XZoomLow), 0.5, 1e-9);  // already at the newest end
  h.HostSets(KorvelParam::XZoomLow, 0.4);
  h.HostSets(KorvelParam::XZoomHigh, 0.6);
  h.Tick();
  h.Down(300, 200);
  h.Move(353.8f, 200);  // right shows older samples
  h.Up(353.8f, 200);
  EXPECT_NEAR(h.Param(KorvelParam::XZoomLow), 0.38, 1e-6);
  EXPECT_NEAR(h.Param(KorvelParam::XZoomHigh), 0.58, 1e-6);
  EXPECT_NEAR(LastSent(*h.korvel, KorvelParam::XZoomHigh), 0.58, 1e-6);
  EXPECT_NEAR(LastSent(*h.korvel, KorvelParam::YZoom), 0.55, 1e-6);
  // The graph sends no gestures of its own.
  for (const HostCall& call : h.korvel->HostCalls()) EXPECT_NE(call.kind, HostCall::Kind::GestureBegin);
}

TEST_F(EditorTest, WheelZoomsAboutTheCentreAndDoubleClickResetsPerDomain) {
  OpenAndRun();
  h.Wheel(300, 200, 1);
  EXPECT_NEAR(h.Param(KorvelParam::XZoomLow), 0.505, 1e-9);
  EXPECT_NEAR(h.Param(KorvelParam::XZoomHigh), 0.995, 1e-9);
  h.DoubleClick(300, 200);
  EXPECT_DOUBLE_EQ(h.Param(KorvelParam::XZoomLow), 0.5);
  h.gui->SetModifierKeys(true, false, false);
  h.Wheel(300, 200, 1);
  EXPECT_NEAR(h.Param(KorvelParam::XZoomLow), 0.5005, 1e-9);
  EXPECT_NEAR(h.Param(KorvelParam::XZoomHigh), 0.9995, 1e-9);
  h.gui->SetModifierKeys(false, false, false);
  h.SetParam(KorvelParam::Domain, 1);
  h.Tick();
  h.DoubleClick(300, 200);
  EXPECT_DOUBLE_EQ(h.Param(KorvelParam::XZoomLow), 0.0);
  EXPECT_DOUBLE_EQ(h.Param(KorvelParam::XZoomHigh), 0.75);
  EXPECT_DOUBLE_EQ(LastSent(*h.korvel, KorvelParam::YZoom), 0.5);
  // Zooming in stops at a span of 0.001.
  for (int i = 0; i < 200; ++i) h.Wheel(300, 200, 3);
  EXPECT_GE(h.Param(KorvelParam::XZoomHigh) - h.Param(KorvelParam::XZoomLow), 0.0009);
}

TEST_F(EditorTest, FreezeButtonTogglesAndRemovesTheMarker) {
  OpenAndRun();
  Click(653, 391);
  EXPECT_TRUE(h.Graph()->Frozen());
  EXPECT_DOUBLE_EQ(h.Control(KorvelControl::FreezeButton)->GetValue(), 1.0);
  Click(300, 200);  // a marker; the click froze nothing new, so the graph stays frozen
  Click(300, 200);
  Click(653, 391);
  EXPECT_FALSE(h.Graph()->Frozen());
  EXPECT_LT(h.Graph()->Marker(), 0.0);
}

TEST_F(EditorTest, AFrozenEditorWithoutMouseActivityRepaintsNothing) {
  OpenAndRun();
  Click(653, 391);
  h.Tick();
  h.Tick();
  const int paints = h.gui->PaintCount();
  for (int i = 0; i < 5; ++i) {
    h.Feed(800);
    EXPECT_FALSE(h.Tick());
  }
  EXPECT_EQ(h.gui->PaintCount(), paints);
}

TEST_F(EditorTest, HoldHandleDragSetsTheHoldParameter) {
  OpenAndRun();
  const float cy = (49.0f + 369.0f) * 0.5f;
  h.Down(671, cy - 16);
  h.Up(671, cy - 16);
  EXPECT_NEAR(h.korvel->GetParam(ParamIdx(KorvelParam::Hold))->CurrentNormalised(), 0.303, 0.001);
  EXPECT_FALSE(h.Graph()->Frozen());  // the rail took the press, not the graph
}

// ---- Window-scale corner --------------------------------------------------------------------------

class CornerTest : public EditorTest {
protected:
  IRasterScaleCornerDragControl* Corner() const {
    return dynamic_cast<IRasterScaleCornerDragControl*>(h.gui->GetControl(h.gui->NControls() - 1));
  }
  // A drag from the corner that scales the editor by `ratio`, released with or without shift.
  void DragCorner(float ratio, bool shift) {
    const float px = 714.0f * h.Scale(), py = 516.0f * h.Scale();
    h.gui->MouseDown(px, py);
    h.gui->MouseMove(px * ratio, py * ratio);
    h.gui->SetModifierKeys(shift, false, false);
    h.gui->MouseUp(px * ratio, py * ratio);
    h.gui->SetModifierKeys(false, false, false);
  }
};

TEST_F(CornerTest, SnapsToTheNearestStepUnlessShiftIsHeld) {
  OpenAndRun(1);
  DragCorner(1.37f, false);
  EXPECT_FLOAT_EQ(h.gui->DrawScale(), 1.25f);
  h.gui->DoubleClick(714.0f * h.Scale(), 516.0f * h.Scale());
  EXPECT_FLOAT_EQ(h.gui->DrawScale(), 1.0f);
  DragCorner(1.37f, true);
  EXPECT_NEAR(h.gui->DrawScale(), 1.37f, 1e-4f);
  h.Close();
  std::ifstream file(ScaleFilePath("Korvel"));
  std::string line;
  std::getline(file, line);
  EXPECT_EQ(line, "1.3700");
  // The next editor opens at the stored scale.
  ASSERT_NE(h.Open(), nullptr);
  EXPECT_NEAR(h.gui->DrawScale(), 1.37f, 1e-4f);
  h.gui->DoubleClick(714.0f * h.Scale(), 516.0f * h.Scale());
  h.Close();
}

TEST_F(CornerTest, NearestStepPrefersTheSmallerOfTwoEquallyNear) {
  OpenAndRun(1);
  const IRasterScaleCornerDragControl* corner = Corner();
  ASSERT_NE(corner, nullptr);
  EXPECT_FLOAT_EQ(corner->NearestStep(1.37f), 1.25f);
  EXPECT_FLOAT_EQ(corner->NearestStep(1.375f), 1.25f);
  EXPECT_FLOAT_EQ(corner->NearestStep(1.376f), 1.5f);
  EXPECT_FLOAT_EQ(corner->NearestStep(0.5f), 1.0f);
  EXPECT_FLOAT_EQ(corner->NearestStep(3.9f), 2.0f);
}

TEST_F(CornerTest, KeepsItsScreenSizeAtAnyZoom) {
  OpenAndRun(1);
  h.gui->ResizeEditor(Korvel::kEditorWidth, Korvel::kEditorHeight, 2.0f, true);
  const IRasterScaleCornerDragControl* corner = Corner();
  EXPECT_EQ(corner->HitArea(), (graphics::IRect{724 - 20 + 1, 526 - 20 + 1, 723, 525}));
  EXPECT_EQ(corner->Corner(), (graphics::IRect{724 - 10 + 1, 526 - 10 + 1, 723, 525}));
  const graphics::IRect box = corner->LabelBox();
  EXPECT_FLOAT_EQ(box.W(), 29.0f);
  EXPECT_FLOAT_EQ(box.H(), 10.0f);
  h.gui->ResizeEditor(Korvel::kEditorWidth, Korvel::kEditorHeight, 1.0f, true);
}

TEST_F(CornerTest, ShowsTheResizeCursorWhileTheMouseIsOverIt) {
  OpenAndRun(1);
  h.Move(718, 520);
  EXPECT_EQ(h.gui->Cursor(), graphics::CursorType::SizeNWSE);
  h.Move(300, 300);
  EXPECT_EQ(h.gui->Cursor(), graphics::CursorType::Arrow);
}

// ---- Pixels -------------------------------------------------------------------------------------

bool Whitish(uint32_t p) { return Red(p) > 150 && Green(p) > 150 && Blue(p) > 150; }

TEST_F(EditorTest, FullScaleSineReachesTheExpectedRows) {
  h.SetParam(KorvelParam::Input2, 0.0);
  h.SetParam(KorvelParam::YZoom, 0.0);  // ± 2 over the graph's height
  OpenAndRun(0);
  h.Feed(48000, [](int, long f) { return std::sin(kTwoPi * static_cast<double>(f) / 200.0); });
  h.Tick();
  h.Tick();
  int top = 10000, bottom = -1;
  for (float x = kL + 2; x < kR - 2; x += 1.0f)
    for (float y = kT + 1; y < kB - 1; y += 1.0f)
      if (Whitish(h.PixelAt(x, y))) {
        top = std::min(top, static_cast<int>(y));
        bottom = std::max(bottom, static_cast<int>(y));
      }
  const float cy = (kT + kB) * 0.5f, scale = 306.0f * 0.5f / 2.0f;
  EXPECT_NEAR(top, cy - scale, 1.5);
  EXPECT_NEAR(bottom, cy + scale, 1.5);
}

TEST_F(EditorTest, SpectrumPeakLandsInTheColumnOfItsFrequency) {
  h.SetParam(KorvelParam::Input2, 0.0);
  h.SetParam(KorvelParam::Domain, 1);
  h.SetParam(KorvelParam::XZoomLow, 0.0);
  h.SetParam(KorvelParam::XZoomHigh, 1.0);
  OpenAndRun(0);
  const int bin = 400;  // 4306.6 Hz at 4096 points
  for (int i = 0; i < 4; ++i) {
    h.Feed(12000, [&](int, long f) { return 0.5 * std::sin(kTwoPi * bin * static_cast<double>(f) / 4096.0); });
    h.Tick();
  }
  int peakColumn = -1, peakTop = 10000;
  for (int x = static_cast<int>(kL) + 1; x < static_cast<int>(kR) - 1; ++x)
    for (int y = static_cast<int>(kT) + 1; y < static_cast<int>(kB) - 2; ++y)
      if (Whitish(h.PixelAt(static_cast<float>(x), static_cast<float>(y)))) {
        if (y < peakTop) {
          peakTop = y;
          peakColumn = x;
        }
        break;
      }
  // The warp: bin i sits at (2M)^(−i / 2M) between the first and last shown bins.
  const auto warp = [](int i) { return std::pow(4096.0, -i / 4096.0); };
  const double expected = kL + (warp(bin) - warp(2)) / (warp(2043) - warp(2)) * 538.0;
  EXPECT_NEAR(peakColumn, expected, 1.5);
}

TEST_F(EditorTest, PhaseOfIdenticalChannelsIsAVerticalLineFromTheBottomCentre) {
  h.SetParam(KorvelParam::Domain, 2);
  OpenAndRun(0);
  h.Feed(4800, [](int, long f) { return 0.5 * std::sin(kTwoPi * static_cast<double>(f) / 2048.0); });
  h.Tick();
  const auto reddish = [](uint32_t p) { return Red(p) > Green(p) + 50; };
  const float cx = (kL + kR) * 0.5f;
  int rows = 0, highest = 10000, lowest = -1;
  for (int y = static_cast<int>(kT); y < static_cast<int>(kB); ++y) {
    if (reddish(h.PixelAt(cx, static_cast<float>(y)))) {
      ++rows;
      highest = std::min(highest, y);
      lowest = std::max(lowest, y);
    }
    EXPECT_FALSE(reddish(h.PixelAt(cx - 4, static_cast<float>(y)))) << y;
    EXPECT_FALSE(reddish(h.PixelAt(cx + 4, static_cast<float>(y)))) << y;
  }
  EXPECT_NEAR(highest, kB - 0.7071 * 306.0 / 1.0005, 2.0);
  EXPECT_GT(rows, 40);
  EXPECT_GE(lowest, kB - 4);
}

TEST_F(EditorTest, ChannelZeroIsDrawnOnTop) {
  for (KorvelParam p : {KorvelParam::Input3, KorvelParam::Input4}) h.SetParam(p, 1.0);
  h.SetParam(KorvelParam::YZoom, 0.0);
  OpenAndRun(0);
  // All four at the same level, centred on pixel row 170.
  h.Feed(48000, [](int, long) { return 38.5 / 76.5; });
  h.Tick();
  // White (channel 0) over the others: grey where the line only partly covers the pixel.
  const uint32_t p = h.PixelAt(300, 170.5f);
  EXPECT_GT(Red(p), 100) << std::hex << p;
  EXPECT_NEAR(Red(p), Blue(p), 8) << std::hex << p;
  EXPECT_NEAR(Green(p), Blue(p), 8) << std::hex << p;
}

}  // namespace

namespace {

// Each caption opens its menu (stepped values) or its value entry on either button.
TEST_F(EditorTest, CaptionsPromptOnTheLeftAndTheRightButton) {
  struct Case {
    KorvelParam param;
    graphics::IRect rect;
    bool menu;
  };
  const Case cases[] = {{KorvelParam::Domain, {43, 409, 83, 421}, true},
                        {KorvelParam::FftSize, {456, 409, 496, 421}, true},
                        {KorvelParam::BlendSpeed, {504, 409, 544, 421}, false},
                        {KorvelParam::Opacity, {552, 409, 592, 421}, false}};
  OpenAndRun(1);
  int menus = 0, entries = 0, entryParam = -1;
  graphics::IGuiHeadless::Responder responder;
  responder.menu = [&](graphics::IMenu&, const graphics::IRect&) -> graphics::IMenu* {
    ++menus;
    return nullptr;
  };
  responder.textEntry = [&](const graphics::IGuiHeadless::TextEntryRequest& request) -> std::optional<std::string> {
    ++entries;
    entryParam = request.paramIdx;
    return std::nullopt;
  };
  h.gui->SetResponder(responder);
  for (const Case& c : cases)
    for (bool right : {false, true}) {
      SCOPED_TRACE(testing::Message() << ParamIdx(c.param) << (right ? " right" : " left"));
      menus = entries = 0;
      entryParam = -1;
      h.Down(c.rect.MW(), c.rect.MH(), right);
      h.Up(c.rect.MW(), c.rect.MH());
      h.Tick();  // a pending text entry is answered at the next tick
      EXPECT_EQ(menus, c.menu ? 1 : 0);
      EXPECT_EQ(entries, c.menu ? 0 : 1);
      EXPECT_EQ(entryParam, c.menu ? -1 : ParamIdx(c.param));
    }
}

}  // namespace
