#pragma once
// A small plug-in on the framework whose binding hooks and plug-in hooks record every call,
// in order, as text such as "change 3 UI" or "host value 2 0.5".
#include <cstdio>
#include <string>
#include <vector>

#include "framework/IHostAPIBase.h"

struct RecordingPlugin : framework::IHostAPIBase {
  std::vector<std::string> calls;

  static framework::PluginConfig MakeConfig(int params, int presets) {
    framework::PluginConfig c;
    c.paramCount = params;
    c.presetCount = presets;
    c.version = 0x00040100;
    c.hasEditor = true;
    c.editorWidth = 724;
    c.editorHeight = 526;
    c.minWidth = 241;
    c.maxWidth = 2172;
    c.minHeight = 175;
    c.maxHeight = 1578;
    return c;
  }

  explicit RecordingPlugin(int paramCount = 4, int presetCount = 0) : RecordingPlugin(MakeConfig(paramCount, presetCount)) {}
  explicit RecordingPlugin(const framework::PluginConfig& config) : IHostAPIBase(config, 8) {
    for (int i = 0; i < ParamCount(); ++i) GetParam(i)->SetupContinuous("p", 0.0, 0.0, 10.0, 0.5);
  }

  void Record(const char* format, int idx, const char* text = "", double value = 0.0) {
    char line[96];
    std::snprintf(line, sizeof line, format, idx, text, value);
    calls.emplace_back(line);
  }

  using IHostAPIBase::OnParamChange;
  void OnParamChange(int idx, framework::ParamSource source, int) override {
    Record("change %d %s", idx, framework::ParamSourceName(source));
  }
  void ParamChangedForEditor(int idx, framework::ParamSource source) override {
    Record("editor %d %s", idx, framework::ParamSourceName(source));
  }
  void OnMidiShown(const framework::MidiMessage& m) override { Record("midi %d", m.status); }
  void OnSysExShown(const framework::SysExRecord& m) override { Record("sysex %d", m.size); }
  void IdleTick() override { calls.emplace_back("idle"); }

protected:
  bool HostResizeEditor(int w, int h) override {
    Record("host resize %d %s", w, std::to_string(h).c_str());
    return false;
  }
  void HostGestureBegin(int idx) override { Record("host begin %d", idx); }
  void HostGestureEnd(int idx) override { Record("host end %d", idx); }
  void HostParamChanged(int idx, double value) override { Record("host value %d%s %g", idx, "", value); }
};
