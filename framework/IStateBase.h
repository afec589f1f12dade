#pragma once
// Turns the plug-in's state (its parameter values) into bytes and back, and keeps the
// optional list of presets that program-based hosts see. The byte layout is a stored
// format: 8 bytes per parameter, a little-endian double, in id order, no header.
#include "framework/IGuiEditorDelegate.h"
#include "framework/PluginConfig.h"
#include "framework/PtrList.h"
#include "framework/StateChunk.h"

namespace framework {

struct PresetSlot {
  static constexpr int kNameSize = 256;
  bool initialised = false;
  char presetName[kNameSize] = "empty";
  StateChunk state;
};

class IStateBase : public IGuiEditorDelegate {
public:
  explicit IStateBase(const PluginConfig& config);

  // [thread-safe] Appends every current value; false when the chunk could not grow.
  bool SerializeParams(StateChunk& chunk) const;
  // [main-thread] Applies stored values from pos; returns the position after them, or −1
  // when the chunk ran short (the rest keep their values). Announces every parameter with
  // the source "Preset" in every case. A stored NaN leaves its parameter unchanged.
  int UnserializeParams(const StateChunk& chunk, int pos);
  virtual bool SaveState(StateChunk& chunk) const;
  virtual int LoadState(const StateChunk& chunk, int pos);

  // [main-thread] Presets, for program-based hosts.
  void FillEmptyPresets();
  const char* PresetName(int index) const;
  void ModifyCurrentPreset(const char* name = nullptr);
  bool LoadPreset(int index);
  bool SerializePresets(StateChunk& chunk) const;
  int UnserializePresets(const StateChunk& chunk, int pos);
  int PresetCount() const noexcept { return presets.Count(); }
  int CurrentPresetIdx() const noexcept { return currentPreset; }

  virtual void OnPresetLoaded();

  // Major × 65536 + minor × 256 + fix, or with decimal true major × 10000 + minor × 100 + fix.
  int VersionNumber(bool decimal) const noexcept;

protected:
  int32_t version;

private:
  OwnedPtrList<PresetSlot> presets;
  int currentPreset = 0;
};

}  // namespace framework
