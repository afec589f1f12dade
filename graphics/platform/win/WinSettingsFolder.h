#pragma once
// The Windows form of the settings folder, as a pure function so that its test runs anywhere.
#include <string>

// [thread-safe] "<folder>\Marrowby Audio\Preferences\"; "" when the folder is unknown ("").
std::string WindowsSettingsFolder(const std::string& roamingAppData);
