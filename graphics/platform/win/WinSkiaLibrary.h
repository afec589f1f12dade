#pragma once
// Skia's library for the Windows modules. They import libSkiaSharp.dll through a delay-load
// library: a host's plain LoadLibrary of the module would look for a static import beside
// the host's program. The module loads it by full path from the subfolder korvel-lib beside
// it before the first Skia call, and the delay-load helper is pointed at that copy.
// Call from the module's entry (CLAP init, VSTPluginMain) or later, never from DllMain: the
// loader lock is held there. [thread-safe]

namespace graphics::win {

// Loads it once per process; true when it is loaded. A missing or unloadable library gives
// false, and no Skia function may then be called.
bool LoadSkiaLibrary() noexcept;

}  // namespace graphics::win
