#pragma once
// The UI without a window system: an offscreen window that a caller opens as a host would,
// drives with display ticks, feeds with mouse, wheel and key input in window pixels
// (translated to UI units as a window layer does) and reads back through the frame buffer.
// Prompts are answered by a scripted responder. Used by tests and the render tool.
// [editor-thread] (the thread that opened it)
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "graphics/skia/IGuiSkia.h"

namespace graphics {

class IGuiHeadless : public IGuiSkia {
public:
  struct TextEntryRequest {
    int paramIdx = -1;
    ITextStyle style;
    IRect rect;
    int maxLength = 0;
    std::string text;
  };

  // Stands in for the user at a prompt.
  struct Responder {
    // Sets the chosen index of the menu (or of one of its sub-menus) and returns that
    // menu; null cancels. Without a responder every menu is cancelled.
    std::function<IMenu*(IMenu& menu, const IRect& anchor)> menu;
    // The text confirmed with Enter, or nothing for Escape. Without one, entries are cancelled.
    std::function<std::optional<std::string>(const TextEntryRequest& request)> textEntry;
  };

  IGuiHeadless(framework::IGuiEditorDelegate& delegate, int width, int height, int fps, float scale);
  ~IGuiHeadless() override;

  void SetResponder(Responder r) { responder = std::move(r); }
  // The display's pixels per UI unit as the system reports it (DPI / 96); 1 by default.
  void SetSystemScale(float scale) noexcept { systemScale = scale; }

  // ---- Window ---------------------------------------------------------------------------------
  // Builds the controls through the delegate's layout step and marks them all dirty.
  void* OpenWindow(void* parent) override;
  void CloseWindow() override;
  bool WindowIsOpen() const override { return open; }
  const char* PlatformName() const override { return "headless"; }
  float PlatformWindowScale() const override { return ScreenScale(); }
  void PlatformResize(bool parentHasResized) override;
  // The window's size in pixels.
  int WindowWidth() const noexcept { return windowWidth; }
  int WindowHeight() const noexcept { return windowHeight; }

  // One display tick: a pending text entry is resolved, a changed system scale applied, the
  // dirty controls collected and their regions painted. True when something was painted.
  bool Tick();
  // The host's tick is this window's display tick.
  bool HostTick() override { return Tick(); }
  const uint8_t* FramePixels(int& pixelsWide, int& pixelsHigh, int& rowBytes) const override;
  // The regions the last paint covered, in window pixels.
  const std::vector<IRect>& LastPaintedPixels() const noexcept { return invalidated; }
  int PaintCount() const noexcept { return paints; }

  // ---- Input in window pixels -------------------------------------------------------------------
  enum class MouseButton { Left, Right, Middle };

  void SetModifierKeys(bool shift, bool control, bool alt) noexcept;
  // The buttons the system reports held; presses and releases here keep them up to date.
  void SetHeldButtons(bool left, bool right, bool middle) noexcept;
  // A drag while the left or right button is held (named in its modifiers), else a hover.
  void MouseMove(float px, float py);
  // Every press has its release: the middle button's too, although its modifiers name neither
  // left nor right.
  void MouseDown(float px, float py, MouseButton button);
  void MouseUp(float px, float py, MouseButton button);
  void MouseDown(float px, float py, bool rightButton = false) { MouseDown(px, py, LeftOrRight(rightButton)); }
  void MouseUp(float px, float py, bool rightButton = false) { MouseUp(px, py, LeftOrRight(rightButton)); }
  bool DoubleClick(float px, float py, bool rightButton = false);
  // wheelValue in the system's units: 120 per notch; the modifiers name the buttons held.
  bool Wheel(float px, float py, int wheelValue);
  // At the pointer position; false when the editor did not take it (the host gets it).
  bool KeyDown(const IKeyEvent& key);
  bool KeyUp(const IKeyEvent& key);
  void MouseLeave();
  void DropFiles(const std::vector<std::string>& paths, float px, float py);

  // ---- What the system shows ------------------------------------------------------------------
  bool CursorHidden() const noexcept { return cursorHidden; }
  bool CursorLocked() const noexcept { return cursorLocked; }
  CursorType Cursor() const noexcept { return cursorType; }
  // The open text entry, or null.
  const TextEntryRequest* TextEntry() const noexcept { return entryOpen ? &entry : nullptr; }

  IMenu* ShowPlatformMenu(IMenu& menu, const IRect& anchor) override;
  void ShowPlatformTextEntry(int paramIdx, const ITextStyle& style, const IRect& rect, int maxLength,
                             const char* text) override;

private:
  enum class EntryState { Editing, CancelRequested, CommitRequested };

  static MouseButton LeftOrRight(bool right) noexcept { return right ? MouseButton::Right : MouseButton::Left; }
  static unsigned Bit(MouseButton button) noexcept { return 1u << static_cast<unsigned>(button); }
  bool Held(MouseButton button) const noexcept { return (heldButtons & Bit(button)) != 0; }
  IMouseModifiers Modifiers(bool left, bool right) const noexcept;
  IPointerEvent EventAt(float px, float py, bool left, bool right) const noexcept;
  void ResolveTextEntry();

  Responder responder;
  float systemScale = 1.0f;
  bool open = false;
  int windowWidth = 0;
  int windowHeight = 0;
  bool shift = false, control = false, alt = false;
  unsigned heldButtons = 0;
  bool entryOpen = false;
  EntryState entryState = EntryState::Editing;
  TextEntryRequest entry;
  std::vector<IRect> dirty;
  std::vector<IRect> invalidated;
  std::vector<IRect> paintRects;
  int paints = 0;
};

}  // namespace graphics
