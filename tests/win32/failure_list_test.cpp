// The list of files not converted, under Wine: its rows, its size, the copy
// button and how the box that waits for the user ends.
#include <gtest/gtest.h>

#include "platform/wide_text.h"
#include "win32/failure_list_dialog.h"
#include "win32/system_feedback.h"
#include "window_fixture.h"

namespace varnelko::test {
namespace {

using namespace win32;

const std::vector<FailureRow> kRows = {
    {"broken.jww", "ファイルが途中で切れています（オフセット 8）"},
    {"notes.txt", "JWW/JWS 図面ではありません"},
};

std::string CellText(HWND list, int row, int column) {
  wchar_t text[256] = {};
  ListView_GetItemText(list, row, column, text, 256);
  return Utf8FromWide(text);
}

std::wstring ClipboardText(HWND owner) {
  std::wstring text;
  if (!OpenClipboard(owner)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

int Width(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return r.right - r.left;
}

using FailureListTest = WindowTest;

TEST_F(FailureListTest, ListsEveryFileGrowsWithTheBoxAndCopiesTheList) {
  MainWindow& w = Start();
  FailureListDialog dialog(w.hwnd(), "変換できなかったファイルがあります。", kRows);
  dialog.Open();
  HWND list = dialog.Control(kFailureTable);
  ASSERT_EQ(ListView_GetItemCount(list), 2);
  for (int row = 0; row < 2; ++row) {
    EXPECT_EQ(CellText(list, row, 0), kRows[row].name);
    EXPECT_EQ(CellText(list, row, 1), kRows[row].reason);
  }
  EXPECT_GE(ListView_GetColumnWidth(list, 0) + ListView_GetColumnWidth(list, 1), Width(list) - 30);

  // Resizable: the list follows the box.
  const int before = Width(list);
  RECT box;
  GetWindowRect(dialog.hwnd(), &box);
  SetWindowPos(dialog.hwnd(), nullptr, 0, 0, box.right - box.left + 200, box.bottom - box.top + 100,
               SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(Width(list), before + 200);
  EXPECT_TRUE(GetWindowLongW(dialog.hwnd(), GWL_STYLE) & WS_THICKFRAME);

  SendMessageW(dialog.hwnd(), WM_COMMAND, kFailureCopy, 0);
  EXPECT_EQ(Utf8FromWide(ClipboardText(w.hwnd())),
            "broken.jww\tファイルが途中で切れています（オフセット 8）\r\n"
            "notes.txt\tJWW/JWS 図面ではありません\r\n");
}

// The box that waits for the user is closed from inside its own loop.
struct Closing {
  UINT how;  // IDOK, VK_ESCAPE or WM_CLOSE
  int rows_seen = -1;
};
Closing* closing = nullptr;

void CALLBACK CloseTheBox(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  HWND box = FindWindowW(L"VarnelkoFailureList", nullptr);
  if (!box) return;
  closing->rows_seen = ListView_GetItemCount(GetDlgItem(box, kFailureTable));
  if (closing->how == IDOK) PostMessageW(box, WM_COMMAND, IDOK, 0);
  if (closing->how == VK_ESCAPE) PostMessageW(GetDlgItem(box, kFailureTable), WM_KEYDOWN, VK_ESCAPE, 0);
  if (closing->how == WM_CLOSE) PostMessageW(box, WM_CLOSE, 0, 0);
}

TEST_F(FailureListTest, TheReportBoxWaitsForOkEscapeOrTheCloseBox) {
  MainWindow& w = Start();
  SystemFeedback feedback;
  feedback.SetOwner(w.hwnd());
  for (const UINT how : {static_cast<UINT>(IDOK), static_cast<UINT>(VK_ESCAPE),
                         static_cast<UINT>(WM_CLOSE)}) {
    Closing close{how};
    closing = &close;
    SetTimer(nullptr, 0, 50, CloseTheBox);
    feedback.ReportBox("変換できなかったファイルがあります。", kRows);
    EXPECT_EQ(close.rows_seen, 2) << how;
    EXPECT_TRUE(IsWindowEnabled(w.hwnd())) << how;
    EXPECT_EQ(FindWindowW(L"VarnelkoFailureList", nullptr), nullptr) << how;
  }
  closing = nullptr;
}

}  // namespace
}  // namespace varnelko::test
