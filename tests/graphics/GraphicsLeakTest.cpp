// Opening and closing an editor many times leaks nothing (the sanitizer build's leak check
// watches this) and leaves the process-wide caches empty once the last editor is gone.
#include <gtest/gtest.h>

#include "GraphicsTestSupport.h"
#include "graphics/IGraphicsCaches.h"
#include "graphics/platform/headless/IGuiHeadless.h"

namespace {

TEST(GraphicsLeak, OpenAndClose200Times) {
  graphicstest::TestDelegate delegate;
  delegate.SetLayoutFunction(graphicstest::DemoLayout);
  delegate.SetGraphicsFactory([&delegate] { return new graphics::IGuiHeadless(delegate, 724, 526, 60, 1.0f); });
  for (int i = 0; i < 200; ++i) {
    ASSERT_NE(delegate.OpenEditor(nullptr), nullptr);
    static_cast<graphics::IGuiHeadless*>(delegate.Graphics())->Tick();
    delegate.CloseEditor();
    auto lock = graphics::BitmapCache().Lock();
    ASSERT_EQ(graphics::BitmapCache().Count(), 0) << "round " << i;
  }
}

}  // namespace
