#include "framework/IAudioProcessor.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace framework {

namespace {

bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }

// "*" is the wildcard; otherwise the leading decimal digits, saturating at INT32_MAX.
int32_t ReadBusCount(const char* begin, const char* end) noexcept {
  if (end - begin == 1 && *begin == '*') return BusSpec::kWildcardChannels;
  int64_t value = 0;
  for (const char* p = begin; p < end && IsDigit(*p); ++p) value = std::min<int64_t>(value * 10 + (*p - '0'), INT32_MAX);
  return static_cast<int32_t>(value);
}

// Appends the non-empty buses of one "a.b.c" part and returns the part's channel total.
int64_t ParseBuses(const char* begin, const char* end, int direction, OwnedPtrList<BusSpec>& buses) noexcept {
  int64_t total = 0;
  const char* token = begin;
  for (;;) {
    const char* dot = std::find(token, end, '.');
    const int32_t count = ReadBusCount(token, dot);
    total += count;
    if (count != 0) {
      if (auto* bus = new (std::nothrow) BusSpec{direction, count}; bus && !buses.Add(bus)) delete bus;
    }
    if (dot == end) break;
    token = dot + 1;
  }
  return total;
}

bool IsFlag(char c) noexcept { return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0'; }
bool IsIntegerConversion(char c) noexcept { return c != 0 && std::strchr("diouxX", c) != nullptr; }

// Skips up to two digits; false when there are more.
bool SkipSmallNumber(const char*& p) noexcept {
  int digits = 0;
  while (IsDigit(*p)) {
    ++p;
    if (++digits > 2) return false;
  }
  return true;
}

// True when the format prints one int safely: exactly one integer directive and nothing
// else but "%%". Anything else would read arguments that are not there.
bool IsSingleIntegerFormat(const char* format) noexcept {
  int directives = 0;
  for (const char* p = format; *p; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    while (IsFlag(*p)) ++p;
    if (!SkipSmallNumber(p)) return false;
    if (*p == '.') {
      ++p;
      if (!SkipSmallNumber(p)) return false;
    }
    if (!IsIntegerConversion(*p)) return false;
    ++directives;
  }
  return directives == 1;
}

// Calls visit(record, k) for each connected, existing channel in first … first + count − 1,
// with k counting those channels from 0.
template <class Visit>
void ForEachConnected(OwnedPtrList<ChannelRecord>* records, int first, int count, Visit visit) noexcept {
  if (!records || count <= 0) return;
  const int64_t begin = std::max<int64_t>(first, 0);
  const int64_t end = std::min<int64_t>(static_cast<int64_t>(first) + count, records->Count());
  int k = 0;
  for (int64_t c = begin; c < end; ++c) {
    ChannelRecord* record = records->Get(static_cast<int>(c));
    if (record->connected) visit(*record, k++);
  }
}

}  // namespace

int ChannelLayout::BusCount(int direction) const noexcept {
  if (direction == Input) return inputBuses.Count();
  if (direction == Output) return outputBuses.Count();
  return 0;
}

const BusSpec* ChannelLayout::Bus(int direction, int index) const noexcept {
  if (direction == Input) return inputBuses.Get(index);
  if (direction == Output) return outputBuses.Get(index);
  return nullptr;
}

int64_t ChannelLayout::ChannelTotal(int direction) const noexcept {
  int64_t total = 0;
  for (int b = 0; b < BusCount(direction); ++b) total += Bus(direction, b)->channelCount;
  return total;
}

IAudioProcessor::IAudioProcessor(const PluginConfig& config) noexcept
    : pluginKind(config.pluginKind),
      midiIn(config.midiIn),
      midiOut(config.midiOut),
      mpe(config.mpe),
      latency(config.latency) {
  ParseChannelIO(config.channelIO);
}

IAudioProcessor::~IAudioProcessor() = default;

void IAudioProcessor::ParseChannelIO(const char* text) noexcept {
  // Totals start at 0: a layout whose total is negative (wildcards) sizes nothing.
  int64_t mostInputs = 0;
  int64_t mostOutputs = 0;
  const char* p = text ? text : "";
  const char* const end = p + std::strlen(p);
  while (p < end) {
    const char* tokenEnd = std::find(p, end, ' ');
    if (tokenEnd != p) {
      if (auto* layout = new (std::nothrow) ChannelLayout) {
        const char* dash = std::find(p, tokenEnd, '-');
        mostInputs = std::max(mostInputs, ParseBuses(p, dash, Input, layout->inputBuses));
        if (dash != tokenEnd)
          mostOutputs = std::max(mostOutputs, ParseBuses(dash + 1, tokenEnd, Output, layout->outputBuses));
        if (!layouts.Add(layout)) delete layout;
      }
    }
    p = tokenEnd == end ? end : tokenEnd + 1;
  }
  CreateChannels(Input, mostInputs);
  CreateChannels(Output, mostOutputs);
}

void IAudioProcessor::CreateChannels(int direction, int64_t count) noexcept {
  const int wanted = static_cast<int>(std::clamp<int64_t>(count, 0, kMaxChannels));
  PtrList<double>& pointers = channelPointers[direction];
  // The array must be complete before records take the addresses of its entries.
  while (pointers.Count() < wanted) {
    const int before = pointers.Count();
    pointers.Add(nullptr);
    if (pointers.Count() == before) break;
  }
  OwnedPtrList<ChannelRecord>& records = *Records(direction);
  for (int c = 0; c < pointers.Count(); ++c) {
    auto* record = new (std::nothrow) ChannelRecord;
    if (!record) break;
    record->pointerEntry = pointers.begin() + c;
    if (!records.Add(record)) {
      delete record;
      break;
    }
  }
}

OwnedPtrList<ChannelRecord>* IAudioProcessor::Records(int direction) noexcept {
  if (direction == Input) return &inputChannels;
  if (direction == Output) return &outputChannels;
  return nullptr;
}

const OwnedPtrList<ChannelRecord>* IAudioProcessor::Records(int direction) const noexcept {
  return const_cast<IAudioProcessor*>(this)->Records(direction);
}

void IAudioProcessor::ProcessAudioBlock(double** inputs, double** outputs, int frames) {
  if (!outputs || frames <= 0) return;
  const size_t bytes = static_cast<size_t>(frames) * sizeof(double);
  const int inputCount = inputs ? MaxInputChannels() : 0;
  for (int c = 0; c < MaxOutputChannels(); ++c) {
    double* out = outputs[c];
    if (!out) continue;
    const double* in = c < inputCount ? inputs[c] : nullptr;
    if (!in) {
      std::memset(out, 0, bytes);
    } else if (in != out) {
      std::memmove(out, in, bytes);
    }
  }
}

void IAudioProcessor::ReservedHook() {}

void IAudioProcessor::HandleMidiInput(const MidiMessage& message) { EmitMidi(message); }

void IAudioProcessor::HandleSysExInput(const SysExRecord&) {}

void IAudioProcessor::ResetProcessing() {}

void IAudioProcessor::ActivationChanged(bool) {}

bool IAudioProcessor::EmitMidi(const MidiMessage&) { return false; }

bool IAudioProcessor::EmitMidiList(const MidiMessage* messages, int count) {
  if (count <= 0) return true;
  if (!messages) return false;
  bool all = true;
  for (int i = 0; i < count; ++i) all = EmitMidi(messages[i]) && all;
  return all;
}

bool IAudioProcessor::EmitSysEx(const SysExRecord&) { return false; }

void IAudioProcessor::DescribeBus(int direction, int busIndex, int busCount, ShortText& out) {
  if (direction == Output) {
    if (busCount == 1)
      out.Set("Output", kBusNameChars);
    else
      out.SetFormatted(kBusNameChars, "Output %i", busIndex);
  } else if (direction == Input) {
    if (busCount == 1)
      out.Set("Input", kBusNameChars);
    else if (busCount == 2)
      out.Set(busIndex == 0 ? "Main" : "Aux", kBusNameChars);
    else
      out.SetFormatted(kBusNameChars, "Input %i", busIndex);
  } else {
    out.Set("");
  }
}

void IAudioProcessor::ChangeLatency(int samples) { latency.store(samples, std::memory_order_relaxed); }

void IAudioProcessor::ChangeTail(int samples) { tailSize.store(samples, std::memory_order_relaxed); }

int IAudioProcessor::ConnectedChannelCount(int direction) const noexcept {
  const auto* records = Records(direction);
  if (!records) return 0;
  int n = 0;
  for (const ChannelRecord* record : *records) n += record->connected ? 1 : 0;
  return n;
}

bool IAudioProcessor::LegalIO(int inputs, int outputs) const noexcept {
  for (const ChannelLayout* layout : layouts) {
    if ((inputs == -1 || layout->ChannelTotal(Input) == inputs) &&
        (outputs == -1 || layout->ChannelTotal(Output) == outputs))
      return true;
  }
  return false;
}

int IAudioProcessor::MostBuses(int direction, int* layoutIndex) const noexcept {
  int most = 0;
  int at = -1;
  if (direction == Input || direction == Output) {
    for (int i = 0; i < layouts.Count(); ++i) {
      const int n = layouts.Get(i)->BusCount(direction);
      if (n >= most) {
        most = n;
        at = i;
      }
    }
  }
  if (layoutIndex) *layoutIndex = at;
  return most;
}

void IAudioProcessor::MarkChannelsConnected(int direction, int first, int count, bool connected) noexcept {
  auto* records = Records(direction);
  if (!records || count <= 0) return;
  const int64_t begin = std::max<int64_t>(first, 0);
  const int64_t end = std::min<int64_t>(static_cast<int64_t>(first) + count, records->Count());
  for (int64_t c = begin; c < end; ++c) {
    ChannelRecord* record = records->Get(static_cast<int>(c));
    record->connected = connected;
    if (!connected) {
      *record->pointerEntry = record->Samples();
      record->hostOutput32 = nullptr;
      record->bound = false;
    }
  }
}

int IAudioProcessor::FramesToRun(int frames) const noexcept { return std::clamp(frames, 0, blockSize); }

void IAudioProcessor::BindSilence(int direction, ChannelRecord& record) noexcept {
  double* scratch = record.Samples();
  *record.pointerEntry = scratch;
  record.hostOutput32 = nullptr;
  record.bound = true;
  if (direction == Input && scratch && record.scratchHoldsAudio) {
    std::memset(scratch, 0, static_cast<size_t>(blockSize) * sizeof(double));
    record.scratchHoldsAudio = false;
  }
}

void IAudioProcessor::BindHostBuffers(int direction, int first, int count, double* const* hostPointers,
                                      int) noexcept {
  ForEachConnected(Records(direction), first, count, [&](ChannelRecord& record, int k) {
    double* host = hostPointers ? hostPointers[k] : nullptr;
    if (!host) return BindSilence(direction, record);
    *record.pointerEntry = host;
    record.hostOutput32 = nullptr;
    record.bound = true;
  });
}

void IAudioProcessor::BindHostBuffers(int direction, int first, int count, float* const* hostPointers,
                                      int frames) noexcept {
  const int n = FramesToRun(frames);
  ForEachConnected(Records(direction), first, count, [&](ChannelRecord& record, int k) {
    float* host = hostPointers ? hostPointers[k] : nullptr;
    if (!host) return BindSilence(direction, record);
    double* scratch = record.Samples();
    *record.pointerEntry = scratch;
    record.bound = true;
    if (direction == Output) {
      record.hostOutput32 = host;
      return;
    }
    record.hostOutput32 = nullptr;
    for (int i = 0; i < n; ++i) scratch[i] = host[i];
    record.scratchHoldsAudio = n > 0;
  });
}

void IAudioProcessor::RunBlock(int frames) noexcept { RunBound(frames, false); }

void IAudioProcessor::RunBlockAccumulating(int frames) noexcept { RunBound(frames, true); }

void IAudioProcessor::RunBound(int frames, bool accumulate) noexcept {
  const int n = FramesToRun(frames);
  if (n > 0) {
    // An unbound input's scratch may still hold samples converted for an earlier block.
    for (ChannelRecord* record : inputChannels) {
      if (record->bound || !record->scratchHoldsAudio) continue;
      std::memset(record->Samples(), 0, static_cast<size_t>(blockSize) * sizeof(double));
      record->scratchHoldsAudio = false;
    }

    ProcessAudioBlock(channelPointers[Input].begin(), channelPointers[Output].begin(), n);

    for (ChannelRecord* record : outputChannels) {
      float* host = record->hostOutput32;
      if (!record->connected || !host) continue;
      const double* scratch = record->Samples();
      if (accumulate) {
        for (int i = 0; i < n; ++i) host[i] += static_cast<float>(scratch[i]);
      } else {
        for (int i = 0; i < n; ++i) host[i] = static_cast<float>(scratch[i]);
      }
    }
  }
  // Host buffers are valid for one block only: never reach one from a later block.
  for (auto* records : {&inputChannels, &outputChannels}) {
    for (ChannelRecord* record : *records) {
      *record->pointerEntry = record->Samples();
      record->hostOutput32 = nullptr;
      record->bound = false;
    }
  }
}

bool IAudioProcessor::ResizeBlock(int frames) noexcept {
  if (frames < 0 || frames > INT_MAX / static_cast<int>(sizeof(double))) return false;
  if (frames == blockSize) return true;
  const int bytes = frames * static_cast<int>(sizeof(double));
  bool ok = true;
  for (auto* records : {&inputChannels, &outputChannels})
    for (ChannelRecord* record : *records)
      if (bytes > 0 && !record->scratch.Resize(bytes)) ok = false;
  if (!ok || bytes == 0) {
    for (auto* records : {&inputChannels, &outputChannels})
      for (ChannelRecord* record : *records) record->scratch.Resize(0);
  }
  blockSize = ok ? frames : 0;
  for (auto* records : {&inputChannels, &outputChannels}) {
    for (ChannelRecord* record : *records) {
      if (blockSize > 0) std::memset(record->Samples(), 0, static_cast<size_t>(bytes));
      record->scratchHoldsAudio = false;
      *record->pointerEntry = record->Samples();
      record->hostOutput32 = nullptr;
      record->bound = false;
    }
  }
  return ok;
}

void IAudioProcessor::LabelChannel(int direction, int channel, const char* format, bool zeroBased) noexcept {
  auto* records = Records(direction);
  ChannelRecord* record = records ? records->Get(channel) : nullptr;
  if (!record) return;
  if (format && IsSingleIntegerFormat(format))
    record->channelLabel.SetFormatted(kLabelChars, format, zeroBased ? channel : channel + 1);
  else
    record->channelLabel.Set(format, kLabelChars);
}

const char* IAudioProcessor::ChannelLabelOf(int direction, int channel) const noexcept {
  const auto* records = Records(direction);
  const ChannelRecord* record = records ? records->Get(channel) : nullptr;
  return record ? record->channelLabel.Get() : "";
}

}  // namespace framework
