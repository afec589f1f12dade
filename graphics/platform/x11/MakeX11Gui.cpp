// The X11 platform's graphics factory: the editor as a child window in the host's X11 window.
#include "graphics/platform/PlatformGui.h"
#include "graphics/platform/x11/IGuiX11.h"

namespace graphics {

IGui* MakePlatformGui(framework::IGuiEditorDelegate& delegate, int width, int height, int fps, float scale) {
  return new IGuiX11(delegate, width, height, fps, scale);
}

}  // namespace graphics
