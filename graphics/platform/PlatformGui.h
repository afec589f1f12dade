#pragma once
// Creates the editor's graphics object of the platform a module links: one platform library
// per module (headless for tools and tests, the window system's for a real host) defines it.
namespace framework {
class IGuiEditorDelegate;
}

namespace graphics {

class IGui;

// [main-thread] A new graphics object of width × height UI units at the given draw scale,
// ticking at fps; the caller owns it. Null when it cannot be made.
IGui* MakePlatformGui(framework::IGuiEditorDelegate& delegate, int width, int height, int fps, float scale);

}  // namespace graphics
