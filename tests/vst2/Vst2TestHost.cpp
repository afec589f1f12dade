#include "Vst2TestHost.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstring>

namespace {

Vst2TestHost* currentHost = nullptr;

}  // namespace

Vst2TestHost::Vst2TestHost(const char* modulePath) {
  module = dlopen(modulePath, RTLD_NOW | RTLD_LOCAL);
  if (module) entry = reinterpret_cast<AEffect* (*)(audioMasterCallback)>(dlsym(module, "VSTPluginMain"));
  previousHost = currentHost;
  currentHost = this;
}

Vst2TestHost::~Vst2TestHost() {
  Close();
  if (currentHost == this) currentHost = previousHost;
}

AEffect* Vst2TestHost::Create() {
  effect = entry ? entry(&AudioMaster) : nullptr;
  return effect;
}

AEffect* Vst2TestHost::CreateAndOpen() {
  if (Create()) Dispatch(effOpen);
  return effect;
}

void Vst2TestHost::Close() {
  if (!effect) return;
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  effect = nullptr;
}

VstIntPtr Vst2TestHost::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) const {
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

VstIntPtr Vst2TestHost::AudioMaster(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  Vst2TestHost* host = currentHost;
  if (!host) return 0;
  const int slot = host->callCount.fetch_add(1);
  Call* call = slot < kCapacity ? &host->calls[slot] : nullptr;
  if (call) {
    *call = Call{};
    call->opcode = opcode;
    call->index = index;
    call->value = value;
    call->opt = opt;
  }
  switch (opcode) {
    case audioMasterGetTime:
      return host->giveTime ? reinterpret_cast<VstIntPtr>(&host->timeInfo) : 0;
    case audioMasterGetCurrentProcessLevel:
      return host->processLevel;
    case audioMasterGetProductString:
      if (host->productString.empty()) return 0;
      std::strncpy(static_cast<char*>(ptr), host->productString.c_str(), kVstMaxProductStrLen - 1);
      return 1;
    case audioMasterGetVendorVersion:
      return host->vendorVersion;
    case audioMasterSizeWindow:
      return host->sizeWindowAnswer;
    case audioMasterProcessEvents: {
      const auto* events = static_cast<const VstEvents*>(ptr);
      if (call && events && events->numEvents > 0 && events->events[0]) {
        const VstEvent* event = events->events[0];
        call->eventType = event->type;
        call->deltaFrames = event->deltaFrames;
        if (event->type == kVstMidiType) {
          std::memcpy(call->bytes, reinterpret_cast<const VstMidiEvent*>(event)->midiData, 4);
        } else if (event->type == kVstSysExType) {
          const auto* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
          call->dumpBytes = sysex->dumpBytes;
          std::memcpy(call->bytes, sysex->sysexDump, static_cast<size_t>(std::clamp(sysex->dumpBytes, 0, 4)));
        }
      }
      return host->processEventsAnswer;
    }
    default:
      return 0;
  }
}

int Vst2TestHost::CallCount() const noexcept { return std::min(callCount.load(), kCapacity); }

std::vector<Vst2TestHost::Call> Vst2TestHost::CallsOf(VstInt32 opcode) const {
  std::vector<Call> found;
  for (int i = 0; i < CallCount(); ++i)
    if (calls[i].opcode == opcode) found.push_back(calls[i]);
  return found;
}

std::vector<VstInt32> Vst2TestHost::NonBlockOpcodes() const {
  std::vector<VstInt32> found;
  for (int i = 0; i < CallCount(); ++i) {
    const VstInt32 op = calls[i].opcode;
    if (op != audioMasterGetTime && op != audioMasterGetCurrentProcessLevel && op != audioMasterWantMidi)
      found.push_back(op);
  }
  return found;
}
