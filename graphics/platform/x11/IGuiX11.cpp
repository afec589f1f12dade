#include "graphics/platform/x11/IGuiX11.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "framework/IGuiEditorDelegate.h"
#include "graphics/IControl.h"
#include "graphics/platform/x11/DetachedProcess.h"
#include "graphics/platform/x11/X11Clipboard.h"
#include "graphics/platform/x11/X11MenuPopup.h"
#include "graphics/platform/x11/X11TextEntry.h"
// Xlib last: its macros clash with our names.
#include "graphics/platform/x11/X11ErrorTrap.h"
#include "graphics/platform/x11/X11FrameCopy.h"
#include <X11/Xresource.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>

namespace graphics {

namespace {

constexpr long kEditorEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask |
                               KeyReleaseMask | LeaveWindowMask | FocusChangeMask | StructureNotifyMask;

// The cursor font's shapes for the cursor types, in type order.
constexpr unsigned int kCursorShapes[14] = {
    XC_left_ptr,          XC_xterm,          XC_watch,  XC_crosshair, XC_center_ptr, XC_bottom_right_corner,
    XC_bottom_left_corner, XC_sb_h_double_arrow, XC_sb_v_double_arrow, XC_fleur,   XC_X_cursor, XC_hand2,
    XC_watch,             XC_question_arrow,
};

// Xft.dpi / 96 from the X resources, or 1 without a plausible value.
float ResourceScale(Display* display) {
  const char* resources = XResourceManagerString(display);
  if (!resources) return 1.0f;
  XrmInitialize();
  XrmDatabase database = XrmGetStringDatabase(resources);
  if (!database) return 1.0f;
  float scale = 1.0f;
  char* type = nullptr;
  XrmValue value{};
  if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr) {
    const double dpi = std::strtod(value.addr, nullptr);
    if (dpi >= 24.0 && dpi <= 960.0) scale = static_cast<float>(dpi / 96.0);
  }
  XrmDestroyDatabase(database);
  return scale;
}

int WholeScale(float s) { return std::max(1, static_cast<int>(s)); }

}  // namespace

IGuiX11::IGuiX11(framework::IGuiEditorDelegate& editorDelegate, int w, int h, int frameRate, float scale)
    : IGuiHeadless(editorDelegate, w, h, frameRate, scale), ticks(frameRate) {}

IGuiX11::~IGuiX11() { CloseWindow(); }

void* IGuiX11::OpenWindow(void* parent) {
  // Reopening keeps the window's place in its parent.
  int x = 0, y = 0;
  if (display && window) {
    Window root = 0;
    unsigned int w = 0, h = 0, border = 0, bits = 0;
    XGetGeometry(display, window, &root, &x, &y, &w, &h, &border, &bits);
  }
  if (WindowIsOpen()) CloseWindow();
  const auto parentId = static_cast<Window>(reinterpret_cast<uintptr_t>(parent));
  if (parentId == 0) return IGuiHeadless::OpenWindow(nullptr);

  display = XOpenDisplay(nullptr);
  if (!display) return nullptr;
  X11ErrorTrap::Watch(display);
  const int screen = DefaultScreen(display);
  Visual* defaultVisual = DefaultVisual(display, screen);
  depth = DefaultDepth(display, screen);
  XWindowAttributes parentAttributes{};
  const bool usable = X11FrameCopy::VisualFits(defaultVisual, depth) &&
                      XGetWindowAttributes(display, parentId, &parentAttributes) != 0 &&
                      X11ErrorTrap::Sync(display) == 0;
  if (!usable) {
    XCloseDisplay(display);
    X11ErrorTrap::Forget(display);
    display = nullptr;
    return nullptr;
  }

  const float scale = givenScale > 0.0f ? givenScale : ResourceScale(display);
  SetSystemScale(scale);
  const int whole = WholeScale(scale);
  shownWidth = std::max(1, static_cast<int>(static_cast<float>(Width()) * DrawScale()) * whole);
  shownHeight = std::max(1, static_cast<int>(static_cast<float>(Height()) * DrawScale()) * whole);
  XSetWindowAttributes attributes{};
  attributes.background_pixel = BlackPixel(display, screen);
  attributes.border_pixel = BlackPixel(display, screen);
  attributes.colormap = DefaultColormap(display, screen);
  attributes.event_mask = kEditorEvents;
  window = XCreateWindow(display, parentId, x, y, static_cast<unsigned>(shownWidth),
                         static_cast<unsigned>(shownHeight), 0, depth, InputOutput, defaultVisual,
                         CWBackPixel | CWBorderPixel | CWColormap | CWEventMask, &attributes);
  parentWindow = parentId;
  XStoreName(display, window, "Korvel");
  XClassHint hint{const_cast<char*>("korvel"), const_cast<char*>("KorvelWndClass")};
  XSetClassHint(display, window, &hint);
  frameCopy = std::make_unique<X11FrameCopy>(display, window, defaultVisual, depth);
  clipboard = std::make_unique<X11Clipboard>(display, window);

  opening = true;
  IGuiHeadless::OpenWindow(parent);
  opening = false;
  // Opened at the whole scale; the first tick switches to the exact one.
  SetSystemScale(scale);
  XMapWindow(display, window);
  if (X11ErrorTrap::Sync(display) != 0) {
    CloseWindow();
    return nullptr;
  }
  // Typed keys reach the editor without a click first, as on Windows.
  focusPending = true;
  TakeFocusWhenViewable();
  ticks.Start(X11TickClock::Clock::now());
  return reinterpret_cast<void*>(static_cast<uintptr_t>(window));
}

void IGuiX11::TakeFocusWhenViewable() {
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) return;
  focusPending = false;
  XSetInputFocus(display, window, RevertToParent, CurrentTime);
  // The host may hide its window meanwhile; the refusal is of no consequence, so it is
  // collected here rather than reported by a later check.
  X11ErrorTrap::Sync(display);
}

void IGuiX11::DestroyWindowResources() {
  clipboard.reset();
  frameCopy.reset();
  for (XId& c : cursors) {
    if (c) XFreeCursor(display, c);
    c = 0;
  }
  if (blankCursor) XFreeCursor(display, blankCursor);
  blankCursor = 0;
  if (window) XDestroyWindow(display, window);
  window = 0;
}

void IGuiX11::CloseWindow() {
  if (!display) {
    IGuiHeadless::CloseWindow();
    return;
  }
  entry.reset();
  IGuiHeadless::CloseWindow();
  DestroyWindowResources();
  XCloseDisplay(display);
  X11ErrorTrap::Forget(display);
  display = nullptr;
  parentWindow = 0;
  shownWidth = shownHeight = 0;
  focusPending = false;
}

void IGuiX11::PlatformResize(bool parentHasResized) {
  IGuiHeadless::PlatformResize(parentHasResized);
  if (!display || !window) return;
  const int w = std::max(1, WindowWidth()), h = std::max(1, WindowHeight());
  const int dx = w - shownWidth, dy = h - shownHeight;
  if (dx == 0 && dy == 0) return;
  XResizeWindow(display, window, static_cast<unsigned>(w), static_cast<unsigned>(h));
  shownWidth = w;
  shownHeight = h;
  if (!parentHasResized && parentWindow) {
    Window root = 0;
    int x = 0, y = 0;
    unsigned int pw = 0, ph = 0, border = 0, bits = 0;
    if (XGetGeometry(display, parentWindow, &root, &x, &y, &pw, &ph, &border, &bits)) {
      const long nw = static_cast<long>(pw) + dx, nh = static_cast<long>(ph) + dy;
      if (nw > 0 && nh > 0) XResizeWindow(display, parentWindow, static_cast<unsigned>(nw), static_cast<unsigned>(nh));
    }
  }
  XFlush(display);
}

void IGuiX11::SetScreenScale(float scale) {
  if (!(scale > 0.0f) || !std::isfinite(scale)) return;
  if (!opening) {
    givenScale = scale;
    SetSystemScale(scale);
  }
  IGuiHeadless::SetScreenScale(scale);
}

int IGuiX11::ConnectionFd() const noexcept { return display ? ConnectionNumber(display) : -1; }

int IGuiX11::TickPeriodMs() const noexcept {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(ticks.Period()).count());
}

bool IGuiX11::UsesSharedMemory() const noexcept { return frameCopy && frameCopy->UsesSharedMemory(); }

int IGuiX11::MillisecondsToNextTick() const noexcept { return ticks.MillisecondsUntilDue(X11TickClock::Clock::now()); }

// ---- Cursor -------------------------------------------------------------------------------------

XId IGuiX11::CursorFor(CursorType type) {
  const auto i = static_cast<size_t>(type);
  if (i >= std::size(cursors)) return CursorFor(CursorType::Arrow);
  if (!cursors[i]) cursors[i] = XCreateFontCursor(display, kCursorShapes[i]);
  return cursors[i];
}

void IGuiX11::ApplyCursor() {
  if (!display || !window) return;
  if (cursorHidden && !blankCursor) {
    const char empty[1] = {0};
    const Pixmap pixmap = XCreateBitmapFromData(display, window, empty, 1, 1);
    XColor black{};
    blankCursor = XCreatePixmapCursor(display, pixmap, pixmap, &black, &black, 0, 0);
    XFreePixmap(display, pixmap);
  }
  XDefineCursor(display, window, cursorHidden ? blankCursor : CursorFor(cursorType));
  XFlush(display);
}

void IGuiX11::HideMouseCursor(bool hide, bool lock) {
  if (hide == cursorHidden) return;
  IGuiHeadless::HideMouseCursor(hide, lock);
  ApplyCursor();
}

void IGuiX11::MouseLocation(float& x, float& y) const {
  IGuiHeadless::MouseLocation(x, y);
  if (!display || !window) return;
  Window root = 0, child = 0;
  int rootX = 0, rootY = 0, px = 0, py = 0;
  unsigned int mask = 0;
  if (!XQueryPointer(display, window, &root, &child, &rootX, &rootY, &px, &py, &mask)) return;
  const float s = BackingScale();
  x = static_cast<float>(px) / s;
  y = static_cast<float>(py) / s;
}

void IGuiX11::MoveMouseCursor(float x, float y) {
  if (!display || !window) {
    IGuiHeadless::MoveMouseCursor(x, y);
    return;
  }
  if (penInput) return;
  const float s = BackingScale();
  XWarpPointer(display, None, window, 0, 0, 0, 0, static_cast<int>(std::lround(x * s)),
               static_cast<int>(std::lround(y * s)));
  Window root = 0, child = 0;
  int rootX = 0, rootY = 0, px = 0, py = 0;
  unsigned int mask = 0;
  if (XQueryPointer(display, window, &root, &child, &rootX, &rootY, &px, &py, &mask)) {
    mouseX = hiddenCursorX = static_cast<float>(px) / s;
    mouseY = hiddenCursorY = static_cast<float>(py) / s;
  }
}

CursorType IGuiX11::SetMouseCursor(CursorType type) {
  const CursorType previous = IGuiHeadless::SetMouseCursor(type);
  ApplyCursor();
  return previous;
}

// ---- Prompts ------------------------------------------------------------------------------------

IMenu* IGuiX11::ShowPlatformMenu(IMenu& menu, const IRect& anchor) {
  if (!display || !window) return IGuiHeadless::ShowPlatformMenu(menu, anchor);
  const float s = BackingScale();
  int x = 0, y = 0;
  Window child = 0;
  XTranslateCoordinates(display, window, DefaultRootWindow(display), static_cast<int>(anchor.L * s),
                        static_cast<int>(anchor.B * s), &x, &y, &child);
  IMenu* chosen = nullptr;
  {
    X11MenuPopup popup(*this, menu, x, y, s);
    chosen = popup.Run();
  }
  // The pop-up took the release of the press that opened it.
  menuTookRelease = true;
  if (chosen && !chosen->Item(chosen->chosenIdx)) chosen = nullptr;
  if (chosen && chosen->function) chosen->function(*chosen);
  return chosen;
}

void IGuiX11::ShowPlatformTextEntry(int paramIdx, const ITextStyle& style, const IRect& rect, int maxLength,
                                    const char* text) {
  if (!display || !window) {
    IGuiHeadless::ShowPlatformTextEntry(paramIdx, style, rect, maxLength, text);
    return;
  }
  if (entry) return;
  enum framework::IParam::Kind kind = X11TextEntry::kFreeText;
  if (const framework::IParam* param = paramIdx >= 0 ? Delegate().GetParam(paramIdx) : nullptr) kind = param->Kind();
  entry = std::make_unique<X11TextEntry>(display, window, rect, BackingScale(), style, maxLength, text, kind);
  XFlush(display);
}

void IGuiX11::ResolveTextEntry() {
  const X11TextEntry::State state = entry->GetState();
  const std::string text = entry->Text();
  entry.reset();
  if (state == X11TextEntry::State::CommitRequested) {
    CommitTextEntry(text.c_str());
  } else if (IControl* owner = TextEntryControl()) {
    ForgetTextEntry();
    owner->MarkDirty(false);
  }
}

// ---- Desktop services ---------------------------------------------------------------------------

bool IGuiX11::GetClipboardText(std::string& text) {
  text.clear();
  return clipboard && clipboard->GetText(text);
}

bool IGuiX11::SetClipboardText(const char* text) { return clipboard && text && clipboard->SetText(text); }

bool IGuiX11::SetClipboardFilePath(const char* filePath) {
  return clipboard && filePath && clipboard->SetFilePath(filePath);
}

bool IGuiX11::RevealPathInFileManager(const char* filePath, bool select) {
  struct stat info {};
  if (!filePath || !*filePath || stat(filePath, &info) != 0) return false;
  std::string target = filePath;
  // xdg-open cannot select an item: it shows the folder that holds it.
  if (select && !S_ISDIR(info.st_mode)) {
    const size_t slash = target.find_last_of('/');
    target = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
  }
  if (target[0] == '-') target = "./" + target;
  // The host's thread does not wait for a file manager.
  return StartDetached("xdg-open", {target});
}

void IGuiX11::PromptForFile(std::string&, std::string&, bool, const char*, const PromptCompletion& completion) {
  if (completion) completion();
}

void IGuiX11::PromptForDirectory(std::string&, const PromptCompletion& completion) {
  if (completion) completion();
}

bool IGuiX11::PromptForColour(IColour&, const char*, const PromptCompletion& completion) {
  if (completion) completion();
  return false;
}

}  // namespace graphics
