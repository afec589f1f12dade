// IControl's value semantics and the stock controls' behaviour.
#include <gtest/gtest.h>

#include <cmath>

#include "GraphicsTestSupport.h"
#include "graphics/IKnobControls.h"
#include "graphics/ISwitchControls.h"
#include "graphics/ITextControls.h"

namespace {

using namespace graphics;

struct Plain : IControl {
  using IControl::IControl;
  void Draw(IGui&) override {}
};

struct Switch : ISwitchControlBase {
  using ISwitchControlBase::ISwitchControlBase;
  void Draw(IGui&) override {}
};

class Controls : public ::testing::Test {
protected:
  template <class T>
  T* Add(T* control) {
    return static_cast<T*>(g.AddControl(control));
  }
  graphicstest::TestDelegate delegate;
  graphicstest::RecordingGui g{delegate};
};

TEST_F(Controls, ValueBindingAndDirtySemantics) {
  int actions = 0;
  auto* c = Add(new Plain({0, 0, 100, 20}, 4, [&actions](IControl&) { ++actions; }));
  c->SetValue(1.2);
  c->MarkDirty(true);
  EXPECT_EQ(c->GetValue(), 1.0);
  EXPECT_EQ(delegate.log.back(), "set 4 1.000000");
  EXPECT_EQ(actions, 1);
  c->ApplyValueFromUser(1.0);
  EXPECT_EQ(actions, 1) << "the same value does not act";
  c->SetValueFromPointer(50, 0, Direction::Horizontal, c->GetRect(), 0);
  EXPECT_EQ(c->GetValue(), 0.5);
  c->SetValueFromPointer(0, 0, Direction::Vertical, c->GetRect(), 0);
  EXPECT_EQ(c->GetValue(), 1.0);
  c->MoveTo(-5, 10);
  EXPECT_EQ(c->GetRect(), (IRect{0, 10, 100, 30}));
  EXPECT_EQ(c->GetTargetRect(), (IRect{0, 10, 100, 30}));
  c->SetBlend({BlendMode::SrcOver, 0.6f});
  c->SetDisabled(true);
  EXPECT_EQ(c->Blend().weight, 0.25f);
  c->SetDisabled(false);
  EXPECT_EQ(c->Blend().weight, 1.0f);
  // A value from the delegate is ignored while the control is dragged.
  const IPointerEvent down{5, 15, 0, 0, {}};
  g.OnMouseDown({&down, 1});
  c->ApplyValueFromDelegate(0.2);
  EXPECT_EQ(c->GetValue(), 1.0);
  g.OnMouseUp({&down, 1});
  c->ApplyValueFromDelegate(0.2);
  EXPECT_EQ(c->GetValue(), 0.2);
  c->ApplyValueFromDelegate(std::nan(""));
  EXPECT_EQ(c->GetValue(), 0.0) << "a NaN from the plug-in side is shown as 0";
}

TEST_F(Controls, KnobDragUsesGearingAndFineAdjustment) {
  auto* knob = Add(new IBitmapRotaryKnob(IRect{0, 0, 100, 100}, graphicstest::FakeBitmap(100, 100), 4));
  IMouseModifiers mods;
  knob->SetValue(0.5);
  knob->OnMouseDown(50, 50, mods);
  knob->OnMouseDrag(50, 40, 0, -10, mods);
  EXPECT_NEAR(knob->GetValue(), 0.5 + 10.0 / 400.0, 1e-12);
  mods.S = true;
  knob->OnMouseDrag(50, 40, 0, -10, mods);
  EXPECT_NEAR(knob->GetValue(), 0.5 + 10.0 / 400.0 + 10.0 / 4000.0, 1e-12);
  mods.S = false;
  knob->OnMouseDrag(50, 0, 0, -1000, mods);
  EXPECT_EQ(knob->GetValue(), 1.0);
  knob->OnMouseDrag(50, 0, 0, 4, mods);
  EXPECT_NEAR(knob->GetValue(), 0.99, 1e-12) << "moves back at once from the end";
  knob->OnMouseUp(50, 0, mods);
}

TEST_F(Controls, WheelMovesSteppedParametersOneStepAtATime) {
  auto* stepped = Add(new IBitmapRotaryKnob(IRect{0, 0, 10, 10}, graphicstest::FakeBitmap(10, 10), 2));
  stepped->SetValue(0.5);
  stepped->OnMouseWheel(0, 0, {}, 3.0f);
  EXPECT_NEAR(stepped->GetValue(), 0.6, 1e-12);
  stepped->OnMouseWheel(0, 0, {}, -0.5f);
  EXPECT_NEAR(stepped->GetValue(), 0.5, 1e-12);
  auto* continuous = Add(new IBitmapRotaryKnob(IRect{0, 0, 10, 10}, graphicstest::FakeBitmap(10, 10), 4));
  continuous->SetValue(0.5);
  continuous->OnMouseWheel(0, 0, {}, 2.0f);
  EXPECT_NEAR(continuous->GetValue(), 0.52, 1e-12);
  IMouseModifiers fine;
  fine.C = true;
  continuous->OnMouseWheel(0, 0, fine, 1.0f);
  EXPECT_NEAR(continuous->GetValue(), 0.521, 1e-12);
}

TEST_F(Controls, SwitchesCycleThroughTheirStates) {
  auto* two = Add(new Switch({0, 0, 10, 10}, -1, nullptr, 2));
  two->SetValue(0.5);
  two->OnMouseDown(0, 0, {});
  EXPECT_EQ(two->GetValue(), 0.0);
  auto* three = Add(new Switch({0, 0, 10, 10}, 0));
  EXPECT_EQ(three->NStates(), 3) << "from the Domain parameter";
  std::vector<double> seen;
  for (int i = 0; i < 4; ++i) {
    three->OnMouseDown(0, 0, {});
    seen.push_back(three->GetValue());
  }
  EXPECT_EQ(seen, (std::vector<double>{0.5, 1.0, 0.0, 0.5}));
  auto* button = Add(new IBitmapSwitch(IRect{0, 0, 27, 27}, graphicstest::FakeBitmap(27, 54, 2), 3));
  EXPECT_EQ(button->GetRect(), (IRect{0, 0, 27, 27}));
  button->SetValue(0.0);
  button->OnMouseDown(0, 0, {});
  EXPECT_EQ(button->GetValue(), 1.0);
  button->OnMouseDown(0, 0, {});
  EXPECT_EQ(button->GetValue(), 0.0);
  button->SetValue(1.0);
  button->Draw(g);
  EXPECT_EQ(g.log.back(), "bitmap 27x54 into (0, 0)-(27, 27) from (0, 27)");
}

TEST_F(Controls, RotaryKnobTurnsFromMinus130ToPlus130Degrees) {
  auto* knob = Add(new IBitmapRotaryKnob(IRect{0, 0, 31, 31}, graphicstest::FakeBitmap(31, 31), 4));
  for (double v : {0.0, 0.5, 1.0}) {
    knob->SetValue(v);
    g.transforms.clear();
    knob->Draw(g);
    ASSERT_GE(g.transforms.size(), 2u);
    const ITransform& t = g.transforms[1];
    EXPECT_NEAR(std::atan2(t.yx, t.xx) * 180.0 / 3.14159265358979, v * 260.0 - 130.0, 1e-4);
    EXPECT_EQ(g.log[g.log.size() - 2], "bitmap 31x31 into (-15.5, -15.5)-(15.5, 15.5) from (0, 0)");
  }
}

TEST_F(Controls, LabelsAreTransparentToTheMouse) {
  auto* below = Add(new Plain({0, 0, 50, 50}));
  Add(new ITextControl({0, 0, 50, 50}, "label"));
  EXPECT_EQ(g.ControlAt(10, 10), below);
}

}  // namespace
