// The headless platform's graphics factory: an offscreen window for tools and tests.
#include "graphics/platform/PlatformGui.h"
#include "graphics/platform/headless/IGuiHeadless.h"

namespace graphics {

IGui* MakePlatformGui(framework::IGuiEditorDelegate& delegate, int width, int height, int fps, float scale) {
  return new IGuiHeadless(delegate, width, height, fps, scale);
}

}  // namespace graphics
