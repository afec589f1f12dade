#include <gtest/gtest.h>

#include <algorithm>

#include "RecordingPlugin.h"

TEST(HostAPIBase, HostIsUnknownUntilSetAndThenLookedUp) {
  RecordingPlugin plugin;
  EXPECT_EQ(plugin.HostCode(), -1);
  EXPECT_STREQ(plugin.HostName(), "");
  plugin.SetHost("WaveLab Elements 11", 0x000B0000);
  EXPECT_EQ(plugin.HostCode(), 32);
  EXPECT_STREQ(plugin.HostName(), "WaveLab Elements 11");
  EXPECT_EQ(plugin.HostVersion(), 0x000B0000);
  plugin.SetHost(nullptr, 0);
  EXPECT_EQ(plugin.HostCode(), 0);
}

TEST(HostAPIBase, ConfigurationIsCopiedWithLimitsInOrder) {
  framework::PluginConfig c = RecordingPlugin::MakeConfig(2, 0);
  c.minWidth = 2172;
  c.maxWidth = 241;
  c.minHeight = 1578;
  c.maxHeight = 175;
  const std::string longName(200, 'n');
  c.pluginName = longName.c_str();
  c.makerName = "Marrowby Audio";
  RecordingPlugin plugin(c);
  EXPECT_EQ(plugin.MinWidth(), 241);
  EXPECT_EQ(plugin.MaxWidth(), 2172);
  EXPECT_EQ(plugin.MinHeight(), 175);
  EXPECT_EQ(plugin.MaxHeight(), 1578);
  EXPECT_EQ(std::string(plugin.PluginName()).size(), 128u);
  EXPECT_STREQ(plugin.MakerName(), "Marrowby Audio");
  EXPECT_EQ(plugin.EditorWidth(), 724);
  EXPECT_EQ(plugin.ApiKind(), 8);
  EXPECT_EQ(plugin.VersionNumber(false), 262400);
}

TEST(HostAPIBase, EditorChangesReachTheHostAndThePluginInOrder) {
  RecordingPlugin plugin;
  plugin.EditorGestureBegin(2);
  plugin.EditorSetsParam(2, 0.55);  // 5.5 of 0 … 10, step 0.5
  plugin.EditorGestureEnd(2);
  EXPECT_EQ(plugin.calls, (std::vector<std::string>{"host begin 2", "host value 2 0.55", "change 2 UI",
                                                     "editor 2 UI", "host end 2"}));
  EXPECT_DOUBLE_EQ(plugin.GetParam(2)->Current(), 5.5);
  plugin.calls.clear();
  plugin.EditorSetsParam(9, 0.5);  // no such parameter
  EXPECT_TRUE(plugin.calls.empty());
}

TEST(HostAPIBase, ResendAndResizeRequestsGoToTheHost) {
  RecordingPlugin plugin(2);
  plugin.GetParam(1)->Store(10.0);
  plugin.ResendAllParamsToHost();
  EXPECT_TRUE(plugin.EditorRequestsSize(800, 600, false));
  EXPECT_FALSE(plugin.EditorRequestsSize(800, 600, true));
  EXPECT_EQ(plugin.calls, (std::vector<std::string>{"host value 0 0", "host value 1 1", "host resize 800 600"}));
}

TEST(HostAPIBase, IdleTickDeliversQueuedHostChangesUpToTheQueueSize) {
  RecordingPlugin plugin(1);
  for (int i = 0; i < 600; ++i) plugin.QueueParamForEditor(0, 0.5, true);
  plugin.QueueParamForEditor(5, 0.5, true);  // no such parameter: not queued
  plugin.OnIdleTimer();
  EXPECT_EQ(std::count(plugin.calls.begin(), plugin.calls.end(), "editor 0 Editor Delegate"), 512);
  EXPECT_EQ(plugin.calls.back(), "idle");
  plugin.calls.clear();
  plugin.OnIdleTimer();
  EXPECT_EQ(plugin.calls, (std::vector<std::string>{"idle"}));
}

// Records the values the editor is shown, not normalised.
struct ShowingPlugin : RecordingPlugin {
  using RecordingPlugin::RecordingPlugin;
  void ShowParamInEditor(int idx, double value, bool normalised) override {
    Record("show %d%s %g", idx, "", normalised ? GetParam(idx)->Denormalise(value) : value);
  }
  void HostChanges(int idx, double value) {
    GetParam(idx)->Store(value);
    QueueParamForEditor(idx, value, false);
  }
};

TEST(HostAPIBase, ShowingEveryCurrentValueDiscardsWhatTheQueueHeld) {
  // Host changes pile up while nothing drains the queue, then the editor opens (or a state
  // loads): the editor is shown the current values and the next tick replays nothing older.
  for (bool stateLoad : {false, true}) {
    SCOPED_TRACE(stateLoad ? "state load" : "editor opened");
    ShowingPlugin plugin(2);
    for (int i = 0; i < 600; ++i) plugin.HostChanges(0, i % 10);
    plugin.HostChanges(1, 7.0);  // the queue is full: dropped
    plugin.calls.clear();
    if (stateLoad)
      plugin.OnStateLoaded();
    else
      plugin.OnEditorOpened();
    EXPECT_EQ(plugin.calls, (std::vector<std::string>{"show 0 9", "show 1 7"}));
    plugin.calls.clear();
    plugin.OnIdleTimer();
    EXPECT_EQ(plugin.calls, (std::vector<std::string>{"idle"}));
    // A change stored and queued after the opening is replayed with its value.
    plugin.HostChanges(0, 4.0);
    plugin.calls.clear();
    plugin.OnIdleTimer();
    EXPECT_EQ(plugin.calls, (std::vector<std::string>{"show 0 4", "idle"}));
  }
}

TEST(HostAPIBase, MidiAndSysExQueuesCarryMessagesAndDropWhenFull) {
  RecordingPlugin plugin;
  for (int i = 0; i < 40; ++i) plugin.EditorSendsMidi({i, 0x90, 60, 100});
  framework::MidiMessage m;
  int received = 0;
  while (plugin.PopMidiFromEditor(m)) EXPECT_EQ(m.offset, received++);
  EXPECT_EQ(received, 32);

  framework::SysExRecord big;
  big.size = 9999;  // larger than the record: kept within it
  for (int i = 0; i < 6; ++i) plugin.EditorSendsSysEx(big);
  framework::SysExRecord out;
  received = 0;
  while (plugin.PopSysExFromEditor(out)) {
    EXPECT_EQ(out.size, framework::SysExRecord::kCapacity);
    ++received;
  }
  EXPECT_EQ(received, 4);

  plugin.QueueMidiForEditor({0, 0xB0, 1, 2});
  plugin.QueueSysExForEditor(out);
  plugin.OnIdleTimer();
  EXPECT_EQ(plugin.calls, (std::vector<std::string>{"midi 176", "sysex 512", "idle"}));
}

TEST(HostAPIBase, WithoutAnEditorTheTickOnlyIdles) {
  framework::PluginConfig c = RecordingPlugin::MakeConfig(1, 0);
  c.hasEditor = false;
  RecordingPlugin plugin(c);
  plugin.QueueParamForEditor(0, 3.0, false);
  plugin.OnIdleTimer();
  EXPECT_EQ(plugin.calls, (std::vector<std::string>{"idle"}));
}

TEST(HostAPIBase, TheIdleTimerTicksEvery20MsOnTheThreadThatStartedIt) {
  using Clock = framework::PlatformTimer::Clock;
  RecordingPlugin plugin(1);
  const Clock::time_point start = Clock::now();
  plugin.StartIdleTimer();
  plugin.QueueParamForEditor(0, 5.0, false);
  framework::PlatformTimer::Pump(start + std::chrono::milliseconds(5));
  EXPECT_TRUE(plugin.calls.empty());
  const Clock::time_point later = Clock::now() + std::chrono::milliseconds(21);
  framework::PlatformTimer::Pump(later);
  EXPECT_EQ(plugin.calls, (std::vector<std::string>{"editor 0 Editor Delegate", "idle"}));
  const int nextIn = framework::PlatformTimer::NextDueIn(later);
  EXPECT_GT(nextIn, 0);
  EXPECT_LE(nextIn, 20);
}
