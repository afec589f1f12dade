#include "graphics/platform/x11/X11ErrorTrap.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

namespace graphics {

namespace {

struct Watched {
  Display* display;
  int firstError;
};

std::mutex& TrapLock() {
  static std::mutex lock;
  return lock;
}

std::vector<Watched>& WatchedDisplays() {
  static std::vector<Watched> displays;
  return displays;
}

XErrorHandler previousHandler = nullptr;

int OnError(Display* display, XErrorEvent* error) {
  XErrorHandler forward = nullptr;
  {
    std::lock_guard<std::mutex> guard(TrapLock());
    for (Watched& w : WatchedDisplays()) {
      if (w.display != display) continue;
      if (w.firstError == 0) w.firstError = error->error_code;
      return 0;
    }
    forward = previousHandler;
  }
  return forward ? forward(display, error) : 0;
}

}  // namespace

void X11ErrorTrap::Watch(Display* display) {
  std::lock_guard<std::mutex> guard(TrapLock());
  if (WatchedDisplays().empty()) previousHandler = XSetErrorHandler(OnError);
  WatchedDisplays().push_back({display, 0});
}

void X11ErrorTrap::Forget(Display* display) {
  std::lock_guard<std::mutex> guard(TrapLock());
  auto& displays = WatchedDisplays();
  displays.erase(std::remove_if(displays.begin(), displays.end(), [&](const Watched& w) { return w.display == display; }),
                 displays.end());
  if (!displays.empty()) return;
  const XErrorHandler current = XSetErrorHandler(previousHandler);
  // Someone installed a handler after ours: keep theirs.
  if (current != OnError) XSetErrorHandler(current);
  previousHandler = nullptr;
}

int X11ErrorTrap::Sync(Display* display) {
  XSync(display, False);
  std::lock_guard<std::mutex> guard(TrapLock());
  for (Watched& w : WatchedDisplays()) {
    if (w.display != display) continue;
    return std::exchange(w.firstError, 0);
  }
  return 0;
}

}  // namespace graphics
