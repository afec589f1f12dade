// The native prompts: the edit control of a text entry (resolved at the next display tick)
// and the pop-up menu.
#include <vector>

#include "framework/IGuiEditorDelegate.h"
#include "graphics/IControl.h"
#include "graphics/IGraphicsCaches.h"
#include "graphics/PlatformFont.h"
#include "graphics/platform/win/IGuiWin.h"
#include "graphics/platform/win/WinMenuRules.h"
#include "graphics/platform/win/WinText.h"

namespace graphics {
namespace {

constexpr int kEntryId = 99;
constexpr int kMaxEntryUnits = 256;

// The font loaded for the id, at a pixel height; null when the font never loaded.
HFONT EntryFontFor(const char* fontId, int pixelHeight) {
  ICache<IFontMemory>& cache = FontMemoryCache();
  auto lock = cache.Lock();
  IFontMemory* memory = cache.Find(fontId, 1.0);
  HFONT loaded = memory && memory->font ? static_cast<HFONT>(memory->font->Descriptor()) : nullptr;
  LOGFONTW description{};
  if (!loaded || GetObjectW(loaded, sizeof description, &description) != sizeof description) return nullptr;
  description.lfHeight = pixelHeight;
  description.lfWidth = 0;
  return CreateFontIndirectW(&description);
}

}  // namespace

// ---- Text entry ---------------------------------------------------------------------------------

void IGuiWin::ShowPlatformTextEntry(int paramIdx, const ITextStyle& style, const IRect& rect, int maxLength,
                                    const char* text) {
  if (entryWindow || !window) return;
  const float s = BackingScale();
  const win::EntryGeometry g = win::EntryGeometryFor(rect, s, style.size, style.valign);
  DWORD styles = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | ES_MULTILINE | ES_AUTOHSCROLL;
  styles |= style.align == TextAlign::Left ? ES_LEFT : style.align == TextAlign::Right ? ES_RIGHT : ES_CENTER;
  const std::u16string initial = win::Utf16Of(text ? text : "");
  entryWindow = CreateWindowExW(0, L"EDIT", reinterpret_cast<const wchar_t*>(initial.c_str()), styles, g.x, g.y,
                                g.width, g.height, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEntryId)),
                                module, nullptr);
  if (!entryWindow) return;
  entryFont = EntryFontFor(style.fontId, static_cast<int>(s * style.size));
  if (entryFont) SendMessageW(entryWindow, WM_SETFONT, reinterpret_cast<WPARAM>(entryFont), FALSE);
  entryBrush = CreateSolidBrush(RGB(style.entryBackground.R, style.entryBackground.G, style.entryBackground.B));
  entryParam = paramIdx;
  entryStyle = style;
  entryRect = rect;
  entryState = win::EntryState::Idle;
  SendMessageW(entryWindow, EM_LIMITTEXT, static_cast<WPARAM>(maxLength > 0 ? maxLength : 0), 0);
  SendMessageW(entryWindow, EM_SETSEL, 0, -1);
  if (g.centred) {
    RECT format{0, g.formatTop, g.width + 1, g.height + 1};
    SendMessageW(entryWindow, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&format));
  }
  SetFocus(entryWindow);
  SetWindowLongPtrW(entryWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  entryPreviousProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(entryWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EntryProc)));
}

LRESULT CALLBACK IGuiWin::EntryProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<IGuiWin*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || !self->entryPreviousProc) return DefWindowProcW(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_SETFOCUS: self->entryState = win::EntryState::Editing; break;
    case WM_KILLFOCUS: self->entryState = win::EntryState::CommitRequested; break;
    case WM_KEYDOWN:
      if (win::EntryStateForKey(static_cast<uint32_t>(wParam), self->entryState)) return 0;
      break;
    case WM_CHAR: {
      // Enter and Escape were handled as keys; a multi-line edit would take their characters.
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) return 0;
      const framework::IParam* param =
          self->entryParam >= 0 ? self->Delegate().GetParam(self->entryParam) : nullptr;
      if (!win::EntryAccepts(param != nullptr, param ? param->Kind() : framework::IParam::Kind::None,
                             static_cast<uint32_t>(wParam)))
        return 0;
      break;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) self->entryState = win::EntryState::CommitRequested;
      break;
    case WM_GETDLGCODE: {
      LRESULT code = CallWindowProcW(self->entryPreviousProc, hwnd, message, wParam, lParam);
      if (wParam == VK_RETURN) code |= DLGC_WANTALLKEYS;
      return code;
    }
    default: break;
  }
  return CallWindowProcW(self->entryPreviousProc, hwnd, message, wParam, lParam);
}

void IGuiWin::ResolveTextEntry() {
  switch (entryState) {
    case win::EntryState::CancelRequested: {
      CloseTextEntry();
      if (IControl* owner = TextEntryControl()) {
        ForgetTextEntry();
        owner->MarkDirty(false);
      }
      break;
    }
    case win::EntryState::CommitRequested: {
      wchar_t text[kMaxEntryUnits + 1] = {};
      const int n = GetWindowTextW(entryWindow, text, kMaxEntryUnits + 1);
      const std::string utf8 = win::Utf8Of(reinterpret_cast<const char16_t*>(text), n > 0 ? static_cast<size_t>(n) : 0);
      CloseTextEntry();
      CommitTextEntry(utf8.c_str());
      break;
    }
    default: entryState = win::EntryState::Idle; break;
  }
}

void IGuiWin::CloseTextEntry() {
  if (!entryWindow) return;
  const bool hadFocus = GetFocus() == entryWindow;
  SetWindowLongPtrW(entryWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entryPreviousProc));
  SetWindowLongPtrW(entryWindow, GWLP_USERDATA, 0);
  DestroyWindow(entryWindow);
  entryWindow = nullptr;
  entryPreviousProc = nullptr;
  if (entryFont) DeleteObject(entryFont);
  entryFont = nullptr;
  if (entryBrush) DeleteObject(entryBrush);
  entryBrush = nullptr;
  entryState = win::EntryState::Idle;
  entryParam = -1;
  if (hadFocus && window) SetFocus(window);
}

// ---- Menu ---------------------------------------------------------------------------------------

namespace {

HMENU BuildMenu(const IMenu& menu, UINT& nextId) {
  HMENU native = CreatePopupMenu();
  if (!native) return nullptr;
  for (int i = 0; i < menu.NItems(); ++i) {
    const IMenuItem* item = menu.Item(i);
    const UINT id = nextId++;
    UINT flags = MF_STRING;
    if (item->flags & IMenuItem::kGreyed) flags |= MF_GRAYED;
    if (item->flags & IMenuItem::kDisabled) flags |= MF_DISABLED;
    if (item->flags & IMenuItem::kChecked) flags |= MF_CHECKED;
    if (win::StartsColumn(menu, i)) flags |= MF_MENUBREAK;
    const std::u16string text = win::Utf16Of(win::NativeMenuText(menu, i));
    const auto* wide = reinterpret_cast<const wchar_t*>(text.c_str());
    if (item->flags & IMenuItem::kSeparator) {
      AppendMenuW(native, MF_SEPARATOR, 0, nullptr);
    } else if (item->submenu) {
      HMENU sub = BuildMenu(*item->submenu, nextId);
      if (sub) AppendMenuW(native, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), wide);
    } else {
      AppendMenuW(native, flags, id, wide);
    }
  }
  return native;
}

}  // namespace

IMenu* IGuiWin::ShowPlatformMenu(IMenu& menu, const IRect& anchor) {
  if (!window) return nullptr;
  const std::vector<win::MenuCommand> commands = win::MenuCommands(menu);
  UINT nextId = 0;
  HMENU native = BuildMenu(menu, nextId);
  if (!native) return nullptr;
  const float s = BackingScale();
  POINT p{static_cast<LONG>(anchor.L * s), static_cast<LONG>(anchor.B * s)};
  ClientToScreen(window, &p);
  IMenu* result = nullptr;
  // The choice arrives as a command message in the window's queue.
  if (TrackPopupMenu(native, TPM_LEFTBUTTON, p.x, p.y, 0, window, nullptr)) {
    MSG message{};
    if (PeekMessageW(&message, window, WM_COMMAND, WM_COMMAND, PM_REMOVE) && HIWORD(message.wParam) == 0) {
      const size_t id = LOWORD(message.wParam);
      if (id < commands.size() && commands[id].menu) {
        result = commands[id].menu;
        result->chosenIdx = commands[id].index;
        if (result->function) result->function(*result);
      }
    }
  }
  DestroyMenu(native);
  InvalidateRect(window, nullptr, FALSE);
  return result;
}

}  // namespace graphics
