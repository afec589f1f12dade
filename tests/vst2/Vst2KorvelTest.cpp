// Korvel.so as a VST2 host sees it: the effect record, the dispatcher's answers, processing
// and parameters, all through VSTPluginMain and the AEffect record.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "Vst2TestHost.h"

namespace {

constexpr int kChannels = 4;

// How a host's generic control takes a parameter's properties: the range of its values and
// the distance between two of its steps.
struct GenericControl {
  double low = 0.0, high = 1.0, step = 0.0;

  explicit GenericControl(const VstParameterProperties& p) {
    if (p.flags & kVstParameterUsesIntegerMinMax) {
      low = p.minInteger;
      high = p.maxInteger;
    }
    if (p.flags & kVstParameterIsSwitch)
      step = high - low;
    else if (p.flags & kVstParameterUsesIntStep)
      step = p.stepInteger;
    else if (p.flags & kVstParameterUsesFloatStep)
      step = p.stepFloat;
  }
};

class KorvelVst2 : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_NE(host.CreateAndOpen(), nullptr) << "could not load " << KORVEL_VST2_MODULE; }

  std::string Text(VstInt32 opcode, VstInt32 index, VstIntPtr value = 0, float opt = 0.0f) {
    char text[256];
    std::memset(text, '#', sizeof text);
    text[255] = 0;
    host.Dispatch(opcode, index, value, text, opt);
    return text;
  }
  GenericControl ControlOf(VstInt32 index) {
    VstParameterProperties p{};
    EXPECT_EQ(host.Dispatch(effGetParameterProperties, index, 0, &p), 1);
    return GenericControl(p);
  }

  // Runs one block through processReplacing with input channel c holding (c + 1) × 0.125.
  std::vector<std::vector<float>> ProcessConstant(int frames, float outputStart = -9.0f) {
    std::vector<std::vector<float>> in(kChannels, std::vector<float>(frames)), out(kChannels, std::vector<float>(frames, outputStart));
    std::vector<float*> inPtr, outPtr;
    for (int c = 0; c < kChannels; ++c) {
      std::fill(in[c].begin(), in[c].end(), 0.125f * static_cast<float>(c + 1));
      inPtr.push_back(in[c].data());
      outPtr.push_back(out[c].data());
    }
    host.Effect()->processReplacing(host.Effect(), inPtr.data(), outPtr.data(), frames);
    return out;
  }

  Vst2TestHost host{KORVEL_VST2_MODULE};
};

TEST(KorvelVst2Module, ExportsTheSameEntryAsMainAndRefusesANullCallback) {
  Vst2TestHost host(KORVEL_VST2_MODULE);
  ASSERT_NE(host.Module(), nullptr);
  void* entry = dlsym(host.Module(), "VSTPluginMain");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(dlsym(host.Module(), "main"), entry);
  EXPECT_EQ(host.EntryPoint()(nullptr), nullptr);
}

TEST_F(KorvelVst2, EffectRecordAsCreated) {
  const AEffect& e = *host.Effect();
  EXPECT_EQ(e.magic, 0x56737450);
  EXPECT_EQ(e.numPrograms, 1);
  EXPECT_EQ(e.numParams, 16);
  EXPECT_EQ(e.numInputs, 4);
  EXPECT_EQ(e.numOutputs, 4);
  EXPECT_EQ(e.flags, 0x1019);
  EXPECT_EQ(e.initialDelay, 0);
  EXPECT_EQ(e.ioRatio, 1.0f);
  EXPECT_EQ(e.version, 40100);
  EXPECT_EQ(e.uniqueID, ('K' << 24) | ('r' << 16) | ('v' << 8) | 'l');
  EXPECT_NE(e.object, nullptr);
  EXPECT_EQ(e.user, nullptr);
  for (char byte : e.future) EXPECT_EQ(byte, 0);
  EXPECT_NE(e.process, nullptr);
  EXPECT_NE(e.processReplacing, nullptr);
  EXPECT_NE(e.processDoubleReplacing, nullptr);
}

TEST_F(KorvelVst2, OpenAsksTheProductStringOnceAndTheVersionOnlyWhenThereIsOne) {
  // The fixture's host does not answer the product string.
  EXPECT_TRUE(host.CallsOf(audioMasterGetVendorVersion).empty());
  ASSERT_EQ(host.CallsOf(audioMasterGetProductString).size(), 1u);
  host.Dispatch(effOpen);
  EXPECT_EQ(host.CallsOf(audioMasterGetProductString).size(), 1u) << "the host is identified once";
}

TEST(KorvelVst2Host, AsksTheVersionOfAHostThatNamesItself) {
  Vst2TestHost host(KORVEL_VST2_MODULE);
  host.productString = "REAPER";
  host.vendorVersion = 60212;
  ASSERT_NE(host.CreateAndOpen(), nullptr);
  EXPECT_EQ(host.CallsOf(audioMasterGetProductString).size(), 1u);
  EXPECT_EQ(host.CallsOf(audioMasterGetVendorVersion).size(), 1u);
  EXPECT_EQ(host.Effect()->numInputs, 4);
}

TEST(KorvelVst2Host, HostsWithTwoInputsLeaveTheAuxInputsUnconnected) {
  for (const char* name : {"Forte 4", "Adobe Audition", "Orion", "SAWStudio", "Bitwig Studio"}) {
    Vst2TestHost host(KORVEL_VST2_MODULE);
    host.productString = name;
    ASSERT_NE(host.CreateAndOpen(), nullptr);
    const bool quirky = std::string(name) != "Bitwig Studio";
    constexpr int frames = 64;
    std::vector<std::vector<float>> in(kChannels, std::vector<float>(frames, 0.5f)),
        out(kChannels, std::vector<float>(frames, 7.0f));
    std::vector<float*> inPtr, outPtr;
    for (int c = 0; c < kChannels; ++c) {
      inPtr.push_back(in[c].data());
      outPtr.push_back(out[c].data());
    }
    host.Effect()->processReplacing(host.Effect(), inPtr.data(), outPtr.data(), frames);
    EXPECT_EQ(host.Effect()->numInputs, 4) << name;
    EXPECT_EQ(out[1][10], 0.5f) << name;
    EXPECT_EQ(out[3][10], quirky ? 0.0f : 0.5f) << name;
  }
}

TEST_F(KorvelVst2, ParameterTexts) {
  EXPECT_EQ(Text(effGetParamName, 0), "Domain");
  EXPECT_EQ(Text(effGetParamName, 11), "Blend Speed");
  EXPECT_EQ(Text(effGetParamDisplay, 10), "4096");
  EXPECT_EQ(Text(effGetParamDisplay, 0), "Time");
  EXPECT_EQ(Text(effGetParamLabel, 5), "ms");
  EXPECT_EQ(Text(effGetParamLabel, 9), "dB");
  EXPECT_EQ(Text(effGetParamLabel, 10), "") << "a value text hides the label";
  for (VstInt32 index : {16, -1, 1000}) {
    for (VstInt32 opcode : {effGetParamName, effGetParamDisplay, effGetParamLabel}) {
      char text[8] = "keep";
      EXPECT_EQ(host.Dispatch(opcode, index, 0, text), 0);
      EXPECT_STREQ(text, "keep") << opcode << " " << index;
    }
  }
  EXPECT_EQ(host.Dispatch(effGetParamName, 0, 0, nullptr), 0);
}

TEST_F(KorvelVst2, NamesAndVersions) {
  char text[256];
  EXPECT_EQ(host.Dispatch(effGetEffectName, 0, 0, text), 1);
  EXPECT_STREQ(text, "Korvel");
  EXPECT_EQ(host.Dispatch(effGetVendorString, 0, 0, text), 1);
  EXPECT_STREQ(text, "Marrowby Audio");
  EXPECT_EQ(host.Dispatch(effGetProductString, 0, 0, text), 1);
  EXPECT_STREQ(text, "Korvel");
  for (VstInt32 opcode : {effGetEffectName, effGetVendorString, effGetProductString})
    EXPECT_EQ(host.Dispatch(opcode, 0, 0, nullptr), 0);
  EXPECT_EQ(host.Dispatch(effGetVendorVersion), 40100);
  EXPECT_EQ(host.Dispatch(effGetVstVersion), 2400);
  EXPECT_EQ(host.Dispatch(effIdentify), 0x4E764566);
  EXPECT_EQ(host.Dispatch(effGetPlugCategory), kPlugCategEffect);
  EXPECT_EQ(host.Dispatch(effGetTailSize), 1);
}

TEST_F(KorvelVst2, ProgramsWithoutPresets) {
  EXPECT_EQ(host.Dispatch(effGetProgram), 0);
  EXPECT_EQ(Text(effGetProgramName, 0), "");
  char text[64] = "keep";
  EXPECT_EQ(host.Dispatch(effGetProgramNameIndexed, 0, 0, text), 0);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(host.Dispatch(effSetProgram, 0, 3), 0);
  EXPECT_EQ(host.Dispatch(effGetProgram), 0);
  EXPECT_EQ(host.Dispatch(effSetProgramName, 0, 0, const_cast<char*>("Mine")), 0);
}

TEST_F(KorvelVst2, EditorRectangleAndAWindowThatCannotBeUsed) {
  ERect* rect = nullptr;
  EXPECT_EQ(host.Dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 526);
  EXPECT_EQ(rect->right, 724);
  EXPECT_EQ(host.Dispatch(effEditGetRect, 0, 0, nullptr), 0);
  EXPECT_EQ(host.Dispatch(effEditClose), 1) << "closing a closed editor";
  // Not an X window (nor, in this process, a display): the editor does not open.
  EXPECT_EQ(host.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(uintptr_t{0x7fff1234})), 0);
  EXPECT_EQ(host.Dispatch(effEditIdle), 0);
  EXPECT_EQ(host.Dispatch(effEditClose), 1);
}

TEST_F(KorvelVst2, ChunksWithAndWithoutTheHeader) {
  host.Effect()->setParameter(host.Effect(), 5, 0.5f);
  uint8_t* data = nullptr;
  ASSERT_EQ(host.Dispatch(effGetChunk, 1, 0, &data), 136);
  const uint8_t header[8] = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};
  EXPECT_EQ(std::memcmp(data, header, 8), 0);
  double delay = 0.0;
  std::memcpy(&delay, data + 8 + 5 * 8, 8);
  EXPECT_EQ(delay, 250.0);
  const std::vector<uint8_t> saved(data, data + 136);

  host.Effect()->setParameter(host.Effect(), 5, 0.0f);
  EXPECT_EQ(host.Dispatch(effSetChunk, 1, 136, const_cast<uint8_t*>(saved.data())), 1);
  EXPECT_FLOAT_EQ(host.Effect()->getParameter(host.Effect(), 5), 0.5f);

  host.Effect()->setParameter(host.Effect(), 5, 0.0f);
  EXPECT_EQ(host.Dispatch(effSetChunk, 1, 128, const_cast<uint8_t*>(saved.data() + 8)), 1) << "a bare state";
  EXPECT_FLOAT_EQ(host.Effect()->getParameter(host.Effect(), 5), 0.5f);

  // A bank is the header alone here, and loads back as a bank of no presets.
  uint8_t* bank = nullptr;
  ASSERT_EQ(host.Dispatch(effGetChunk, 0, 0, &bank), 8);
  EXPECT_EQ(std::memcmp(bank, header, 8), 0);
  const std::vector<uint8_t> bankBytes(bank, bank + 8);
  EXPECT_EQ(host.Dispatch(effSetChunk, 0, 8, const_cast<uint8_t*>(bankBytes.data())), 1);
  EXPECT_EQ(host.Dispatch(effGetChunk, 1, 0, nullptr), 0);
}

TEST_F(KorvelVst2, ShortOrBrokenChunksAreRefused) {
  const uint8_t marker[6] = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00};
  EXPECT_EQ(host.Dispatch(effSetChunk, 1, 6, const_cast<uint8_t*>(marker)), 0);
  EXPECT_EQ(host.Dispatch(effSetChunk, 1, 3, const_cast<uint8_t*>(marker)), 0) << "too short for a state";
  std::vector<uint8_t> partial(8 + 40, 0);
  std::memcpy(partial.data(), marker, 4);
  EXPECT_EQ(host.Dispatch(effSetChunk, 1, static_cast<VstIntPtr>(partial.size()), partial.data()), 0);
  EXPECT_EQ(host.Dispatch(effSetChunk, 1, 8, nullptr), 0);
  EXPECT_EQ(host.Dispatch(effSetChunk, 1, -5, partial.data()), 0);
  // What parsed before the end keeps its new value: "Input 1" (on by default) is off now.
  EXPECT_EQ(host.Effect()->getParameter(host.Effect(), 1), 0.0f);
}

TEST_F(KorvelVst2, CanDoAnswers) {
  struct Case {
    const char* question;
    VstIntPtr answer;
  };
  const Case cases[] = {
      {"receiveVstTimeInfo", 1},      {"receiveVstEvents", 0},          {"receiveVstMidiEvent", 0},
      {"sendVstEvents", 0},           {"sendVstMidiEvent", 0},          {"hasCockosExtensions", 0xBEEF0000},
      {"hasCockosViewAsConfig", 0xBEEF0000}, {"wantsChannelCountNotifications", 1}, {"MPE", 0},
      {"receiveVstTimeInfo ", 0},     {"bypass", 0},                    {"", 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(host.Dispatch(effCanDo, 0, 0, const_cast<char*>(c.question)), c.answer) << c.question;
  EXPECT_EQ(host.Dispatch(effCanDo, 0, 0, nullptr), 0);
}

TEST_F(KorvelVst2, PinProperties) {
  struct Case {
    VstInt32 opcode, index;
    VstIntPtr answer;
    VstInt32 flags;
    const char* label;
  };
  const Case cases[] = {
      {effGetInputProperties, 0, 1, 3, "Main L"},  {effGetInputProperties, 1, 1, 1, "Main R"},
      {effGetInputProperties, 2, 1, 3, "Aux L"},   {effGetInputProperties, 3, 1, 1, "Aux R"},
      {effGetInputProperties, 4, 0, 0, ""},        {effGetInputProperties, -1, 0, 0, ""},
      {effGetOutputProperties, 0, 1, 3, "Output 1"}, {effGetOutputProperties, 3, 1, 1, "Output 4"},
      {effGetOutputProperties, 4, 0, 0, ""},
  };
  for (const Case& c : cases) {
    VstPinProperties pin{};
    EXPECT_EQ(host.Dispatch(c.opcode, c.index, 0, &pin), c.answer) << c.opcode << " " << c.index;
    EXPECT_EQ(pin.flags, c.flags) << c.index;
    EXPECT_STREQ(pin.label, c.label) << c.index;
  }
  EXPECT_EQ(host.Dispatch(effGetInputProperties, 0, 0, nullptr), 0);
}

TEST_F(KorvelVst2, SpeakerArrangementsChangeConnectionsNotTheStoredArrangements) {
  VstSpeakerArrangement in{}, out{};
  in.numChannels = 2;
  out.numChannels = 2;
  EXPECT_EQ(host.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 1);
  // Two connected inputs take the host's first two pointers; the outputs beyond are not written.
  const auto result = ProcessConstant(32);
  EXPECT_EQ(result[0][5], 0.125f);
  EXPECT_EQ(result[1][5], 0.25f);
  EXPECT_EQ(result[2][5], -9.0f);
  EXPECT_EQ(result[3][5], -9.0f);

  VstSpeakerArrangement* storedIn = nullptr;
  VstSpeakerArrangement* storedOut = nullptr;
  EXPECT_EQ(host.Dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&storedIn), &storedOut), 1);
  ASSERT_TRUE(storedIn && storedOut);
  EXPECT_EQ(storedIn->numChannels, 4);
  EXPECT_EQ(storedIn->type, kSpeakerArrUserDefined);
  EXPECT_EQ(storedOut->numChannels, 4);

  VstSpeakerArrangement tooMany{};
  tooMany.numChannels = 5;
  EXPECT_EQ(host.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&tooMany), &out), 0);
  in.numChannels = 4;
  EXPECT_EQ(host.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &tooMany), 0);
  EXPECT_EQ(ProcessConstant(32)[2][5], -9.0f) << "the refused outputs stay as they were";
  out.numChannels = 4;
  EXPECT_EQ(host.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 1);
  EXPECT_EQ(ProcessConstant(32)[3][5], 0.5f) << "all four channels are connected again";
}

// A host shows the properties' label as the parameter's name, and its generic control works
// in the values that travel: normalised, so no integer range is announced.
TEST_F(KorvelVst2, ParameterPropertiesByKind) {
  VstParameterProperties p{};
  EXPECT_EQ(host.Dispatch(effGetParameterProperties, 1, 0, &p), 1);  // Input 1: on/off
  EXPECT_EQ(p.flags, kVstParameterIsSwitch);
  std::memset(&p, 0x55, sizeof p);  // what the host's record held before plays no part
  EXPECT_EQ(host.Dispatch(effGetParameterProperties, 10, 0, &p), 1);  // FFT Size: enumerated
  EXPECT_EQ(p.flags, kVstParameterUsesFloatStep);
  EXPECT_FLOAT_EQ(p.stepFloat, 1.0f / 6.0f);
  EXPECT_FLOAT_EQ(p.smallStepFloat, 1.0f / 6.0f);
  EXPECT_FLOAT_EQ(p.largeStepFloat, 1.0f / 6.0f);
  EXPECT_EQ(p.minInteger, 0);
  EXPECT_EQ(p.maxInteger, 0);
  EXPECT_STREQ(p.shortLabel, "");
  EXPECT_STREQ(p.categoryLabel, "");
  p = {};
  EXPECT_EQ(host.Dispatch(effGetParameterProperties, 5, 0, &p), 1);  // Delay 1: continuous, 0 … 500 ms
  EXPECT_EQ(p.flags, kVstParameterUsesFloatStep);
  EXPECT_FLOAT_EQ(p.stepFloat, 0.1f / 500.0f);
  for (VstInt32 index = 0; index < host.Effect()->numParams; ++index) {
    p = {};
    ASSERT_EQ(host.Dispatch(effGetParameterProperties, index, 0, &p), 1);
    EXPECT_EQ(p.label, Text(effGetParamName, index)) << index;
  }
  EXPECT_EQ(Text(effGetParamLabel, 5), "ms") << "the unit stays where hosts read units";
  EXPECT_EQ(host.Dispatch(effGetParameterProperties, 16, 0, &p), 0);
  EXPECT_EQ(host.Dispatch(effGetParameterProperties, 0, 0, nullptr), 0);
  EXPECT_EQ(host.Dispatch(effCanBeAutomated, 0), 1);
  EXPECT_EQ(host.Dispatch(effCanBeAutomated, 16), 0);
}

TEST_F(KorvelVst2, EachStepChosenInAHostsGenericControlIsThatStepAndItsBarMatches) {
  struct Case {
    VstInt32 index;
    std::vector<std::string> steps;
  };
  const Case cases[] = {
      {0, {"Time", "Freq", "Phase"}},
      {1, {"off", "on"}},
      {2, {"off", "on"}},
      {3, {"off", "on"}},
      {4, {"off", "on"}},
      {10, {"256", "512", "1024", "2048", "4096", "8192", "16384"}},
  };
  AEffect* e = host.Effect();
  for (const Case& c : cases) {
    SCOPED_TRACE(Text(effGetParamName, c.index));
    const GenericControl control = ControlOf(c.index);
    const int last = static_cast<int>(c.steps.size()) - 1;
    ASSERT_GT(control.step, 0.0);
    EXPECT_NEAR((control.high - control.low) / control.step, last, 1e-4) << "as many steps as the parameter has";
    for (int k = 0; k <= last; ++k) {
      e->setParameter(e, c.index, static_cast<float>(control.low + k * control.step));
      EXPECT_EQ(Text(effGetParamDisplay, c.index), c.steps[static_cast<size_t>(k)]) << "step " << k;
      const double bar = (e->getParameter(e, c.index) - control.low) / (control.high - control.low);
      EXPECT_NEAR(bar, static_cast<double>(k) / last, 1e-6) << "the bar at step " << k;
    }
  }
}

TEST_F(KorvelVst2, OneStepOfAHostsGenericControlIsOneStepOfAContinuousParameter) {
  struct Case {
    VstInt32 index;
    const char* atMin;
    const char* oneStepUp;
  };
  const Case cases[] = {{5, "0.0", "0.1"},    {9, "-30.0", "-29.9"}, {11, "0.1", "0.2"},
                        {12, "0.00", "0.01"}, {15, "0.00", "0.01"}};
  AEffect* e = host.Effect();
  for (const Case& c : cases) {
    SCOPED_TRACE(Text(effGetParamName, c.index));
    const GenericControl control = ControlOf(c.index);
    e->setParameter(e, c.index, static_cast<float>(control.low));
    EXPECT_EQ(Text(effGetParamDisplay, c.index), c.atMin);
    e->setParameter(e, c.index, static_cast<float>(control.low + control.step));
    EXPECT_EQ(Text(effGetParamDisplay, c.index), c.oneStepUp);
  }
}

TEST_F(KorvelVst2, VendorSpecificRequests) {
  char text[64];
  std::strcpy(text, "untouched");
  EXPECT_EQ(host.Dispatch(effVendorSpecific, 7, 10, text, 1.0f), 0xBEEF);
  EXPECT_STREQ(text, "16384");
  EXPECT_EQ(host.Dispatch(effVendorSpecific, 7, 99, text, 1.0f), 0xBEEF);
  EXPECT_STREQ(text, "16384") << "an unknown parameter writes nothing";
  EXPECT_EQ(host.Dispatch(effVendorSpecific, 7, 10, nullptr, 1.0f), 0);

  EXPECT_EQ(host.Dispatch(effVendorSpecific, 8, 1), 0xBEEF) << "on/off";
  EXPECT_EQ(host.Dispatch(effVendorSpecific, 8, 10), 0) << "seven FFT sizes";
  EXPECT_EQ(host.Dispatch(effVendorSpecific, 8, 5), 0) << "continuous";
  EXPECT_EQ(host.Dispatch(effVendorSpecific, 8, 16), 0);

  std::strcpy(text, "0.25");
  EXPECT_EQ(host.Dispatch(effVendorSpecific, 27, 9, text), 0xBEEF);
  char expected[64];
  std::snprintf(expected, sizeof expected, "%.17f", (0.25 + 30.0) / 33.0);
  EXPECT_STREQ(text, expected);
  text[0] = 0;
  EXPECT_EQ(host.Dispatch(effVendorSpecific, 27, 9, text), 0xBEEF);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(host.Dispatch(effVendorSpecific, 27, 16, text), 0);
  EXPECT_EQ(host.Dispatch(effVendorSpecific, 3, 0, text), 0);
}

TEST_F(KorvelVst2, StringToParameter) {
  EXPECT_EQ(host.Dispatch(effString2Parameter, 5, 0, const_cast<char*>("125")), 1);
  EXPECT_FLOAT_EQ(host.Effect()->getParameter(host.Effect(), 5), 0.25f);
  EXPECT_EQ(host.Dispatch(effString2Parameter, 5, 0, const_cast<char*>("9999")), 1);
  EXPECT_FLOAT_EQ(host.Effect()->getParameter(host.Effect(), 5), 1.0f) << "confined to the range";
  EXPECT_EQ(host.Dispatch(effString2Parameter, 5, 0, nullptr), 1);
  EXPECT_FLOAT_EQ(host.Effect()->getParameter(host.Effect(), 5), 1.0f);
  EXPECT_EQ(host.Dispatch(effString2Parameter, 16, 0, const_cast<char*>("1")), 0);
}

TEST_F(KorvelVst2, UnknownAndOutOfRangeOpcodesAnswerZero) {
  char buffer[512] = {};
  for (VstInt32 opcode : {9, 16, 17, 18, 20, 21, 28, 30, 31, 32, 36, 37, 38, 39, 40, 41, 43, 44, 46, 53, 54, 55, 57,
                          61, 62, 63, 64, 65, 67, 68, 70, 71, 72, 77, 1000, -1})
    EXPECT_EQ(host.Dispatch(opcode, 1, 1, buffer, 1.0f), 0) << opcode;
  for (char byte : buffer) ASSERT_EQ(byte, 0);
  MidiKeyName key{};
  key.thisKeyNumber = 60;
  std::strcpy(key.keyName, "old");
  EXPECT_EQ(host.Dispatch(effGetMidiKeyName, 0, 0, &key), 0);
  EXPECT_STREQ(key.keyName, "");
}

TEST_F(KorvelVst2, ParametersThroughTheRecord) {
  AEffect* e = host.Effect();
  EXPECT_NEAR(e->getParameter(e, 10), 4.0 / 6.0, 1e-6);
  EXPECT_EQ(e->getParameter(e, 16), 0.0f);
  EXPECT_EQ(e->getParameter(e, -1), 0.0f);
  e->setParameter(e, 5, 0.5f);
  EXPECT_EQ(Text(effGetParamDisplay, 5), "250.0");
  for (float wild : {2.0f, -1.0f, NAN, INFINITY}) {
    e->setParameter(e, 12, wild);
    const float v = e->getParameter(e, 12);
    EXPECT_TRUE(v >= 0.0f && v <= 1.0f) << wild;
  }
  e->setParameter(e, 16, 0.5f);
  e->setParameter(e, -3, 0.5f);
}

TEST_F(KorvelVst2, ReplacingDoubleAndAccumulatingProcessing) {
  host.Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  host.Dispatch(effSetBlockSize, 0, 256);
  host.Dispatch(effMainsChanged, 0, 1);
  constexpr int frames = 256;
  std::vector<std::vector<float>> in(kChannels, std::vector<float>(frames, 0.5f)),
      out(kChannels, std::vector<float>(frames, 0.25f));
  std::vector<float*> inPtr, outPtr;
  for (int c = 0; c < kChannels; ++c) {
    inPtr.push_back(in[c].data());
    outPtr.push_back(out[c].data());
  }
  AEffect* e = host.Effect();
  e->process(e, inPtr.data(), outPtr.data(), frames);
  for (int c = 0; c < kChannels; ++c) EXPECT_EQ(out[c][frames - 1], 0.75f) << c;
  e->processReplacing(e, inPtr.data(), outPtr.data(), frames);
  for (int c = 0; c < kChannels; ++c) EXPECT_EQ(out[c][0], 0.5f) << c;

  std::vector<std::vector<double>> din(kChannels, std::vector<double>(frames, 0.3)),
      dout(kChannels, std::vector<double>(frames, 9.0));
  std::vector<double*> dinPtr, doutPtr;
  for (int c = 0; c < kChannels; ++c) {
    dinPtr.push_back(din[c].data());
    doutPtr.push_back(dout[c].data());
  }
  e->processDoubleReplacing(e, dinPtr.data(), doutPtr.data(), frames);
  for (int c = 0; c < kChannels; ++c) EXPECT_EQ(dout[c][17], 0.3) << c;
  host.Dispatch(effMainsChanged, 0, 0);
}

TEST_F(KorvelVst2, BlocksLongerThanTheBlockSizeStayBitExact) {
  constexpr int block = 64;
  constexpr int frames = 10 * block;
  host.Dispatch(effSetBlockSize, 0, block);
  std::vector<std::vector<float>> in(kChannels, std::vector<float>(frames)), out(kChannels, std::vector<float>(frames, 5.0f));
  std::vector<std::vector<double>> din(kChannels, std::vector<double>(frames)),
      dout(kChannels, std::vector<double>(frames, 5.0));
  std::vector<float*> inPtr, outPtr;
  std::vector<double*> dinPtr, doutPtr;
  for (int c = 0; c < kChannels; ++c) {
    for (int i = 0; i < frames; ++i) {
      in[c][i] = std::sin(0.01f * static_cast<float>(i * (c + 1))) * 0.9f + 1e-7f * static_cast<float>(i);
      din[c][i] = std::sin(0.013 * i * (c + 1)) * 0.7 + 1e-12 * i;
    }
    inPtr.push_back(in[c].data());
    outPtr.push_back(out[c].data());
    dinPtr.push_back(din[c].data());
    doutPtr.push_back(dout[c].data());
  }
  AEffect* e = host.Effect();
  e->processReplacing(e, inPtr.data(), outPtr.data(), frames);
  e->processDoubleReplacing(e, dinPtr.data(), doutPtr.data(), frames);
  for (int c = 0; c < kChannels; ++c) {
    EXPECT_EQ(std::memcmp(out[c].data(), in[c].data(), frames * sizeof(float)), 0) << c;
    EXPECT_EQ(std::memcmp(dout[c].data(), din[c].data(), frames * sizeof(double)), 0) << c;
  }
  // Accumulating over ten pieces adds every frame once.
  for (auto& channel : out) std::fill(channel.begin(), channel.end(), 1.0f);
  e->process(e, inPtr.data(), outPtr.data(), frames);
  for (int c = 0; c < kChannels; ++c)
    for (int i = 0; i < frames; i += 37) ASSERT_EQ(out[c][i], 1.0f + in[c][i]) << c << " " << i;
}

TEST_F(KorvelVst2, BlockHostCallsAndOddBlocks) {
  host.ClearCalls();
  AEffect* e = host.Effect();
  ProcessConstant(16);
  ASSERT_EQ(host.CallsOf(audioMasterGetTime).size(), 1u);
  EXPECT_EQ(host.CallsOf(audioMasterGetTime)[0].value, 0x3e00);
  EXPECT_EQ(host.CallsOf(audioMasterGetCurrentProcessLevel).size(), 1u);
  EXPECT_TRUE(host.CallsOf(audioMasterWantMidi).empty()) << "no MIDI input";
  // Null arrays and empty blocks are survived.
  e->processReplacing(e, nullptr, nullptr, 64);
  e->processReplacing(e, nullptr, nullptr, 0);
  e->processReplacing(e, nullptr, nullptr, -5);
  float* none[kChannels] = {};
  e->processDoubleReplacing(e, nullptr, nullptr, 64);
  e->process(e, none, none, 64);
  // A zero block size is refused; processing goes on at the last size.
  host.Dispatch(effSetBlockSize, 0, 0);
  EXPECT_EQ(ProcessConstant(700)[2][699], 0.375f);
}

TEST_F(KorvelVst2, MidiEventsReachTheProcessorAndSysExIsTakenSafely) {
  VstMidiEvent note{};
  note.type = kVstMidiType;
  note.byteSize = sizeof(VstMidiEvent);
  note.deltaFrames = 32;
  note.midiData[0] = static_cast<char>(0x90);
  note.midiData[1] = 60;
  note.midiData[2] = 100;
  std::vector<char> dump(2000, 0x11);
  VstMidiSysexEvent sysex{};
  sysex.type = kVstSysExType;
  sysex.byteSize = sizeof(VstMidiSysexEvent);
  sysex.dumpBytes = static_cast<VstInt32>(dump.size());
  sysex.sysexDump = dump.data();
  VstEvent other{};
  other.type = 3;
  struct {
    VstInt32 numEvents;
    VstIntPtr reserved;
    VstEvent* events[4];
  } list{4, 0, {reinterpret_cast<VstEvent*>(&sysex), nullptr, &other, reinterpret_cast<VstEvent*>(&note)}};
  host.ClearCalls();
  EXPECT_EQ(host.Dispatch(effProcessEvents, 0, 0, &list), 1);
  // The processor passes MIDI on to the host.
  const auto sent = host.CallsOf(audioMasterProcessEvents);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].eventType, kVstMidiType);
  EXPECT_EQ(sent[0].deltaFrames, 32);
  EXPECT_EQ(sent[0].bytes[0], 0x90);
  EXPECT_EQ(sent[0].bytes[1], 60);
  EXPECT_EQ(sent[0].bytes[2], 100);
  EXPECT_EQ(host.Dispatch(effProcessEvents, 0, 0, nullptr), 0);
}

TEST_F(KorvelVst2, SampleRateBlockSizeAndMainsAnswerZero) {
  EXPECT_EQ(host.Dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f), 0);
  EXPECT_EQ(host.Dispatch(effSetSampleRate, 0, 0, nullptr, NAN), 0);
  EXPECT_EQ(host.Dispatch(effSetBlockSize, 0, 1024), 0);
  EXPECT_EQ(host.Dispatch(effSetBlockSize, 0, -1), 0);
  EXPECT_EQ(host.Dispatch(effMainsChanged, 0, 1), 0);
  EXPECT_EQ(ProcessConstant(1024)[0][1023], 0.125f);
  EXPECT_EQ(host.Dispatch(effMainsChanged, 0, 0), 0);
}

}  // namespace
