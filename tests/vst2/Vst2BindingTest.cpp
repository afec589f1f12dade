// The binding's paths that Korvel alone cannot show yet (an editor, presets, other kinds of
// parameters, transport), through the test module Vst2TestPlugin.so and our test host.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <climits>
#include <cstring>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Vst2TestHost.h"
#include "Vst2TestProbe.h"

namespace {

class Vst2Binding : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_NE(host.Module(), nullptr) << dlerror();
    events = reinterpret_cast<Vst2TestEventsProc>(dlsym(host.Module(), "Vst2TestEvents"));
    clear = reinterpret_cast<Vst2TestClearProc>(dlsym(host.Module(), "Vst2TestClear"));
    readProbe = reinterpret_cast<Vst2TestReadProbeProc>(dlsym(host.Module(), "Vst2TestReadProbe"));
    ASSERT_TRUE(events && clear && readProbe);
    clear();
  }

  AEffect* Open() {
    AEffect* e = host.CreateAndOpen();
    EXPECT_NE(e, nullptr);
    return e;
  }

  std::vector<std::string> Events() const {
    std::vector<std::string> lines;
    std::istringstream in(events());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  bool Logged(const std::string& line) const {
    const auto lines = Events();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  Vst2TestProbe Probe() const {
    Vst2TestProbe probe;
    readProbe(&probe);
    return probe;
  }
  VstIntPtr Key(VstInt32 character, VstIntPtr vstKey = 0, float modifiers = 0.0f, bool down = true) {
    return host.Dispatch(down ? effEditKeyDown : effEditKeyUp, character, vstKey, nullptr, modifiers);
  }
  void OpenEditor() {
    int parent = 0;
    ASSERT_EQ(host.Dispatch(effEditOpen, 0, 0, &parent), 1);
  }
  // Runs one stereo block of processReplacing.
  void Block(int frames, float value = 0.5f) {
    std::vector<float> l(frames, value), r(frames, value), outL(frames), outR(frames);
    float* in[2] = {l.data(), r.data()};
    float* out[2] = {outL.data(), outR.data()};
    host.Effect()->processReplacing(host.Effect(), in, out, frames);
  }
  // Idle calls until the editor's 20 ms timer has run (bounded; no timing is checked).
  void IdleUntilLogged(const std::string& line) {
    for (int i = 0; i < 200 && !Logged(line); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      host.Dispatch(effEditIdle);
    }
  }

  Vst2TestHost host{KORVEL_VST2_TEST_MODULE};
  Vst2TestEventsProc events = nullptr;
  Vst2TestClearProc clear = nullptr;
  Vst2TestReadProbeProc readProbe = nullptr;
};

TEST_F(Vst2Binding, RecordOfAStereoPluginWithPresets) {
  const AEffect& e = *Open();
  EXPECT_EQ(e.flags, effFlagsHasEditor | effFlagsCanReplacing | effFlagsCanDoubleReplacing) << "no mono layout";
  EXPECT_EQ(e.numPrograms, 2);
  EXPECT_EQ(e.numParams, 4);
  EXPECT_EQ(e.numInputs, 2);
  EXPECT_EQ(e.version, 10203);
  VstSpeakerArrangement* in = nullptr;
  VstSpeakerArrangement* out = nullptr;
  host.Dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out);
  EXPECT_EQ(in->type, kSpeakerArrStereo);
  EXPECT_EQ(out->numChannels, 2);
  VstPinProperties pin{};
  EXPECT_EQ(host.Dispatch(effGetOutputProperties, 1, 0, &pin), 1);
  EXPECT_STREQ(pin.label, "Output 2");
  EXPECT_EQ(pin.flags, kVstPinIsActive);
}

TEST_F(Vst2Binding, IdentifiesTheHostOnceAtOpen) {
  struct Case {
    const char* product;
    VstIntPtr version;
    int code, packed;
  };
  const Case cases[] = {
      {"REAPER", 60212, 1, 6 * 65536 + 2 * 256 + 12},
      {"Cubase Pro", 120001, 3, 12 * 65536 + 0 * 256 + 1},
      {"my host", 1, 0, 1},
      {"", 5, 0, 0},
  };
  for (const Case& c : cases) {
    Vst2TestHost other(KORVEL_VST2_TEST_MODULE);
    other.productString = c.product;
    other.vendorVersion = c.version;
    ASSERT_NE(other.Create(), nullptr);
    EXPECT_EQ(Probe().hostCode, -1) << "not known before effOpen";
    other.Dispatch(effOpen);
    other.productString = "Cubase";
    other.Dispatch(effOpen);
    EXPECT_EQ(Probe().hostCode, c.code) << c.product;
    EXPECT_EQ(Probe().hostVersion, c.packed) << c.product;
    EXPECT_EQ(other.CallsOf(audioMasterGetVendorVersion).size(), c.product[0] ? 1u : 0u) << c.product;
  }
}

TEST_F(Vst2Binding, EditorOpensClosesAndReportsItsRectangle) {
  Open();
  OpenEditor();
  EXPECT_TRUE(Logged("editor open with parent"));
  ERect* rect = nullptr;
  ASSERT_EQ(host.Dispatch(effEditGetRect, 0, 0, &rect), 1);
  EXPECT_EQ(rect->bottom, 300);
  EXPECT_EQ(rect->right, 400);
  clear();
  EXPECT_EQ(host.Dispatch(effEditClose), 1);
  EXPECT_EQ(Events(), (std::vector<std::string>{"on editor close", "editor close", "editor deleted"}));
}

TEST_F(Vst2Binding, CloseWithTheEditorOpenClosesTheEditorFirst) {
  Open();
  OpenEditor();
  clear();
  host.Close();
  EXPECT_EQ(Events(), (std::vector<std::string>{"on editor close", "editor close", "editor deleted", "plugin deleted"}));
}

TEST_F(Vst2Binding, EditorGesturesReachTheHostInOrder) {
  AEffect* e = Open();
  OpenEditor();
  host.ClearCalls();
  EXPECT_EQ(Key('g'), 1);
  EXPECT_EQ(host.NonBlockOpcodes(),
            (std::vector<VstInt32>{audioMasterBeginEdit, audioMasterAutomate, audioMasterAutomate, audioMasterEndEdit}));
  const auto automated = host.CallsOf(audioMasterAutomate);
  EXPECT_EQ(automated[0].index, 0);
  EXPECT_EQ(automated[0].opt, 0.25f);
  EXPECT_EQ(automated[1].opt, 0.75f);
  EXPECT_EQ(host.CallsOf(audioMasterBeginEdit)[0].index, 0);
  EXPECT_EQ(host.CallsOf(audioMasterEndEdit)[0].index, 0);
  EXPECT_EQ(e->getParameter(e, 0), 0.75f);
}

TEST_F(Vst2Binding, EditorResizeRequests) {
  Open();
  OpenEditor();
  host.ClearCalls();
  Key('r');
  EXPECT_TRUE(Logged("resize answers 0 1")) << "the same size is not asked for";
  const auto sized = host.CallsOf(audioMasterSizeWindow);
  ASSERT_EQ(sized.size(), 1u);
  EXPECT_EQ(sized[0].index, 800);
  EXPECT_EQ(sized[0].value, 600);
  ERect* rect = nullptr;
  host.Dispatch(effEditGetRect, 0, 0, &rect);
  EXPECT_EQ(rect->bottom, 600);
  EXPECT_EQ(rect->right, 800);
  host.sizeWindowAnswer = 0;
  clear();
  Key('r');
  EXPECT_TRUE(Logged("resize answers 0 0")) << "a host that refuses";
}

TEST_F(Vst2Binding, LatencyAndTail) {
  AEffect* e = Open();
  OpenEditor();
  host.ClearCalls();
  Key('l');
  EXPECT_EQ(e->initialDelay, 256);
  EXPECT_EQ(host.CallsOf(audioMasterIOChanged).size(), 1u);
  EXPECT_EQ(host.Dispatch(effGetTailSize), 1);
  Key('t');
  EXPECT_EQ(host.Dispatch(effGetTailSize), 1000);
}

TEST_F(Vst2Binding, MidiAndSysExFromTheEditorGoOutAroundTheNextBlock) {
  Open();
  OpenEditor();
  Key('m');
  Key('s');
  host.ClearCalls();
  EXPECT_TRUE(host.CallsOf(audioMasterProcessEvents).empty()) << "nothing before a block";
  Block(64);
  std::vector<VstInt32> order = host.NonBlockOpcodes();
  const auto sent = host.CallsOf(audioMasterProcessEvents);
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].eventType, kVstMidiType);
  EXPECT_EQ(sent[0].deltaFrames, 3);
  EXPECT_EQ(sent[0].bytes[0], 0xB0);
  EXPECT_EQ(sent[0].bytes[1], 7);
  EXPECT_EQ(sent[0].bytes[2], 100);
  EXPECT_EQ(sent[1].eventType, kVstSysExType);
  EXPECT_EQ(sent[1].deltaFrames, 5);
  EXPECT_EQ(sent[1].dumpBytes, 3);
  EXPECT_EQ(sent[1].bytes[0], 0xF0);
  EXPECT_EQ(sent[1].bytes[2], 0xF7);
  // MIDI goes before the block's processing (time is asked first), SysEx after it.
  EXPECT_EQ(host.CallAt(0).opcode, audioMasterGetTime);
  EXPECT_EQ(host.CallAt(host.CallCount() - 1).opcode, audioMasterProcessEvents);
}

TEST_F(Vst2Binding, KeysAreTranslatedForTheEditor) {
  Open();
  OpenEditor();
  struct Case {
    VstInt32 character;
    VstIntPtr vstKey;
    float modifiers;
    const char* logged;
  };
  const Case cases[] = {
      {'a', 0, 0, "key down vk 65 text 97 S0 C0 A0"},
      {'A', 0, 1, "key down vk 321 text 65 S1 C0 A0"},
      {'7', 0, 0, "key down vk 55 text 55 S0 C0 A0"},
      {'%', 0, 0, "key down vk 309 text 37 S0 C0 A0"},
      {'=', VKEY_EQUALS, 0, "key down vk 187 text 61 S0 C0 A0"},
      {'~', 0, 0, "key down vk 448 text 126 S0 C0 A0"},
      {0xE9, 0, 0, "key down vk -1 text 233 S0 C0 A0"},
      {0, VKEY_BACK, 0, "key down vk 8 text 0 S0 C0 A0"},
      {0, VKEY_CLEAR, 0, "key down vk 12 text 0 S0 C0 A0"},
      {0, VKEY_RETURN, 0, "key down vk 13 text 0 S0 C0 A0"},
      {0, VKEY_ENTER, 0, "key down vk 13 text 0 S0 C0 A0"},
      {0, VKEY_ESCAPE, 0, "key down vk 27 text 0 S0 C0 A0"},
      {' ', VKEY_SPACE, 0, "key down vk 32 text 32 S0 C0 A0"},
      {0, VKEY_NEXT, 0, "key down vk 34 text 0 S0 C0 A0"},
      {0, VKEY_PAGEDOWN, 0, "key down vk 34 text 0 S0 C0 A0"},
      {0, VKEY_PAGEUP, 0, "key down vk 33 text 0 S0 C0 A0"},
      {0, VKEY_LEFT, 0, "key down vk 37 text 0 S0 C0 A0"},
      {0, VKEY_DOWN, 0, "key down vk 40 text 0 S0 C0 A0"},
      {0, VKEY_SELECT, 0, "key down vk 41 text 0 S0 C0 A0"},
      {0, VKEY_SNAPSHOT, 0, "key down vk 44 text 0 S0 C0 A0"},
      {0, VKEY_HELP, 0, "key down vk 47 text 0 S0 C0 A0"},
      {0, VKEY_NUMPAD0, 0, "key down vk 96 text 0 S0 C0 A0"},
      {0, VKEY_NUMPAD9, 0, "key down vk 105 text 0 S0 C0 A0"},
      {0, VKEY_DIVIDE, 0, "key down vk 111 text 0 S0 C0 A0"},
      {0, VKEY_F1, 0, "key down vk 112 text 0 S0 C0 A0"},
      {0, VKEY_F12, 0, "key down vk 123 text 0 S0 C0 A0"},
      {0, VKEY_NUMLOCK, 0, "key down vk 144 text 0 S0 C0 A0"},
      {0, VKEY_SCROLL, 0, "key down vk 145 text 0 S0 C0 A0"},
      {0, VKEY_SHIFT, 0, "key down vk 16 text 0 S0 C0 A0"},
      {0, VKEY_ALT, 0, "key down vk 18 text 0 S0 C0 A0"},
      {0, 58, 0, "key down vk 0 text 0 S0 C0 A0"},
      {0, -4, 0, "key down vk 0 text 0 S0 C0 A0"},
      {'x', 0, MODIFIER_CONTROL, "key down vk 88 text 120 S0 C1 A0"},
      {'x', 0, MODIFIER_ALTERNATE, "key down vk 88 text 120 S0 C0 A1"},
      {'x', 0, 11, "key down vk 88 text 120 S1 C1 A1"},
      {'x', 0, -3.0f, "key down vk 88 text 120 S0 C0 A0"},
      {'x', 0, NAN, "key down vk 88 text 120 S0 C0 A0"},
  };
  for (const Case& c : cases) {
    clear();
    EXPECT_EQ(Key(c.character, c.vstKey, c.modifiers), 1);
    EXPECT_EQ(Events(), std::vector<std::string>{c.logged}) << c.logged;
  }
  EXPECT_EQ(Key('n'), 0) << "a key the editor does not take";
  EXPECT_EQ(Key('n', 0, 0, false), 0);
  EXPECT_EQ(Key('a', 0, 0, false), 1);
  EXPECT_TRUE(Logged("key up vk 65 text 97 S0 C0 A0"));
}

TEST_F(Vst2Binding, KeysWithoutAnEditorAnswerZero) {
  Open();
  EXPECT_EQ(Key('a'), 0);
  EXPECT_EQ(Key(' ', VKEY_SPACE), 0);
  EXPECT_TRUE(Events().empty());
}

TEST_F(Vst2Binding, TheHostWithCodeOnePassesOnlyTheSpaceBar) {
  host.productString = "REAPER";
  Open();
  OpenEditor();
  clear();
  EXPECT_EQ(Key('a'), 0);
  EXPECT_EQ(Key(0, VKEY_RETURN), 0);
  EXPECT_EQ(Key('a', 0, 0, false), 0);
  EXPECT_TRUE(Events().empty());
  EXPECT_EQ(Key(' ', VKEY_SPACE), 1);
  EXPECT_TRUE(Logged("key down vk 32 text 32 S0 C0 A0"));
}

TEST_F(Vst2Binding, TransportFromTheHostsTimeInfo) {
  Open();
  const VstInt32 all = kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstCyclePosValid | kVstTimeSigValid;
  struct Case {
    const char* name;
    bool give;
    VstTimeInfo time;
    framework::TransportInfo expected;
  };
  const VstTimeInfo full{1000, 48000, 0, 2.5, 90, 2, 1, 3, 3, 8, 0, 0, 0,
                         all | kVstTransportPlaying | kVstTransportCycleActive};
  const VstTimeInfo unflagged{1000, 48000, 0, 2.5, 90, 2, 1, 3, 3, 8, 0, 0, 0, 0};
  const VstTimeInfo nonsense{5, 48000, 0, -1.5, 0, -2, -1, 3, 0, 8, 0, 0, 0, all};
  const Case cases[] = {
      {"no time info", false, {}, {120, -1, -1, -1, -1, -1, 4, 4, false, false}},
      {"all valid", true, full, {90, 1000, 2.5, 2, 1, 3, 3, 8, true, true}},
      {"no flags", true, unflagged, {120, 1000, -1, -1, -1, -1, 4, 4, false, false}},
      {"invalid values", true, nonsense, {120, 5, -1, -1, -1, -1, 4, 4, false, false}},
  };
  for (const Case& c : cases) {
    host.giveTime = c.give;
    host.timeInfo = c.time;
    Block(32);
    const framework::TransportInfo t = Probe().transport;
    EXPECT_EQ(t.tempo, c.expected.tempo) << c.name;
    EXPECT_EQ(t.samplePosition, c.expected.samplePosition) << c.name;
    EXPECT_EQ(t.musicalPosition, c.expected.musicalPosition) << c.name;
    EXPECT_EQ(t.barStart, c.expected.barStart) << c.name;
    EXPECT_EQ(t.loopStart, c.expected.loopStart) << c.name;
    EXPECT_EQ(t.loopEnd, c.expected.loopEnd) << c.name;
    EXPECT_EQ(t.timeSigNumerator, c.expected.timeSigNumerator) << c.name;
    EXPECT_EQ(t.timeSigDenominator, c.expected.timeSigDenominator) << c.name;
    EXPECT_EQ(t.playing, c.expected.playing) << c.name;
    EXPECT_EQ(t.loopActive, c.expected.loopActive) << c.name;
  }
}

TEST_F(Vst2Binding, OfflineFromTheProcessLevel) {
  Open();
  host.processLevel = kVstProcessLevelOffline;
  Block(16);
  EXPECT_TRUE(Probe().offline);
  host.processLevel = kVstProcessLevelRealtime;
  Block(16);
  EXPECT_FALSE(Probe().offline);
}

TEST_F(Vst2Binding, LongBlocksGoInPiecesOfTheBlockSize) {
  Open();
  host.Dispatch(effSetBlockSize, 0, 64);
  Block(640);
  EXPECT_EQ(Probe().blocks, 10);
  EXPECT_EQ(Probe().largestBlock, 64);
  Block(100);
  EXPECT_EQ(Probe().blocks, 12);
}

TEST_F(Vst2Binding, SysExFromTheHostIsCutToTheRecord) {
  Open();
  std::vector<char> dump(2000, 0x11);
  dump[0] = static_cast<char>(0xF0);
  dump[511] = 0x22;
  struct Case {
    VstInt32 bytes;
    char* data;
    const char* logged;
  };
  const Case cases[] = {
      {2000, dump.data(), "sysex in 512 bytes @7 first 240 last 34"},
      {3, dump.data(), "sysex in 3 bytes @7 first 240 last 17"},
      {-8, dump.data(), "sysex in 0 bytes @7 first -1 last -1"},
      {100, nullptr, "sysex in 0 bytes @7 first -1 last -1"},
  };
  for (const Case& c : cases) {
    VstMidiSysexEvent sysex{};
    sysex.type = kVstSysExType;
    sysex.byteSize = sizeof sysex;
    sysex.deltaFrames = 7;
    sysex.dumpBytes = c.bytes;
    sysex.sysexDump = c.data;
    VstEvents list{1, 0, {reinterpret_cast<VstEvent*>(&sysex), nullptr}};
    clear();
    EXPECT_EQ(host.Dispatch(effProcessEvents, 0, 0, &list), 1);
    EXPECT_EQ(Events(), std::vector<std::string>{c.logged});
  }
}

TEST_F(Vst2Binding, HostMidiAndParameterChangesReachTheEditorOnItsTimer) {
  AEffect* e = Open();
  OpenEditor();
  VstMidiEvent note{};
  note.type = kVstMidiType;
  note.deltaFrames = 32;
  note.midiData[0] = static_cast<char>(0x90);
  note.midiData[1] = 60;
  note.midiData[2] = 100;
  VstEvents list{1, 0, {reinterpret_cast<VstEvent*>(&note), nullptr}};
  host.ClearCalls();
  EXPECT_EQ(host.Dispatch(effProcessEvents, 0, 0, &list), 1);
  ASSERT_EQ(host.CallsOf(audioMasterProcessEvents).size(), 1u) << "passed on to the host by default";
  e->setParameter(e, 0, 0.3f);
  EXPECT_TRUE(Logged("change 0 Host"));
  EXPECT_FALSE(Logged("editor shows 0 0.300")) << "not before the timer";
  IdleUntilLogged("editor shows 0 0.300");
  EXPECT_TRUE(Logged("editor shows 0 0.300"));
  EXPECT_TRUE(Logged("editor midi 144 60 100 @32"));
}

TEST_F(Vst2Binding, ProgramsAndPresets) {
  AEffect* e = Open();
  char name[256];
  host.Dispatch(effGetProgramName, 0, 0, name);
  EXPECT_STREQ(name, "Empty");
  EXPECT_EQ(host.Dispatch(effSetProgramName, 0, 0, const_cast<char*>("Mine")), 0);
  EXPECT_TRUE(Logged("presets modified"));
  host.Dispatch(effGetProgramName, 0, 0, name);
  EXPECT_STREQ(name, "Mine");
  EXPECT_EQ(host.Dispatch(effGetProgramNameIndexed, 1, 0, name), 1);
  EXPECT_STREQ(name, "Empty");
  EXPECT_EQ(host.Dispatch(effGetProgramNameIndexed, 5, 0, name), 0);
  EXPECT_STREQ(name, "");

  e->setParameter(e, 0, 0.9f);
  host.Dispatch(effSetProgram, 0, 1);
  EXPECT_EQ(host.Dispatch(effGetProgram), 1);
  EXPECT_FLOAT_EQ(e->getParameter(e, 0), 0.5f) << "preset 1 holds the defaults";
  host.Dispatch(effSetProgram, 0, 0);
  EXPECT_FLOAT_EQ(e->getParameter(e, 0), 0.9f) << "preset 0 kept the value it was left with";
  host.Dispatch(effSetProgram, 0, 7);
  host.Dispatch(effSetProgram, 0, -1);
  EXPECT_EQ(host.Dispatch(effGetProgram), 0);

  // A long name from the host comes back cut to the published program-name size.
  const std::string longName(200, 'x');
  host.Dispatch(effSetProgramName, 0, 0, const_cast<char*>(longName.c_str()));
  std::memset(name, '#', sizeof name);
  host.Dispatch(effGetProgramName, 0, 0, name);
  EXPECT_EQ(std::strlen(name), static_cast<size_t>(kVstMaxProgNameLen - 1));
  EXPECT_EQ(name[kVstMaxProgNameLen], '#');
}

TEST_F(Vst2Binding, BankChunksCarryThePresets) {
  AEffect* e = Open();
  e->setParameter(e, 0, 0.2f);
  uint8_t* data = nullptr;
  const VstIntPtr size = host.Dispatch(effGetChunk, 0, 0, &data);
  ASSERT_GT(size, 8);
  const std::vector<uint8_t> bank(data, data + size);
  e->setParameter(e, 0, 0.7f);
  clear();
  EXPECT_EQ(host.Dispatch(effSetChunk, 0, size, const_cast<uint8_t*>(bank.data())), 1);
  EXPECT_TRUE(Logged("state loaded"));
  EXPECT_FLOAT_EQ(e->getParameter(e, 0), 0.2f);
  EXPECT_EQ(host.Dispatch(effSetChunk, 0, size - 3, const_cast<uint8_t*>(bank.data())), 0) << "a cut bank";
}

TEST_F(Vst2Binding, ParametersOfEveryKind) {
  AEffect* e = Open();
  VstParameterProperties p{};
  EXPECT_EQ(host.Dispatch(effGetParameterProperties, 3, 0, &p), 1);  // Steps: integer 0 … 10
  EXPECT_EQ(p.flags, kVstParameterUsesFloatStep) << "values travel normalised: no integer range";
  EXPECT_FLOAT_EQ(p.stepFloat, 0.1f);
  EXPECT_STREQ(p.label, "Steps");
  EXPECT_EQ(host.Dispatch(effCanBeAutomated, 3), 0) << "marked as not automatable";
  EXPECT_EQ(host.Dispatch(effCanBeAutomated, 0), 1);
  EXPECT_EQ(host.Dispatch(effVendorSpecific, 8, 2), 0xBEEF) << "on/off";
  EXPECT_EQ(host.Dispatch(effVendorSpecific, 8, 1), 0) << "three modes";
  EXPECT_EQ(host.Dispatch(effVendorSpecific, 8, 3), 0) << "eleven steps";
  clear();
  EXPECT_EQ(host.Dispatch(effString2Parameter, 1, 0, const_cast<char*>("C")), 1);
  EXPECT_EQ(e->getParameter(e, 1), 1.0f);
  EXPECT_TRUE(Logged("change 1 Host"));
  char text[64];
  host.Dispatch(effGetParamDisplay, 1, 0, text);
  EXPECT_STREQ(text, "C");
  EXPECT_EQ(host.Dispatch(effVendorSpecific, 7, 1, text, 0.5f), 0xBEEF);
  EXPECT_STREQ(text, "B");
}

}  // namespace
