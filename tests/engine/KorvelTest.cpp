#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "FakeEditorView.h"
#include "KorvelHarness.h"

using framework::IParam;

TEST(Korvel, ConfigurationRecord) {
  const framework::PluginConfig c = Korvel::Config();
  EXPECT_EQ(c.paramCount, 16);
  EXPECT_EQ(c.presetCount, 0);
  EXPECT_STREQ(c.channelIO, "1-1 1.1-1 1.2-1 2-2 2.1-2 2.2-2 3-3 3.1-3 4-4");
  EXPECT_STREQ(c.pluginName, "Korvel");
  EXPECT_STREQ(c.productName, "Korvel");
  EXPECT_STREQ(c.makerName, "Marrowby Audio");
  EXPECT_EQ(c.version, 0x00040100);
  EXPECT_EQ(c.uniqueId, 0x4B72766C);  // 'K' 'r' 'v' 'l'
  EXPECT_EQ(c.makerId, 0x4D726279);   // 'M' 'r' 'b' 'y'
  EXPECT_TRUE(c.hasEditor);
  EXPECT_FALSE(c.midiIn || c.midiOut || c.mpe || c.stateChunks || c.hostResizesEditor);
  EXPECT_EQ(c.editorWidth, 724);
  EXPECT_EQ(c.editorHeight, 526);
  EXPECT_EQ(c.minWidth, 241);
  EXPECT_EQ(c.maxWidth, 2172);
  EXPECT_EQ(c.minHeight, 175);
  EXPECT_EQ(c.maxHeight, 1578);

  KorvelHarness h;
  EXPECT_EQ(h.korvel->VersionNumber(true), 40100);
  EXPECT_EQ(h.korvel->LayoutCount(), 9);
  EXPECT_EQ(h.korvel->MaxInputChannels(), 4);
  EXPECT_EQ(h.korvel->MaxOutputChannels(), 4);
}

TEST(Korvel, SixteenParametersWithTheirNamesRangesDefaultsAndTexts) {
  struct Row {
    const char* name;
    enum IParam::Kind kind;
    double min, max, def, step;
    const char* label;
    const char* shownDefault;
  };
  const Row rows[] = {
      {"Domain", IParam::Kind::Enumerated, 0, 2, 0, 1, "", "Time"},
      {"Input 1", IParam::Kind::OnOff, 0, 1, 1, 1, "", "on"},
      {"Input 2", IParam::Kind::OnOff, 0, 1, 1, 1, "", "on"},
      {"Input 3", IParam::Kind::OnOff, 0, 1, 0, 1, "", "off"},
      {"Input 4", IParam::Kind::OnOff, 0, 1, 0, 1, "", "off"},
      {"Delay 1", IParam::Kind::Continuous, 0, 500, 0, 0.1, "ms", "0.0"},
      {"Delay 2", IParam::Kind::Continuous, 0, 500, 0, 0.1, "ms", "0.0"},
      {"Delay 3", IParam::Kind::Continuous, 0, 500, 0, 0.1, "ms", "0.0"},
      {"Delay 4", IParam::Kind::Continuous, 0, 500, 0, 0.1, "ms", "0.0"},
      {"Hold", IParam::Kind::Continuous, -30, 3, 3, 0.1, "dB", "3.0"},
      {"FFT Size", IParam::Kind::Enumerated, 0, 6, 4, 1, "", "4096"},
      {"Blend Speed", IParam::Kind::Continuous, 0.1, 1, 0.5, 0.1, "", "0.5"},
      {"Opacity", IParam::Kind::Continuous, 0, 1, 0.75, 0.01, "", "0.75"},
      {"X Zoom Low", IParam::Kind::Continuous, 0, 1, 0.5, 0.01, "", "0.50"},
      {"X Zoom High", IParam::Kind::Continuous, 0, 1, 1, 0.01, "", "1.00"},
      {"Y Zoom", IParam::Kind::Continuous, 0, 1, 0.5, 0.01, "", "0.50"},
  };
  KorvelHarness h;
  ASSERT_EQ(h.korvel->ParamCount(), 16);
  for (int i = 0; i < 16; ++i) {
    const Row& r = rows[i];
    const IParam* p = h.korvel->GetParam(i);
    SCOPED_TRACE(r.name);
    EXPECT_STREQ(p->Name(), r.name);
    EXPECT_EQ(p->Kind(), r.kind);
    EXPECT_DOUBLE_EQ(p->Min(), r.min);
    EXPECT_DOUBLE_EQ(p->Max(), r.max);
    EXPECT_DOUBLE_EQ(p->Current(), r.def);
    EXPECT_DOUBLE_EQ(p->Step(), r.step);
    EXPECT_STREQ(p->Label(), r.label);
    EXPECT_EQ(p->Unit(), 21);
    framework::ShortText shown;
    p->FormatValue(p->Current(), false, shown, true);
    EXPECT_STREQ(shown.Get(), r.shownDefault);
  }
  const IParam* fft = h.korvel->GetParam(ParamIdx(KorvelParam::FftSize));
  const char* sizes[] = {"256", "512", "1024", "2048", "4096", "8192", "16384"};
  ASSERT_EQ(fft->ValueTextCount(), 7);
  for (int i = 0; i < 7; ++i) EXPECT_STREQ(fft->ValueTextFor(i), sizes[i]);
  EXPECT_STREQ(h.korvel->GetParam(ParamIdx(KorvelParam::Domain))->ValueTextFor(2), "Phase");
}

TEST(Korvel, ChannelRecordsStartAsSpecified) {
  struct Row {
    bool enabled;
    int r, g, b;
    const char* label;
  };
  const Row rows[] = {{true, 255, 255, 255, "Main L"}, {true, 221, 32, 32, "Main R"},
                      {false, 32, 185, 93, "Aux L"}, {false, 32, 128, 216, "Aux R"}};
  KorvelHarness h;
  for (int c = 0; c < 4; ++c) {
    const KorvelChannel* ch = h.korvel->Channel(c);
    EXPECT_EQ(ch->enabled.load(), rows[c].enabled);
    EXPECT_EQ(ch->colour.alpha.load(), 255);
    EXPECT_EQ(ch->colour.red, rows[c].r);
    EXPECT_EQ(ch->colour.green, rows[c].g);
    EXPECT_EQ(ch->colour.blue, rows[c].b);
    EXPECT_EQ(ch->delayMs.load(), 0.0);
    EXPECT_EQ(ch->history.Size(), 192000);
    EXPECT_EQ(ch->ring.Capacity(), 192000);
    EXPECT_EQ(ch->analyser.Size(), 4096);
    EXPECT_FLOAT_EQ(ch->analyser.Blend(), 0.5f);
    EXPECT_STREQ(h.korvel->ChannelLabelOf(framework::Input, c), rows[c].label);
  }
  EXPECT_EQ(h.korvel->Channel(4), nullptr);
  EXPECT_EQ(h.korvel->displayDirty.load(), 1);
  EXPECT_EQ(h.korvel->fftSizeChanged.load(), 0);
  EXPECT_EQ(h.korvel->blendChanged.load(), 0);
}

TEST(Korvel, ParameterHookTurnsValuesIntoDisplaySettings) {
  KorvelHarness h;
  Korvel& k = *h.korvel;
  k.displayDirty = 0;
  h.SetParam(KorvelParam::Domain, 2);
  EXPECT_EQ(k.domain.load(), 2);
  EXPECT_EQ(k.displayDirty.exchange(0), 1);

  struct FftCase { double index; int size; };
  for (auto [index, size] : {FftCase{6, 16384}, FftCase{0, 256}, FftCase{4, 4096}}) {
    k.fftSizeChanged = 0;
    h.SetParam(KorvelParam::FftSize, index);
    EXPECT_EQ(k.requestedFftSize.load(), size);
    EXPECT_EQ(k.fftSizeChanged.load(), 1);
  }

  h.SetParam(KorvelParam::BlendSpeed, 0.3);
  EXPECT_DOUBLE_EQ(k.requestedBlend.load(), 0.3);
  EXPECT_EQ(k.blendChanged.load(), 1);

  struct OpacityCase { double value; int alpha; };
  for (auto [value, alpha] : {OpacityCase{1.0, 216}, OpacityCase{0.0, 0}, OpacityCase{0.75, 162}}) {
    h.SetParam(KorvelParam::Opacity, value);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(k.Channel(c)->colour.alpha.load(), alpha) << value;
  }

  struct InputCase { double value; bool enabled; };
  for (auto [value, enabled] : {InputCase{0.5, true}, InputCase{0.49, false}, InputCase{1.0, true}}) {
    // On/off parameters round to their step, so the hook sees 0 or 1; feed it the raw value.
    k.GetParam(ParamIdx(KorvelParam::Input4))->Store(value);
    k.OnParamChange(ParamIdx(KorvelParam::Input4));
    EXPECT_EQ(k.Channel(3)->enabled.load(), enabled) << value;
  }

  h.SetParam(KorvelParam::Delay3, 12.3);
  EXPECT_DOUBLE_EQ(k.Channel(2)->delayMs.load(), 12.3);
  h.SetParam(KorvelParam::Hold, -6.0);
  EXPECT_DOUBLE_EQ(k.holdDb.load(), -6.0);
  h.SetParam(KorvelParam::YZoom, 0.25);
  EXPECT_DOUBLE_EQ(k.yZoom.load(), 0.25);

  k.OnParamChange(16);  // beyond the table: ignored
  k.OnParamChange(-1);
}

TEST(Korvel, ZoomEdgesKeepTheirGapInTheMembersOnly) {
  KorvelHarness h;
  Korvel& k = *h.korvel;
  h.SetParam(KorvelParam::XZoomHigh, 0.5);
  h.SetParam(KorvelParam::XZoomLow, 0.8);
  EXPECT_DOUBLE_EQ(k.xZoomLow.load(), 0.499);
  EXPECT_DOUBLE_EQ(k.xZoomHigh.load(), 0.5);
  EXPECT_DOUBLE_EQ(k.GetParam(ParamIdx(KorvelParam::XZoomLow))->Current(), 0.8);

  h.SetParam(KorvelParam::XZoomLow, 0.2);
  h.SetParam(KorvelParam::XZoomHigh, 0.2);
  EXPECT_DOUBLE_EQ(k.xZoomLow.load(), 0.2);
  EXPECT_DOUBLE_EQ(k.xZoomHigh.load(), 0.201);
}

TEST(Korvel, BusNamesIgnoreTheBusCount) {
  KorvelHarness h;
  struct Case { int direction, bus, count; const char* name; };
  const Case cases[] = {{framework::Output, 0, 1, "Output"}, {framework::Output, 1, 3, "Output"},
                        {framework::Input, 0, 1, "Main Input"}, {framework::Input, 0, 5, "Main Input"},
                        {framework::Input, 1, 2, "Aux Input"}, {framework::Input, 7, 1, "Aux Input"}};
  for (const Case& c : cases) {
    framework::ShortText name;
    h.korvel->DescribeBus(c.direction, c.bus, c.count, name);
    EXPECT_STREQ(name.Get(), c.name);
  }
}


TEST(Korvel, HostResizeFitsTheFixedLayoutByTheBetterScale) {
  struct Case { int width, height; float scale; };
  const Case cases[] = {{1448, 1052, 2.0f}, {100, 100, 0.5f}, {5000, 4000, 4.0f},
                        {724, 1000, 1.0f},  // by height the width would miss badly
                        {905, 658, 1.25f}};
  KorvelHarness h;
  testsupport::FakeEditorView* view = nullptr;
  h.korvel->SetGraphicsFactory([&view] { return view = new testsupport::FakeEditorView(); });
  h.korvel->OnHostResizeEditor(1448, 1052);  // no editor open: nothing happens
  ASSERT_NE(h.korvel->OpenEditor(nullptr), nullptr);
  for (const Case& c : cases) {
    h.korvel->OnHostResizeEditor(c.width, c.height);
    EXPECT_EQ(view->width, 724);
    EXPECT_EQ(view->height, 526);
    EXPECT_FLOAT_EQ(view->scale, c.scale) << c.width << "x" << c.height;
  }
  const int before = view->resizes;
  h.korvel->OnHostResizeEditor(0, 500);  // the framework's own rule: by its draw scale
  EXPECT_EQ(view->resizes, before + 1);
  h.korvel->CloseEditor();
}

TEST(Korvel, ClosingTheEditorStoresItsScaleForTheNextOpening) {
  namespace fs = std::filesystem;
  const fs::path root = fs::temp_directory_path() / ("korvel-editor-" + std::to_string(::getpid()));
  fs::remove_all(root);
  setenv("XDG_CONFIG_HOME", root.c_str(), 1);
  EXPECT_FLOAT_EQ(Korvel::StoredEditorScale(), 1.0f);  // nothing stored yet

  struct Case { float closedAt, opensAt; };
  for (auto [closedAt, opensAt] : {Case{1.5f, 1.5f}, Case{9.0f, 4.0f}, Case{0.25f, 0.5f}}) {
    KorvelHarness h;
    h.korvel->SetGraphicsFactory([] { return new testsupport::FakeEditorView(); });
    h.korvel->OpenEditor(nullptr);
    static_cast<testsupport::FakeEditorView*>(h.korvel->Graphics())->scale = closedAt;
    h.korvel->CloseEditor();
    EXPECT_FLOAT_EQ(Korvel::StoredEditorScale(), opensAt) << closedAt;
  }
  fs::remove_all(root);
}

TEST(Korvel, ClosingTheEditorForgetsItsControls) {
  KorvelHarness h;
  auto* fake = reinterpret_cast<graphics::IControl*>(&h);
  for (auto& c : h.korvel->editorControls) c = fake;
  h.korvel->CloseEditor();
  for (auto* c : h.korvel->editorControls) EXPECT_EQ(c, nullptr);
}
