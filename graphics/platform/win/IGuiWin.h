#pragma once
// The editor's window on Windows: a child window of class "KorvelWndClass" inside the host's
// parent window, painted from the frame buffer (only the regions a display tick found dirty),
// ticked by a vertical-blank thread (Windows 8 and later) or a timer, with the window's
// messages translated into the UI's input calls (WinMessages.h), the system cursor, the native
// text entry and pop-up menu, the screen scale from the window's DPI, and the desktop services:
// clipboard, dialogs, message box, file manager, file drags out and drops in.
// The parent and the returned view are HWNDs.
// [editor-thread] for everything: the thread that opened the window runs its messages. The
// vertical-blank thread only posts ticks.
#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>
// windows.h maps these names to its A/W functions; here they are the UI's own operations.
#undef LoadBitmap
#undef DrawText

#include "graphics/platform/win/WinDisplay.h"
#include "graphics/platform/win/WinEntryRules.h"
#include "graphics/platform/win/WinMessages.h"
#include "graphics/skia/IGuiSkia.h"

namespace graphics {

class IGuiWinFileDropTarget;

// The window's DPI / 96 (1 for 96), through GetDpiForWindow looked up once in user32.dll;
// 1 when the system has no such function. [thread-safe]
float ScreenScaleOf(HWND window);

class IGuiWin : public IGuiSkia {
public:
  IGuiWin(framework::IGuiEditorDelegate& delegate, int width, int height, int fps, float scale);
  ~IGuiWin() override;

  // ---- Window ---------------------------------------------------------------------------------
  // Creates the child window in the parent HWND at the editor's size (the whole part of the
  // screen scale; the first tick applies the exact one), builds the controls and returns the
  // window; null when the window cannot be made. A window already open is closed first and
  // its place and size kept.
  void* OpenWindow(void* parent) override;
  void CloseWindow() override;
  bool WindowIsOpen() const override { return window != nullptr; }
  const char* PlatformName() const override { return "win32"; }
  // Editor sizes reach the host in device pixels.
  float PlatformWindowScale() const override { return ScreenScale(); }
  // Resizes the window to the editor's pixel size; grows the parent (and its parent) by as
  // much unless the host already resized them.
  void PlatformResize(bool parentHasResized) override;
  HWND WindowHandle() const noexcept { return window; }

  // Copies the painted frame to the window.
  void EndFrame() override;
  // A private GDI font from the bytes (WinFont).
  std::unique_ptr<PlatformFont> LoadPlatformFont(const char* fontId, const uint8_t* bytes, size_t size) override;

  // ---- Cursor and prompts ---------------------------------------------------------------------
  void MouseLocation(float& x, float& y) const override;
  void HideMouseCursor(bool hide = true, bool lock = true) override;
  void MoveMouseCursor(float x, float y) override;
  CursorType SetMouseCursor(CursorType type) override;
  // Modal: the native pop-up below the anchor; the (sub-)menu chosen in, or null.
  IMenu* ShowPlatformMenu(IMenu& menu, const IRect& anchor) override;
  // An edit control over the rectangle; Enter, a click elsewhere or leaving it commits and
  // Escape or the wheel cancels, at the next tick.
  void ShowPlatformTextEntry(int paramIdx, const ITextStyle& style, const IRect& rect, int maxLength,
                             const char* text) override;
  bool TextEntryOpen() const noexcept { return entryWindow != nullptr; }

  // ---- Desktop services (UTF-8 text) ------------------------------------------------------------
  bool GetClipboardText(std::string& text);
  bool SetClipboardText(const char* text);
  bool SetClipboardFilePath(const char* filePath);
  // A system message box (MB_ type flags) owned by the top-level window holding the editor.
  int ShowMessageBox(const char* text, const char* caption, unsigned type);
  using PromptCompletion = std::function<void()>;
  // extensions: space-separated, such as "wav aif".
  void PromptForFile(std::string& file, std::string& directory, bool open, const char* extensions,
                     const PromptCompletion& completion);
  void PromptForDirectory(std::string& directory, const PromptCompletion& completion);
  bool PromptForColour(IColour& colour, const char* title, const PromptCompletion& completion);
  // True when the file manager was started.
  bool RevealPathInFileManager(const char* filePath, bool select);
  // Modal: the system's drag loop with the file as a one-file drop list.
  void StartFileDrag(const char* filePath);

  // Drops onto the window, at a screen position (the drop target calls this).
  void DropPaths(const std::vector<std::string>& paths, POINT screen);

private:
  struct TickShared;

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK EntryProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static DWORD WINAPI VerticalBlankThread(void* shared);

  void OnCreate();
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleKey(UINT message, WPARAM wParam, LPARAM lParam);
  void HandleShellDrop(HDROP drop);
  void OnDisplayTick(int count);
  void Paint();
  void CloseTextEntry();
  void ResolveTextEntry();
  HWND TopLevelOwner() const;

  HINSTANCE module;
  HWND parentWindow = nullptr;
  HWND window = nullptr;
  HDC windowDc = nullptr;
  HDC paintDc = nullptr;

  HWND entryWindow = nullptr;
  WNDPROC entryPreviousProc = nullptr;
  HFONT entryFont = nullptr;
  HBRUSH entryBrush = nullptr;
  win::EntryState entryState = win::EntryState::Idle;
  int entryParam = -1;
  ITextStyle entryStyle;
  IRect entryRect;

  // Tooltips are never enabled here, so none is ever made.
  HWND tooltip = nullptr;

  win::WinTickGate ticks;
  std::shared_ptr<TickShared> tickShared;
  HANDLE tickThread = nullptr;

  bool oleInitialised = false;
  IGuiWinFileDropTarget* dropTarget = nullptr;
};

}  // namespace graphics
