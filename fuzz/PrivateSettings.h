#pragma once
// Points the user's settings folder at a fresh temporary one for the rest of the run, so that
// an editor's stored scale neither comes from nor goes to the user's own, and every run starts
// from none; the folder goes when the run ends. Returns the folder.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz/FuzzFail.h"

inline std::string UsePrivateSettings() {
  static const std::string folder = [] {
    char path[] = "/tmp/korvel-fuzz-settings-XXXXXX";
    if (!mkdtemp(path)) FuzzFail("mkdtemp");
    setenv("XDG_CONFIG_HOME", path, 1);
    return std::string(path);
  }();
  static const bool removedAtExit = std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(UsePrivateSettings(), ignored);
  }) == 0;
  (void)removedAtExit;
  return folder;
}
