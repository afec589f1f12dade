#pragma once
// The COM objects of OLE drag and drop: what a file drag out of the editor hands the system
// (a data object holding one file-drop list, its format enumerator and the drop source) and
// the drop target that takes files dropped onto the editor's window. Reference counted from 1;
// Release deletes at 0. [editor-thread] (OLE calls them on the thread that owns the window)
#include <atomic>
#include <vector>

#include <ole2.h>
#include <windows.h>

// COM objects are destroyed by their own Release, never through an interface pointer, so the
// interfaces' missing virtual destructors do not matter.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace graphics {

class IGuiWin;

namespace DragDrop {

class EnumFORMATETC final : public IEnumFORMATETC {
public:
  explicit EnumFORMATETC(std::vector<FORMATETC> list, ULONG position = 0)
      : formats(std::move(list)), index(position) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* out, ULONG* fetched) override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
  HRESULT STDMETHODCALLTYPE Reset() override;
  HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** out) override;

private:
  ~EnumFORMATETC() = default;
  std::atomic<ULONG> references{1};
  std::vector<FORMATETC> formats;
  ULONG index;
};

class DataObject final : public IDataObject {
public:
  // Takes the global memory of a file-drop list.
  explicit DataObject(HGLOBAL fileDropList);
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override;
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override;
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
  ~DataObject();
  std::atomic<ULONG> references{1};
  FORMATETC format;
  HGLOBAL data;
};

class DropSource final : public IDropSource {
public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override;
  // Goes on while the left button is held; Escape cancels.
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
  ~DropSource() = default;
  std::atomic<ULONG> references{1};
};

}  // namespace DragDrop

class IGuiWinFileDropTarget final : public IDropTarget {
public:
  IGuiWinFileDropTarget(HWND target, IGuiWin* owner) : window(target), gui(owner) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override;
  // Copy when the data offers a file-drop list, nothing otherwise.
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

private:
  ~IGuiWinFileDropTarget() = default;
  std::atomic<ULONG> references{1};
  HWND window;
  IGuiWin* gui;
  bool acceptable = false;
};

}  // namespace graphics

#pragma GCC diagnostic pop
