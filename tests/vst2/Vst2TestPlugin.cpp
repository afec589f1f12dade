// A plug-in of the tests, built into its own VST2 module: small parameters of every kind, two
// presets, a stereo layout, and an editor whose keys act like a user (dragging a control,
// resizing, sending MIDI and SysEx), so that the binding's editor paths run as a host sees them.
#include <cstdio>
#include <mutex>
#include <string>

#include "framework/IAudioProcessor.h"
#include "framework/IEditorView.h"
#include "graphics/IInputTypes.h"
#include "tests/vst2/Vst2TestProbe.h"
#include "vst2/Vst2Entry.h"

namespace {

std::mutex logLock;
std::string eventLog;
std::string eventLogCopy;
Vst2TestProbe probe;
class TestPlugin;
TestPlugin* newestPlugin = nullptr;

void Log(const std::string& line) {
  const std::lock_guard guard(logLock);
  eventLog += line + "\n";
}

framework::PluginConfig TestConfig() {
  framework::PluginConfig c;
  c.paramCount = 4;
  c.presetCount = 2;
  c.channelIO = "2-2";
  c.pluginName = "Vst2 Test";
  c.productName = "Vst2 Test Product";
  c.makerName = "Test Maker";
  c.version = 0x00010203;
  c.uniqueId = framework::FourCharCode("Tst2");
  c.hasEditor = true;
  c.editorWidth = 400;
  c.editorHeight = 300;
  c.minWidth = 100;
  c.maxWidth = 2000;
  c.minHeight = 100;
  c.maxHeight = 2000;
  return c;
}

class TestEditor final : public framework::IEditorView {
public:
  explicit TestEditor(TestPlugin& owner) : plugin(owner) {}
  ~TestEditor() override { Log("editor deleted"); }

  int Width() const override { return 400; }
  int Height() const override { return 300; }
  float DrawScale() const override { return 1.0f; }
  void ResizeEditor(int, int, float, bool) override {}
  void SetScreenScale(float) override {}
  void* OpenWindow(void* parent) override {
    Log(parent ? "editor open with parent" : "editor open");
    return this;
  }
  void CloseWindow() override { Log("editor close"); }
  void ShowParamInControls(int paramIdx, double value) override {
    char line[64];
    std::snprintf(line, sizeof line, "editor shows %d %.3f", paramIdx, value);
    Log(line);
  }
  void ShowValueInControl(int, double) override {}
  void ShowMessageInControl(int, int, int, const void*) override {}
  void ShowMidiInControls(const framework::MidiMessage& message) override {
    char line[64];
    std::snprintf(line, sizeof line, "editor midi %d %d %d @%d", message.status, message.data1, message.data2,
                  message.offset);
    Log(line);
  }
  bool KeyAtMouse(const graphics::IKeyEvent& key, bool isKeyUp) override;

private:
  TestPlugin& plugin;
};

class TestPlugin final : public IVst2Plugin, public virtual framework::IAudioProcessor {
public:
  explicit TestPlugin(const Vst2CreationInfo& info) : IAudioProcessor(TestConfig()), IVst2Plugin(info, TestConfig()) {
    GetParam(0)->SetupContinuous("Gain", 0.5, 0.0, 1.0, 0.01, "dB");
    GetParam(1)->SetupEnumerated("Mode", 1, 3, "", 0, "", {"A", "B", "C"});
    GetParam(2)->SetupOnOff("Switch", false, "", 0, "", "off", "on");
    GetParam(3)->SetupInteger("Steps", 2, 0, 10, "st", framework::IParam::CannotAutomate);
    SetGraphicsFactory([this] { return new TestEditor(*this); });
    newestPlugin = this;
  }
  ~TestPlugin() override {
    Log("plugin deleted");
    if (newestPlugin == this) newestPlugin = nullptr;
  }

  void ProcessAudioBlock(double** inputs, double** outputs, int frames) override {
    IAudioProcessor::ProcessAudioBlock(inputs, outputs, frames);
    probe.transport = Transport();
    probe.offline = RenderingOffline();
    ++probe.blocks;
    if (frames > probe.largestBlock) probe.largestBlock = frames;
  }
  void HandleSysExInput(const framework::SysExRecord& message) override {
    char line[64];
    std::snprintf(line, sizeof line, "sysex in %d bytes @%d first %d last %d", message.size, message.offset,
                  message.size > 0 ? message.data[0] : -1, message.size > 0 ? message.data[message.size - 1] : -1);
    Log(line);
  }
  void OnPresetsModified() override { Log("presets modified"); }
  void OnEditorClose() override { Log("on editor close"); }
  using IVst2Plugin::OnParamChange;
  void OnParamChange(int paramIdx, framework::ParamSource source, int) override {
    if (source == framework::ParamSource::Preset || source == framework::ParamSource::Reset) return;
    Log("change " + std::to_string(paramIdx) + " " + framework::ParamSourceName(source));
  }
  void OnStateLoaded() override {
    Log("state loaded");
    IVst2Plugin::OnStateLoaded();
  }
};

// Keys stand for what a user does in the editor.
bool TestEditor::KeyAtMouse(const graphics::IKeyEvent& key, bool isKeyUp) {
  char line[96];
  std::snprintf(line, sizeof line, "key %s vk %d text %d S%d C%d A%d", isKeyUp ? "up" : "down", key.vk,
                static_cast<unsigned char>(key.utf8[0]), key.S, key.C, key.A);
  Log(line);
  if (isKeyUp) return key.utf8[0] != 'n';
  switch (key.utf8[0]) {
    case 'g':  // drag the Gain control
      plugin.EditorGestureBegin(0);
      plugin.EditorSetsParam(0, 0.25);
      plugin.EditorSetsParam(0, 0.75);
      plugin.EditorGestureEnd(0);
      return true;
    case 'r': {  // ask for the current size, then for twice it
      const bool same = plugin.EditorRequestsSize(400, 300, true);
      const bool doubled = plugin.EditorRequestsSize(800, 600, true);
      std::snprintf(line, sizeof line, "resize answers %d %d", same, doubled);
      Log(line);
      return true;
    }
    case 'l':
      plugin.ChangeLatency(256);
      return true;
    case 't':
      plugin.ChangeTail(1000);
      return true;
    case 'm':
      plugin.EditorSendsMidi(framework::MidiMessage{3, 0xB0, 7, 100});
      return true;
    case 's': {
      framework::SysExRecord message;
      message.offset = 5;
      message.size = 3;
      message.data[0] = 0xF0;
      message.data[1] = 0x7D;
      message.data[2] = 0xF7;
      plugin.EditorSendsSysEx(message);
      return true;
    }
    case 'n':
      return false;
    default:
      return true;
  }
}

}  // namespace

IVst2Plugin* MakeVst2Plugin(const Vst2CreationInfo& info) { return CreateVst2Plugin<TestPlugin>(info); }

extern "C" __attribute__((visibility("default"))) const char* Vst2TestEvents() {
  const std::lock_guard guard(logLock);
  eventLogCopy = eventLog;
  return eventLogCopy.c_str();
}

extern "C" __attribute__((visibility("default"))) void Vst2TestClear() {
  const std::lock_guard guard(logLock);
  eventLog.clear();
  probe = Vst2TestProbe{};
}

extern "C" __attribute__((visibility("default"))) void Vst2TestReadProbe(Vst2TestProbe* out) {
  *out = probe;
  if (newestPlugin) {
    out->hostCode = newestPlugin->HostCode();
    out->hostVersion = newestPlugin->HostVersion();
    out->connectedInputs = newestPlugin->ConnectedChannelCount(framework::Input);
  }
}
