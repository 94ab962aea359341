// The folder tree: searching the folders below the search folder, depth
// first, and listing the folder the user clicks.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include "win32/control_ids.h"
#include "win32/main_window.h"

namespace varnelko::win32 {

namespace {

bool IsSubfolder(const WIN32_FIND_DATAW& entry) {
  constexpr DWORD kLeftOut = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || (entry.dwFileAttributes & kLeftOut)) {
    return false;
  }
  return lstrcmpW(entry.cFileName, L".") != 0 && lstrcmpW(entry.cFileName, L"..") != 0;
}

// The shell's small folder icon, shared with every other program.
HIMAGELIST FolderIcons(int& folder_icon) {
  SHFILEINFOW info{};
  auto list = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
      L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info),
      SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  folder_icon = info.iIcon;
  return list;
}

bool EscapeDown() { return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0; }

}  // namespace

void MainWindow::MnuFileSFolderClick() {
  if (!commands_.ChooseSearchFolder()) return;
  SetSearchFolder(state_.search_folder);
  SearchFolders();
}

void MainWindow::SetSearchFolder(const std::filesystem::path& folder) {
  commands_.SetSearchFolder(folder);
  SetWindowTextW(Control(kEdit1), state_.search_folder.c_str());
}

void MainWindow::SearchFolders() {
  if (state_.busy || !commands_.BeginSearch()) return;
  ClearList();
  const std::wstring root_path = state_.search_folder.wstring();
  SetBusy(true);

  HWND tree = Control(kTreeView1);
  int folder_icon = 0;
  TreeView_SetImageList(tree, FolderIcons(folder_icon), TVSIL_NORMAL);
  TreeView_DeleteAllItems(tree);
  node_paths_.clear();
  HTREEITEM root = AddNode(nullptr, root_path, root_path, folder_icon);
  AddSubfolders(root, folder_icon);
  // Pre-order walk: a folder's subfolders are searched right after it, in
  // the order they were found.
  std::vector<HTREEITEM> pending;
  for (HTREEITEM child = TreeView_GetChild(tree, root); child;
       child = TreeView_GetNextSibling(tree, child)) {
    pending.insert(pending.begin(), child);
  }
  while (!pending.empty() && !state_.cancel) {
    HTREEITEM node = pending.back();
    pending.pop_back();
    AddSubfolders(node, folder_icon);
    std::vector<HTREEITEM> children;
    for (HTREEITEM child = TreeView_GetChild(tree, node); child;
         child = TreeView_GetNextSibling(tree, child)) {
      children.push_back(child);
    }
    pending.insert(pending.end(), children.rbegin(), children.rend());
  }
  SortTree(root);
  TreeView_Expand(tree, root, TVE_EXPAND);
  SetBusy(false);
  commands_.EndSearch();
}

HTREEITEM MainWindow::AddNode(HTREEITEM parent, const std::wstring& text,
                              const std::filesystem::path& path, int icon) {
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent ? parent : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = const_cast<wchar_t*>(text.c_str());
  insert.item.iImage = insert.item.iSelectedImage = icon;
  insert.item.lParam = static_cast<LPARAM>(node_paths_.size());
  node_paths_.push_back(path);
  return TreeView_InsertItem(Control(kTreeView1), &insert);
}

void MainWindow::AddSubfolders(HTREEITEM node, int icon) {
  const std::filesystem::path folder = FolderPathOfNode(node);
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileExW((folder / L"*.*").c_str(), FindExInfoBasic, &entry,
                                 FindExSearchLimitToDirectories, nullptr, 0);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    // The window keeps painting, and Escape stops the search.
    PumpWhileBusy();
    if (EscapeDown()) state_.cancel = true;
    if (state_.cancel) break;
    if (IsSubfolder(entry)) AddNode(node, entry.cFileName, folder / entry.cFileName / L"", icon);
  } while (FindNextFileW(find, &entry));
  FindClose(find);
}

void MainWindow::PumpWhileBusy() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (TakeKey(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void MainWindow::SortTree(HTREEITEM node) {
  HWND tree = Control(kTreeView1);
  TreeView_SortChildren(tree, node, FALSE);
  for (HTREEITEM child = TreeView_GetChild(tree, node); child;
       child = TreeView_GetNextSibling(tree, child)) {
    SortTree(child);
  }
}

std::filesystem::path MainWindow::FolderPathOfNode(HTREEITEM node) const {
  TVITEMW item{};
  item.mask = TVIF_PARAM;
  item.hItem = node;
  if (!node || !TreeView_GetItem(GetDlgItem(hwnd_, kTreeView1), &item)) return {};
  const auto index = static_cast<size_t>(item.lParam);
  return index < node_paths_.size() ? node_paths_[index] : std::filesystem::path();
}

void MainWindow::TreeView1Click() {
  if (!state_.tree_ready) {
    commands_.RefuseWithoutTree();
    return;
  }
  ListSelectedNode();
}

void MainWindow::ListSelectedNode() {
  if (!state_.tree_ready) return;
  HTREEITEM selected = TreeView_GetSelection(Control(kTreeView1));
  if (selected) ListFiles(FolderPathOfNode(selected));
}

void MainWindow::SelectFileType(int index) {
  SendMessageW(Control(kComboBox1), CB_SETCURSEL, index, 0);
  ListSelectedNode();
}

}  // namespace varnelko::win32
