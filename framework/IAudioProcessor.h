#pragma once
// The audio side of a plug-in: the channel layouts it supports (parsed from the
// configuration's I/O string), one record per input and output channel, the stream
// settings the host gives, and the step that turns the host's buffers, in single or
// double precision, into the double-precision channel arrays ProcessAudioBlock receives.
//
// Block contract: a block holds at most BlockSize() frames. BindHostBuffers and the
// RunBlock operations handle only the first BlockSize() frames of a longer one, so the
// bindings split longer host blocks. Before the first ResizeBlock the block size is 0 and
// nothing is processed.
#include <atomic>
#include <cstdint>

#include "framework/HeapBuffer.h"
#include "framework/MidiMessage.h"
#include "framework/PluginConfig.h"
#include "framework/PtrList.h"
#include "framework/ShortText.h"
#include "framework/TransportInfo.h"

namespace framework {

enum Direction : int { Input = 0, Output = 1 };

// One bus of a layout.
struct BusSpec {
  static constexpr int32_t kWildcardChannels = -64;  // "*": any number of channels
  int32_t direction = Input;
  int32_t channelCount = 0;
};

// One supported arrangement of buses. Buses of zero channels are not listed.
struct ChannelLayout {
  OwnedPtrList<BusSpec> inputBuses;
  OwnedPtrList<BusSpec> outputBuses;

  int BusCount(int direction) const noexcept;
  // Null when the direction or the index is out of range.
  const BusSpec* Bus(int direction, int index) const noexcept;
  // Sum of the direction's bus counts; a wildcard adds −64.
  int64_t ChannelTotal(int direction) const noexcept;
};

// The processor's state for one channel.
struct ChannelRecord {
  bool connected = false;
  bool bound = false;               // given a host buffer (or silence) for the current block
  bool scratchHoldsAudio = false;   // an input's scratch holds converted samples, not zeros
  double** pointerEntry = nullptr;  // this channel's slot in the array ProcessAudioBlock gets
  float* hostOutput32 = nullptr;    // output bound in single precision: where scratch goes back
  HeapBuffer scratch;               // BlockSize() doubles
  ShortText channelLabel;           // at most IAudioProcessor::kLabelChars characters

  double* Samples() noexcept { return reinterpret_cast<double*>(scratch.Data()); }
};

class IAudioProcessor {
public:
  static constexpr int kLabelChars = 32;
  static constexpr int kBusNameChars = 32;
  // Channel records per direction are capped here, whatever the I/O string asks for.
  static constexpr int kMaxChannels = 1024;

  // [main-thread] Parses config.channelIO. Bus tokens are split at "."; "*" is a wildcard
  // of −64 channels; other tokens are read from their leading decimal digits (none: 0).
  // A direction gets as many channel records as its largest layout total, never fewer
  // than 0 (a wildcard-only layout such as "*-2" gives no input records) nor more than
  // kMaxChannels.
  explicit IAudioProcessor(const PluginConfig& config) noexcept;
  virtual ~IAudioProcessor();
  IAudioProcessor(const IAudioProcessor&) = delete;
  IAudioProcessor& operator=(const IAudioProcessor&) = delete;

  // [audio-thread] Default: output c gets a copy of input c where input c exists (connected
  // or not), zeros otherwise. Null arrays or channel pointers are skipped.
  virtual void ProcessAudioBlock(double** inputs, double** outputs, int frames);
  // Keeps its place in the virtual table; nothing calls it.
  virtual void ReservedHook();
  // [audio-thread] Default: passes the message on with EmitMidi.
  virtual void HandleMidiInput(const MidiMessage& message);
  // [audio-thread] Default: drops the message.
  virtual void HandleSysExInput(const SysExRecord& message);
  // [main-thread] Processing (re)starts; no block runs meanwhile. Default: nothing.
  virtual void ResetProcessing();
  // [main-thread] Default: nothing.
  virtual void ActivationChanged(bool active);
  // [audio-thread] Sends a message to the host; the binding supplies it. Default: false.
  virtual bool EmitMidi(const MidiMessage& message);
  // [audio-thread] EmitMidi for each of count messages; true when all succeeded.
  virtual bool EmitMidiList(const MidiMessage* messages, int count);
  // [audio-thread] The binding may supply it. Default: false.
  virtual bool EmitSysEx(const SysExRecord& message);
  // [main-thread] Name of a bus, at most kBusNameChars characters. Default: outputs
  // "Output" or "Output %i"; inputs "Input", "Main"/"Aux" for two buses, else "Input %i".
  // An unknown direction gives an empty name.
  virtual void DescribeBus(int direction, int busIndex, int busCount, ShortText& out);
  // [thread-safe] Store the value; a binding also tells the host.
  virtual void ChangeLatency(int samples);
  virtual void ChangeTail(int samples);

  // [audio-thread] Connected records of a direction (0 for an unknown direction).
  int ConnectedChannelCount(int direction) const noexcept;
  // [main-thread] Whether some layout has these channel totals; −1 matches any total.
  bool LegalIO(int inputs, int outputs) const noexcept;
  // [main-thread] The largest bus count of a direction over all layouts; *layoutIndex gets
  // the last layout with that many (−1 without layouts or for an unknown direction).
  int MostBuses(int direction, int* layoutIndex = nullptr) const noexcept;

  // [audio-thread] Sets `connected` for the existing channels first … first + count − 1.
  // A channel set to unconnected reads and writes its own scratch from then on.
  void MarkChannelsConnected(int direction, int first, int count, bool connected) noexcept;
  // [audio-thread] Gives each connected channel in first … first + count − 1 the next host
  // pointer in order; unconnected and missing channels take none. Double precision uses the
  // host's buffers in place. Single precision converts inputs into scratch here and
  // converts outputs back in RunBlock. A null array or channel pointer binds silence for
  // an input and a discarded scratch for an output.
  void BindHostBuffers(int direction, int first, int count, double* const* hostPointers, int frames) noexcept;
  void BindHostBuffers(int direction, int first, int count, float* const* hostPointers, int frames) noexcept;
  // [audio-thread] Runs ProcessAudioBlock on min(frames, BlockSize()) frames (none for 0 or
  // fewer); inputs not bound for this block, connected or not, read silence (ProcessAudioBlock
  // must not write into its inputs, so a zeroed scratch stays zero). Then every connected output bound in single
  // precision gets its scratch written over its host buffer (RunBlock) or added to it
  // (RunBlockAccumulating, for hosts that mix into their outputs). Afterwards every channel
  // points at its own scratch again: host buffers are bound for one block only.
  void RunBlock(int frames) noexcept;
  void RunBlockAccumulating(int frames) noexcept;

  // [main-thread] (processing stopped) When frames differs from the block size: every
  // scratch becomes frames zeros and every channel points at its scratch until bound again.
  // A negative or oversized request changes nothing and returns false; a failed
  // allocation leaves block size 0 and returns false.
  bool ResizeBlock(int frames) noexcept;
  // [main-thread] (processing stopped)
  void StoreSampleRate(double rate) noexcept { sampleRate = rate; }
  double SampleRate() const noexcept { return sampleRate; }
  int BlockSize() const noexcept { return blockSize; }
  // [thread-safe]
  int LatencyOf() const noexcept { return latency.load(std::memory_order_relaxed); }
  int TailOf() const noexcept { return tailSize.load(std::memory_order_relaxed); }

  // [main-thread] The label becomes format printed with the channel number (channel + 1
  // unless zeroBased), cut to kLabelChars. A format that is not exactly one integer
  // directive (with at most two-digit width and precision, "%%" aside) is copied as it
  // stands. Missing channels are ignored.
  void LabelChannel(int direction, int channel, const char* format, bool zeroBased) noexcept;
  // [main-thread] "" for a missing channel or no label.
  const char* ChannelLabelOf(int direction, int channel) const noexcept;

  // [main-thread]
  int MaxInputChannels() const noexcept { return inputChannels.Count(); }
  int MaxOutputChannels() const noexcept { return outputChannels.Count(); }
  int LayoutCount() const noexcept { return layouts.Count(); }
  const ChannelLayout* Layout(int index) const noexcept { return layouts.Get(index); }
  int32_t PluginKind() const noexcept { return pluginKind; }
  bool MidiIn() const noexcept { return midiIn; }
  bool MidiOut() const noexcept { return midiOut; }
  bool Mpe() const noexcept { return mpe; }

  // [audio-thread] Filled by the binding each block.
  TransportInfo& Transport() noexcept { return transport; }
  const TransportInfo& Transport() const noexcept { return transport; }
  // [thread-safe]
  bool RenderingOffline() const noexcept { return renderingOffline.load(std::memory_order_relaxed); }
  void SetRenderingOffline(bool offline) noexcept { renderingOffline.store(offline, std::memory_order_relaxed); }

private:
  OwnedPtrList<ChannelRecord>* Records(int direction) noexcept;
  const OwnedPtrList<ChannelRecord>* Records(int direction) const noexcept;
  int FramesToRun(int frames) const noexcept;
  void BindSilence(int direction, ChannelRecord& record) noexcept;
  void RunBound(int frames, bool accumulate) noexcept;
  void ParseChannelIO(const char* text) noexcept;
  void CreateChannels(int direction, int64_t count) noexcept;

  int32_t pluginKind;
  bool midiIn, midiOut, mpe;
  std::atomic<int32_t> latency;
  double sampleRate = 48000.0;
  int32_t blockSize = 0;
  std::atomic<int32_t> tailSize{0};
  std::atomic<bool> renderingOffline{false};
  OwnedPtrList<ChannelLayout> layouts;
  PtrList<double> channelPointers[2];  // inputs, outputs; fixed after construction
  OwnedPtrList<ChannelRecord> inputChannels;
  OwnedPtrList<ChannelRecord> outputChannels;
  TransportInfo transport;
};

}  // namespace framework
