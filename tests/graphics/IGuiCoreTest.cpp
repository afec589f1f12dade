// The UI core: adding controls, dirty collection and regions, the draw cycle and the scale model.
#include <gtest/gtest.h>

#include "GraphicsTestSupport.h"
#include "graphics/IControl.h"

namespace {

using namespace graphics;

struct Probe : IControl {
  explicit Probe(const IRect& r, int param = -1, std::vector<std::string>* drawLog = nullptr)
      : IControl(r, param), log(drawLog) {}
  void Draw(IGui&) override {
    if (log) log->push_back("draw " + std::to_string(static_cast<int>(drawRect.L)));
  }
  void OnSetup() override { Note("setup"); }
  void OnBoundsChanged() override { Note("bounds"); }
  void OnScaleChanged() override { Note("scale"); }
  void OnAddedToUI() override { Note("added"); }
  void Note(const char* what) {
    if (log) log->push_back(what);
  }
  std::vector<std::string>* log;
};

class Core : public ::testing::Test {
protected:
  graphicstest::TestDelegate delegate;
  graphicstest::RecordingGui g{delegate};
  std::vector<std::string> log;
};

TEST_F(Core, AddControlRunsItsHooksAndRefusesATagInUse) {
  auto* first = new Probe({0, 0, 10, 10}, -1, &log);
  EXPECT_EQ(g.AddControl(first, 7), first);
  EXPECT_EQ(log, (std::vector<std::string>{"setup", "bounds", "scale", "added"}));
  auto duplicate = std::make_unique<Probe>(IRect{0, 0, 1, 1});
  EXPECT_EQ(g.AddControl(duplicate.get(), 7), nullptr);
  EXPECT_EQ(g.NControls(), 1);
  EXPECT_EQ(g.ControlByTag(7), first);
  EXPECT_EQ(first->GetUI(), &g);
}

TEST_F(Core, DirtyRegionsAreGrownAlignedAndMerged) {
  g.AddControl(new Probe({0, 0, 724, 526}, -1, &log));
  IControl* a = g.AddControl(new Probe({10, 10, 20, 20}, -1, &log));
  g.AddControl(new Probe({30, 30, 40, 40}, -1, &log));
  g.SetAllControlsClean();
  a->MarkDirty(false);
  std::vector<IRect> rects;
  ASSERT_TRUE(g.CollectDirtyRects(rects));
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0], (IRect{9.25f, 9.25f, 20.75f, 20.75f}));
  log.clear();
  g.regions.clear();
  g.DrawDirty(rects);
  // The background and the control are drawn, clipped to (9, 9, 21, 21); the far control is not.
  EXPECT_EQ(log, (std::vector<std::string>{"draw 0", "draw 10"}));
  ASSERT_EQ(g.regions.size(), 2u);
  EXPECT_EQ(g.regions[1], (IRect{9, 9, 21, 21}));
  g.SetAllControlsClean();
  rects.clear();
  EXPECT_FALSE(g.CollectDirtyRects(rects));
}

TEST_F(Core, RegionListKeepsItsUnionWithLessOverdraw) {
  struct Case {
    std::vector<IRect> in, out;
  };
  const Case cases[] = {
      {{{0, 0, 10, 10}, {0, 10, 10, 20}}, {{0, 0, 10, 20}}},
      {{{0, 0, 10, 10}, {2, 2, 5, 5}}, {{0, 0, 10, 10}}},
      {{{0, 0, 10, 10}, {0, 5, 10, 30}}, {{0, 0, 10, 30}}},
      {{{0, 0, 10, 10}, {20, 0, 30, 10}}, {{0, 0, 10, 10}, {20, 0, 30, 10}}},
      {{{0, 0, 10, 10}, {10, 0, 20, 10}, {0, 10, 20, 20}}, {{0, 0, 20, 20}}},
  };
  for (const Case& test : cases) {
    std::vector<IRect> rects = test.in;
    IGui::OptimiseRegions(rects);
    EXPECT_EQ(rects, test.out);
  }
}

TEST_F(Core, HiddenControlsAreNotDrawnExceptTheBackground) {
  IControl* background = g.AddControl(new Probe({0, 0, 100, 100}, -1, &log));
  IControl* other = g.AddControl(new Probe({10, 10, 20, 20}, -1, &log));
  background->SetHidden(true);
  other->SetHidden(true);
  log.clear();
  g.DrawDirty({{0, 0, 100, 100}});
  EXPECT_EQ(log, (std::vector<std::string>{"draw 0"}));
}

TEST_F(Core, ResizeClampsTheScaleAndSkipsWhatDidNotChange) {
  g.AddControl(new Probe({0, 0, 10, 10}, -1, &log));
  g.ResizeEditor(724, 526, 8.0f, true);
  EXPECT_EQ(g.DrawScale(), 4.0f);
  EXPECT_EQ(delegate.requestedWidth, 2896);
  g.ResizeEditor(724, 526, 0.1f, true);
  EXPECT_EQ(g.DrawScale(), 0.5f);
  EXPECT_EQ(delegate.requestedWidth, 362);
  const int resizes = g.resizes;
  log.clear();
  g.ResizeEditor(724, 526, 0.5f, true);
  EXPECT_EQ(g.resizes, resizes);
  EXPECT_TRUE(log.empty()) << "the same size and scale does nothing at all";
  // The delegate's limits constrain the size.
  g.ResizeEditor(5, 200000, 1.0f, false);
  EXPECT_EQ(g.Width(), 10);
  EXPECT_EQ(g.Height(), 100000);
}

TEST_F(Core, ScreenScaleResizesTheWindowAndTellsTheControls) {
  g.AddControl(new Probe({0, 0, 10, 10}, -1, &log));
  log.clear();
  g.SetScreenScale(2.0f);
  EXPECT_EQ(g.BackingScale(), 2.0f);
  EXPECT_EQ(log, (std::vector<std::string>{"scale"}));
  EXPECT_EQ(g.log.back(), "platform resize");
  g.SetScreenScale(0.0f);
  EXPECT_EQ(g.ScreenScale(), 2.0f) << "a zero scale is ignored";
}

TEST_F(Core, ResizeGestureZoomsFromTheMouseDownAndPendingScaleAppliesOnRelease) {
  g.AddControl(new Probe({0, 0, 724, 526}));
  const IPointerEvent down{100, 100, 0, 0, {}};
  g.OnMouseDown({&down, 1});
  g.BeginResizeGesture();
  const IPointerEvent drag{150, 200, 50, 100, {}};
  g.OnMouseDrag({&drag, 1});
  EXPECT_EQ(g.DrawScale(), 1.5f) << "min(150 / 100, 200 / 100)";
  EXPECT_EQ(g.Width(), 724);
  g.SetPendingScale(2.5f);
  g.OnMouseUp({&drag, 1});
  EXPECT_FALSE(g.ResizeGestureInProgress());
  EXPECT_EQ(g.DrawScale(), 2.5f);
}

TEST_F(Core, AnimatedControlsAreRedrawnEveryTickUntilTheyEnd) {
  IControl* c = g.AddControl(new Probe({0, 0, 10, 10}));
  int steps = 0;
  bool ended = false;
  c->SetAnimationEndActionFunction([&ended](IControl&) { ended = true; });
  c->SetAnimation([&steps](IControl& self) {
    if (++steps == 3) self.OnAnimationEnd();
  });
  bool hookRan = false;
  g.SetTickHook([&] {
    hookRan = true;
    EXPECT_EQ(steps, 0) << "the hook runs before any control is looked at";
  });
  std::vector<IRect> rects;
  for (int tick = 0; tick < 2; ++tick) {
    rects.clear();
    EXPECT_TRUE(g.CollectDirtyRects(rects));
    g.SetAllControlsClean();
    g.SetTickHook(nullptr);
  }
  EXPECT_TRUE(hookRan);
  rects.clear();
  EXPECT_TRUE(g.CollectDirtyRects(rects)) << "the last step marks it dirty once more";
  g.SetAllControlsClean();
  EXPECT_TRUE(ended);
  rects.clear();
  EXPECT_FALSE(g.CollectDirtyRects(rects));
  EXPECT_EQ(steps, 3);
}

TEST_F(Core, ValuesFromTheDelegateReachEveryBoundControl) {
  IControl* a = g.AddControl(new Probe({0, 0, 10, 10}, 4));
  IControl* b = g.AddControl(new Probe({0, 0, 10, 10}, 4));
  IControl* c = g.AddControl(new Probe({0, 0, 10, 10}, 1), 3);
  g.ShowParamInControls(4, 0.75);
  EXPECT_EQ(a->GetValue(), 0.75);
  EXPECT_EQ(b->GetValue(), 0.75);
  EXPECT_EQ(c->GetValue(), 0.0);
  g.ShowValueInControl(3, 0.25);
  EXPECT_EQ(c->GetValue(), 0.25);
  // A user change on one is mirrored by its peer.
  a->ApplyValueFromUser(0.1);
  EXPECT_EQ(b->GetValue(), 0.1);
}

}  // namespace
