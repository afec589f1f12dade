#include "ClapTestHost.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <string>

namespace claptest {

// ---- Module ------------------------------------------------------------------------------

Module::Module(const std::string& modulePath) : path(modulePath) {
  // Kept mapped after dlclose, as many hosts do: an open editor leaves Skia's process-wide
  // singletons behind, which an unmapped module would turn into reported leaks.
  handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!handle) throw std::runtime_error(std::string("dlopen failed: ") + dlerror());
  entry = static_cast<const clap_plugin_entry_t*>(dlsym(handle, "clap_entry"));
  if (!entry) throw std::runtime_error("no clap_entry in " + path);
}

Module::~Module() {
  if (handle) dlclose(handle);
}

const clap_plugin_factory_t* Module::Factory() const {
  return static_cast<const clap_plugin_factory_t*>(entry->get_factory(CLAP_PLUGIN_FACTORY_ID));
}

// ---- FakeHost ------------------------------------------------------------------------------

FakeHost& FakeHost::Of(const clap_host_t* h) { return *static_cast<FakeHost*>(h->host_data); }

void FakeHost::Record(const char* what, const char* text, int64_t value) {
  const std::lock_guard guard(lock);
  calls.push_back({what, text ? text : "(null)", value});
}

FakeHost::FakeHost(HostOptions hostOptions) : options(hostOptions), mainThread(std::this_thread::get_id()) {
  host = {};
  host.clap_version = {options.clapMajor, 2, 10};
  host.host_data = this;
  host.name = options.name;
  host.vendor = "Korvel tests";
  host.url = "";
  host.version = options.version;
  host.get_extension = [](const clap_host_t* h, const char* id) -> const void* {
    FakeHost& self = Of(h);
    self.Record("get_extension", id);
    const HostOptions& o = self.options;
    const std::string name = id ? id : "";
    if (name == CLAP_EXT_LOG && o.log) return &self.log;
    if (name == CLAP_EXT_THREAD_CHECK && o.threadCheck) return &self.threadCheck;
    if (name == CLAP_EXT_PARAMS && o.params) return &self.params;
    if (name == CLAP_EXT_LATENCY && o.latency) return &self.latency;
    if (name == CLAP_EXT_TAIL && o.tail) return &self.tail;
    if (name == CLAP_EXT_TRACK_INFO && o.trackInfo) return &self.trackInfo;
    if (name == CLAP_EXT_GUI && o.gui) return &self.gui;
    if (name == CLAP_EXT_TIMER_SUPPORT && o.timerSupport) return &self.timerSupport;
    if (name == CLAP_EXT_POSIX_FD_SUPPORT && o.posixFdSupport) return &self.posixFdSupport;
    return nullptr;
  };
  host.request_restart = [](const clap_host_t* h) { Of(h).Record("request_restart"); };
  host.request_process = [](const clap_host_t* h) { Of(h).Record("request_process"); };
  host.request_callback = [](const clap_host_t* h) {
    FakeHost& self = Of(h);
    self.Record("request_callback");
    {
      const std::lock_guard guard(self.lock);
      if (self.liveInstances == 0) ADD_FAILURE() << "request_callback after the last instance was destroyed";
    }
    self.callbackRequested.store(true);
    if (self.eager) self.eager->on_main_thread(self.eager);
  };

  log.log = [](const clap_host_t* h, clap_log_severity severity, const char* message) {
    Of(h).Record("log", message, severity);
  };
  threadCheck.is_main_thread = [](const clap_host_t* h) { return std::this_thread::get_id() == Of(h).mainThread; };
  threadCheck.is_audio_thread = [](const clap_host_t* h) { return std::this_thread::get_id() != Of(h).mainThread; };
  params.rescan = [](const clap_host_t* h, clap_param_rescan_flags flags) { Of(h).Record("rescan", "", flags); };
  params.clear = [](const clap_host_t* h, clap_id id, clap_param_clear_flags) { Of(h).Record("clear", "", id); };
  params.request_flush = [](const clap_host_t* h) { Of(h).Record("request_flush"); };
  if (!options.paramsComplete) params.clear = nullptr;
  latency.changed = [](const clap_host_t* h) { Of(h).Record("latency_changed"); };
  if (!options.latencyChanged) latency.changed = nullptr;
  tail.changed = [](const clap_host_t* h) { Of(h).Record("tail_changed"); };
  if (!options.tailChanged) tail.changed = nullptr;
  trackInfo.get = [](const clap_host_t* h, clap_track_info_t* info) {
    FakeHost& self = Of(h);
    self.Record("track_info_get");
    *info = {};
    info->audio_channel_count = self.options.trackChannels;
    return true;
  };
  if (!options.trackInfoGet) trackInfo.get = nullptr;
  gui = {};
  gui.request_resize = [](const clap_host_t* h, uint32_t w, uint32_t hh) {
    Of(h).Record("request_resize", (std::to_string(w) + "x" + std::to_string(hh)).c_str(), w);
    return true;
  };
  timerSupport.register_timer = [](const clap_host_t* h, uint32_t period, clap_id* id) {
    FakeHost& self = Of(h);
    self.Record("register_timer", "", period);
    if (self.options.timerRefused) return false;
    const std::lock_guard guard(self.lock);
    *id = self.nextTimer++;
    self.timers.push_back(*id);
    return true;
  };
  timerSupport.unregister_timer = [](const clap_host_t* h, clap_id id) {
    FakeHost& self = Of(h);
    self.Record("unregister_timer", "", id);
    const std::lock_guard guard(self.lock);
    const auto at = std::find(self.timers.begin(), self.timers.end(), id);
    if (at == self.timers.end()) return false;
    self.timers.erase(at);
    return true;
  };
  if (!options.timerSupportComplete) timerSupport.unregister_timer = nullptr;
  posixFdSupport.register_fd = [](const clap_host_t* h, int fd, clap_posix_fd_flags_t flags) {
    FakeHost& self = Of(h);
    self.Record("register_fd", "", flags);
    const std::lock_guard guard(self.lock);
    if (std::find(self.fds.begin(), self.fds.end(), fd) != self.fds.end()) return false;
    self.fds.push_back(fd);
    return true;
  };
  posixFdSupport.modify_fd = [](const clap_host_t* h, int, clap_posix_fd_flags_t flags) {
    Of(h).Record("modify_fd", "", flags);
    return true;
  };
  posixFdSupport.unregister_fd = [](const clap_host_t* h, int fd) {
    FakeHost& self = Of(h);
    self.Record("unregister_fd", "", fd);
    const std::lock_guard guard(self.lock);
    const auto at = std::find(self.fds.begin(), self.fds.end(), fd);
    if (at == self.fds.end()) return false;
    self.fds.erase(at);
    return true;
  };
  if (!options.posixFdSupportComplete) posixFdSupport.unregister_fd = nullptr;
}

void FakeHost::Creating() {
  const std::lock_guard guard(lock);
  ++liveInstances;
}

void FakeHost::Made(const clap_plugin_t* plugin) {
  const std::lock_guard guard(lock);
  instances.push_back(plugin);
}

void FakeHost::Destroyed(const clap_plugin_t* plugin) {
  const std::lock_guard guard(lock);
  --liveInstances;
  instances.erase(std::remove(instances.begin(), instances.end(), plugin), instances.end());
  if (!plugin || liveInstances > 0) return;
  callbackRequested.store(false);  // a host drops what it owed the destroyed instances
  // What the plug-in left registered, a real host would go on calling on a freed instance.
  EXPECT_TRUE(timers.empty()) << timers.size() << " timer(s) still registered after the plug-in was destroyed";
  EXPECT_TRUE(fds.empty()) << fds.size() << " descriptor(s) still watched after the plug-in was destroyed";
}

bool FakeHost::Reachable(const clap_plugin_t* plugin, const char* what) const {
  const std::lock_guard guard(lock);
  if (std::find(instances.begin(), instances.end(), plugin) != instances.end()) return true;
  ADD_FAILURE() << what << " would reach a destroyed instance";
  return false;
}

bool FakeHost::ServeCallback(const clap_plugin_t* plugin) {
  if (!callbackRequested.exchange(false) || !Reachable(plugin, "on_main_thread")) return false;
  plugin->on_main_thread(plugin);
  return true;
}

void FakeHost::Turn(const clap_plugin_t* plugin, int timeoutMs) {
  if (Fds().empty())
    std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
  else
    ServeFds(plugin, timeoutMs);
  FireTimers(plugin);
  ServeCallback(plugin);
}

std::vector<int> FakeHost::Fds() const {
  const std::lock_guard guard(lock);
  return fds;
}

void FakeHost::ServeFds(const clap_plugin_t* plugin, int timeoutMs) {
  std::vector<pollfd> watched;
  for (int fd : Fds()) watched.push_back({fd, POLLIN, 0});
  if (watched.empty() || !Reachable(plugin, "on_fd")) return;
  const auto* ext =
      static_cast<const clap_plugin_posix_fd_support_t*>(plugin->get_extension(plugin, CLAP_EXT_POSIX_FD_SUPPORT));
  if (!ext || poll(watched.data(), watched.size(), timeoutMs) <= 0) return;
  for (const pollfd& w : watched)
    if (w.revents) ext->on_fd(plugin, w.fd, (w.revents & POLLIN ? CLAP_POSIX_FD_READ : 0) |
                                              (w.revents & (POLLERR | POLLHUP) ? CLAP_POSIX_FD_ERROR : 0));
}

std::vector<clap_id> FakeHost::Timers() const {
  const std::lock_guard guard(lock);
  return timers;
}

void FakeHost::FireTimers(const clap_plugin_t* plugin) {
  const std::vector<clap_id> registered = Timers();
  if (registered.empty() || !Reachable(plugin, "on_timer")) return;
  const auto* ext =
      static_cast<const clap_plugin_timer_support_t*>(plugin->get_extension(plugin, CLAP_EXT_TIMER_SUPPORT));
  if (!ext) return;
  for (clap_id id : registered) ext->on_timer(plugin, id);
}

std::vector<HostCall> FakeHost::Calls() const {
  const std::lock_guard guard(lock);
  return calls;
}

int FakeHost::Count(const std::string& what) const {
  const std::lock_guard guard(lock);
  return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const HostCall& c) { return c.what == what; }));
}

std::vector<std::string> FakeHost::Logs() const {
  std::vector<std::string> logs;
  for (const HostCall& call : Calls())
    if (call.what == "log") logs.push_back(call.text);
  return logs;
}

void FakeHost::Clear() {
  const std::lock_guard guard(lock);
  calls.clear();
}

// ---- Event lists ------------------------------------------------------------------------------

InputEvents::InputEvents() {
  list.ctx = this;
  list.size = [](const clap_input_events_t* l) { return static_cast<const InputEvents*>(l->ctx)->Size(); };
  list.get = [](const clap_input_events_t* l, uint32_t i) -> const clap_event_header_t* {
    auto* self = static_cast<const InputEvents*>(l->ctx);
    if (i >= self->offsets.size()) return nullptr;
    return reinterpret_cast<const clap_event_header_t*>(self->storage.data() + self->offsets[i]);
  };
}

void InputEvents::AddBytes(const void* bytes, size_t size) {
  offsets.push_back(storage.size());
  const size_t words = (std::max(size, sizeof(clap_event_header_t)) + 7) / 8;
  storage.resize(storage.size() + words, 0);
  std::memcpy(storage.data() + offsets.back(), bytes, size);
}

OutputEvents::OutputEvents(size_t slots) : storage(slots * kSlot / 8), room(slots) {
  list.ctx = this;
  list.try_push = [](const clap_output_events_t* l, const clap_event_header_t* event) {
    auto* self = static_cast<OutputEvents*>(l->ctx);
    if (!event || self->count == self->room || event->size > kSlot) return false;
    std::memcpy(self->storage.data() + self->count * kSlot / 8, event, event->size);
    ++self->count;
    return true;
  };
}

const clap_event_header_t& OutputEvents::At(size_t i) const {
  if (i >= count) throw std::out_of_range("no such output event");
  return *reinterpret_cast<const clap_event_header_t*>(storage.data() + i * kSlot / 8);
}

// ---- Streams ------------------------------------------------------------------------------------

OutStream::OutStream(size_t maxStep, int failAt) : step(maxStep), failAtCall(failAt) {
  stream.ctx = this;
  stream.write = [](const clap_ostream_t* s, const void* buffer, uint64_t size) -> int64_t {
    auto* self = static_cast<OutStream*>(s->ctx);
    if (self->calls++ == self->failAtCall) return -1;
    const size_t n = std::min<uint64_t>(size, self->step);
    const auto* source = static_cast<const uint8_t*>(buffer);
    self->bytes.insert(self->bytes.end(), source, source + n);
    return static_cast<int64_t>(n) + self->overReport;
  };
}

InStream::InStream(std::vector<uint8_t> bytes, size_t maxStep, bool fail)
    : data(std::move(bytes)), step(maxStep), failAtEnd(fail) {
  stream.ctx = this;
  stream.read = [](const clap_istream_t* s, void* buffer, uint64_t size) -> int64_t {
    auto* self = static_cast<InStream*>(s->ctx);
    if (self->endless) {
      std::memset(buffer, 0, size);
      return static_cast<int64_t>(size);
    }
    if (self->at == self->data.size()) return self->failAtEnd ? -1 : 0;
    const size_t n = std::min<uint64_t>({size, self->step, self->data.size() - self->at});
    std::memcpy(buffer, self->data.data() + self->at, n);
    self->at += n;
    return static_cast<int64_t>(n);
  };
}

// ---- Events ----------------------------------------------------------------------------------

namespace {
clap_event_header_t Header(uint32_t size, uint32_t time, uint16_t type) {
  return {size, time, CLAP_CORE_EVENT_SPACE_ID, type, 0};
}
}  // namespace

clap_event_param_value_t ParamValue(uint32_t time, clap_id id, double value) {
  clap_event_param_value_t e = {};
  e.header = Header(sizeof e, time, CLAP_EVENT_PARAM_VALUE);
  e.param_id = id;
  e.note_id = -1;
  e.port_index = e.channel = e.key = -1;
  e.value = value;
  return e;
}

clap_event_note_t Note(uint16_t type, uint32_t time, int16_t channel, int16_t key, double velocity) {
  clap_event_note_t e = {};
  e.header = Header(sizeof e, time, type);
  e.note_id = -1;
  e.channel = channel;
  e.key = key;
  e.velocity = velocity;
  return e;
}

clap_event_midi_t Midi(uint32_t time, uint8_t status, uint8_t data1, uint8_t data2) {
  clap_event_midi_t e = {};
  e.header = Header(sizeof e, time, CLAP_EVENT_MIDI);
  e.data[0] = status;
  e.data[1] = data1;
  e.data[2] = data2;
  return e;
}

clap_event_midi_sysex_t SysEx(uint32_t time, const uint8_t* buffer, uint32_t size) {
  clap_event_midi_sysex_t e = {};
  e.header = Header(sizeof e, time, CLAP_EVENT_MIDI_SYSEX);
  e.buffer = buffer;
  e.size = size;
  return e;
}

// ---- Audio ------------------------------------------------------------------------------------

AudioBlock::AudioBlock(std::vector<uint32_t> inputChannels, std::vector<uint32_t> outputChannels, uint32_t frameCount,
                       bool useDouble)
    : frames(frameCount), doublePrecision(useDouble) {
  const auto make = [&](const std::vector<uint32_t>& counts, auto& s64, auto& s32, auto& p64, auto& p32,
                        std::vector<clap_audio_buffer_t>& buffers) {
    for (uint32_t channels : counts) {
      s64.emplace_back(channels, std::vector<double>(useDouble ? frameCount : 0));
      s32.emplace_back(channels, std::vector<float>(useDouble ? 0 : frameCount));
      p64.emplace_back();
      p32.emplace_back();
      for (uint32_t c = 0; c < channels; ++c) {
        p64.back().push_back(s64.back()[c].data());
        p32.back().push_back(s32.back()[c].data());
      }
    }
    for (size_t b = 0; b < counts.size(); ++b) {
      clap_audio_buffer_t buffer = {};
      buffer.channel_count = counts[b];
      if (useDouble)
        buffer.data64 = p64[b].data();
      else
        buffer.data32 = p32[b].data();
      buffers.push_back(buffer);
    }
  };
  make(inputChannels, in64, in32, inPointers64, inPointers32, inputs);
  make(outputChannels, out64, out32, outPointers64, outPointers32, outputs);
}

void AudioBlock::FillInputs(uint64_t seed) {
  uint64_t x = seed * 0x9E3779B97F4A7C15ull + 1;
  const auto next = [&] {
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    return (static_cast<double>(x >> 11) / 9007199254740992.0) * 2.0 - 1.0;
  };
  for (size_t b = 0; b < inputs.size(); ++b)
    for (size_t c = 0; c < inputs[b].channel_count; ++c)
      for (uint32_t i = 0; i < frames; ++i) {
        if (doublePrecision)
          in64[b][c][i] = next() / 3.0;
        else
          in32[b][c][i] = static_cast<float>(next() / 3.0);
      }
}

void AudioBlock::FillOutputs(double value) {
  for (size_t b = 0; b < outputs.size(); ++b)
    for (size_t c = 0; c < outputs[b].channel_count; ++c) {
      if (doublePrecision)
        std::fill(out64[b][c].begin(), out64[b][c].end(), value);
      else
        std::fill(out32[b][c].begin(), out32[b][c].end(), static_cast<float>(value));
    }
}

clap_process_t AudioBlock::Process(const clap_input_events_t* in, const clap_output_events_t* out,
                                   const clap_event_transport_t* transport) {
  clap_process_t p = {};
  p.steady_time = -1;
  p.frames_count = frames;
  p.transport = transport;
  p.audio_inputs = inputs.empty() ? nullptr : inputs.data();
  p.audio_outputs = outputs.empty() ? nullptr : outputs.data();
  p.audio_inputs_count = static_cast<uint32_t>(inputs.size());
  p.audio_outputs_count = static_cast<uint32_t>(outputs.size());
  p.in_events = in;
  p.out_events = out;
  return p;
}

double AudioBlock::In(size_t port, size_t channel, size_t frame) const {
  return doublePrecision ? in64[port][channel][frame] : in32[port][channel][frame];
}

double AudioBlock::Out(size_t port, size_t channel, size_t frame) const {
  return doublePrecision ? out64[port][channel][frame] : out32[port][channel][frame];
}

bool AudioBlock::OutputEqualsInput(size_t port, size_t channel) const {
  if (frames == 0) return true;
  if (doublePrecision)
    return std::memcmp(in64[port][channel].data(), out64[port][channel].data(), frames * sizeof(double)) == 0;
  return std::memcmp(in32[port][channel].data(), out32[port][channel].data(), frames * sizeof(float)) == 0;
}

// ---- Instance -----------------------------------------------------------------------------------

Instance::Instance(const clap_plugin_entry_t* entry, FakeHost& fakeHost, const char* id) : host(fakeHost) {
  auto* factory = static_cast<const clap_plugin_factory_t*>(entry->get_factory(CLAP_PLUGIN_FACTORY_ID));
  if (!factory) throw std::runtime_error("no factory: is the entry initialised?");
  host.Creating();
  plugin = factory->create_plugin(factory, host.Host(), id);
  if (!plugin) {
    host.Destroyed(nullptr);
    throw std::runtime_error("create_plugin failed");
  }
  host.Made(plugin);
}

Instance::~Instance() { Destroy(); }

void Instance::Destroy() {
  if (!plugin) return;
  plugin->destroy(plugin);
  host.Destroyed(plugin);
  plugin = nullptr;
}

void Instance::Start(double rate, uint32_t maxFrames) {
  if (!plugin->init(plugin)) throw std::runtime_error("init failed");
  if (!plugin->activate(plugin, rate, 1, maxFrames)) throw std::runtime_error("activate failed");
  if (!plugin->start_processing(plugin)) throw std::runtime_error("start_processing failed");
}

}  // namespace claptest
