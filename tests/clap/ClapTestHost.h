#pragma once
// A CLAP host of our own for the binding's tests: loads a module (or takes a linked entry),
// offers a switchable set of host extensions that record every call the plug-in makes,
// and builds the event lists, streams and audio buffers a host hands to process.
#include <atomic>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "clap/ClapDefs.h"
// The tests' module path macros call it.
#include "tests/support/ModuleUnderTest.h"

namespace claptest {

// The built Korvel.clap, opened with dlopen; only its clap_entry is used.
class Module {
public:
  explicit Module(const std::string& path);
  ~Module();
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  const clap_plugin_entry_t* Entry() const { return entry; }
  const std::string& Path() const { return path; }
  // The factory after a successful init(Path()).
  const clap_plugin_factory_t* Factory() const;

private:
  std::string path;
  void* handle = nullptr;
  const clap_plugin_entry_t* entry = nullptr;
};

// Which extensions the fake host offers, and which of their functions it leaves out.
struct HostOptions {
  bool log = true;
  bool threadCheck = true;
  bool params = true;
  bool paramsComplete = true;  // rescan, clear and request_flush all set
  bool latency = true;
  bool latencyChanged = true;
  bool tail = false;
  bool tailChanged = true;
  bool trackInfo = false;
  bool trackInfoGet = true;
  int32_t trackChannels = 2;
  bool gui = false;
  bool timerSupport = false;
  bool timerSupportComplete = true;  // register_timer and unregister_timer both set
  bool timerRefused = false;         // register_timer answers false
  bool posixFdSupport = false;
  bool posixFdSupportComplete = true;  // register_fd and unregister_fd both set
  const char* name = "Korvel Test Host";
  const char* version = "1.2.3";
  uint32_t clapMajor = 1;
};

struct HostCall {
  std::string what;  // "log", "request_callback", "rescan", ...
  std::string text;  // log message or extension id
  int64_t value = 0; // severity, flags
};

// A host that records every call made to it. Calls may arrive from any thread. It knows the
// instances made on it (Instance tells it): when the last one is destroyed, every timer and
// descriptor must have been given back, and from then on no request may reach it and none of
// its callbacks is run; each breach fails the running test.
class FakeHost {
public:
  explicit FakeHost(HostOptions options = {});
  FakeHost(const FakeHost&) = delete;
  FakeHost& operator=(const FakeHost&) = delete;

  const clap_host_t* Host() const { return &host; }
  const HostOptions& Options() const { return options; }

  std::vector<HostCall> Calls() const;
  int Count(const std::string& what) const;
  std::vector<std::string> Logs() const;
  void Clear();
  // The thread the host treats as its main thread (the creating one unless changed).
  void SetMainThread(std::thread::id id) { mainThread = id; }
  // From now on request_callback calls this plug-in's on_main_thread before it returns.
  void AnswerCallbacksAtOnce(const clap_plugin_t* plugin) { eager = plugin; }
  // Runs the plug-in's on_main_thread once when it asked for a callback since the last time;
  // true when it did.
  bool ServeCallback(const clap_plugin_t* plugin);
  // One turn of the host's main loop: waits up to timeoutMs for a watched descriptor (sleeps
  // that long without one), serves the readable ones, fires the timers, serves a callback.
  void Turn(const clap_plugin_t* plugin, int timeoutMs);
  // The timers the plug-in holds registered now, in the order it registered them.
  std::vector<clap_id> Timers() const;
  // Runs each registered timer once through the plug-in's timer-support extension.
  void FireTimers(const clap_plugin_t* plugin);
  // The descriptors the plug-in has the host watch now, in the order it registered them.
  std::vector<int> Fds() const;
  // The host's event loop: waits up to timeoutMs for a watched descriptor to become
  // readable and hands each readable one to the plug-in's posix-fd-support extension.
  void ServeFds(const clap_plugin_t* plugin, int timeoutMs);

  // Instance's notices: an instance is being made; it was made; it was destroyed (null: its
  // creation failed).
  void Creating();
  void Made(const clap_plugin_t* plugin);
  void Destroyed(const clap_plugin_t* plugin);

private:
  // False, and the test fails, unless the plug-in is a live instance of this host.
  bool Reachable(const clap_plugin_t* plugin, const char* what) const;
  static FakeHost& Of(const clap_host_t* host);
  void Record(const char* what, const char* text = "", int64_t value = 0);

  HostOptions options;
  clap_host_t host;
  clap_host_log_t log;
  clap_host_thread_check_t threadCheck;
  clap_host_params_t params;
  clap_host_latency_t latency;
  clap_host_tail_t tail;
  clap_host_track_info_t trackInfo;
  clap_host_gui_t gui;
  clap_host_timer_support_t timerSupport;
  clap_host_posix_fd_support_t posixFdSupport;
  std::vector<int> fds;
  std::vector<clap_id> timers;
  clap_id nextTimer = 7;
  std::thread::id mainThread;
  const clap_plugin_t* eager = nullptr;
  std::atomic<bool> callbackRequested{false};
  int liveInstances = 0;
  std::vector<const clap_plugin_t*> instances;
  mutable std::mutex lock;
  std::vector<HostCall> calls;
};

// An input event list over copies of the events it was given, in order.
class InputEvents {
public:
  InputEvents();
  template <class Event>
  void Add(const Event& event) {
    AddBytes(&event, sizeof event);
  }
  void AddBytes(const void* bytes, size_t size);
  const clap_input_events_t* List() const { return &list; }
  uint32_t Size() const { return static_cast<uint32_t>(offsets.size()); }

private:
  std::vector<uint64_t> storage;  // 8-byte aligned event bytes
  std::vector<size_t> offsets;    // in storage words
  clap_input_events_t list;
};

// An output event list that keeps copies of what the plug-in pushes. Its room is taken up
// front, so pushing allocates nothing.
class OutputEvents {
public:
  explicit OutputEvents(size_t room = 4096);
  const clap_output_events_t* List() const { return &list; }
  size_t Count() const { return count; }
  const clap_event_header_t& At(size_t i) const;
  template <class Event>
  Event As(size_t i) const {
    Event event;
    std::memcpy(&event, &At(i), sizeof event);
    return event;
  }
  void Clear() { count = 0; }

private:
  static constexpr size_t kSlot = 64;
  std::vector<uint64_t> storage;
  size_t room;
  size_t count = 0;
  clap_output_events_t list;
};

// Streams over a byte vector that move at most `step` bytes per call and may fail.
class OutStream {
public:
  explicit OutStream(size_t step = SIZE_MAX, int failAtCall = -1);
  const clap_ostream_t* Stream() const { return &stream; }
  std::vector<uint8_t> bytes;
  int64_t overReport = 0;  // added to what each call reports written

private:
  clap_ostream_t stream;
  size_t step;
  int failAtCall;
  int calls = 0;
};

class InStream {
public:
  explicit InStream(std::vector<uint8_t> data, size_t step = SIZE_MAX, bool failAtEnd = false);
  const clap_istream_t* Stream() const { return &stream; }
  bool endless = false;  // never reports the end

private:
  clap_istream_t stream;
  std::vector<uint8_t> data;
  size_t step;
  bool failAtEnd;
  size_t at = 0;
};

// Events with the core header filled in.
clap_event_param_value_t ParamValue(uint32_t time, clap_id id, double value);
clap_event_note_t Note(uint16_t type, uint32_t time, int16_t channel, int16_t key, double velocity);
clap_event_midi_t Midi(uint32_t time, uint8_t status, uint8_t data1, uint8_t data2);
clap_event_midi_sysex_t SysEx(uint32_t time, const uint8_t* buffer, uint32_t size);

// Host audio for one block: inputs and outputs of the given channel counts in one
// precision, each channel `frames` long.
class AudioBlock {
public:
  AudioBlock(std::vector<uint32_t> inputChannels, std::vector<uint32_t> outputChannels, uint32_t frames,
             bool doublePrecision);
  // Fills every input sample with a value whose every mantissa bit is in use.
  void FillInputs(uint64_t seed = 1);
  void FillOutputs(double value);
  clap_process_t Process(const clap_input_events_t* in = nullptr, const clap_output_events_t* out = nullptr,
                         const clap_event_transport_t* transport = nullptr);
  double In(size_t port, size_t channel, size_t frame) const;
  double Out(size_t port, size_t channel, size_t frame) const;
  bool OutputEqualsInput(size_t port, size_t channel) const;  // bit for bit

  std::vector<clap_audio_buffer_t> inputs, outputs;
  uint32_t frames;
  bool doublePrecision;

private:
  std::vector<std::vector<std::vector<double>>> in64, out64;
  std::vector<std::vector<std::vector<float>>> in32, out32;
  std::vector<std::vector<double*>> inPointers64, outPointers64;
  std::vector<std::vector<float*>> inPointers32, outPointers32;
};

// One plug-in instance made through an entry's factory on a fake host, which it keeps told;
// destroyed with the object.
class Instance {
public:
  Instance(const clap_plugin_entry_t* entry, FakeHost& host, const char* id = "com.marrowbyaudio.korvel");
  ~Instance();
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;

  const clap_plugin_t* operator->() const { return plugin; }
  const clap_plugin_t* Get() const { return plugin; }
  // Destroys it now (the destructor then does nothing).
  void Destroy();
  template <class Extension>
  const Extension* Ext(const char* id) const {
    return static_cast<const Extension*>(plugin->get_extension(plugin, id));
  }
  // init, activate and start processing.
  void Start(double rate = 48000.0, uint32_t maxFrames = 512);

private:
  FakeHost& host;
  const clap_plugin_t* plugin = nullptr;
};

}  // namespace claptest
