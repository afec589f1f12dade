// The effect's audio-thread functions: the three process calls, with the block preparation
// they share. Nothing here allocates or locks.
#include <algorithm>

#include "vst2/IVst2Plugin.h"

namespace {

constexpr VstIntPtr kTimeMask = kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstCyclePosValid | kVstTimeSigValid;

framework::TransportInfo TransportOf(const VstTimeInfo* time) noexcept {
  framework::TransportInfo transport;
  if (!time) return transport;
  const VstInt32 flags = time->flags;
  transport.samplePosition = time->samplePos;
  if ((flags & kVstPpqPosValid) && time->ppqPos >= 0.0) transport.musicalPosition = time->ppqPos;
  if ((flags & kVstTempoValid) && time->tempo > 0.0) transport.tempo = time->tempo;
  if ((flags & kVstBarsValid) && time->barStartPos >= 0.0) transport.barStart = time->barStartPos;
  if ((flags & kVstCyclePosValid) && time->cycleStartPos >= 0.0 && time->cycleEndPos >= 0.0) {
    transport.loopStart = time->cycleStartPos;
    transport.loopEnd = time->cycleEndPos;
  }
  if ((flags & kVstTimeSigValid) && time->timeSigNumerator > 0 && time->timeSigDenominator > 0) {
    transport.timeSigNumerator = time->timeSigNumerator;
    transport.timeSigDenominator = time->timeSigDenominator;
  }
  transport.playing = (flags & kVstTransportPlaying) != 0;
  transport.loopActive = (flags & kVstTransportCycleActive) != 0;
  return transport;
}

}  // namespace

void IVst2Plugin::ProcessAccumulatingProc(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) noexcept {
  if (IVst2Plugin* plugin = FromEffect(effect)) plugin->ProcessHostBlock(inputs, outputs, frames, true);
}

void IVst2Plugin::ProcessReplacingProc(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) noexcept {
  if (IVst2Plugin* plugin = FromEffect(effect)) plugin->ProcessHostBlock(inputs, outputs, frames, false);
}

void IVst2Plugin::ProcessDoubleReplacingProc(AEffect* effect, double** inputs, double** outputs,
                                             VstInt32 frames) noexcept {
  if (IVst2Plugin* plugin = FromEffect(effect)) plugin->ProcessHostBlock(inputs, outputs, frames, false);
}

template <class Sample>
void IVst2Plugin::ProcessHostBlock(Sample** inputs, Sample** outputs, VstInt32 frames, bool accumulate) noexcept {
  PrepareBlock();
  // The processor runs at most its block size at a time; a longer host block goes in pieces.
  const int block = BlockSize();
  const int inputCount = MaxInputChannels();
  const int outputCount = MaxOutputChannels();
  for (int done = 0; block > 0 && done < frames;) {
    const int n = std::min(block, frames - done);
    Sample** in = done == 0 ? inputs : PiecePointers(framework::Input, inputs, done);
    Sample** out = done == 0 ? outputs : PiecePointers(framework::Output, outputs, done);
    BindHostBuffers(framework::Input, 0, inputCount, in, n);
    BindHostBuffers(framework::Output, 0, outputCount, out, n);
    if (accumulate)
      RunBlockAccumulating(n);
    else
      RunBlock(n);
    done += n;
  }
  SendSysExFromEditor();
}

template <class Sample>
Sample** IVst2Plugin::PiecePointers(int direction, Sample** host, int offset) noexcept {
  framework::HeapBuffer& buffer = direction == framework::Input ? pieceInputs : pieceOutputs;
  auto** piece = reinterpret_cast<Sample**>(buffer.Data());
  if (!host || !piece) return nullptr;
  // The host's array holds one pointer per connected channel, at least.
  const int count = ConnectedChannelCount(direction);
  for (int k = 0; k < count; ++k) piece[k] = host[k] ? host[k] + offset : nullptr;
  return piece;
}

void IVst2Plugin::PrepareBlock() noexcept {
  if (MidiIn()) CallHost(audioMasterWantMidi);
  const auto* time = reinterpret_cast<const VstTimeInfo*>(CallHost(audioMasterGetTime, 0, kTimeMask));
  const framework::TransportInfo hostTransport = TransportOf(time);
  SetRenderingOffline(CallHost(audioMasterGetCurrentProcessLevel) == kVstProcessLevelOffline);
  Transport() = hostTransport;
  framework::MidiMessage message;
  while (PopMidiFromEditor(message)) HandleMidiInput(message);
}

void IVst2Plugin::SendSysExFromEditor() noexcept {
  framework::SysExRecord message;
  while (PopSysExFromEditor(message)) EmitSysEx(message);
}
