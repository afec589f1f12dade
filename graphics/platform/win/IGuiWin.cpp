// The window itself: its class, creation and closing, the display tick (vertical-blank
// thread or timer), painting from the frame buffer, message handling, cursor and resizing.
#include "graphics/platform/win/IGuiWin.h"

#include <cmath>
#include <mutex>
#include <vector>

#include <shellapi.h>

#include "framework/IGuiEditorDelegate.h"
#include "framework/Timer.h"
#include "graphics/IControl.h"
#include "graphics/platform/win/WinDragDrop.h"
#include "graphics/platform/win/WinFont.h"
#include "graphics/platform/win/WinModule.h"
#include "graphics/platform/win/WinText.h"

namespace graphics {

// The translation rules name the messages by number; they must be the system's.
static_assert(win::msg::kSetFocus == WM_SETFOCUS && win::msg::kKillFocus == WM_KILLFOCUS &&
              win::msg::kClose == WM_CLOSE && win::msg::kEraseBackground == WM_ERASEBKGND &&
              win::msg::kSetCursor == WM_SETCURSOR && win::msg::kGetDialogCode == WM_GETDLGCODE);
static_assert(win::msg::kKeyDown == WM_KEYDOWN && win::msg::kKeyUp == WM_KEYUP && win::msg::kTimer == WM_TIMER &&
              win::msg::kEditColours == WM_CTLCOLOREDIT && win::msg::kMouseMove == WM_MOUSEMOVE);
static_assert(win::msg::kLeftDown == WM_LBUTTONDOWN && win::msg::kLeftUp == WM_LBUTTONUP &&
              win::msg::kLeftDoubleClick == WM_LBUTTONDBLCLK && win::msg::kRightDown == WM_RBUTTONDOWN &&
              win::msg::kRightUp == WM_RBUTTONUP && win::msg::kRightDoubleClick == WM_RBUTTONDBLCLK &&
              win::msg::kMiddleDown == WM_MBUTTONDOWN && win::msg::kMiddleUp == WM_MBUTTONUP);
static_assert(win::msg::kMouseWheel == WM_MOUSEWHEEL && win::msg::kDropFiles == WM_DROPFILES &&
              win::msg::kMouseLeave == WM_MOUSELEAVE && win::msg::kDisplayTick == WM_USER + 1);
static_assert(win::kFlagLeft == MK_LBUTTON && win::kFlagRight == MK_RBUTTON && win::kFlagShift == MK_SHIFT &&
              win::kFlagControl == MK_CONTROL && win::kWheelStep == WHEEL_DELTA);
static_assert(win::kKeyBackspace == VK_BACK && win::kKeyEnter == VK_RETURN && win::kKeyEscape == VK_ESCAPE);

namespace {

constexpr const wchar_t* kClassName = L"KorvelWndClass";

// The window class exists while any window of this module is open.
std::mutex classLock;
int openWindows = 0;

void UncountWindow(HINSTANCE module) {
  const std::lock_guard guard(classLock);
  if (openWindows > 0 && --openWindows == 0) UnregisterClassW(kClassName, module);
}

// Windows 8 (6.2) or later: asked of ntdll, since GetVersionEx reports what the program's
// manifest claims, and a host's manifest is not ours.
bool VerticalBlankAvailable() {
  using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  auto get = ntdll ? reinterpret_cast<RtlGetVersionFunction>(
                         reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
                   : nullptr;
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!get || get(&version) != 0) return false;
  return version.dwMajorVersion > 6 || (version.dwMajorVersion == 6 && version.dwMinorVersion >= 2);
}

// The display driver's records for the vertical-blank calls (d3dkmthk.h).
using KmtHandle = UINT;
struct KmtOpenAdapterFromHdc {
  HDC hdc;
  KmtHandle adapter;
  LUID adapterLuid;
  UINT sourceId;
};
struct KmtWaitForVerticalBlank {
  KmtHandle adapter;
  KmtHandle device;
  UINT sourceId;
};
struct KmtCloseAdapter {
  KmtHandle adapter;
};
using OpenAdapterFunction = LONG(APIENTRY*)(KmtOpenAdapterFromHdc*);
using WaitFunction = LONG(APIENTRY*)(const KmtWaitForVerticalBlank*);
using CloseAdapterFunction = LONG(APIENTRY*)(const KmtCloseAdapter*);

template <class F>
F Lookup(HMODULE library, const char* name) {
  return library ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

}  // namespace

// What the tick thread shares with the window. Owned by both, so a thread that outlives
// CloseWindow's wait never touches a destroyed window object.
struct IGuiWin::TickShared {
  HWND window = nullptr;
  std::atomic<bool> stop{false};
  std::atomic<int> counter{0};
};

float ScreenScaleOf(HWND window) {
  using GetDpiFunction = UINT(WINAPI*)(HWND);
  static const GetDpiFunction getDpi = Lookup<GetDpiFunction>(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
  if (!getDpi || !window) return 1.0f;
  return win::ScreenScaleOfDpi(getDpi(window));
}

IGuiWin::IGuiWin(framework::IGuiEditorDelegate& editorDelegate, int w, int h, int frameRate, float scale)
    : IGuiSkia(editorDelegate, w, h, frameRate, scale), module(win::ThisModule()), ticks(VerticalBlankAvailable()) {
  SetModuleHandle(module);
}

IGuiWin::~IGuiWin() { CloseWindow(); }

// ---- Window -------------------------------------------------------------------------------------

void* IGuiWin::OpenWindow(void* parent) {
  parentWindow = static_cast<HWND>(parent);
  const float s = ScreenScaleOf(parentWindow);
  int x = 0, y = 0;
  win::WinPixelSize size = win::OpeningPixelSize(Width(), Height(), DrawScale(), s);
  if (window) {
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    x = r.left;
    y = r.top;
    size = {r.right - r.left, r.bottom - r.top};
    CloseWindow();
  }

  {
    const std::lock_guard guard(classLock);
    if (openWindows++ == 0) {
      WNDCLASSW c{};
      c.style = CS_DBLCLKS | CS_OWNDC;
      c.lpfnWndProc = WindowProc;
      c.hInstance = module;
      c.lpszClassName = kClassName;
      RegisterClassW(&c);
    }
  }
  window = CreateWindowExW(0, kClassName, L"Korvel", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, x, y,
                           size.width, size.height, parentWindow, nullptr, module, this);
  if (!window) {
    // No window, no editor: nothing is built or announced.
    UncountWindow(module);
    return nullptr;
  }
  if (SUCCEEDED(OleInitialize(nullptr))) {
    oleInitialised = true;
    dropTarget = new IGuiWinFileDropTarget(window, this);
    if (FAILED(RegisterDragDrop(window, dropTarget))) {
      dropTarget->Release();
      dropTarget = nullptr;
    }
  }
  windowDc = GetDC(window);
  OnViewInitialized();
  SetScreenScale(static_cast<float>(std::max(1, static_cast<int>(s))));
  Delegate().BuildEditorLayout(*this);
  SetAllControlsDirty();
  Delegate().OnEditorOpened();
  return window;
}

void IGuiWin::OnCreate() {
  if (ticks.VerticalBlankMode()) {
    tickShared = std::make_shared<TickShared>();
    tickShared->window = window;
    auto* shared = new std::shared_ptr<TickShared>(tickShared);
    tickThread = CreateThread(nullptr, 0, VerticalBlankThread, shared, 0, nullptr);
    if (tickThread) {
      SetThreadPriority(tickThread, THREAD_PRIORITY_TIME_CRITICAL);
    } else {
      delete shared;
      tickShared.reset();
      ticks = win::WinTickGate(false);
    }
  }
  if (!tickThread) SetTimer(window, win::kDisplayTimerId, static_cast<UINT>(win::TimerPeriodMs(FrameRate())), nullptr);
  SetFocus(window);
  DragAcceptFiles(window, TRUE);
}

void IGuiWin::CloseWindow() {
  if (!window) return;
  if (tickThread) {
    tickShared->stop = true;
    WaitForSingleObject(tickThread, 10000);
    CloseHandle(tickThread);
    tickThread = nullptr;
  } else {
    KillTimer(window, win::kDisplayTimerId);
  }
  CloseTextEntry();
  OnViewDestroyed();
  if (tooltip) DestroyWindow(tooltip);
  tooltip = nullptr;
  if (dropTarget) {
    RevokeDragDrop(window);
    dropTarget->Release();
    dropTarget = nullptr;
  }
  if (oleInitialised) OleUninitialize();
  oleInitialised = false;
  // Messages still on their way find no object.
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  DestroyWindow(window);
  window = nullptr;
  windowDc = nullptr;
  tickShared.reset();
  ticks = win::WinTickGate(ticks.VerticalBlankMode());
  UncountWindow(module);
}

void IGuiWin::PlatformResize(bool parentHasResized) {
  if (!window) return;
  const win::WinPixelSize target = win::ResizedPixelSize(Width(), Height(), DrawScale(), ScreenScale());
  RECT r{};
  GetWindowRect(window, &r);
  const int dw = target.width - (r.right - r.left);
  const int dh = target.height - (r.bottom - r.top);
  if (dw == 0 && dh == 0) return;
  SetWindowPos(window, nullptr, 0, 0, target.width, target.height, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  if (parentHasResized) return;
  const auto isPlainChild = [](HWND h) {
    return (GetWindowLongW(h, GWL_STYLE) & WS_CHILD) && !(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_MDICHILD);
  };
  HWND child = window;
  for (int level = 0; level < 2 && isPlainChild(child); ++level) {
    HWND parent = GetParent(child);
    if (!parent) break;
    RECT pr{};
    GetWindowRect(parent, &pr);
    SetWindowPos(parent, nullptr, 0, 0, pr.right - pr.left + dw, pr.bottom - pr.top + dh,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    child = parent;
  }
}

std::unique_ptr<PlatformFont> IGuiWin::LoadPlatformFont(const char*, const uint8_t* bytes, size_t size) {
  return win::WinFont::FromMemory(bytes, size);
}

// ---- Display tick and paint ---------------------------------------------------------------------

DWORD WINAPI IGuiWin::VerticalBlankThread(void* argument) {
  const std::shared_ptr<TickShared> shared = *static_cast<std::shared_ptr<TickShared>*>(argument);
  delete static_cast<std::shared_ptr<TickShared>*>(argument);
  const auto post = [&] {
    const int count = ++shared->counter;
    PostMessageW(shared->window, win::msg::kDisplayTick, static_cast<WPARAM>(count), 0);
  };
  HMODULE gdi = LoadLibraryW(L"gdi32.dll");
  const auto open = Lookup<OpenAdapterFunction>(gdi, "D3DKMTOpenAdapterFromHdc");
  const auto closeAdapter = Lookup<CloseAdapterFunction>(gdi, "D3DKMTCloseAdapter");
  const auto wait = Lookup<WaitFunction>(gdi, "D3DKMTWaitForVerticalBlankEvent");
  if (!open || !closeAdapter || !wait) {
    while (!shared->stop) {
      Sleep(16);
      post();
    }
    if (gdi) FreeLibrary(gdi);
    return 0;
  }
  bool adapterOpen = false;
  KmtOpenAdapterFromHdc adapter{};
  ULONGLONG failedAt = 0;
  bool failed = false;
  while (!shared->stop) {
    if (!adapterOpen) {
      if (failed && GetTickCount64() - failedAt < 1000) {
        Sleep(16);
      } else {
        adapter = {};
        adapter.hdc = GetDC(shared->window);
        if (adapter.hdc && open(&adapter) == 0) {
          adapterOpen = true;
          failed = false;
        } else {
          failed = true;
          failedAt = GetTickCount64();
          Sleep(16);
        }
        if (adapter.hdc) ReleaseDC(shared->window, adapter.hdc);
      }
    }
    if (adapterOpen) {
      const KmtWaitForVerticalBlank request{adapter.adapter, 0, adapter.sourceId};
      if (wait(&request) != 0) {
        const KmtCloseAdapter close{adapter.adapter};
        closeAdapter(&close);
        adapterOpen = false;
        Sleep(16);
      }
    }
    post();
  }
  if (adapterOpen) {
    const KmtCloseAdapter close{adapter.adapter};
    closeAdapter(&close);
  }
  FreeLibrary(gdi);
  return 0;
}

void IGuiWin::OnDisplayTick(int count) {
  const int counter = tickShared ? tickShared->counter.load() : 0;
  if (!ticks.Accept(count, counter)) return;
  // The framework's idle timers (the editor-bound queues) run on this thread, and on Windows
  // no host timer calls them: the display tick does.
  framework::PlatformTimer::Pump();
  if (entryWindow && entryState != win::EntryState::Idle) {
    ResolveTextEntry();
    return;
  }
  if (!GetCapture()) {
    const float s = ScreenScaleOf(window);
    if (s != ScreenScale()) SetScreenScale(s);
  }
  std::vector<IRect> dirty;
  if (!CollectDirtyRects(dirty)) return;
  SetAllControlsClean();
  const float s = BackingScale();
  for (const IRect& r : dirty) {
    const IRect p = win::DevicePixelsOut(r, s);
    const RECT pixels{static_cast<LONG>(p.L), static_cast<LONG>(p.T), static_cast<LONG>(p.R), static_cast<LONG>(p.B)};
    InvalidateRect(window, &pixels, FALSE);
  }
  if (entryWindow) {
    RECT r{};
    GetWindowRect(entryWindow, &r);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&r), 2);
    ValidateRect(window, &r);
    UpdateWindow(window);
    entryState = win::EntryState::Painted;
    return;
  }
  const int before = tickShared ? tickShared->counter.load() : 0;
  UpdateWindow(window);
  ticks.Painted(before, tickShared ? tickShared->counter.load() : 0);
}

void IGuiWin::Paint() {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  const int kind = region ? GetUpdateRgn(window, region, FALSE) : ERROR;
  std::vector<IRect> rects;
  const float s = BackingScale();
  const auto add = [&](const RECT& r) {
    rects.push_back(win::UnitsOfPixels({static_cast<float>(r.left), static_cast<float>(r.top),
                                        static_cast<float>(r.right), static_cast<float>(r.bottom)},
                                       s));
  };
  if (kind == COMPLEXREGION) {
    const DWORD bytes = GetRegionData(region, 0, nullptr);
    std::vector<uint8_t> data(bytes);
    auto* header = reinterpret_cast<RGNDATA*>(data.data());
    if (bytes >= sizeof(RGNDATAHEADER) && GetRegionData(region, bytes, header) == bytes) {
      const RECT* r = reinterpret_cast<const RECT*>(header->Buffer);
      for (DWORD i = 0; i < header->rdh.nCount; ++i) add(r[i]);
    }
  } else if (kind == SIMPLEREGION) {
    RECT box{};
    GetRgnBox(region, &box);
    add(box);
  }
  if (region) DeleteObject(region);
  PAINTSTRUCT ps{};
  paintDc = BeginPaint(window, &ps);
  DrawDirty(rects);
  EndPaint(window, &ps);
  paintDc = nullptr;
  ValidateRect(window, nullptr);
}

void IGuiWin::EndFrame() {
  const uint8_t* frame = FrameBuffer();
  HDC dc = paintDc ? paintDc : windowDc;
  if (!frame || !dc || PixelWidth() <= 0 || PixelHeight() <= 0) return;
  StretchDIBits(dc, 0, 0, PixelWidth(), PixelHeight(), 0, 0, PixelWidth(), PixelHeight(), frame + kHeaderBytes,
                reinterpret_cast<const BITMAPINFO*>(frame), DIB_RGB_COLORS, SRCCOPY);
}

// ---- Messages -----------------------------------------------------------------------------------

LRESULT CALLBACK IGuiWin::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    auto* self = static_cast<IGuiWin*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window = hwnd;
    self->OnCreate();
    return 0;
  }
  auto* self = reinterpret_cast<IGuiWin*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT IGuiWin::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    Paint();
    return 0;
  }
  win::WinWindowState state;
  state.backingScale = BackingScale();
  state.altDown = GetKeyState(VK_MENU) < 0;
  state.entryOpen = entryWindow != nullptr;
  state.entryEditing = entryState == win::EntryState::Editing;
  state.hasCapture = GetCapture() == window;
  state.lastX = mouseX;
  state.lastY = mouseY;
  if (message == WM_MOUSEWHEEL) {
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    state.originX = origin.x;
    state.originY = origin.y;
  }
  const win::WinInput in = win::TranslateMessage(
      {message, static_cast<uint64_t>(wParam), static_cast<int64_t>(lParam), static_cast<uint64_t>(GetMessageExtraInfo())},
      state);
  if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) penInput = in.pen;
  const IPointerEvent& e = in.event;
  switch (in.action) {
    case win::WinAction::Default: return DefWindowProcW(window, message, wParam, lParam);
    case win::WinAction::Handled: return 0;
    case win::WinAction::Close: CloseWindow(); return 0;
    case win::WinAction::SetCursor: SetMouseCursor(cursorType); return TRUE;
    case win::WinAction::WantAllKeys: return DLGC_WANTALLKEYS;
    case win::WinAction::KeyDown:
    case win::WinAction::KeyUp: return HandleKey(message, wParam, lParam);
    case win::WinAction::Tick: OnDisplayTick(in.tickCount); return 0;
    case win::WinAction::EditColours: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      const IColour& back = entryStyle.entryBackground;
      const IColour& text = entryStyle.entryText;
      SetBkColor(dc, RGB(back.R, back.G, back.B));
      SetTextColor(dc, RGB(text.R, text.G, text.B));
      SetBkMode(dc, OPAQUE);
      return reinterpret_cast<LRESULT>(entryBrush);
    }
    case win::WinAction::MouseOver: {
      mouseX = e.x;
      mouseY = e.y;
      OnMouseOver(e.x, e.y, e.mods);
      TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, HOVER_DEFAULT};
      TrackMouseEvent(&track);
      return 0;
    }
    case win::WinAction::MouseDrag:
      mouseX = e.x;
      mouseY = e.y;
      OnMouseDrag({&e, 1});
      if (cursorHidden && cursorLocked) MoveMouseCursor(hiddenCursorX, hiddenCursorY);
      return 0;
    case win::WinAction::MouseDown:
      SetFocus(window);
      SetCapture(window);
      mouseX = e.x;
      mouseY = e.y;
      OnMouseDown({&e, 1});
      return 0;
    case win::WinAction::MouseUp:
      ReleaseCapture();
      mouseX = e.x;
      mouseY = e.y;
      OnMouseUp({&e, 1});
      return 0;
    case win::WinAction::DoubleClick:
      mouseX = e.x;
      mouseY = e.y;
      if (OnMouseDoubleClick(e.x, e.y, e.mods)) SetCapture(window);
      return 0;
    case win::WinAction::Wheel: OnMouseWheel(e.x, e.y, e.mods, in.wheelDelta); return 0;
    case win::WinAction::DropFiles: HandleShellDrop(reinterpret_cast<HDROP>(wParam)); return 0;
    case win::WinAction::MouseLeave: OnMouseOut(); return 0;
    case win::WinAction::RequestEntryCommit: entryState = win::EntryState::CommitRequested; return 0;
    case win::WinAction::RequestEntryCancel: entryState = win::EntryState::CancelRequested; return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT IGuiWin::HandleKey(UINT message, WPARAM wParam, LPARAM lParam) {
  IKeyEvent key;
  key.vk = static_cast<int>(wParam);
  BYTE state[256] = {};
  GetKeyboardState(state);
  wchar_t chars[4] = {};
  const int n = ToUnicode(static_cast<UINT>(wParam), static_cast<UINT>((lParam >> 16) & 0xFF), state, chars, 4, 0);
  if (n == 1) {
    const std::string utf8 = win::Utf8Of(reinterpret_cast<const char16_t*>(chars), 1);
    if (utf8.size() < sizeof key.utf8) utf8.copy(key.utf8, utf8.size());
  }
  key.S = GetKeyState(VK_SHIFT) < 0;
  key.C = GetKeyState(VK_CONTROL) < 0;
  key.A = GetKeyState(VK_MENU) < 0;
  float x = 0.0f, y = 0.0f;
  MouseLocation(x, y);
  const bool taken = n <= 1 && (message == WM_KEYDOWN ? OnKeyDown(x, y, key) : OnKeyUp(x, y, key));
  if (taken) return 0;
  // The host's window gets the keys the editor does not use (its shortcuts, transport).
  HWND top = window ? GetAncestor(window, GA_ROOT) : nullptr;
  if (top && top != window) SendMessageW(top, message, wParam, lParam);
  return DefWindowProcW(window, message, wParam, lParam);
}

void IGuiWin::HandleShellDrop(HDROP drop) {
  if (!drop) return;
  std::vector<std::string> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::vector<wchar_t> name(length + 1);
    DragQueryFileW(drop, i, name.data(), length + 1);
    std::string utf8 = win::Utf8Of(reinterpret_cast<const char16_t*>(name.data()), length);
    if (utf8.size() <= 1024) paths.push_back(std::move(utf8));
  }
  POINT p{};
  DragQueryPoint(drop, &p);
  DragFinish(drop);
  if (paths.empty()) return;
  const float s = BackingScale();
  const float x = static_cast<float>(p.x) / s, y = static_cast<float>(p.y) / s;
  if (paths.size() == 1) OnFileDrop(paths.front().c_str(), x, y);
  else OnFilesDrop(paths, x, y);
}

void IGuiWin::DropPaths(const std::vector<std::string>& paths, POINT screen) {
  if (!window || paths.empty()) return;
  ScreenToClient(window, &screen);
  const float s = BackingScale();
  const float x = static_cast<float>(screen.x) / s, y = static_cast<float>(screen.y) / s;
  if (paths.size() == 1) OnFileDrop(paths.front().c_str(), x, y);
  else OnFilesDrop(paths, x, y);
}

// ---- Cursor -------------------------------------------------------------------------------------

void IGuiWin::MouseLocation(float& x, float& y) const {
  POINT p{};
  GetCursorPos(&p);
  if (window) ScreenToClient(window, &p);
  const float s = BackingScale();
  x = static_cast<float>(p.x) / s;
  y = static_cast<float>(p.y) / s;
}

void IGuiWin::HideMouseCursor(bool hide, bool lock) {
  if (cursorHidden == hide) return;
  if (hide) {
    hiddenCursorX = mouseX;
    hiddenCursorY = mouseY;
    ShowCursor(FALSE);
    cursorHidden = true;
    cursorLocked = lock && !penInput;
  } else {
    if (cursorLocked) MoveMouseCursor(hiddenCursorX, hiddenCursorY);
    ShowCursor(TRUE);
    cursorHidden = false;
    cursorLocked = false;
  }
}

void IGuiWin::MoveMouseCursor(float x, float y) {
  if (penInput || !window) return;
  const float s = BackingScale();
  POINT p{static_cast<LONG>(std::lround(x * s)), static_cast<LONG>(std::lround(y * s))};
  ClientToScreen(window, &p);
  if (!SetCursorPos(p.x, p.y)) return;
  GetCursorPos(&p);
  ScreenToClient(window, &p);
  mouseX = hiddenCursorX = static_cast<float>(p.x) / s;
  mouseY = hiddenCursorY = static_cast<float>(p.y) / s;
}

CursorType IGuiWin::SetMouseCursor(CursorType type) {
  const CursorType previous = cursorType;
  cursorType = type;
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(win::SystemCursorId(type))));
  return previous;
}

}  // namespace graphics
