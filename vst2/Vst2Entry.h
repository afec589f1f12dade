#pragma once
// How a VST2 module makes its effects: VSTPluginMain (vst2/Vst2Main.cpp) calls
// Vst2CreateEffect, which makes one plug-in per call under a process-wide creation lock.
// The product supplies MakeVst2Plugin, usually as CreateVst2Plugin<Class>.
#include "vst2/IVst2Plugin.h"

// [thread-safe] The new effect's record, or null for a null callback or a failed creation.
AEffect* Vst2CreateEffect(audioMasterCallback audioMaster) noexcept;

// [thread-safe] Under the creation lock: a new plug-in, or null when it could not be made.
IVst2Plugin* MakeVst2Plugin(const Vst2CreationInfo& info);

// A new Plugin (an IVst2Plugin), or null when it could not be made; nothing unwinds into
// the host.
template <class Plugin>
IVst2Plugin* CreateVst2Plugin(const Vst2CreationInfo& info) noexcept {
  try {
    return new Plugin(info);
  } catch (...) {
    return nullptr;
  }
}
