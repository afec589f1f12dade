// The editor extension, and the timer, descriptor and main-thread callbacks that drive the
// editor on hosts whose event loop it lives on.
#include <algorithm>
#include <climits>
#include <cstring>

#include "clap/IClapPlugin.h"
#include "framework/Timer.h"

namespace {

int ToInt(uint32_t value) noexcept { return static_cast<int>(std::min<uint32_t>(value, INT_MAX)); }

#ifdef KORVEL_WINDOW_NEEDS_HOST_LOOP
constexpr bool kWindowNeedsHostLoop = true;
#else
constexpr bool kWindowNeedsHostLoop = false;
#endif

bool IsNativeApi(const char* api) noexcept {
#ifdef KORVEL_WINDOW_API
  return std::strcmp(api, KORVEL_WINDOW_API) == 0;
#else
  (void)api;
  return false;
#endif
}

// The native handle inside the host's window record, as the platform's window takes it.
void* NativeHandle(const clap_window_t& window) noexcept {
  if (std::strcmp(window.api, CLAP_WINDOW_API_X11) == 0)
    return reinterpret_cast<void*>(static_cast<uintptr_t>(window.x11));
  return window.ptr;
}

}  // namespace

bool IClapPlugin::IsOffscreenApi(const char* api) const noexcept {
  return offscreenWindowApi && std::strcmp(api, offscreenWindowApi) == 0;
}

bool IClapPlugin::GuiIsApiSupported(const char* api, bool isFloating) noexcept {
  if (!api || isFloating) return false;
  if (IsOffscreenApi(api)) return host.TimerSupportUsable();
  return IsNativeApi(api);
}

bool IClapPlugin::GuiGetPreferredApi(const char**, bool*) noexcept { return false; }

bool IClapPlugin::StartGuiTicks(const char* api) noexcept {
  // Without its timer the offscreen editor would never paint. A native window that lives on
  // the host's loop takes the host's timer when there is one, else the callback ticker.
  if (IsOffscreenApi(api)) return StartGuiTimer();
  if (kWindowNeedsHostLoop) StartGuiTimer();
  return true;
}

bool IClapPlugin::GuiCreate(const char* api, bool isFloating) noexcept {
  guiApi.Set(api);
  isGuiFloating = isFloating;
  isGuiEmbedded = false;
  if (!HasEditor() || !GuiIsApiSupported(api, isFloating)) return false;
  if (!StartGuiTicks(api)) return false;
  isGuiCreated = true;
  return true;
}

void IClapPlugin::GuiDestroy() noexcept {
  CloseGuiWindow();
  parentWindow = nullptr;
  guiWindow = GuiWindow::None;
  offscreenWindow = {};
  StopGuiTimer();
  isGuiCreated = isGuiFloating = isGuiEmbedded = false;
}

bool IClapPlugin::StartGuiTimer() noexcept {
  return guiTimer != CLAP_INVALID_ID || host.RegisterTimer(kGuiTimerMs, guiTimer);
}

void IClapPlugin::StopGuiTimer() noexcept {
  if (guiTimer == CLAP_INVALID_ID) return;
  host.UnregisterTimer(guiTimer);
  guiTimer = CLAP_INVALID_ID;
}

bool IClapPlugin::GuiSetScale(double scale) noexcept {
  if (!HasEditor()) return false;
  ApplyScreenScale(static_cast<float>(scale));
  return true;
}

bool IClapPlugin::GuiGetSize(uint32_t* width, uint32_t* height) noexcept {
  if (!HasEditor() || !width || !height) return false;
  *width = static_cast<uint32_t>(std::max(EditorWidth(), 0));
  *height = static_cast<uint32_t>(std::max(EditorHeight(), 0));
  return true;
}

bool IClapPlugin::GuiCanResize() noexcept { return HasEditor() && HostResizesEditor(); }

bool IClapPlugin::GuiAdjustSize(uint32_t* width, uint32_t* height) noexcept {
  if (!HasEditor() || !width || !height) return false;
  int w = ToInt(*width);
  int h = ToInt(*height);
  ClampEditorSize(w, h);
  *width = static_cast<uint32_t>(std::max(w, 0));
  *height = static_cast<uint32_t>(std::max(h, 0));
  return true;
}

bool IClapPlugin::GuiSetSize(uint32_t width, uint32_t height) noexcept {
  if (!HasEditor()) return false;
  OnHostResizeEditor(ToInt(width), ToInt(height));
  return true;
}

bool IClapPlugin::GuiSetParent(const clap_window_t* window) noexcept {
  if (!window || !GuiIsApiSupported(window->api, false)) return false;
  // A host may create with one API and attach with another: the ticks follow the window.
  if (!StartGuiTicks(window->api)) return false;
  const bool offscreen = IsOffscreenApi(window->api);
  guiWindow = offscreen ? GuiWindow::Offscreen : GuiWindow::Native;
  const bool opened = OpenEditorInParent(offscreen ? window->ptr : NativeHandle(*window));
  if (opened) isGuiEmbedded = true;
  return opened;
}

bool IClapPlugin::OpenEditorInParent(void* parent) noexcept {
  if (!HasEditor() || !parent) return false;
  offscreenWindow = {};
  if (guiWindow == GuiWindow::Offscreen) {
    // The host's record may be older and smaller than ours: its size says how much is there.
    plugin_offscreen_window_t record;
    std::memcpy(&record.size, parent, sizeof record.size);
    if (record.size < sizeof record) return false;
    std::memcpy(&record, parent, sizeof record);
    offscreenWindow = record;
  }
  parentWindow = parent;
  if (!OpenGuiWindow()) parentWindow = nullptr;
  return editorOpen;
}

bool IClapPlugin::OpenGuiWindow() noexcept {
  CloseGuiWindow();
  // The offscreen editor has no parent window: the host receives its frames instead.
  editorOpen = OpenEditor(guiWindow == GuiWindow::Offscreen ? nullptr : parentWindow) != nullptr;
  if (!editorOpen) return false;
  if (NeedsCallbackTicks() && !callbackTicks.Start()) {
    CloseGuiWindow();
    return false;
  }
  const framework::IEditorView* view = Graphics();
  const int fd = view ? view->EventFd() : -1;
  if (fd >= 0 && host.RegisterFd(fd, CLAP_POSIX_FD_READ | CLAP_POSIX_FD_ERROR)) guiFd = fd;
  return true;
}

bool IClapPlugin::NeedsCallbackTicks() const noexcept {
  return kWindowNeedsHostLoop && guiWindow == GuiWindow::Native && guiTimer == CLAP_INVALID_ID;
}

void IClapPlugin::CloseGuiWindow() noexcept {
  // No tick may run into the closing window, and the descriptor closes with it: the ticker
  // stops and the host stops watching first.
  callbackTicks.Stop();
  if (guiFd >= 0) host.UnregisterFd(guiFd);
  guiFd = -1;
  CloseEditor();
  editorOpen = false;
}

bool IClapPlugin::GuiShow() noexcept {
  if (!HasEditor() || !parentWindow) return false;
  if (editorOpen) return true;
  return OpenGuiWindow();
}

bool IClapPlugin::GuiHide() noexcept {
  if (!HasEditor()) return false;
  CloseGuiWindow();
  return true;
}

void IClapPlugin::TimerSupportOnTimer(clap_id timerId) noexcept {
  if (timerId == CLAP_INVALID_ID || timerId != guiTimer) return;
  TickEditor();
}

void IClapPlugin::PluginOnMainThread() noexcept {
  if (callbackTicks.Running())
    TickEditor();
  else
    framework::PlatformTimer::Pump();
}

void IClapPlugin::TickEditor() noexcept {
  framework::PlatformTimer::Pump();
  framework::IEditorView* view = editorOpen ? Graphics() : nullptr;
  if (view && view->HostTick()) DeliverFrame();
}

bool IClapPlugin::ImplementsPosixFdSupport() const noexcept { return kWindowNeedsHostLoop && HasEditor(); }

void IClapPlugin::PosixFdSupportOnFd(int fd, clap_posix_fd_flags_t) noexcept {
  if (fd < 0 || fd != guiFd) return;
  framework::IEditorView* view = editorOpen ? Graphics() : nullptr;
  if (view) view->HostTick();
}

void IClapPlugin::DeliverFrame() noexcept {
  const framework::IEditorView* view = Graphics();
  if (!view || !offscreenWindow.frame) return;
  int width = 0, height = 0, rowBytes = 0;
  const uint8_t* pixels = view->FramePixels(width, height, rowBytes);
  if (!pixels || width <= 0 || height <= 0 || rowBytes < width * 4) return;
  offscreenWindow.frame(offscreenWindow.context, pixels, static_cast<uint32_t>(width), static_cast<uint32_t>(height),
                        static_cast<uint32_t>(rowBytes));
}

// ---- Editor → host ----------------------------------------------------------------------

bool IClapPlugin::HostResizeEditor(int width, int height) {
  if (!HasEditor()) return true;
  if (width != EditorWidth() || height != EditorHeight())
    host.GuiRequestResize(static_cast<uint32_t>(std::max(width, 0)), static_cast<uint32_t>(std::max(height, 0)));
  SetEditorSize(width, height);
  return true;
}
