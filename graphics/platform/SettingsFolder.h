#pragma once
// Where the user's settings live: the one place that asks the platform.
#include <string>

// [thread-safe] The user's settings folder for this maker, ending in a separator; "" when
// unknown. On Linux $XDG_CONFIG_HOME (or ~/.config) followed by "/Marrowby Audio/Preferences/";
// on Windows WindowsSettingsFolder of the user's roaming application-data folder. UTF-8.
std::string SettingsFolder();
