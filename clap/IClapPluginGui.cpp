// The editor extension and the timer that drives the editor on Linux hosts.
#include <algorithm>
#include <climits>
#include <cstring>

#include "clap/IClapPlugin.h"
#include "framework/Timer.h"

namespace {

int ToInt(uint32_t value) noexcept { return static_cast<int>(std::min<uint32_t>(value, INT_MAX)); }

}  // namespace

bool IClapPlugin::GuiIsApiSupported(const char* api, bool isFloating) noexcept {
  return api && !isFloating && std::strcmp(api, KORVEL_WINDOW_API_OFFSCREEN) == 0 && host.TimerSupportUsable();
}

bool IClapPlugin::GuiGetPreferredApi(const char**, bool*) noexcept { return false; }

bool IClapPlugin::GuiCreate(const char* api, bool isFloating) noexcept {
  guiApi.Set(api);
  isGuiFloating = isFloating;
  isGuiEmbedded = false;
  if (!HasEditor() || !GuiIsApiSupported(api, isFloating)) return false;
  // Without its timer the editor would never paint: a refused timer fails the creation.
  if (guiTimer == CLAP_INVALID_ID && !host.RegisterTimer(kGuiTimerMs, guiTimer)) return false;
  isGuiCreated = true;
  return true;
}

void IClapPlugin::GuiDestroy() noexcept {
  CloseEditor();
  editorOpen = false;
  parentWindow = nullptr;
  offscreenWindow = {};
  StopGuiTimer();
  isGuiCreated = isGuiFloating = isGuiEmbedded = false;
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
  const bool opened = OpenEditorInParent(window->ptr);
  if (opened) isGuiEmbedded = true;
  return opened;
}

bool IClapPlugin::OpenEditorInParent(void* parent) noexcept {
  if (!HasEditor() || !parent) return false;
  // The host's record may be older and smaller than ours: its size says how much is there.
  korvel_offscreen_window_t record;
  std::memcpy(&record.size, parent, sizeof record.size);
  if (record.size < sizeof record) return false;
  std::memcpy(&record, parent, sizeof record);
  offscreenWindow = record;
  parentWindow = parent;
  editorOpen = OpenEditor(parent) != nullptr;
  if (!editorOpen) parentWindow = nullptr;
  return editorOpen;
}

bool IClapPlugin::GuiShow() noexcept {
  if (!HasEditor() || !parentWindow) return false;
  if (!editorOpen) editorOpen = OpenEditor(parentWindow) != nullptr;
  return editorOpen;
}

bool IClapPlugin::GuiHide() noexcept {
  if (!HasEditor()) return false;
  CloseEditor();
  editorOpen = false;
  return true;
}

void IClapPlugin::TimerSupportOnTimer(clap_id timerId) noexcept {
  if (timerId == CLAP_INVALID_ID || timerId != guiTimer) return;
  framework::PlatformTimer::Pump();
  framework::IEditorView* view = editorOpen ? Graphics() : nullptr;
  if (view && view->HostTick()) DeliverFrame();
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
