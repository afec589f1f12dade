// The exported entry of a VST2 module, also under the old name "main". Only the module
// compiles this file: anything else has a main of its own.
#include "vst2/Vst2Entry.h"
#ifdef _WIN32
#include "graphics/platform/win/WinSkiaLibrary.h"
#endif

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback audioMaster) {
#ifdef _WIN32
  // Skia's library beside the module; without it the module cannot work.
  if (!graphics::win::LoadSkiaLibrary()) return nullptr;
#endif
  return Vst2CreateEffect(audioMaster);
}

// Hosts of the first VST versions look the entry up as "main". The C++ name differs, since
// a function called main would be the program's.
extern "C" AEffect* VSTPluginMainAsMain(audioMasterCallback audioMaster) __asm__("main")
    __attribute__((alias("VSTPluginMain"), visibility("default")));
