// After its first frame the graph's frame cycle (drain, settings, drawing) allocates nothing,
// in every domain; only the spectrum mapper may grow when the FFT size grows.
#include <gtest/gtest.h>

#include "RealtimeCounter.h"
#include "tests/display/EditorHarness.h"

namespace {

// Draws nowhere: what is measured is the graph's own work.
class NullGui final : public graphics::IGuiHeadless {
public:
  explicit NullGui(framework::IGuiEditorDelegate& owner) : IGuiHeadless(owner, 724, 526, 60, 1.0f) {}
  void PathMoveTo(float, float) override {}
  void PathLineTo(float, float) override {}
  void PathClose() override {}
  void PathStroke(const graphics::IPaintPattern&, float, const graphics::IStrokeStyle&, const graphics::IBlendSpec*) override {}
  void PathFill(const graphics::IPaintPattern&, const graphics::IFillStyle&, const graphics::IBlendSpec*) override {}
};

TEST(GraphRealtime, FrameCycleAllocatesNothingAfterTheFirstFrame) {
  if (!testsupport::RealtimeCounterAvailable()) GTEST_SKIP() << "allocation counting is unavailable under sanitizers";
  EditorHarness h;
  for (KorvelParam p : {KorvelParam::Input3, KorvelParam::Input4}) h.SetParam(p, 1.0);
  h.SetParam(KorvelParam::Hold, -12.0);
  ASSERT_NE(h.Open(), nullptr);
  NullGui g(*h.korvel);
  KorvelGraph* graph = h.Graph();
  for (int domain : {0, 1, 2}) {
    SCOPED_TRACE(domain);
    h.SetParam(KorvelParam::Domain, domain);
    h.Feed(800);
    graph->Draw(g);  // the first frame of the domain may size things
    for (int frame = 0; frame < 5; ++frame) {
      h.Feed(800);
      testsupport::RealtimeScope scope;
      h.korvel->ApplyPendingSettings();
      graph->Draw(g);
      EXPECT_EQ(scope.Allocations(), 0);
      EXPECT_EQ(scope.Locks(), 0);
    }
  }
  // A zoom change rebuilds the axes and redraws from the history, still without allocating.
  h.SetParam(KorvelParam::Domain, 0);
  graph->Draw(g);
  h.SetParam(KorvelParam::XZoomLow, 0.2);
  testsupport::RealtimeScope scope;
  h.korvel->ApplyPendingSettings();
  graph->Draw(g);
  EXPECT_EQ(scope.Allocations(), 0);
}

}  // namespace
