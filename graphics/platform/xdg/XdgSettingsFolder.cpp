#include <cstdlib>

#include "graphics/platform/SettingsFolder.h"

std::string SettingsFolder() {
  std::string base;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') {  // relative values are to be ignored
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') return {};
    base = std::string(home) + "/.config";
  }
  if (base.back() != '/') base += '/';
  return base + "Marrowby Audio/Preferences/";
}
