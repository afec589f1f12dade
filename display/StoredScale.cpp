#include "display/StoredScale.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "graphics/platform/SettingsFolder.h"

namespace fs = std::filesystem;

namespace {

// Paths are UTF-8 everywhere here; Windows' narrow file functions would read them as ANSI.
fs::path PathOf(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

}  // namespace

std::string ScaleFilePath(const char* productName) {
  if (!productName || !*productName) return {};
  const std::string folder = SettingsFolder();
  if (folder.empty()) return {};
  std::string name = productName;
  for (char& c : name)
    if (std::strchr("/|\"*:<>?\\", c)) c = '_';
  return folder + name + "-display-scale.txt";
}

bool ReadStoredScale(const char* productName, float& scale) {
  const std::string path = ScaleFilePath(productName);
  if (path.empty()) return false;
  std::ifstream file(PathOf(path), std::ios::binary);
  if (!file) return false;
  std::string line;
  std::getline(file, line, '\n');
  if (line.empty()) return false;
  // The number is read without the locale: the file must mean the same on every machine.
  const char* p = line.c_str();
  const char* end = p + line.size();
  while (p < end && std::strchr(" \t\r\f\v", *p)) ++p;
  if (p < end && *p == '+') ++p;
  float value = 0.0f;
  const auto [rest, error] = std::from_chars(p, end, value);
  if (error != std::errc() || rest == p) return false;
  for (const char* q = rest; q < end; ++q)
    if (!std::strchr(" \t\r\f\v", *q)) return false;
  if (!std::isfinite(value) || value <= 0.0f) return false;
  scale = value;
  return true;
}

bool WriteStoredScale(const char* productName, float scale) {
  if (!std::isfinite(scale) || scale <= 0.0f) return false;
  const std::string folder = SettingsFolder();
  const std::string path = ScaleFilePath(productName);
  if (folder.empty() || path.empty()) return false;
  std::error_code ec;
  fs::create_directories(PathOf(folder), ec);
  if (ec && !fs::is_directory(PathOf(folder), ec)) return false;

  char text[32];
  const auto [end, error] = std::to_chars(text, text + sizeof text - 1, scale, std::chars_format::fixed, 4);
  if (error != std::errc()) return false;
  *end = '\n';
  // Written beside the file and moved over it, so a failed write never leaves half a file.
  const std::string temporary = path + ".tmp";
  {
    std::ofstream file(PathOf(temporary), std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(text, end + 1 - text);
    file.close();
    if (!file) {
      fs::remove(PathOf(temporary), ec);
      return false;
    }
  }
  fs::rename(PathOf(temporary), PathOf(path), ec);
  if (ec) {
    fs::remove(PathOf(temporary), ec);
    return false;
  }
  return true;
}
