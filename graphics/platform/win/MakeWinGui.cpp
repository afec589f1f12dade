// The Windows platform's graphics factory: the editor as a child window in the host's window.
#include "graphics/platform/PlatformGui.h"
#include "graphics/platform/win/IGuiWin.h"
#include "graphics/platform/win/WinSkiaLibrary.h"

namespace graphics {

IGui* MakePlatformGui(framework::IGuiEditorDelegate& delegate, int width, int height, int fps, float scale) {
  // Without Skia's library nothing could draw; every later Skia call would fault.
  if (!win::LoadSkiaLibrary()) return nullptr;
  return new IGuiWin(delegate, width, height, fps, scale);
}

}  // namespace graphics
