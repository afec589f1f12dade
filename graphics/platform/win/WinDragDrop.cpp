#include "graphics/platform/win/WinDragDrop.h"

#include <cstring>
#include <new>
#include <string>

#include "graphics/platform/win/IGuiWin.h"
#include "graphics/platform/win/WinText.h"

namespace graphics {
namespace {

FORMATETC FileDropFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

bool SameFormat(const FORMATETC& a, const FORMATETC& b) {
  return a.cfFormat == b.cfFormat && a.dwAspect == b.dwAspect && (a.tymed & b.tymed) != 0;
}

template <class Interface>
HRESULT Query(Interface* self, REFIID riid, REFIID own, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, own)) {
    *object = self;
    self->AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

}  // namespace

namespace DragDrop {

// ---- Format enumerator --------------------------------------------------------------------------

HRESULT EnumFORMATETC::QueryInterface(REFIID riid, void** object) {
  return Query(this, riid, IID_IEnumFORMATETC, object);
}

ULONG EnumFORMATETC::Release() {
  const ULONG left = --references;
  if (left == 0) delete this;
  return left;
}

HRESULT EnumFORMATETC::Next(ULONG count, FORMATETC* out, ULONG* fetched) {
  if (!out) return E_POINTER;
  ULONG n = 0;
  for (; n < count && index < formats.size(); ++n) out[n] = formats[index++];
  if (fetched) *fetched = n;
  return n == count ? S_OK : S_FALSE;
}

HRESULT EnumFORMATETC::Skip(ULONG count) {
  index += count;
  return index <= formats.size() ? S_OK : S_FALSE;
}

HRESULT EnumFORMATETC::Reset() {
  index = 0;
  return S_OK;
}

HRESULT EnumFORMATETC::Clone(IEnumFORMATETC** out) {
  if (!out) return E_POINTER;
  *out = new (std::nothrow) EnumFORMATETC(formats, index);
  return *out ? S_OK : E_OUTOFMEMORY;
}

// ---- Data object --------------------------------------------------------------------------------

DataObject::DataObject(HGLOBAL fileDropList) : format(FileDropFormat()), data(fileDropList) {}

DataObject::~DataObject() {
  if (data) GlobalFree(data);
}

HRESULT DataObject::QueryInterface(REFIID riid, void** object) { return Query(this, riid, IID_IDataObject, object); }

ULONG DataObject::Release() {
  const ULONG left = --references;
  if (left == 0) delete this;
  return left;
}

HRESULT DataObject::GetData(FORMATETC* wanted, STGMEDIUM* medium) {
  if (!wanted || !medium) return E_INVALIDARG;
  if (!SameFormat(*wanted, format)) return DV_E_FORMATETC;
  // The receiver owns what it gets: a copy.
  const SIZE_T size = GlobalSize(data);
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!copy) return E_OUTOFMEMORY;
  void* to = GlobalLock(copy);
  const void* from = GlobalLock(data);
  if (to && from) std::memcpy(to, from, size);
  GlobalUnlock(data);
  GlobalUnlock(copy);
  medium->tymed = TYMED_HGLOBAL;
  medium->hGlobal = copy;
  medium->pUnkForRelease = nullptr;
  return S_OK;
}

HRESULT DataObject::QueryGetData(FORMATETC* wanted) {
  return wanted && SameFormat(*wanted, format) ? S_OK : DV_E_FORMATETC;
}

HRESULT DataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
  if (!out) return E_INVALIDARG;
  out->ptd = nullptr;
  return E_NOTIMPL;
}

HRESULT DataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) {
  if (!out) return E_POINTER;
  if (direction != DATADIR_GET) return E_NOTIMPL;
  *out = new (std::nothrow) EnumFORMATETC({format});
  return *out ? S_OK : E_OUTOFMEMORY;
}

// ---- Drop source --------------------------------------------------------------------------------

HRESULT DropSource::QueryInterface(REFIID riid, void** object) { return Query(this, riid, IID_IDropSource, object); }

ULONG DropSource::Release() {
  const ULONG left = --references;
  if (left == 0) delete this;
  return left;
}

HRESULT DropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
  if (escapePressed) return DRAGDROP_S_CANCEL;
  if (!(keyState & MK_LBUTTON)) return DRAGDROP_S_DROP;
  return S_OK;
}

}  // namespace DragDrop

// ---- Drop target --------------------------------------------------------------------------------

HRESULT IGuiWinFileDropTarget::QueryInterface(REFIID riid, void** object) {
  return Query(this, riid, IID_IDropTarget, object);
}

ULONG IGuiWinFileDropTarget::Release() {
  const ULONG left = --references;
  if (left == 0) delete this;
  return left;
}

HRESULT IGuiWinFileDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  FORMATETC format = FileDropFormat();
  acceptable = data && data->QueryGetData(&format) == S_OK;
  if (effect) *effect = acceptable ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  return S_OK;
}

HRESULT IGuiWinFileDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
  if (effect) *effect = acceptable ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  return S_OK;
}

HRESULT IGuiWinFileDropTarget::Drop(IDataObject* data, DWORD, POINTL point, DWORD* effect) {
  if (effect) *effect = DROPEFFECT_NONE;
  if (!data || !gui || !window) return S_OK;
  FORMATETC format = FileDropFormat();
  STGMEDIUM medium{};
  if (data->GetData(&format, &medium) != S_OK) return S_OK;
  std::vector<std::string> paths;
  if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
    const SIZE_T size = GlobalSize(medium.hGlobal);
    if (const void* bytes = GlobalLock(medium.hGlobal)) {
      paths = win::PathsOfFileDropList(static_cast<const uint8_t*>(bytes), size);
      GlobalUnlock(medium.hGlobal);
    }
  }
  ReleaseStgMedium(&medium);
  if (paths.empty()) return S_OK;
  if (effect) *effect = DROPEFFECT_COPY;
  gui->DropPaths(paths, {point.x, point.y});
  return S_OK;
}

}  // namespace graphics
