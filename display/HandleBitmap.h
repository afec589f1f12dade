#pragma once
// The handle bitmap of the zoom bars and the Hold handle, reloaded for the UI's backing scale.
// [editor-thread]
#include "graphics/IGraphicsTypes.h"

namespace graphics {
class IGui;
}

void ReloadHandle(graphics::IGui* ui, graphics::IBitmapRef& bitmap);
