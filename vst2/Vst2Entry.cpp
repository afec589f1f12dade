#include "vst2/Vst2Entry.h"

#include <mutex>

namespace {

// Constructions are mutually exclusive across every instance of the process.
std::mutex& CreationLock() noexcept {
  static std::mutex lock;
  return lock;
}

}  // namespace

AEffect* Vst2CreateEffect(audioMasterCallback audioMaster) noexcept {
  if (!audioMaster) return nullptr;
  IVst2Plugin* plugin = nullptr;
  {
    const std::lock_guard guard(CreationLock());
    plugin = MakeVst2Plugin(Vst2CreationInfo{audioMaster});
  }
  if (!plugin) return nullptr;
  plugin->FillEmptyPresets();
  AEffect* effect = plugin->Effect();
  if (effect->numPrograms < 1) effect->numPrograms = 1;
  return effect;
}
