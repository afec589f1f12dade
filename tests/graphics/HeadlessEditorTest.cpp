// The demo editor opened as a host opens it, driven by ticks and input in window pixels,
// read back from the frame buffer; the frames are written as PNG for a look.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "GraphicsTestSupport.h"
#include "graphics/IControl.h"
#include "graphics/platform/headless/IGuiHeadless.h"

namespace {

using graphics::IGuiHeadless;

class HeadlessEditor : public ::testing::Test {
protected:
  void SetUp() override {
    delegate.SetLayoutFunction(graphicstest::DemoLayout);
    delegate.SetGraphicsFactory([this]() -> framework::IEditorView* {
      auto* gui = new IGuiHeadless(delegate, 724, 526, 60, scale);
      gui->SetSystemScale(systemScale);
      gui->SetResponder(responder);
      return gui;
    });
  }
  IGuiHeadless& Gui() { return *static_cast<IGuiHeadless*>(delegate.Graphics()); }
  void Open() {
    ASSERT_NE(delegate.OpenEditor(nullptr), nullptr);
    ASSERT_TRUE(Gui().Tick()) << "the first tick paints every control";
  }
  void WriteFrame(const std::string& name) {
    const std::string path = std::string(KORVEL_TEST_OUTPUT_DIR) + "/" + name + ".png";
    EXPECT_TRUE(Gui().WritePng(path.c_str())) << path;
  }

  graphicstest::TestDelegate delegate;
  float scale = 1.0f;
  float systemScale = 1.0f;
  IGuiHeadless::Responder responder;
};

TEST_F(HeadlessEditor, PaintsTheStockControlsAtScaleOneAndTwo) {
  Open();
  for (float s : {1.0f, 2.0f}) {
    if (s != 1.0f) {
      Gui().ResizeEditor(724, 526, s, true);
      ASSERT_TRUE(Gui().Tick());
    }
    EXPECT_EQ(Gui().PixelWidth(), static_cast<int>(724 * s));
    EXPECT_EQ(Gui().PixelHeight(), static_cast<int>(526 * s));
    EXPECT_EQ(delegate.requestedWidth, static_cast<int>(724 * s));
    // The background is opaque everywhere; the version plate is light.
    EXPECT_EQ(Gui().PixelAt(1, 1) >> 24, 0xFFu);
    EXPECT_GT(Gui().PixelAt(static_cast<int>(652 * s), static_cast<int>(484 * s)) & 0xFF, 0xA0u);
    // Nothing changed, nothing painted.
    EXPECT_FALSE(Gui().Tick());
    WriteFrame(s == 1.0f ? "demo-editor-1x" : "demo-editor-2x");
  }
}

TEST_F(HeadlessEditor, InputInWindowPixelsReachesControlsInUiUnits) {
  scale = 2.0f;
  Open();
  // The Domain knob sits at (47, 452)-(78, 483) in UI units: (124, 935) in pixels.
  Gui().MouseDown(124, 935);
  Gui().MouseMove(124, 835);  // 50 units up over a 31-unit area, gearing 4
  Gui().MouseUp(124, 835);
  ASSERT_GE(delegate.log.size(), 3u);
  EXPECT_EQ(delegate.log.front(), "begin 0");
  EXPECT_EQ(delegate.log.back(), "end 0");
  // 50 / 31 / 4 = 0.403…, shown snapped to the Domain's steps: 0.5 (Freq).
  EXPECT_DOUBLE_EQ(delegate.GetParam(0)->Current(), 1.0);
  EXPECT_FALSE(Gui().CursorHidden()) << "the cursor shows again after the drag";
  EXPECT_TRUE(Gui().Tick());
  // Only the knob and what overlaps it were repainted, in whole pixels.
  for (const graphics::IRect& r : Gui().LastPaintedPixels()) {
    EXPECT_EQ(r.L, std::floor(r.L));
    EXPECT_LT(r.W(), 100.0f);
  }
}

TEST_F(HeadlessEditor, ExactScreenScaleArrivesWithTheFirstTick) {
  systemScale = 1.5f;
  ASSERT_NE(delegate.OpenEditor(nullptr), nullptr);
  EXPECT_EQ(Gui().ScreenScale(), 1.0f) << "opens at the whole scale";
  EXPECT_EQ(Gui().WindowWidth(), 724);
  Gui().Tick();
  EXPECT_EQ(Gui().ScreenScale(), 1.5f);
  EXPECT_EQ(Gui().PixelWidth(), 1086);
  EXPECT_EQ(Gui().WindowWidth(), 1086);
}

TEST_F(HeadlessEditor, ReopensAtTheSizeAndScaleItWasClosedWith) {
  Open();
  Gui().ResizeEditor(724, 526, 2.0f, true);
  delegate.CloseEditor();
  EXPECT_EQ(delegate.Graphics(), nullptr);
  delegate.OpenEditor(nullptr);
  EXPECT_EQ(Gui().DrawScale(), 2.0f);
  EXPECT_EQ(Gui().Width(), 724);
  EXPECT_EQ(Gui().PixelWidth(), 1448);
  EXPECT_EQ(delegate.opened, 2);
}

TEST_F(HeadlessEditor, TextEntryIsAnsweredByTheResponderAtTheNextTick) {
  responder.textEntry = [](const IGuiHeadless::TextEntryRequest& request) -> std::optional<std::string> {
    EXPECT_EQ(request.text, "0.50");
    EXPECT_EQ(request.paramIdx, 4);
    return std::string("0.25");
  };
  Open();
  // The Opacity caption (552, 409)-(592, 421) shows parameter 4 ("Level").
  Gui().MouseDown(572, 415);
  Gui().MouseUp(572, 415);
  ASSERT_NE(Gui().TextEntry(), nullptr);
  EXPECT_FALSE(Gui().Tick()) << "the tick that resolves an entry paints nothing";
  EXPECT_EQ(Gui().TextEntry(), nullptr);
  EXPECT_DOUBLE_EQ(delegate.GetParam(4)->Current(), 0.25);
  EXPECT_TRUE(Gui().Tick());
}

TEST_F(HeadlessEditor, AKnobDragHidesAndLocksTheCursorWhereItWent) {
  Open();
  Gui().MouseMove(571, 467);
  Gui().MouseDown(571, 467);
  EXPECT_TRUE(Gui().CursorHidden());
  EXPECT_TRUE(Gui().CursorLocked());
  const double start = delegate.GetParam(4)->Current();
  Gui().MouseMove(571, 457);
  // The cursor went back to 467 after the first move, so this one is 20 units up, not 10.
  Gui().MouseMove(571, 447);
  EXPECT_NEAR(delegate.GetParam(4)->Current(), start + 30.0 / 31.0 / 4.0, 1e-9);
  Gui().MouseUp(571, 447);
  EXPECT_FALSE(Gui().CursorHidden());
  float x = 0, y = 0;
  Gui().MouseLocation(x, y);
  EXPECT_EQ(x, 571.0f);
  EXPECT_EQ(y, 467.0f) << "shown again where it was hidden";
}

TEST_F(HeadlessEditor, TextEntryIsCancelledByTheWheelAndKeysGoToTheHostWhenUnused) {
  int asked = 0;
  responder.textEntry = [&asked](const IGuiHeadless::TextEntryRequest&) -> std::optional<std::string> {
    ++asked;
    return std::string("0.9");
  };
  Open();
  Gui().MouseDown(572, 415);
  Gui().MouseUp(572, 415);
  ASSERT_NE(Gui().TextEntry(), nullptr);
  EXPECT_FALSE(Gui().Wheel(10, 10, 120));
  Gui().Tick();
  EXPECT_EQ(asked, 0) << "cancelled before the user confirmed";
  EXPECT_DOUBLE_EQ(delegate.GetParam(4)->Current(), 0.5);
  graphics::IKeyEvent key;
  key.vk = 0x20;
  EXPECT_FALSE(Gui().KeyDown(key));
  EXPECT_FALSE(delegate.KeyDownFromHost(key));
}

TEST_F(HeadlessEditor, AMiddleClickOnAKnobLeavesNothingBehind) {
  Open();
  // The Level knob (556, 452)-(587, 483), then a click on the Domain knob (47, 452)-(78, 483).
  Gui().MouseDown(571, 467, IGuiHeadless::MouseButton::Middle);
  EXPECT_TRUE(Gui().CursorHidden());
  Gui().MouseUp(571, 467, IGuiHeadless::MouseButton::Middle);
  EXPECT_FALSE(Gui().CursorHidden());
  EXPECT_FALSE(Gui().CursorLocked());
  Gui().MouseDown(62, 470);
  Gui().MouseUp(62, 470);
  EXPECT_EQ(delegate.log, (std::vector<std::string>{"begin 4", "end 4", "begin 0", "end 0"}));
}

TEST_F(HeadlessEditor, DragsAndWheelTurnsNameTheButtonsHeld) {
  Open();
  auto* probe = static_cast<graphicstest::InputProbe*>(Gui().AddControl(new graphicstest::InputProbe({0, 0, 40, 40})));
  using Button = IGuiHeadless::MouseButton;
  Gui().Wheel(10, 10, 120);
  for (Button held : {Button::Left, Button::Right}) {
    Gui().MouseDown(10, 10, held);
    Gui().MouseMove(12, 14);
    Gui().Wheel(12, 14, 120);
    Gui().MouseUp(12, 14, held);
  }
  // A middle drag is no drag (neither button is held): the pointer hovers.
  Gui().MouseDown(10, 10, Button::Middle);
  Gui().MouseMove(12, 14);
  Gui().MouseUp(12, 14, Button::Middle);
  EXPECT_EQ(probe->log, (std::vector<std::string>{"wheel", "drag left", "wheel left", "drag right", "wheel right"}));
}

TEST_F(HeadlessEditor, WheelNotchesAreWholeSystemUnits) {
  Open();
  const double before = delegate.GetParam(4)->Current();
  EXPECT_TRUE(Gui().Wheel(571, 467, 60)) << "half a notch reaches the knob as 0";
  EXPECT_DOUBLE_EQ(delegate.GetParam(4)->Current(), before);
  Gui().Wheel(571, 467, 120);
  EXPECT_NEAR(delegate.GetParam(4)->Current(), before + 0.01, 1e-9);
}

}  // namespace
