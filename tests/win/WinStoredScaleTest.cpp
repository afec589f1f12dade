#include <gtest/gtest.h>

#include "graphics/platform/win/WinSettingsFolder.h"

namespace {

TEST(WinStoredScale, SettingsFolderUnderRoamingAppData) {
  EXPECT_EQ(WindowsSettingsFolder("C:\\Users\\ana\\AppData\\Roaming"),
            "C:\\Users\\ana\\AppData\\Roaming\\Marrowby Audio\\Preferences\\");
  EXPECT_EQ(WindowsSettingsFolder("C:\\Users\\ana\\AppData\\Roaming\\"),
            "C:\\Users\\ana\\AppData\\Roaming\\Marrowby Audio\\Preferences\\");
  EXPECT_EQ(WindowsSettingsFolder(""), "");
  EXPECT_EQ(WindowsSettingsFolder("\\"), "");
}

}  // namespace
