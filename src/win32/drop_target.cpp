#include "win32/drop_target.h"

#include <shellapi.h>

namespace varnelko::win32 {

namespace {

FORMATETC FilesFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

// Copy, or link when the source allows nothing else; never move, which
// would have the source delete what was dropped.
DWORD Chosen(DWORD allowed) {
  if (allowed & DROPEFFECT_COPY) return DROPEFFECT_COPY;
  return allowed & DROPEFFECT_LINK;
}

bool CarriesFiles(IDataObject* data) {
  FORMATETC format = FilesFormat();
  return data && data->QueryGetData(&format) == S_OK;
}

}  // namespace

std::vector<std::filesystem::path> DroppedPaths(HDROP drop) {
  std::vector<std::filesystem::path> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
    path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
    paths.emplace_back(path);
  }
  return paths;
}

FileDropTarget::FileDropTarget(std::function<bool()> accepting, OnDrop on_drop)
    : accepting_(std::move(accepting)), on_drop_(std::move(on_drop)) {}

HRESULT FileDropTarget::QueryInterface(REFIID riid, void** object) {
  if (riid == IID_IUnknown || riid == IID_IDropTarget) {
    *object = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG FileDropTarget::AddRef() { return ++references_; }

ULONG FileDropTarget::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT FileDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  takes_ = CarriesFiles(data);
  *effect = takes_ && accepting_() ? Chosen(*effect) : DROPEFFECT_NONE;
  return S_OK;
}

HRESULT FileDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
  *effect = takes_ && accepting_() ? Chosen(*effect) : DROPEFFECT_NONE;
  return S_OK;
}

HRESULT FileDropTarget::DragLeave() {
  takes_ = false;
  return S_OK;
}

HRESULT FileDropTarget::Drop(IDataObject* data, DWORD, POINTL at, DWORD* effect) {
  const DWORD allowed = *effect;
  *effect = DROPEFFECT_NONE;
  takes_ = false;
  FORMATETC format = FilesFormat();
  STGMEDIUM medium{};
  if (!accepting_() || !data || FAILED(data->GetData(&format, &medium))) return S_OK;
  const std::vector<std::filesystem::path> paths = DroppedPaths(static_cast<HDROP>(medium.hGlobal));
  ReleaseStgMedium(&medium);
  *effect = Chosen(allowed);
  on_drop_(paths, {at.x, at.y});
  return S_OK;
}

}  // namespace varnelko::win32
