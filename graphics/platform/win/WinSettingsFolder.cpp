#include "graphics/platform/win/WinSettingsFolder.h"

std::string WindowsSettingsFolder(const std::string& roamingAppData) {
  std::string base = roamingAppData;
  while (!base.empty() && (base.back() == '\\' || base.back() == '/')) base.pop_back();
  if (base.empty()) return {};
  return base + "\\Marrowby Audio\\Preferences\\";
}
