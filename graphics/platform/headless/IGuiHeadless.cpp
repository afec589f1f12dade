#include "graphics/platform/headless/IGuiHeadless.h"

#include <algorithm>
#include <cmath>

#include "framework/IGuiEditorDelegate.h"
#include "graphics/IControl.h"

namespace graphics {

IGuiHeadless::IGuiHeadless(framework::IGuiEditorDelegate& editorDelegate, int w, int h, int frameRate, float scale)
    : IGuiSkia(editorDelegate, w, h, frameRate, scale) {}

IGuiHeadless::~IGuiHeadless() { CloseWindow(); }

void* IGuiHeadless::OpenWindow(void*) {
  if (open) CloseWindow();
  // Opens at a whole screen scale; the first tick switches to the exact one.
  const int s = std::max(1, static_cast<int>(systemScale));
  windowWidth = static_cast<int>(static_cast<float>(Width()) * DrawScale()) * s;
  windowHeight = static_cast<int>(static_cast<float>(Height()) * DrawScale()) * s;
  open = true;
  OnViewInitialized();
  SetScreenScale(static_cast<float>(s));
  Delegate().BuildEditorLayout(*this);
  SetAllControlsDirty();
  Delegate().OnEditorOpened();
  return this;
}

void IGuiHeadless::CloseWindow() {
  if (!open) return;
  entryOpen = false;
  OnViewDestroyed();
  open = false;
  heldButtons = 0;
}

void IGuiHeadless::PlatformResize(bool) {
  windowWidth = static_cast<int>(static_cast<float>(static_cast<int>(static_cast<float>(Width()) * DrawScale())) *
                                 ScreenScale());
  windowHeight = static_cast<int>(static_cast<float>(static_cast<int>(static_cast<float>(Height()) * DrawScale())) *
                                  ScreenScale());
}

bool IGuiHeadless::Tick() {
  if (!open) return false;
  if (entryOpen) {
    ResolveTextEntry();
    return false;
  }
  if (heldButtons == 0 && systemScale != ScreenScale()) SetScreenScale(systemScale);
  dirty.clear();
  if (!CollectDirtyRects(dirty)) return false;
  SetAllControlsClean();
  // Invalidated in whole window pixels, painted back in UI units, as a window system does.
  const float s = BackingScale();
  invalidated.clear();
  paintRects.clear();
  for (const IRect& r : dirty) {
    const IRect pixels{std::floor(r.L * s), std::floor(r.T * s), std::ceil(r.R * s), std::ceil(r.B * s)};
    invalidated.push_back(pixels);
    paintRects.push_back({pixels.L / s, pixels.T / s, pixels.R / s, pixels.B / s});
  }
  DrawDirty(paintRects);
  ++paints;
  return true;
}

const uint8_t* IGuiHeadless::FramePixels(int& pixelsWide, int& pixelsHigh, int& rowBytes) const {
  const uint8_t* buffer = FrameBuffer();
  if (!open || !buffer) return nullptr;
  pixelsWide = PixelWidth();
  pixelsHigh = PixelHeight();
  rowBytes = PixelWidth() * 4;
  return buffer + kHeaderBytes;
}

void IGuiHeadless::ResolveTextEntry() {
  const bool cancelled = entryState == EntryState::CancelRequested;
  entryOpen = false;
  std::optional<std::string> answer;
  if (!cancelled && responder.textEntry) answer = responder.textEntry(entry);
  if (answer) {
    CommitTextEntry(answer->c_str());
  } else if (IControl* owner = TextEntryControl()) {
    ForgetTextEntry();
    owner->MarkDirty(false);
  }
}

void IGuiHeadless::SetModifierKeys(bool shiftKey, bool controlKey, bool altKey) noexcept {
  shift = shiftKey;
  control = controlKey;
  alt = altKey;
}

void IGuiHeadless::SetHeldButtons(bool left, bool right, bool middle) noexcept {
  heldButtons = (left ? Bit(MouseButton::Left) : 0u) | (right ? Bit(MouseButton::Right) : 0u) |
                (middle ? Bit(MouseButton::Middle) : 0u);
}

IMouseModifiers IGuiHeadless::Modifiers(bool left, bool right) const noexcept {
  IMouseModifiers mods;
  mods.L = left;
  mods.R = right;
  mods.S = shift;
  mods.C = control;
  mods.A = alt;
  return mods;
}

IPointerEvent IGuiHeadless::EventAt(float px, float py, bool left, bool right) const noexcept {
  const float s = BackingScale();
  return {px / s, py / s, 0.0f, 0.0f, Modifiers(left, right)};
}

void IGuiHeadless::MouseMove(float px, float py) {
  IPointerEvent e = EventAt(px, py, Held(MouseButton::Left), Held(MouseButton::Right));
  if (!e.mods.L && !e.mods.R) {
    mouseX = e.x;
    mouseY = e.y;
    OnMouseOver(e.x, e.y, e.mods);
    return;
  }
  if (entryOpen) return;
  e.dX = e.x - mouseX;
  e.dY = e.y - mouseY;
  mouseX = e.x;
  mouseY = e.y;
  if (e.dX == 0.0f && e.dY == 0.0f) return;
  OnMouseDrag({&e, 1});
  // A locked cursor goes back where it was hidden, so the drag can go on past the screen's edge.
  if (cursorHidden && cursorLocked) MoveMouseCursor(hiddenCursorX, hiddenCursorY);
}

void IGuiHeadless::MouseDown(float px, float py, MouseButton button) {
  if (entryOpen) {
    entryState = EntryState::CommitRequested;
    return;
  }
  const IPointerEvent e = EventAt(px, py, button == MouseButton::Left, button == MouseButton::Right);
  mouseX = e.x;
  mouseY = e.y;
  heldButtons |= Bit(button);
  OnMouseDown({&e, 1});
}

void IGuiHeadless::MouseUp(float px, float py, MouseButton button) {
  const IPointerEvent e = EventAt(px, py, button == MouseButton::Left, button == MouseButton::Right);
  heldButtons &= ~Bit(button);
  mouseX = e.x;
  mouseY = e.y;
  OnMouseUp({&e, 1});
}

bool IGuiHeadless::DoubleClick(float px, float py, bool rightButton) {
  const IPointerEvent e = EventAt(px, py, !rightButton, rightButton);
  mouseX = e.x;
  mouseY = e.y;
  const bool taken = OnMouseDoubleClick(e.x, e.y, e.mods);
  if (taken) heldButtons |= Bit(LeftOrRight(rightButton));
  return taken;
}

bool IGuiHeadless::Wheel(float px, float py, int wheelValue) {
  if (entryOpen) {
    entryState = EntryState::CancelRequested;
    return false;
  }
  const IPointerEvent e = EventAt(px, py, Held(MouseButton::Left), Held(MouseButton::Right));
  const int notches = static_cast<int16_t>(wheelValue) / 120;
  return OnMouseWheel(e.x, e.y, e.mods, static_cast<float>(notches));
}

bool IGuiHeadless::KeyDown(const IKeyEvent& key) { return KeyAtMouse(key, false); }

bool IGuiHeadless::KeyUp(const IKeyEvent& key) { return KeyAtMouse(key, true); }

void IGuiHeadless::MouseLeave() { OnMouseOut(); }

void IGuiHeadless::DropFiles(const std::vector<std::string>& paths, float px, float py) {
  if (paths.empty()) return;
  const IPointerEvent e = EventAt(px, py, false, false);
  if (paths.size() == 1) OnFileDrop(paths.front().c_str(), e.x, e.y);
  else OnFilesDrop(paths, e.x, e.y);
}

IMenu* IGuiHeadless::ShowPlatformMenu(IMenu& menu, const IRect& anchor) {
  IMenu* chosen = responder.menu ? responder.menu(menu, anchor) : nullptr;
  if (!chosen || !chosen->Item(chosen->chosenIdx)) return nullptr;
  if (chosen->function) chosen->function(*chosen);
  return chosen;
}

void IGuiHeadless::ShowPlatformTextEntry(int paramIdx, const ITextStyle& style, const IRect& rect, int maxLength,
                                         const char* text) {
  if (entryOpen) return;
  entry = {paramIdx, style, rect, maxLength, text ? text : ""};
  entryState = EntryState::Editing;
  entryOpen = true;
}

}  // namespace graphics
