#pragma once
// The editor's window on Linux: a child window inside the host's X11 window, painted from the
// frame buffer (only the regions each display tick repainted), with the X input translated
// into the UI's mouse, wheel and key calls, the cursor, the value menu and text entry as
// windows of our own, the screen scale and the desktop services. Input translation and the
// tick-and-paint order are the headless window's; opened without a parent it stays offscreen.
//
// Threading: the host drives everything on its main thread; nothing here starts a thread.
// Each open window has its own X connection. A binding drives it like this:
//   - CLAP: after set_parent, register ConnectionFd() with the host's posix-fd-support
//     (CLAP_POSIX_FD_READ) and a timer of TickPeriodMs() with its timer-support; call Pump()
//     from both on_fd and on_timer. Unregister both before the editor closes: the descriptor
//     closes with the window (and a reopened window has a new one).
//   - VST2: effEditOpen passes the host's Window; call Pump() from every effEditIdle.
// Call Pump() on the timer even when the descriptor stays quiet: events Xlib has already read
// into its queue do not make the descriptor readable again. HostTick() is Pump() for a
// binding that knows the editor only as a framework::IEditorView.
// The parent and the returned view are X11 Window ids carried in a pointer:
//   reinterpret_cast<void*>(static_cast<uintptr_t>(window)).
// [main-thread] for every operation.
#include <functional>
#include <memory>
#include <string>

#include "graphics/platform/headless/IGuiHeadless.h"
#include "graphics/platform/x11/X11DoubleClick.h"
#include "graphics/platform/x11/X11TickClock.h"
#include "graphics/platform/x11/X11Types.h"

namespace graphics {

class X11Clipboard;
class X11FrameCopy;
class X11MenuPopup;
class X11TextEntry;

class IGuiX11 : public IGuiHeadless {
public:
  IGuiX11(framework::IGuiEditorDelegate& delegate, int width, int height, int fps, float scale);
  ~IGuiX11() override;

  // ---- Window ---------------------------------------------------------------------------------
  // Connects to the display of $DISPLAY and creates the child window (class "KorvelWndClass",
  // title "Korvel") in the parent Window, at the size of the editor and the screen scale
  // (whole for now; the first tick applies a fractional one). Returns the child's Window id,
  // or null when there is no display or the parent is not a window. A null parent opens the
  // editor offscreen, as the headless window does, and returns this object.
  void* OpenWindow(void* parent) override;
  // Destroys the window and everything it made on the server, and closes the connection.
  void CloseWindow() override;
  const char* PlatformName() const override { return "x11"; }
  // Resizes the child to the editor's pixel size; grows the parent by as much unless the host
  // already resized it.
  void PlatformResize(bool parentHasResized) override;
  // The host's scale (CLAP set_scale). Without one the window uses the X resources' Xft.dpi / 96,
  // or 1. Ignored unless finite and positive.
  void SetScreenScale(float scale) override;

  // ---- The host's event loop ----------------------------------------------------------------------
  // The X connection's file descriptor to watch for reading; -1 while not on a display.
  int ConnectionFd() const noexcept;
  // The display tick's period rounded down to whole milliseconds (16 at 60 frames per second):
  // the timer period to ask a host for.
  int TickPeriodMs() const noexcept;
  // Handles every pending X event, then runs the display tick when it is due (a tick missed
  // while the host was busy is dropped, not caught up). Nothing while not on a display.
  void Pump();
  // Pump() for a binding that knows the editor only as a view; true when something was painted.
  // Offscreen, the headless window's tick.
  bool HostTick() override;
  int EventFd() const override { return ConnectionFd(); }
  // The system shows the window's pixels: null while on a display; offscreen, the frame.
  const uint8_t* FramePixels(int& pixelsWide, int& pixelsHigh, int& rowBytes) const override;
  // The child window, or 0.
  XId WindowId() const noexcept { return window; }
  bool UsesSharedMemory() const noexcept;

  // ---- Cursor and prompts ---------------------------------------------------------------------
  // Where the pointer is now, asked of the server (keys are dispatched there); offscreen, or
  // with the pointer on another screen, where it was last seen.
  void MouseLocation(float& x, float& y) const override;
  void HideMouseCursor(bool hide = true, bool lock = true) override;
  // Warps the pointer to the UI position and remembers where it landed.
  void MoveMouseCursor(float x, float y) override;
  CursorType SetMouseCursor(CursorType type) override;
  // Modal: a pop-up below the anchor; ticks go on while it is open.
  IMenu* ShowPlatformMenu(IMenu& menu, const IRect& anchor) override;
  // A text entry over the rectangle; its commit or cancel happens at the next tick.
  void ShowPlatformTextEntry(int paramIdx, const ITextStyle& style, const IRect& rect, int maxLength,
                             const char* text) override;
  bool TextEntryOpen() const noexcept { return entry != nullptr; }

  // ---- Desktop services -----------------------------------------------------------------------
  // The CLIPBOARD selection; false (text "") when there is none or no text in time.
  bool GetClipboardText(std::string& text);
  bool SetClipboardText(const char* text);
  bool SetClipboardFilePath(const char* filePath);
  // Opens the path (with select: the folder that holds it) with xdg-open; true when the path
  // exists and the opener was started.
  bool RevealPathInFileManager(const char* filePath, bool select);
  // There is no toolkit for system dialogs: each reports that the user chose nothing.
  using PromptCompletion = std::function<void()>;
  void PromptForFile(std::string& file, std::string& directory, bool open, const char* extensions,
                     const PromptCompletion& completion);
  void PromptForDirectory(std::string& directory, const PromptCompletion& completion);
  bool PromptForColour(IColour& colour, const char* title, const PromptCompletion& completion);

private:
  friend class X11MenuPopup;

  XDisplayHandle* XDisplay() const noexcept { return display; }
  void HandleEvent(XEventRecord& event);
  void HandleKey(XEventRecord& event, bool down);
  // Events of the editor's window while a menu is open: exposure, clipboard; false when the
  // window is gone or a click in it dismisses the menu.
  bool ServeWhileModal(XEventRecord& event);
  void RunDueTick();
  int MillisecondsToNextTick() const noexcept;
  void ResolveTextEntry();
  void ShowFrame(const IRect& pixels);
  void SetModifiersFrom(unsigned int state) noexcept;
  // Gives the window the keyboard focus once it is viewable (pending until then).
  void TakeFocusWhenViewable();
  XId CursorFor(CursorType type);
  void ApplyCursor();
  void DestroyWindowResources();

  XDisplayHandle* display = nullptr;
  XId parentWindow = 0;
  XId window = 0;
  int shownWidth = 0, shownHeight = 0;
  int depth = 0;
  std::unique_ptr<X11FrameCopy> frameCopy;
  std::unique_ptr<X11Clipboard> clipboard;
  std::unique_ptr<X11TextEntry> entry;
  X11TickClock ticks;
  X11DoubleClick doubleClick;
  XId cursors[14] = {};
  XId blankCursor = 0;
  float givenScale = 0.0f;
  bool opening = false;
  // Opened into a window not yet shown: the focus is taken at the first exposure.
  bool focusPending = false;
  // Set by a menu opened from a press: that press's release went to the pop-up.
  bool menuTookRelease = false;
};

}  // namespace graphics
