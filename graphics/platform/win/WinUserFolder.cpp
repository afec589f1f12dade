// The settings folder under the user's roaming application data.
#include <windows.h>
// After windows.h, which it builds on.
#include <shlobj.h>

#include "graphics/platform/SettingsFolder.h"
#include "graphics/platform/win/WinSettingsFolder.h"

std::string SettingsFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, folder, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string utf8(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, folder, -1, utf8.data(), n, nullptr, nullptr);
  utf8.resize(static_cast<size_t>(n - 1));
  return WindowsSettingsFolder(utf8);
}
