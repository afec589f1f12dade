// Two editors open in two threads at once, sharing the bitmap, font and typeface caches.
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "GraphicsTestSupport.h"
#include "graphics/platform/headless/IGuiHeadless.h"

namespace {

void RunEditor(float scale, int rounds, bool& ok) {
  graphicstest::TestDelegate delegate;
  delegate.SetLayoutFunction(graphicstest::DemoLayout);
  delegate.SetGraphicsFactory([&delegate, scale] { return new graphics::IGuiHeadless(delegate, 724, 526, 60, scale); });
  ok = true;
  for (int i = 0; i < rounds; ++i) {
    delegate.OpenEditor(nullptr);
    auto& gui = *static_cast<graphics::IGuiHeadless*>(delegate.Graphics());
    ok = gui.Tick() && ok;
    gui.MouseDown(571 * scale, 467 * scale);
    gui.MouseMove(571 * scale, 400 * scale);
    gui.MouseUp(571 * scale, 400 * scale);
    gui.Tick();
    ok = (gui.PixelAt(1, 1) >> 24) == 0xFF && ok;
    delegate.CloseEditor();
  }
}

TEST(GraphicsConcurrent, TwoEditorsShareTheCachesWithoutRaces) {
  // With a third editor kept open the caches live across the rounds; without it they are
  // emptied and filled again whenever both threads happen to be closed at once.
  for (bool keepCaches : {true, false}) {
    graphicstest::TestDelegate keeper;
    std::unique_ptr<graphics::IGuiHeadless> open;
    if (keepCaches) open = std::make_unique<graphics::IGuiHeadless>(keeper, 724, 526, 60, 1.0f);
    bool firstOk = false, secondOk = false;
    std::thread first(RunEditor, 1.0f, 4, std::ref(firstOk));
    std::thread second(RunEditor, 3.0f, 4, std::ref(secondOk));
    first.join();
    second.join();
    EXPECT_TRUE(firstOk) << keepCaches;
    EXPECT_TRUE(secondOk) << keepCaches;
  }
}

}  // namespace
