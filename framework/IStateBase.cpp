#include "framework/IStateBase.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace framework {

IStateBase::IStateBase(const PluginConfig& config) : IGuiEditorDelegate(config.paramCount), version(config.version) {
  for (int i = 0; i < config.presetCount; ++i) presets.Add(new PresetSlot());
}

bool IStateBase::SerializeParams(StateChunk& chunk) const {
  for (int i = 0; i < ParamCount(); ++i)
    if (!chunk.PutDouble(GetParam(i)->Current()) || chunk.Size() <= 0) return false;
  return true;
}

int IStateBase::UnserializeParams(const StateChunk& chunk, int pos) {
  for (int i = 0; i < ParamCount() && pos != -1; ++i) {
    double stored = 0.0;
    pos = chunk.GetDouble(stored, pos);
    if (pos != -1 && !std::isnan(stored)) GetParam(i)->Store(stored);
  }
  AnnounceAllParams(ParamSource::Preset);
  return pos;
}

bool IStateBase::SaveState(StateChunk& chunk) const { return SerializeParams(chunk); }
int IStateBase::LoadState(const StateChunk& chunk, int pos) { return UnserializeParams(chunk, pos); }

void IStateBase::FillEmptyPresets() {
  for (PresetSlot* slot : presets) {
    if (slot->initialised) continue;
    slot->initialised = true;
    CopyText(slot->presetName, PresetSlot::kNameSize, "Empty");
    SaveState(slot->state);
  }
}

const char* IStateBase::PresetName(int index) const {
  const PresetSlot* slot = presets.Get(index);
  return slot ? slot->presetName : "";
}

void IStateBase::ModifyCurrentPreset(const char* name) {
  PresetSlot* slot = presets.Get(currentPreset);
  if (!slot) return;
  slot->state.Clear();
  SaveState(slot->state);
  if (name && *name) CopyText(slot->presetName, PresetSlot::kNameSize, name);
}

bool IStateBase::LoadPreset(int index) {
  PresetSlot* slot = presets.Get(index);
  if (!slot) return false;
  bool ok;
  if (slot->initialised) {
    ok = LoadState(slot->state, 0) > 0;
  } else {
    int users = 0;
    for (const PresetSlot* other : presets)
      if (std::strstr(other->presetName, "user preset")) ++users;
    slot->initialised = true;
    std::snprintf(slot->presetName, PresetSlot::kNameSize, "%s %d", "user preset", users + 1);
    ok = SaveState(slot->state);
  }
  if (ok) {
    currentPreset = index;
    OnPresetLoaded();
    OnStateLoaded();
  }
  return ok;
}

bool IStateBase::SerializePresets(StateChunk& chunk) const {
  for (const PresetSlot* slot : presets) {
    const auto length = static_cast<int32_t>(std::strlen(slot->presetName));
    const uint8_t initialised = slot->initialised ? 1 : 0;
    if (!chunk.PutInt32(length) || !chunk.PutBytes(slot->presetName, length) || !chunk.PutBytes(&initialised, 1))
      return false;
    if (slot->initialised && !chunk.PutBytes(slot->state.Data(), slot->state.Size())) return false;
  }
  return true;
}

int IStateBase::UnserializePresets(const StateChunk& chunk, int pos) {
  for (int i = 0; i < presets.Count() && pos != -1; ++i) {
    PresetSlot* slot = presets.Get(i);
    int32_t length = 0;
    pos = chunk.GetInt32(length, pos);
    slot->presetName[0] = 0;
    if (pos != -1 && length >= 1) {
      // Names longer than the slot are cut; the bytes beyond are skipped.
      const int kept = length < PresetSlot::kNameSize - 1 ? length : PresetSlot::kNameSize - 1;
      if (chunk.GetBytes(slot->presetName, kept, pos) == -1 || chunk.Size() - pos < length) {
        slot->presetName[0] = 0;
        pos = -1;
      } else {
        slot->presetName[kept] = 0;
        pos += length;
      }
    }
    uint8_t initialised = 0;
    pos = chunk.GetBytes(&initialised, 1, pos);
    if (pos == -1) break;
    slot->initialised = initialised != 0;
    if (slot->initialised) {
      pos = LoadState(chunk, pos);
      if (pos != -1) {
        slot->state.Clear();
        SaveState(slot->state);
      }
    }
  }
  LoadPreset(currentPreset);
  return pos;
}

void IStateBase::OnPresetLoaded() {}

int IStateBase::VersionNumber(bool decimal) const noexcept {
  if (!decimal) return version;
  const int major = (version >> 16) & 0xFFFF, minor = (version >> 8) & 0xFF, fix = version & 0xFF;
  return major * 10000 + minor * 100 + fix;
}

}  // namespace framework
