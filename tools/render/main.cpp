// korvel-render: loads the built Korvel.clap as a host does, streams a sound file (or the
// demo signal) through it, and writes what its editor shows as PNG.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "graphics/skia/PngEncoding.h"
#include "tools/render/AudioSource.h"
#include "tools/render/ClapModule.h"
#include "tools/render/OffscreenHost.h"
#include "tools/render/RenderOptions.h"

namespace {

constexpr const char* kUsage =
    "usage: korvel-render [options] [AUDIO_FILE]\n"
    "  AUDIO_FILE            WAV, AIFF, FLAC, ... (without one: the demo signal)\n"
    "  --plugin PATH         the module to load (default: Korvel.clap beside this tool)\n"
    "  --param NAME=VALUE    set a parameter by name or id, to its text or number (repeatable)\n"
    "  --domain time|freq|phase\n"
    "  --freeze-at SECONDS   show the display as it was at that time of the stream\n"
    "  --scale S             draw scale of the editor (default 1)\n"
    "  --seconds S           length of the demo signal (default 1.5)\n"
    "  -o PATH               the PNG to write (default korvel.png)\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "korvel-render: %s\n", message.c_str());
  return 1;
}

std::string BesideThisTool(const char* name) {
  std::error_code ignored;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ignored);
  return (self.empty() ? std::filesystem::path(name) : self.parent_path() / name).string();
}

// The editor keeps its last draw scale in the user's settings when it closes. The tool
// draws at the scale it is asked for and leaves the user's setting alone: the plug-in
// gets a settings folder of its own for this run.
class PrivateSettings {
public:
  PrivateSettings() {
    char folder[] = "/tmp/korvel-render-XXXXXX";
    if (mkdtemp(folder)) {
      path = folder;
      setenv("XDG_CONFIG_HOME", folder, 1);
    }
  }
  ~PrivateSettings() {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
  }
  PrivateSettings(const PrivateSettings&) = delete;
  PrivateSettings& operator=(const PrivateSettings&) = delete;

private:
  std::string path;
};

int Render(const RenderOptions& options) {
  std::string error;
  std::unique_ptr<AudioSource> source;
  if (!options.audioFile.empty()) {
    source = AudioSource::OpenFile(options.audioFile, error);
    if (!source) return Fail(error);
  } else {
    source = AudioSource::Demo(options.seconds, 48000.0);
  }

  const PrivateSettings settings;
  ClapModule module;
  if (!module.Load(options.plugin.empty() ? BesideThisTool("Korvel.clap") : options.plugin, error)) return Fail(error);
  OffscreenHost host;
  if (!host.Create(module.Factory(), error)) return Fail(error);

  // The demo shows its aux pair too; anything given on the command line comes after.
  std::vector<std::pair<std::string, std::string>> requests;
  if (options.audioFile.empty()) requests = {{"Input 3", "on"}, {"Input 4", "on"}};
  if (!options.domain.empty()) requests.emplace_back("Domain", options.domain);
  requests.insert(requests.end(), options.params.begin(), options.params.end());
  std::vector<OffscreenHost::ParamSetting> settingsToSend;
  for (const auto& [key, text] : requests) {
    OffscreenHost::ParamSetting setting;
    if (!host.ResolveParam(key, text, setting, error)) return Fail(error);
    settingsToSend.push_back(setting);
  }

  if (!host.Activate(source->SampleRate(), error)) return Fail(error);
  if (!host.OpenEditor(static_cast<float>(options.scale), error)) return Fail(error);

  // Audio time drives the display: a timer tick per timer period of streamed audio.
  const double rate = source->SampleRate();
  const double tickSeconds = std::max<uint32_t>(host.TimerPeriodMs(), 1) / 1000.0;
  const auto endFrame = options.freezeAt >= 0.0 ? static_cast<int64_t>(options.freezeAt * rate) : INT64_MAX;
  std::vector<float> buffers[AudioSource::kChannels];
  float* channels[AudioSource::kChannels];
  for (int c = 0; c < AudioSource::kChannels; ++c) {
    buffers[c].assign(OffscreenHost::kMaxFrames, 0.0f);
    channels[c] = buffers[c].data();
  }
  int64_t streamed = 0;
  double nextTick = 0.0;
  host.Process(channels, 0, settingsToSend);  // the settings arrive before any audio
  host.FireTimers();
  while (streamed < endFrame) {
    const int want = static_cast<int>(std::min<int64_t>(OffscreenHost::kMaxFrames, endFrame - streamed));
    const int got = source->Read(channels, want);
    if (got <= 0) break;
    host.Process(channels, static_cast<uint32_t>(got), {});
    streamed += got;
    for (; static_cast<double>(streamed) / rate >= nextTick; nextTick += tickSeconds) host.FireTimers();
  }
  // A freeze time the audio never reached would silently show its last frame instead.
  if (options.freezeAt >= 0.0 && streamed < endFrame) {
    char message[160];
    std::snprintf(message, sizeof message, "--freeze-at %g s is past the end of the audio (%g s)", options.freezeAt,
                  static_cast<double>(streamed) / rate);
    return Fail(message);
  }
  // A few more ticks let the display take in the last block and settle.
  for (int i = 0; i < 4; ++i) host.FireTimers();

  if (host.FramesPainted() == 0) return Fail("the editor painted no frame");
  if (!graphics::WritePngFile(options.output.c_str(), host.FramePixels().data(), host.FrameWidth(), host.FrameHeight(),
                              host.FrameRowBytes()))
    return Fail("cannot write " + options.output);
  std::printf("%s: %d × %d\n", options.output.c_str(), host.FrameWidth(), host.FrameHeight());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  RenderOptions options;
  std::string error;
  if (!ParseArguments(argc, argv, options, error)) {
    if (error.empty()) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    std::fprintf(stderr, "korvel-render: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  return Render(options);
}
