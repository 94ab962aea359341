#include "window_fixture.h"

#include "platform/path_text.h"
#include "platform/wide_text.h"
#include "win32/control_ids.h"
#include "win32/message_loop.h"

namespace varnelko::test {

using namespace win32;

WindowTest::WindowTest() = default;

WindowTest::~WindowTest() {
  window_.reset();
  MSG message;  // a closed window leaves its quit message behind
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

MainWindow& WindowTest::Start() {
  window_ = std::make_unique<MainWindow>(GetModuleHandleW(nullptr),
                                         AppLocations{temp_.path() / "", ini()}, feedback_);
  EXPECT_TRUE(window_->Create(SW_SHOWNOACTIVATE));
  PumpPending(*window_);
  return *window_;
}

void WindowTest::Close() {
  SendMessageW(window_->hwnd(), WM_CLOSE, 0, 0);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

std::filesystem::path WindowTest::Folder(const std::string& name) const {
  const std::filesystem::path folder = temp_.path() / PathFromUtf8(name);
  std::filesystem::create_directories(folder);
  return folder / "";
}

std::vector<std::string> WindowTest::TakeBoxes() {
  std::vector<std::string> boxes;
  for (std::string& event : feedback_.Take()) {
    if (!event.starts_with("status:")) boxes.push_back(std::move(event));
  }
  return boxes;
}

void WindowTest::SearchAndList(const std::filesystem::path& folder) {
  feedback_.folder_choice = folder;
  Command(kMenuSearchFolder);
  HWND tree = window_->Control(kTreeView1);
  HTREEITEM root = TreeView_GetRoot(tree);
  TreeView_SelectItem(tree, root);
  NMTREEVIEWW click{};
  click.hdr = {tree, static_cast<UINT_PTR>(kTreeView1), TVN_SELCHANGEDW};
  click.action = TVC_BYMOUSE;
  click.itemNew.hItem = root;
  SendMessageW(window_->hwnd(), WM_NOTIFY, kTreeView1, reinterpret_cast<LPARAM>(&click));
  WaitIdle();
}

void WindowTest::Command(int id) {
  SendMessageW(window_->hwnd(), WM_COMMAND, id, 0);
  PumpPending(*window_);
}

void WindowTest::ClickColumn(int column) {
  NMLISTVIEW click{};
  HWND list = window_->Control(kStringGrid1);
  click.hdr = {list, static_cast<UINT_PTR>(kStringGrid1), LVN_COLUMNCLICK};
  click.iItem = -1;
  click.iSubItem = column;
  SendMessageW(window_->hwnd(), WM_NOTIFY, kStringGrid1, reinterpret_cast<LPARAM>(&click));
  PumpPending(*window_);
}

void WindowTest::SelectRows(int first, int last) {
  HWND list = window_->Control(kStringGrid1);
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
  for (int row = first; row <= last; ++row) {
    ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
  }
}

void WindowTest::WaitIdle() {
  EXPECT_TRUE(PumpUntil(*window_, [this] { return !window_->Working(); }));
}

std::string WindowTest::Cell(int row, int column) {
  wchar_t text[512] = {};
  ListView_GetItemText(window_->Control(kStringGrid1), row, column, text, 512);
  return Utf8FromWide(text);
}

int WindowTest::RowCount() {
  return ListView_GetItemCount(window_->Control(kStringGrid1));
}

}  // namespace varnelko::test
