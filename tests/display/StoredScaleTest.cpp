#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "display/StoredScale.h"
#include "graphics/platform/SettingsFolder.h"

namespace fs = std::filesystem;

namespace {

struct ScaleFileFixture : testing::Test {
  fs::path root = fs::temp_directory_path() / ("korvel-scale-" + std::to_string(::getpid()));

  void SetUp() override {
    fs::remove_all(root);
    fs::create_directories(root);
    setenv("XDG_CONFIG_HOME", root.c_str(), 1);
  }
  void TearDown() override { fs::remove_all(root); }

  fs::path File() const { return root / "Marrowby Audio" / "Preferences" / "Korvel-display-scale.txt"; }
  void Store(const std::string& text) {
    fs::create_directories(File().parent_path());
    std::ofstream(File(), std::ios::binary) << text;
  }
  std::string Stored() const {
    std::ifstream f(File(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
  }
};

}  // namespace

TEST_F(ScaleFileFixture, PathFollowsTheSettingsFolderAndCleansTheName) {
  EXPECT_EQ(ScaleFilePath("Korvel"), File().string());
  EXPECT_EQ(ScaleFilePath("a/b|c\"d*e:f<g>h?i\\j"), (root / "Marrowby Audio/Preferences/a_b_c_d_e_f_g_h_i_j-display-scale.txt").string());
  EXPECT_EQ(ScaleFilePath(""), "");
  EXPECT_EQ(ScaleFilePath(nullptr), "");

  setenv("XDG_CONFIG_HOME", "relative/path", 1);  // ignored, as the convention says
  setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(ScaleFilePath("Korvel"), "/home/someone/.config/Marrowby Audio/Preferences/Korvel-display-scale.txt");
}

TEST_F(ScaleFileFixture, WritesOneLineAndReadsItBack) {
  ASSERT_TRUE(WriteStoredScale("Korvel", 1.37f));
  EXPECT_EQ(Stored(), "1.3700\n");
  float scale = 0;
  ASSERT_TRUE(ReadStoredScale("Korvel", scale));
  EXPECT_FLOAT_EQ(scale, 1.37f);
  ASSERT_TRUE(WriteStoredScale("Korvel", 2.0f));
  EXPECT_EQ(Stored(), "2.0000\n");
}

// Found by fuzzing: a file with more decimals than the four written reads back, once written,
// within half a unit of the fourth decimal and single precision's error on top.
TEST_F(ScaleFileFixture, MoreDecimalsThanTheFileKeepsRoundToFour) {
  Store("+.55555");
  float scale = 0;
  ASSERT_TRUE(ReadStoredScale("Korvel", scale));
  EXPECT_FLOAT_EQ(scale, 0.55555f);
  ASSERT_TRUE(WriteStoredScale("Korvel", scale));
  EXPECT_EQ(Stored(), "0.5555\n");
  float again = 0;
  ASSERT_TRUE(ReadStoredScale("Korvel", again));
  EXPECT_NEAR(again, scale, 0.00005f + 1e-6f);
}

TEST_F(ScaleFileFixture, FileContentsAreValidatedOnRead) {
  struct Case { const char* text; bool valid; float scale; };
  const Case cases[] = {
      {"1.2500\n", true, 1.25f},   {"  3.5  \nrest", true, 3.5f}, {"2.0 x\n", false, 0},
      {"", false, 0},              {"\n1.5\n", false, 0},         {"0\n", false, 0},
      {"-1.5\n", false, 0},        {"inf\n", false, 0},           {"nan\n", false, 0},
      {"1e999\n", false, 0},       {"abc\n", false, 0},           {"0.75", true, 0.75f},
  };
  for (const Case& c : cases) {
    Store(c.text);
    float scale = -7.0f;
    EXPECT_EQ(ReadStoredScale("Korvel", scale), c.valid) << '"' << c.text << '"';
    EXPECT_FLOAT_EQ(scale, c.valid ? c.scale : -7.0f) << '"' << c.text << '"';
  }
  fs::remove(File());
  float scale = 0;
  EXPECT_FALSE(ReadStoredScale("Korvel", scale));
}

TEST_F(ScaleFileFixture, BadScalesAndUnwritableFoldersAreRefusedAndKeepTheOldFile) {
  Store("1.5000\n");
  for (float bad : {0.0f, -1.0f, std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()})
    EXPECT_FALSE(WriteStoredScale("Korvel", bad));
  EXPECT_EQ(Stored(), "1.5000\n");

  // A file where the folder should be: nothing can be created under it.
  fs::remove_all(root / "Marrowby Audio");
  std::ofstream(root / "Marrowby Audio") << "in the way";
  EXPECT_FALSE(WriteStoredScale("Korvel", 1.25f));
  float scale = 0;
  EXPECT_FALSE(ReadStoredScale("Korvel", scale));

  unsetenv("XDG_CONFIG_HOME");
  unsetenv("HOME");
  EXPECT_EQ(SettingsFolder(), "");
  EXPECT_FALSE(WriteStoredScale("Korvel", 1.25f));
}
