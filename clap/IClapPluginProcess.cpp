// The audio side of the CLAP binding: process, the host's input events and the events
// that go back to the host.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "clap/IClapPlugin.h"

using framework::MidiMessage;
using framework::SysExRecord;

namespace {

// An event of at least sizeof(Event) bytes, copied out so that its alignment does not matter.
template <class Event>
bool Read(const clap_event_header_t& header, Event& event) noexcept {
  if (header.size < sizeof(Event)) return false;
  std::memcpy(&event, &header, sizeof(Event));
  return true;
}

int32_t OffsetOf(uint32_t time) noexcept { return static_cast<int32_t>(std::min<uint32_t>(time, INT32_MAX)); }

uint32_t TimeOf(int32_t offset) noexcept { return static_cast<uint32_t>(std::max(offset, 0)); }

clap_event_header_t Header(uint32_t size, uint32_t time, uint16_t type) noexcept {
  return {size, time, CLAP_CORE_EVENT_SPACE_ID, type, 0};
}

template <class Sample>
Sample* const* ChannelsOf(const clap_audio_buffer_t& buffer) noexcept;
template <>
float* const* ChannelsOf<float>(const clap_audio_buffer_t& buffer) noexcept {
  return buffer.data32;
}
template <>
double* const* ChannelsOf<double>(const clap_audio_buffer_t& buffer) noexcept {
  return buffer.data64;
}

// Gathers the channel pointers of the buffers in order, `offset` frames in, at most
// `capacity` of them (surplus channels are ignored). Missing pointers stay null.
template <class Sample>
int Gather(const clap_audio_buffer_t* buffers, uint32_t count, uint32_t offset, Sample** out, int capacity) noexcept {
  int n = 0;
  for (uint32_t b = 0; b < count && n < capacity; ++b) {
    Sample* const* channels = ChannelsOf<Sample>(buffers[b]);
    for (uint32_t c = 0; c < buffers[b].channel_count && n < capacity; ++c) {
      Sample* samples = channels ? channels[c] : nullptr;
      out[n++] = samples ? samples + offset : nullptr;
    }
  }
  return n;
}

template <class Sample>
bool Silent(const Sample* samples, uint32_t frames) noexcept {
  if (!samples) return true;
  for (uint32_t i = 0; i < frames; ++i)
    if (!(samples[i] == Sample(0))) return false;  // a NaN is not silence
  return true;
}

bool WantsDouble(const clap_process_t& process) noexcept {
  if (process.audio_inputs_count > 0 && process.audio_inputs[0].channel_count > 0)
    return process.audio_inputs[0].data64 != nullptr;
  if (process.audio_outputs_count > 0 && process.audio_outputs[0].channel_count > 0)
    return process.audio_outputs[0].data64 != nullptr;
  return false;
}

}  // namespace

clap_process_status IClapPlugin::PluginProcess(const clap_process_t* process) noexcept {
  if (!process || (process->audio_inputs_count > 0 && !process->audio_inputs) ||
      (process->audio_outputs_count > 0 && !process->audio_outputs))
    return CLAP_PROCESS_ERROR;
  // Before an activation there are no buffers to process into.
  if (!IsActive() || BlockSize() <= 0) return CLAP_PROCESS_ERROR;

  if (process->transport) ReadTransport(*process->transport);
  HandleHostEvents(process->in_events);
  MidiMessage midi;
  while (PopMidiFromEditor(midi)) HandleMidiInput(midi);
  SysExRecord sysex;
  while (PopSysExFromEditor(sysex)) EmitSysEx(sysex);

  const bool allSilent = WantsDouble(*process) ? RunHostBlock(*process, hostPointers64.get())
                                               : RunHostBlock(*process, hostPointers32.get());

  FlushParamsToHost(process->out_events);
  MergeMessagesToHost(process->out_events, static_cast<int>(std::min<uint32_t>(process->frames_count, INT32_MAX)));
  if (tailChanged.load(std::memory_order_relaxed) && tailChanged.exchange(false)) host.TailChanged();
  return BlockStatus(allSilent, process->frames_count);
}

void IClapPlugin::ReadTransport(const clap_event_transport_t& clap) noexcept {
  constexpr double kFactor = static_cast<double>(CLAP_BEATTIME_FACTOR);
  framework::TransportInfo info;
  if (clap.flags & CLAP_TRANSPORT_HAS_TEMPO) info.tempo = clap.tempo;
  if (clap.flags & CLAP_TRANSPORT_HAS_SECONDS_TIMELINE)
    info.samplePosition = static_cast<double>(clap.song_pos_seconds) / static_cast<double>(CLAP_SECTIME_FACTOR) * SampleRate();
  if (clap.flags & CLAP_TRANSPORT_HAS_BEATS_TIMELINE) {
    info.musicalPosition = static_cast<double>(clap.song_pos_beats) / kFactor;
    info.barStart = static_cast<double>(clap.bar_start) / kFactor;
    info.loopStart = static_cast<double>(clap.loop_start_beats) / kFactor;
    info.loopEnd = static_cast<double>(clap.loop_end_beats) / kFactor;
  }
  if (clap.flags & CLAP_TRANSPORT_HAS_TIME_SIGNATURE) {
    info.timeSigNumerator = clap.tsig_num;
    info.timeSigDenominator = clap.tsig_denom;
  }
  info.playing = (clap.flags & CLAP_TRANSPORT_IS_PLAYING) != 0;
  info.loopActive = (clap.flags & CLAP_TRANSPORT_IS_LOOP_ACTIVE) != 0;
  Transport() = info;
}

// Binds the host's channels in one precision and runs the block, in pieces no longer than
// the block size of the activation. Returns whether the inputs were silent, when that
// matters for the tail.
template <class Sample>
bool IClapPlugin::RunHostBlock(const clap_process_t& process, Sample** pointers) noexcept {
  const uint32_t frames = process.frames_count;
  const int32_t tail = TailOf();
  const bool testSilence = !hostTailUsable && tail != 0 && tail != kInfiniteTail;
  bool allSilent = true;

  const int nIn = Gather(process.audio_inputs, process.audio_inputs_count, 0, pointers, hostPointerCount);
  if (testSilence)
    for (int c = 0; c < nIn && allSilent; ++c) allSilent = Silent(pointers[c], frames);
  const int nOut = Gather(process.audio_outputs, process.audio_outputs_count, 0, pointers, hostPointerCount);
  MarkChannelsConnected(framework::Input, 0, MaxInputChannels(), false);
  MarkChannelsConnected(framework::Input, 0, nIn, true);
  MarkChannelsConnected(framework::Output, 0, MaxOutputChannels(), false);
  MarkChannelsConnected(framework::Output, 0, nOut, true);

  const uint32_t piece = static_cast<uint32_t>(BlockSize());
  uint32_t done = 0;
  do {
    const uint32_t n = std::min(piece, frames - done);
    if (nIn > 0) {
      Gather(process.audio_inputs, process.audio_inputs_count, done, pointers, hostPointerCount);
      BindHostBuffers(framework::Input, 0, nIn, pointers, static_cast<int>(n));
    }
    if (nOut > 0) {
      Gather(process.audio_outputs, process.audio_outputs_count, done, pointers, hostPointerCount);
      BindHostBuffers(framework::Output, 0, nOut, pointers, static_cast<int>(n));
    }
    RunBlock(static_cast<int>(n));
    done += n;
  } while (done < frames);
  return allSilent;
}

clap_process_status IClapPlugin::BlockStatus(bool allSilent, uint32_t frames) noexcept {
  if (hostTailUsable) return CLAP_PROCESS_TAIL;
  const int32_t tail = TailOf();
  if (tail == 0) return CLAP_PROCESS_CONTINUE_IF_NOT_QUIET;
  if (tail == kInfiniteTail) return CLAP_PROCESS_CONTINUE;
  silentFrames = allSilent ? static_cast<int32_t>(std::min<int64_t>(tail, int64_t{silentFrames} + frames)) : 0;
  return silentFrames < tail ? CLAP_PROCESS_CONTINUE : CLAP_PROCESS_SLEEP;
}

// ---- Events from the host -------------------------------------------------------------------

void IClapPlugin::MidiFromHost(const MidiMessage& message) noexcept {
  HandleMidiInput(message);
  QueueMidiForEditor(message);
}

void IClapPlugin::HandleHostEvents(const clap_input_events_t* events) noexcept {
  if (!events || !events->size || !events->get) return;
  for (uint32_t i = 0; i < events->size(events); ++i) {
    const clap_event_header_t* header = events->get(events, i);
    if (!header || header->size < sizeof(clap_event_header_t) || header->space_id != CLAP_CORE_EVENT_SPACE_ID) continue;
    const int32_t offset = OffsetOf(header->time);
    switch (header->type) {
      case CLAP_EVENT_NOTE_ON:
      case CLAP_EVENT_NOTE_OFF: {
        clap_event_note_t note;
        if (!Read(*header, note)) break;
        const bool on = header->type == CLAP_EVENT_NOTE_ON;
        // A velocity outside 0 … 1 (or NaN) is clamped rather than wrapped into a byte.
        const double velocity = std::isnan(note.velocity) ? 0.0 : std::clamp(note.velocity, 0.0, 1.0);
        MidiFromHost({offset, static_cast<uint8_t>((on ? 0x90 : 0x80) | (note.channel & 0x0F)),
                      static_cast<uint8_t>(note.key & 0x7F), on ? static_cast<uint8_t>(std::lround(velocity * 127.0)) : uint8_t{0}});
        break;
      }
      case CLAP_EVENT_MIDI: {
        clap_event_midi_t event;
        if (Read(*header, event)) MidiFromHost({offset, event.data[0], event.data[1], event.data[2]});
        break;
      }
      case CLAP_EVENT_PARAM_VALUE: {
        clap_event_param_value_t event;
        if (!Read(*header, event) || event.param_id >= static_cast<clap_id>(ParamCount())) break;
        const int index = static_cast<int>(event.param_id);
        framework::IParam* param = GetParam(index);
        if (param->Kind() == framework::IParam::Kind::Continuous)
          param->StoreNormalised(event.value);
        else
          param->Store(event.value);
        // The editor gets the value as stored: confined, never NaN.
        QueueParamForEditor(index, param->Current(), false);
        OnParamChange(index, framework::ParamSource::Host, offset);
        break;
      }
      case CLAP_EVENT_MIDI_SYSEX: {
        clap_event_midi_sysex_t event;
        if (!Read(*header, event) || (!event.buffer && event.size > 0)) break;
        SysExRecord record;
        record.offset = offset;
        // Longer messages are cut to what a record holds.
        record.size = static_cast<int32_t>(std::min<uint32_t>(event.size, SysExRecord::kCapacity));
        if (record.size > 0) std::memcpy(record.data, event.buffer, static_cast<size_t>(record.size));
        HandleSysExInput(record);
        QueueSysExForEditor(record);
        break;
      }
      default:
        break;
    }
  }
}

// ---- Events to the host ---------------------------------------------------------------------

void IClapPlugin::FlushParamsToHost(const clap_output_events_t* events) noexcept {
  if (!events || !events->try_push) return;
  ParamToHost entry;
  while (paramsToHost.Pop(entry)) {
    const clap_id id = static_cast<clap_id>(entry.paramIdx);
    if (entry.kind == ParamToHost::GestureBegin || entry.kind == ParamToHost::GestureEnd) {
      const clap_event_param_gesture_t event = {
          Header(sizeof(clap_event_param_gesture_t), 0,
                 entry.kind == ParamToHost::GestureBegin ? CLAP_EVENT_PARAM_GESTURE_BEGIN : CLAP_EVENT_PARAM_GESTURE_END),
          id};
      events->try_push(events, &event.header);
    } else {
      const clap_event_param_value_t event = {Header(sizeof(clap_event_param_value_t), 0, CLAP_EVENT_PARAM_VALUE),
                                              id, nullptr, -1, -1, -1, -1, entry.value};
      events->try_push(events, &event.header);
    }
  }
}

void IClapPlugin::MergeMessagesToHost(const clap_output_events_t* events, int frames) noexcept {
  const bool canPush = events && events->try_push;
  for (;;) {
    const SysExRecord* sysex = sysExToHost.Next();
    const MidiMessage* midi = midiToHost.Next();
    const int32_t ts = sysex ? sysex->offset : frames;
    const int32_t tm = midi ? midi->offset : frames;
    if ((!sysex && !midi) || std::min(ts, tm) >= frames) break;
    if (sysex && ts <= tm) {
      if (canPush) {
        clap_event_midi_sysex_t event = {};
        event.header = Header(sizeof event, TimeOf(ts), CLAP_EVENT_MIDI_SYSEX);
        event.buffer = sysex->data;
        event.size = static_cast<uint32_t>(sysex->size);
        events->try_push(events, &event.header);
      }
      sysExToHost.Advance();
      continue;
    }
    if (canPush) {
      const int high = midi->status >> 4;
      if (high == 0x9 || high == 0x8) {
        clap_event_note_t event = {};
        event.header = Header(sizeof event, TimeOf(tm), high == 0x9 ? CLAP_EVENT_NOTE_ON : CLAP_EVENT_NOTE_OFF);
        event.note_id = -1;
        event.channel = static_cast<int16_t>(midi->status & 0x0F);
        event.key = midi->data1;
        event.velocity = midi->data2 / 127.0;
        events->try_push(events, &event.header);
      } else {
        clap_event_midi_t event = {};
        event.header = Header(sizeof event, TimeOf(tm), CLAP_EVENT_MIDI);
        event.data[0] = midi->status;
        event.data[1] = midi->data1;
        event.data[2] = midi->data2;
        events->try_push(events, &event.header);
      }
    }
    midiToHost.Advance();
  }
  sysExToHost.FinishBlock(frames);
  midiToHost.FinishBlock(frames);
}

bool IClapPlugin::EmitMidi(const MidiMessage& message) {
  midiToHost.Insert(message);
  return true;
}

bool IClapPlugin::EmitSysEx(const SysExRecord& message) {
  SysExRecord record = message;
  record.size = std::clamp(record.size, 0, SysExRecord::kCapacity);
  sysExToHost.Insert(record);
  return true;
}
