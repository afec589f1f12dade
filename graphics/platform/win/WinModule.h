#pragma once
// The module (DLL) this code is linked into, found through an address inside it: hosts load
// the plug-in with LoadLibrary, so its folder, resources and window class belong to it, not
// to the host's program. [thread-safe]
#include <string>

#include <windows.h>

namespace graphics::win {

HMODULE ThisModule() noexcept;
// The folder holding the module, with a trailing separator; empty when it cannot be told.
std::wstring ModuleFolder(HMODULE module);

}  // namespace graphics::win
