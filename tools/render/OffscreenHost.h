#pragma once
// The render tool's CLAP host: one plug-in instance from a module's factory, driven on the
// calling thread as a host's main and audio threads would drive it. It offers the plug-in
// log, thread-check, params, gui and timer support, opens the editor in Korvel's offscreen
// window API, streams audio blocks with parameter events, fires the plug-in's timers and
// keeps the last frame the editor painted. [main-thread] (everything, on one thread)
#include <cstdint>
#include <string>
#include <vector>

#include "clap/ClapDefs.h"
#include "modules/KorvelOffscreenWindow.h"

class OffscreenHost {
public:
  static constexpr int kChannels = 4;
  static constexpr uint32_t kMaxFrames = 512;

  struct ParamSetting {
    clap_id id = 0;
    double value = 0.0;
  };

  OffscreenHost();
  ~OffscreenHost();
  OffscreenHost(const OffscreenHost&) = delete;
  OffscreenHost& operator=(const OffscreenHost&) = delete;

  // Makes and initialises the factory's first plug-in; false with the reason in error.
  bool Create(const clap_plugin_factory_t* factory, std::string& error);
  // The parameter named (exactly, else ignoring case) or numbered by `key`, and the value
  // `text` means for it: for a stepped parameter one of its texts or a plain value, for a
  // continuous one its text or a number in its units ("Hold=-10"). False with the reason
  // for an unknown parameter, an unreadable value or one outside the parameter's range.
  bool ResolveParam(const std::string& key, const std::string& text, ParamSetting& setting, std::string& error);
  // activate and start_processing; the audio buffers follow the plug-in's input ports.
  bool Activate(double sampleRate, std::string& error);
  // create, set_parent with the offscreen record, then the size for the draw scale.
  bool OpenEditor(float drawScale, std::string& error);
  // One block of at most kMaxFrames frames of each channel, with these events at its start.
  void Process(const float* const channels[kChannels], uint32_t frames, const std::vector<ParamSetting>& events);
  // Fires every timer the plug-in registered, once.
  void FireTimers();
  // The period of the plug-in's first timer in milliseconds, or 0 without one.
  uint32_t TimerPeriodMs() const noexcept { return timers.empty() ? 0 : timers.front().periodMs; }

  // The last frame the editor painted: top-down premultiplied BGRA.
  int FramesPainted() const noexcept { return framesPainted; }
  const std::vector<uint8_t>& FramePixels() const noexcept { return pixels; }
  int FrameWidth() const noexcept { return frameWidth; }
  int FrameHeight() const noexcept { return frameHeight; }
  int FrameRowBytes() const noexcept { return frameRowBytes; }

private:
  struct Timer {
    clap_id id;
    uint32_t periodMs;
  };

  static OffscreenHost& Of(const clap_host_t* host) { return *static_cast<OffscreenHost*>(host->host_data); }
  static void OnFrame(void* context, const uint8_t* frame, uint32_t width, uint32_t height, uint32_t rowBytes);
  template <class Extension>
  const Extension* Ext(const char* id) const {
    return static_cast<const Extension*>(plugin->get_extension(plugin, id));
  }
  void Shutdown() noexcept;

  clap_host_t host{};
  clap_host_log_t log{};
  clap_host_thread_check_t threadCheck{};
  clap_host_params_t params{};
  clap_host_gui_t gui{};
  clap_host_timer_support_t timerSupport{};
  std::vector<Timer> timers;
  clap_id nextTimer = 1;

  const clap_plugin_t* plugin = nullptr;
  bool active = false;
  bool processing = false;
  bool editorCreated = false;
  int64_t steadyTime = 0;
  korvel_offscreen_window_t window{};
  clap_window_t clapWindow{};

  // Input channels in port order take source channels 0, 1, 2, 3; any further are silent.
  std::vector<clap_audio_buffer_t> inputs, outputs;
  std::vector<std::vector<float*>> inputPointers;
  std::vector<std::vector<float>> inputData;
  std::vector<std::vector<float*>> outputPointers;
  std::vector<std::vector<float>> outputData;
  std::vector<int> inputSource;  // per input channel, in port order: source channel or -1

  int framesPainted = 0;
  std::vector<uint8_t> pixels;
  int frameWidth = 0, frameHeight = 0, frameRowBytes = 0;
};
