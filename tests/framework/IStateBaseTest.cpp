#include <gtest/gtest.h>

#include <cstring>

#include "RecordingPlugin.h"

namespace {

std::vector<double> Values(const RecordingPlugin& p) {
  std::vector<double> v;
  for (int i = 0; i < p.ParamCount(); ++i) v.push_back(p.GetParam(i)->Current());
  return v;
}

}  // namespace

TEST(StateBase, LoadingAnnouncesEveryParameterOnceEvenWhenShort) {
  for (int bytes : {24, 16, 0}) {
    RecordingPlugin plugin(3);
    framework::StateChunk chunk;
    for (double v : {1.0, 2.0, 3.0}) chunk.PutDouble(v);
    chunk.Resize(bytes);
    EXPECT_EQ(plugin.UnserializeParams(chunk, 0), bytes == 24 ? 24 : -1);
    EXPECT_EQ(plugin.calls, (std::vector<std::string>{"change 0 Preset", "editor 0 Preset", "change 1 Preset",
                                                       "editor 1 Preset", "change 2 Preset", "editor 2 Preset"}))
        << bytes;
    EXPECT_EQ(plugin.GetParam(1)->Current(), bytes >= 16 ? 2.0 : 0.0);
  }
}

TEST(StateBase, PresetsAreFilledNamedAndLoaded) {
  RecordingPlugin plugin(2, 3);
  EXPECT_STREQ(plugin.PresetName(0), "empty");
  EXPECT_STREQ(plugin.PresetName(3), "");
  EXPECT_STREQ(plugin.PresetName(-1), "");
  EXPECT_FALSE(plugin.LoadPreset(3));

  EXPECT_TRUE(plugin.LoadPreset(1));  // uninitialised: saves the current values as a user preset
  EXPECT_STREQ(plugin.PresetName(1), "user preset 1");
  EXPECT_EQ(plugin.CurrentPresetIdx(), 1);
  plugin.FillEmptyPresets();
  EXPECT_STREQ(plugin.PresetName(0), "Empty");
  EXPECT_STREQ(plugin.PresetName(1), "user preset 1");
  EXPECT_STREQ(plugin.PresetName(2), "Empty");

  plugin.GetParam(0)->Store(7.0);
  plugin.ModifyCurrentPreset("Bright");
  EXPECT_STREQ(plugin.PresetName(1), "Bright");
  plugin.GetParam(0)->Store(1.0);
  plugin.calls.clear();
  EXPECT_TRUE(plugin.LoadPreset(1));
  EXPECT_DOUBLE_EQ(plugin.GetParam(0)->Current(), 7.0);
  EXPECT_EQ(plugin.calls.front(), "change 0 Preset");
}

TEST(StateBase, UserPresetNumbersCountTheExistingOnes) {
  RecordingPlugin plugin(1, 3);
  plugin.LoadPreset(0);
  EXPECT_STREQ(plugin.PresetName(0), "user preset 1");
  plugin.FillEmptyPresets();
  RecordingPlugin fresh(1, 3);
  fresh.LoadPreset(2);
  fresh.LoadPreset(0);
  EXPECT_STREQ(fresh.PresetName(0), "user preset 2");
}

TEST(StateBase, PresetBankRoundTripsWithItsLayout) {
  RecordingPlugin plugin(2, 2);
  plugin.LoadPreset(0);
  plugin.GetParam(1)->Store(4.5);
  plugin.ModifyCurrentPreset("A");
  framework::StateChunk bank;
  ASSERT_TRUE(plugin.SerializePresets(bank));
  // "A": length 1, 'A', initialised, two doubles; "empty": length 5, the name, not initialised.
  ASSERT_EQ(bank.Size(), 4 + 1 + 1 + 16 + 4 + 5 + 1);
  EXPECT_EQ(bank.Data()[4], 'A');
  EXPECT_EQ(bank.Data()[5], 1);
  double stored = 0;
  std::memcpy(&stored, bank.Data() + 6 + 8, 8);
  EXPECT_EQ(stored, 4.5);

  RecordingPlugin other(2, 2);
  EXPECT_EQ(other.UnserializePresets(bank, 0), bank.Size());
  EXPECT_STREQ(other.PresetName(0), "A");
  EXPECT_STREQ(other.PresetName(1), "empty");
  EXPECT_EQ(Values(other), (std::vector<double>{0.0, 4.5}));

  framework::StateChunk cut;
  cut.PutBytes(bank.Data(), 10);
  RecordingPlugin third(2, 2);
  EXPECT_EQ(third.UnserializePresets(cut, 0), -1);
}

TEST(StateBase, OverlongPresetNamesAreCut) {
  RecordingPlugin plugin(1, 1);
  framework::StateChunk bank;
  const std::string name(300, 'x');
  bank.PutInt32(300);
  bank.PutBytes(name.data(), 300);
  const uint8_t initialised = 1;
  bank.PutBytes(&initialised, 1);
  bank.PutDouble(2.5);
  EXPECT_EQ(plugin.UnserializePresets(bank, 0), 313);
  EXPECT_EQ(plugin.GetParam(0)->Current(), 2.5);
  EXPECT_EQ(std::string(plugin.PresetName(0)), std::string(255, 'x'));

  framework::StateChunk lying;
  lying.PutInt32(0x7FFFFFFF);  // a length beyond the data
  lying.PutBytes("abc", 3);
  EXPECT_EQ(plugin.UnserializePresets(lying, 0), -1);
}

TEST(StateBase, AnEmptyPresetListChangesNothing) {
  RecordingPlugin plugin(2, 0);
  framework::StateChunk bank;
  bank.PutInt32(5);
  EXPECT_TRUE(plugin.SerializePresets(bank));
  EXPECT_EQ(bank.Size(), 4);
  EXPECT_EQ(plugin.UnserializePresets(bank, 2), 2);
  EXPECT_FALSE(plugin.LoadPreset(0));
  EXPECT_STREQ(plugin.PresetName(0), "");
}

TEST(StateBase, VersionNumberPacksOrSpellsTheVersion) {
  RecordingPlugin plugin;
  EXPECT_EQ(plugin.VersionNumber(false), 262400);
  EXPECT_EQ(plugin.VersionNumber(true), 40100);
}
