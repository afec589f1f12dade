// Linked into every test program: whatever an editor stores on closing (its display scale)
// goes to a settings folder of this process alone, never into the user's own, and no test
// sees what another one stored.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

#include "PrivateSettings.h"

namespace {

struct PrivateSettings {
  std::string folder = (std::filesystem::temp_directory_path() / ("korvel-test-settings-" + std::to_string(::getpid()))).string();
  PrivateSettings() { setenv("XDG_CONFIG_HOME", folder.c_str(), 1); }
  ~PrivateSettings() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
};

const PrivateSettings settings;

}  // namespace

void testsupport::ForgetStoredSettings() {
  std::error_code ec;
  std::filesystem::remove_all(settings.folder, ec);
}
