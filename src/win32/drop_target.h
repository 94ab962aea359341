#pragma once
// Files and folders dragged from Explorer: the paths of a shell drop,
// whether it comes the old way (WM_DROPFILES) or through OLE drag and drop,
// which is what Explorer and Wine's file windows start.
#include <windows.h>

#include <oleidl.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <vector>

namespace varnelko::win32 {

// The paths of `drop`, in the order they were dropped.
std::vector<std::filesystem::path> DroppedPaths(HDROP drop);

// The window's OLE drop target: takes drops that carry files (CF_HDROP)
// while `accepting` answers true, and hands their paths and the screen point
// to `on_drop`. Reference counted, as COM wants: made with one reference.
class FileDropTarget : public IDropTarget {
 public:
  using OnDrop = std::function<void(const std::vector<std::filesystem::path>&, POINT screen)>;
  FileDropTarget(std::function<bool()> accepting, OnDrop on_drop);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL at,
                                      DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL at, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override;

 private:
  virtual ~FileDropTarget() = default;

  std::atomic<ULONG> references_{1};
  std::function<bool()> accepting_;
  OnDrop on_drop_;
  bool takes_ = false;  // the drag now over the window carries files
};

}  // namespace varnelko::win32
