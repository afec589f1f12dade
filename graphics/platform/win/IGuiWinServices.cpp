// The desktop services: clipboard, message box, file, folder and colour dialogs, the file
// manager and file drags. UTF-8 on our side, UTF-16 at the system's.
#include "graphics/platform/win/IGuiWin.h"

#include <cstring>
#include <vector>

#include <commdlg.h>
#include <shlobj.h>

#include "graphics/platform/win/WinDragDrop.h"
#include "graphics/platform/win/WinText.h"

namespace graphics {
namespace {

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

std::string Narrow(const wchar_t* text) {
  return text ? win::Utf8Of(reinterpret_cast<const char16_t*>(text), wcslen(text)) : std::string();
}

// Movable global memory holding the bytes, for the clipboard or a drag; null when none can be had.
HGLOBAL GlobalCopy(const void* bytes, size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (!memory) return nullptr;
  void* to = GlobalLock(memory);
  if (!to) {
    GlobalFree(memory);
    return nullptr;
  }
  std::memcpy(to, bytes, size);
  GlobalUnlock(memory);
  return memory;
}

bool PutOnClipboard(HWND owner, UINT format, HGLOBAL memory) {
  if (!memory) return false;
  if (!OpenClipboard(owner)) {
    GlobalFree(memory);
    return false;
  }
  EmptyClipboard();
  const bool put = SetClipboardData(format, memory) != nullptr;
  CloseClipboard();
  if (!put) GlobalFree(memory);
  return put;
}

BOOL CALLBACK FirstOwnWindow(HWND hwnd, LPARAM result) {
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  if (process != GetCurrentProcessId()) return TRUE;
  *reinterpret_cast<HWND*>(result) = hwnd;
  return FALSE;
}

struct ColourDialogStart {
  std::u16string title;
  COLORREF colour;
};

UINT_PTR CALLBACK ColourHook(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const auto* chooser = reinterpret_cast<const CHOOSECOLORW*>(lParam);
    const auto* start = reinterpret_cast<const ColourDialogStart*>(chooser->lCustData);
    SetWindowTextW(dialog, Wide(start->title));
    const UINT setColour = RegisterWindowMessageW(L"commdlg_SetRGBColor");
    SendMessageW(dialog, setColour, 0, static_cast<LPARAM>(start->colour));
  }
  return 0;
}

}  // namespace

bool IGuiWin::GetClipboardText(std::string& text) {
  text.clear();
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(window)) return false;
  bool got = false;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
      // The text ends at its terminator or at the end of the memory, whichever comes first.
      const size_t limit = GlobalSize(data) / sizeof(wchar_t);
      size_t n = 0;
      while (n < limit && units[n]) ++n;
      text = win::Utf8Of(reinterpret_cast<const char16_t*>(units), n);
      GlobalUnlock(data);
      got = true;
    }
  }
  CloseClipboard();
  return got;
}

bool IGuiWin::SetClipboardText(const char* text) {
  const std::u16string wide = win::Utf16Of(text ? text : "");
  return PutOnClipboard(window, CF_UNICODETEXT, GlobalCopy(wide.c_str(), (wide.size() + 1) * sizeof(char16_t)));
}

bool IGuiWin::SetClipboardFilePath(const char* filePath) {
  const std::vector<uint8_t> list = win::FileDropList(win::Utf16Of(filePath ? filePath : ""));
  return PutOnClipboard(window, CF_HDROP, GlobalCopy(list.data(), list.size()));
}

HWND IGuiWin::TopLevelOwner() const {
  HWND owner = window;
  while (owner && GetParent(owner)) owner = GetParent(owner);
  if (!owner) EnumWindows(FirstOwnWindow, reinterpret_cast<LPARAM>(&owner));
  return owner;
}

int IGuiWin::ShowMessageBox(const char* text, const char* caption, unsigned type) {
  const std::u16string wideText = win::Utf16Of(text ? text : "");
  const std::u16string wideCaption = win::Utf16Of(caption ? caption : "");
  return MessageBoxW(TopLevelOwner(), Wide(wideText), Wide(wideCaption), type);
}

void IGuiWin::PromptForFile(std::string& file, std::string& directory, bool open, const char* extensions,
                            const PromptCompletion& completion) {
  wchar_t fileBuffer[MAX_PATH] = {};
  wchar_t folderBuffer[MAX_PATH] = {};
  const std::u16string initialFile = win::Utf16Of(file);
  const std::u16string initialFolder = win::Utf16Of(directory);
  // A name too long for the dialog's buffer leaves it empty rather than cut.
  if (initialFile.size() < MAX_PATH) initialFile.copy(reinterpret_cast<char16_t*>(fileBuffer), initialFile.size());
  if (initialFolder.size() < MAX_PATH)
    initialFolder.copy(reinterpret_cast<char16_t*>(folderBuffer), initialFolder.size());

  // "wav aif" becomes the filter "*.wav;*.aif" (shown and matched alike), then "All files".
  std::u16string patterns;
  for (const char* p = extensions ? extensions : ""; *p;) {
    while (*p == ' ') ++p;
    const char* end = p;
    while (*end && *end != ' ') ++end;
    if (end > p) {
      if (!patterns.empty()) patterns += u';';
      patterns += u"*." + win::Utf16Of(std::string(p, end));
    }
    p = end;
  }
  std::u16string filter;
  if (!patterns.empty()) filter += patterns + u'\0' + patterns + u'\0';
  filter += std::u16string(u"All files") + u'\0' + u"*.*" + u'\0' + u'\0';

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = window;
  dialog.lpstrFilter = Wide(filter);
  dialog.lpstrFile = fileBuffer;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrInitialDir = folderBuffer[0] ? folderBuffer : nullptr;
  dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | (open ? OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST : OFN_OVERWRITEPROMPT);
  const BOOL chosen = open ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
  if (chosen) {
    file = Narrow(fileBuffer);
    const size_t slash = file.find_last_of("\\/");
    directory = slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
  }
  if (completion) completion();
}

void IGuiWin::PromptForDirectory(std::string& directory, const PromptCompletion& completion) {
  BROWSEINFOW browse{};
  browse.hwndOwner = window;
  browse.lpszTitle = L"Choose a Directory";
  browse.ulFlags = BIF_USENEWUI | BIF_RETURNONLYFSDIRS;
  if (PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&browse)) {
    wchar_t chosen[MAX_PATH] = {};
    if (SHGetPathFromIDListW(list, chosen)) directory = Narrow(chosen) + "\\";
    CoTaskMemFree(list);
  }
  if (completion) completion();
}

bool IGuiWin::PromptForColour(IColour& colour, const char* title, const PromptCompletion& completion) {
  static COLORREF customColours[16] = {};
  ColourDialogStart start{win::Utf16Of(title ? title : ""), RGB(colour.R, colour.G, colour.B)};
  CHOOSECOLORW chooser{};
  chooser.lStructSize = sizeof chooser;
  chooser.hwndOwner = window;
  chooser.rgbResult = start.colour;
  chooser.lpCustColors = customColours;
  chooser.Flags = CC_FULLOPEN | CC_RGBINIT | CC_ENABLEHOOK;
  chooser.lCustData = reinterpret_cast<LPARAM>(&start);
  chooser.lpfnHook = ColourHook;
  const bool chosen = ChooseColorW(&chooser) != FALSE;
  if (chosen) {
    colour.R = GetRValue(chooser.rgbResult);
    colour.G = GetGValue(chooser.rgbResult);
    colour.B = GetBValue(chooser.rgbResult);
  }
  if (completion) completion();
  return chosen;
}

bool IGuiWin::RevealPathInFileManager(const char* filePath, bool select) {
  if (!filePath || !*filePath) return false;
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  const std::u16string wide = win::Utf16Of(filePath);
  const std::u16string arguments = select ? u"/select,\"" + wide + u"\"" : u"\"" + wide + u"\"";
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(window, L"open", L"explorer.exe", Wide(arguments), system, SW_SHOWNORMAL));
  // The shell reports failures as values of 32 and below.
  return result > 32;
}

void IGuiWin::StartFileDrag(const char* filePath) {
  if (!filePath || !*filePath) return;
  const std::vector<uint8_t> list = win::FileDropList(win::Utf16Of(filePath));
  HGLOBAL memory = GlobalCopy(list.data(), list.size());
  if (!memory) return;
  const bool ole = SUCCEEDED(OleInitialize(nullptr));
  auto* data = new DragDrop::DataObject(memory);
  auto* source = new DragDrop::DropSource();
  DWORD effect = DROPEFFECT_NONE;
  DoDragDrop(data, source, DROPEFFECT_COPY, &effect);
  data->Release();
  source->Release();
  if (ole) OleUninitialize();
}

}  // namespace graphics
