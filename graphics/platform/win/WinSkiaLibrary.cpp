#include "graphics/platform/win/WinSkiaLibrary.h"

#include <mutex>
#include <string>

#include <windows.h>
// After windows.h, which it builds on.
#include <delayimp.h>

#include "graphics/platform/win/WinModule.h"

namespace graphics::win {
namespace {

constexpr const char* kSkiaDll = "libSkiaSharp.dll";

HMODULE skia = nullptr;

// The delay-load helper asks before it loads a library by its bare name: it gets our copy.
FARPROC WINAPI DelayLoadNotify(unsigned notification, PDelayLoadInfo info) {
  if (notification == dliNotePreLoadLibrary && skia && info && info->szDll && lstrcmpiA(info->szDll, kSkiaDll) == 0)
    return reinterpret_cast<FARPROC>(skia);
  return nullptr;
}

}  // namespace

bool LoadSkiaLibrary() noexcept {
  static std::mutex lock;
  const std::lock_guard guard(lock);
  if (skia) return true;
  const std::wstring folder = ModuleFolder(ThisModule());
  if (folder.empty()) return false;
  // The release layout: a subfolder, and a name no host takes for a plug-in (cmake/KorvelInstall.cmake).
  const std::wstring path = folder + L"korvel-lib\\libSkiaSharp.skia";
  // Its own imports (system libraries) are then searched from its folder first.
  skia = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!skia) return false;
  __pfnDliNotifyHook2 = DelayLoadNotify;
  return true;
}

}  // namespace graphics::win
