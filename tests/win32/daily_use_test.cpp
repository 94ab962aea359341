// What a drafter does every day beyond the menus, under Wine: dropping
// folders and files, the sort arrow, F5, the keys, tips of cut-off cells, a
// typed output folder, the recent folders and the hint over an empty list.
#include <windows.h>

#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "desktop/shell_texts.h"
#include "desktop_fixtures.h"
#include "document/ini_file.h"
#include "platform/path_text.h"
#include "platform/wide_text.h"
#include "win32/accelerators.h"
#include "win32/clipboard.h"
#include "win32/control_ids.h"
#include "win32/message_loop.h"
#include "win32/preview/preview_pane.h"
#include "window_fixture.h"

namespace varnelko::test {
namespace {

namespace fs = std::filesystem;
using namespace win32;

POINT CentreOf(HWND window, HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::string MenuText(HMENU menu, int position) {
  wchar_t text[512] = {};
  GetMenuStringW(menu, position, text, 512, MF_BYPOSITION);
  return Utf8FromWide(text);
}

class DailyUseTest : public WindowTest {
 protected:
  // A drop of `paths` on `control` as the shell hands it to the window.
  void DropOn(HWND control, const std::vector<fs::path>& paths) {
    std::wstring names;
    for (const fs::path& path : paths) names += path.wstring() + L'\0';
    names += L'\0';
    const size_t bytes = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = CentreOf(window_->hwnd(), control);
    drop->fWide = TRUE;
    std::memcpy(drop + 1, names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    SendMessageW(window_->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    WaitIdle();
  }

  // The same drop as Explorer's drags hand it over, through OLE; the effect
  // the window answers.
  DWORD DropByOle(HWND control, const std::vector<fs::path>& paths) {
    // The items as the shell's folder window hands them to a drag: one
    // folder's children (the paths share their folder).
    std::vector<LPITEMIDLIST> items;
    for (const fs::path& path : paths) {
      LPITEMIDLIST item = nullptr;
      const fs::path named = path.has_filename() ? path : path.parent_path();
      if (SUCCEEDED(SHParseDisplayName(named.c_str(), nullptr, &item, 0, nullptr))) items.push_back(item);
    }
    IShellFolder* folder = nullptr;
    std::vector<LPCITEMIDLIST> children;
    for (LPITEMIDLIST item : items) {
      if (folder) folder->Release();
      LPCITEMIDLIST child = nullptr;
      SHBindToParent(item, IID_IShellFolder, reinterpret_cast<void**>(&folder), &child);
      children.push_back(child);
    }
    IDataObject* data = nullptr;
    if (folder) {
      folder->GetUIObjectOf(nullptr, static_cast<UINT>(children.size()), children.data(),
                            IID_IDataObject, nullptr, reinterpret_cast<void**>(&data));
      folder->Release();
    }
    for (LPITEMIDLIST item : items) CoTaskMemFree(item);
    if (!data) return DROPEFFECT_NONE;
    POINT at = CentreOf(window_->hwnd(), control);
    ClientToScreen(window_->hwnd(), &at);
    IDropTarget* target = window_->drop_target();
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    target->DragEnter(data, MK_LBUTTON, {at.x, at.y}, &effect);
    if (effect != DROPEFFECT_NONE) {
      effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
      target->Drop(data, 0, {at.x, at.y}, &effect);
      PumpPending(*window_);  // the drop is taken once the drag has ended
      WaitIdle();
    }
    data->Release();
    return effect;
  }

  // A key pressed in `control`, through the message loop; Ctrl held down or not.
  void PressKey(HWND control, WORD key, bool ctrl) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(keys);
    PostMessageW(control, WM_KEYDOWN, key, 0);
    PumpPending(*window_);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    WaitIdle();
  }

  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (int row = 0; row < RowCount(); ++row) names.push_back(Cell(row, 0));
    return names;
  }

  std::vector<int> SelectedRows() {
    std::vector<int> rows;
    HWND list = window_->Control(kStringGrid1);
    for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(list, row, LVNI_SELECTED)) {
      rows.push_back(row);
    }
    return rows;
  }

  int SortArrow(int column) {  // 1 up, -1 down, 0 none
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    Header_GetItem(ListView_GetHeader(window_->Control(kStringGrid1)), column, &item);
    return (item.fmt & HDF_SORTUP) ? 1 : (item.fmt & HDF_SORTDOWN) ? -1 : 0;
  }

  bool HintShown() {
    return IsWindowVisible(GetDlgItem(window_->Control(kStringGrid1), kStartHint));
  }
};

TEST_F(DailyUseTest, DroppedFoldersAndFilesAreListedAndADropOnTheOutputFieldSetsIt) {
  const fs::path folder = Folder("drop"), other = Folder("other");
  for (const char* name : {"a.jww", "b.jww", "c.jww", "d.jww"}) std::ofstream(folder / name) << "x";
  std::ofstream(other / "e.jww") << "x";
  MainWindow& w = Start();
  HWND list = w.Control(kStringGrid1), output = w.Control(kEdit2);
  struct Drop {
    const char* name;
    HWND on;
    std::vector<fs::path> paths;
    std::vector<std::string> events;  // what is not a status text
    fs::path search, output;          // the folders afterwards
    std::vector<std::string> names;   // the rows afterwards
    std::vector<int> selected;
  };
  // Explorer's drags come through OLE: copied, never moved, and only while
  // nothing runs.
  EXPECT_EQ(DropByOle(output, {folder}), static_cast<DWORD>(DROPEFFECT_COPY));
  EXPECT_EQ(w.state().output_folder, folder);
  w.state().busy = true;
  EXPECT_EQ(DropByOle(output, {other}), static_cast<DWORD>(DROPEFFECT_NONE));
  w.state().busy = false;
  EXPECT_EQ(w.state().output_folder, folder);

  const Drop drops[] = {
      {"a folder on the output field", output, {other}, {}, w.state().search_folder, other, {""}, {}},
      {"files on the list", list, {folder / "b.jww", folder / "c.jww"}, {}, folder, other,
       {"a.jww", "b.jww", "c.jww", "d.jww"}, {1, 2}},
      {"files from the first row", list, {folder / "a.jww", folder / "b.jww"}, {}, folder, other,
       {"a.jww", "b.jww", "c.jww", "d.jww"}, {0, 1}},
      {"files of two folders", list, {folder / "a.jww", other / "e.jww"}, {"beep"}, folder, other,
       {"a.jww", "b.jww", "c.jww", "d.jww"}, {0, 1}},
      {"a folder on the tree", w.Control(kTreeView1), {other}, {}, other, other, {"e.jww"}, {0}},
  };
  for (const Drop& drop : drops) {
    DropOn(drop.on, drop.paths);
    EXPECT_EQ(TakeBoxes(), drop.events) << drop.name;
    EXPECT_EQ(w.state().search_folder, drop.search) << drop.name;
    EXPECT_EQ(w.state().output_folder, drop.output) << drop.name;
    EXPECT_EQ(Names(), drop.names) << drop.name;
    EXPECT_EQ(SelectedRows(), drop.selected) << drop.name;
    // The preview follows the first selected file.
    EXPECT_EQ(w.preview().message().empty(), drop.selected.empty()) << drop.name;
  }
  EXPECT_EQ(w.StatusText(), "1 Files  パス名「" + PathToUtf8(other) + "」");
}

TEST_F(DailyUseTest, TheHeaderShowsTheSortWhichHoldsForTheNextFolderAndF5FindsNewFolders) {
  const fs::path root = Folder("root"), first = Folder("root/first"), second = Folder("root/second");
  std::ofstream(first / "b.txt") << "1";
  std::ofstream(first / "a.txt") << "1";
  std::ofstream(first / "c.txt") << "22";
  std::ofstream(second / "y.txt") << "1";
  std::ofstream(second / "z.txt") << "22";
  WriteMemoDrawing(second / "zz.jww", "二階");  // the biggest, the last by name
  MainWindow& w = Start();
  SearchAndList(root);
  w.ListFiles(first);
  WaitIdle();
  struct Step {
    int click;  // a header click, or -1 to list `second`
    std::vector<std::string> names;
    int size_arrow;
  };
  // Equal sizes stay ordered by name either way; "属性" lists again unsorted.
  const Step steps[] = {
      {1, {"a.txt", "b.txt", "c.txt"}, 1},
      {1, {"c.txt", "a.txt", "b.txt"}, -1},
      {-1, {"zz.jww", "z.txt", "y.txt"}, -1},
      {5, {"y.txt", "z.txt", "zz.jww"}, 0},
  };
  for (const Step& step : steps) {
    if (step.click >= 0) {
      ClickColumn(step.click);
    } else {
      w.ListFiles(second);
    }
    WaitIdle();
    EXPECT_EQ(Names(), step.names) << step.click;
    EXPECT_EQ(SortArrow(1), step.size_arrow) << step.click;
    EXPECT_EQ(SortArrow(5), 0);
    for (int row = 0; row < RowCount(); ++row) {  // a memo stays with its file
      EXPECT_EQ(Cell(row, 3), Cell(row, 0) == "zz.jww" ? "二階" : "") << step.click;
    }
  }

  // F5 after folders came and went: the tree anew, the listed folder again.
  fs::remove_all(first);
  Folder("root/new");
  std::ofstream(second / "x.txt") << "1";
  Command(kMenuRefresh);
  WaitIdle();
  HWND tree = w.Control(kTreeView1);
  std::vector<std::string> children;
  for (HTREEITEM node = TreeView_GetChild(tree, TreeView_GetRoot(tree)); node;
       node = TreeView_GetNextSibling(tree, node)) {
    wchar_t text[64] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = text;
    item.cchTextMax = 64;
    TreeView_GetItem(tree, &item);
    children.push_back(Utf8FromWide(text));
    if (children.back() == "second") {
      EXPECT_EQ(TreeView_GetSelection(tree), node);
    }
  }
  EXPECT_EQ(children, (std::vector<std::string>{"new", "second"}));
  EXPECT_EQ(w.state().listed_folder, second);
  EXPECT_EQ(Names(), (std::vector<std::string>{"x.txt", "y.txt", "z.txt", "zz.jww"}));
}

TEST_F(DailyUseTest, KeysRunTheirCommandsAndEnterOpensTheRow) {
  struct Parsed {
    const char* key;
    bool valid;
    BYTE flags;
    WORD virtual_key;
  };
  const Parsed parsed[] = {
      {"Ctrl+O", true, FVIRTKEY | FCONTROL, 'O'},   {"F5", true, FVIRTKEY, VK_F5},
      {"Ctrl+Return", true, FVIRTKEY | FCONTROL, VK_RETURN},
      {"Shift+Alt+F12", true, FVIRTKEY | FSHIFT | FALT, VK_F12},
      {"Ctrl+", false, 0, 0},  {"F25", false, 0, 0},  {"Hyper+X", false, 0, 0},
  };
  for (const Parsed& p : parsed) {
    const auto accel = AcceleratorOf(p.key, 7);
    ASSERT_EQ(accel.has_value(), p.valid) << p.key;
    if (!accel) continue;
    EXPECT_EQ(accel->fVirt, p.flags) << p.key;
    EXPECT_EQ(accel->key, p.virtual_key) << p.key;
    EXPECT_EQ(accel->cmd, 7) << p.key;
  }

  const fs::path folder = Folder("keys");
  std::ofstream(folder / "a.jww") << "x";
  MainWindow& w = Start();
  SearchAndList(folder);
  w.SetOutputFolder(Folder("out"));
  w.state().settings.C(3) = 1;
  feedback_.Take();
  feedback_.answer_yes = false;
  feedback_.folder_choice = folder;
  HWND list = w.Control(kStringGrid1);
  struct Key {
    WORD key;
    bool ctrl;
    HWND in;
    std::string event;  // among what the command did
  };
  const Key keys[] = {
      {VK_RETURN, true, w.Control(kComboBox1), "ask:変換を開始します。よろしいですか？"},
      {'S', true, list, "choose:現在の設定を保存"},
      {'Q', true, list, "ask:終了します。よろしいですか？"},
      {VK_RETURN, false, list, "open:" + PathToUtf8(folder / "a.jww")},
      {VK_F5, false, list, "status:" + std::string(texts::kSearching)},
      {'O', true, list, "choose:検索フォルダの指定"},
      {'O', false, list, ""},  // without Ctrl only the list sees it
  };
  for (const Key& key : keys) {
    PressKey(key.in, key.key, key.ctrl);
    const std::vector<std::string> events = feedback_.Take();
    if (key.event.empty()) {
      EXPECT_TRUE(events.empty()) << events.front();
    } else {
      EXPECT_NE(std::find(events.begin(), events.end(), key.event), events.end()) << key.event;
    }
  }
}

TEST_F(DailyUseTest, CutOffCellsShowWholeInATip) {
  const fs::path folder = Folder("long");
  const std::string memo = "とても長い図面メモがここに続いていて列には収まりません";
  WriteMemoDrawing(folder / "a.jww", memo);
  MainWindow& w = Start();
  SearchAndList(folder);
  // The window's own tooltip, the one whose tool is the list.
  std::pair<HWND, HWND> list_and_tips{w.Control(kStringGrid1), nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM found) -> BOOL {
        auto& pair = *reinterpret_cast<std::pair<HWND, HWND>*>(found);
        wchar_t cls[64] = {};
        GetClassNameW(hwnd, cls, 64);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        if (lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0 &&
            SendMessageW(hwnd, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)) &&
            tool.uId == reinterpret_cast<UINT_PTR>(pair.first)) {
          pair.second = hwnd;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&list_and_tips));
  HWND list = list_and_tips.first, tips = list_and_tips.second;
  ASSERT_NE(tips, nullptr);
  const std::pair<int, std::string> cells[] = {{3, memo}, {2, ""}, {0, ""}};
  for (const auto& [column, tip] : cells) {
    RECT cell{};
    ListView_GetSubItemRect(list, 0, column, LVIR_LABEL, &cell);
    SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(cell.left + 4, (cell.top + cell.bottom) / 2));
    NMTTDISPINFOW info{};
    info.hdr = {tips, 0, TTN_GETDISPINFOW};
    SendMessageW(w.hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.lpszText ? Utf8FromWide(info.lpszText) : "", tip) << "column " << column;
  }
  EXPECT_EQ(w.CellTip(0, 1), "");  // a size loses blanks, never digits
  EXPECT_EQ(ListView_GetColumnWidth(list, 3), 64);
}

TEST_F(DailyUseTest, ATypedOrPastedOutputFolderIsCheckedWhenConverting) {
  const fs::path folder = Folder("typed");
  WriteLayeredDrawing(folder / "a.jww", 3);
  MainWindow& w = Start();
  SearchAndList(folder);
  w.state().settings.C(3) = 1;
  HWND field = w.Control(kEdit2);
  EXPECT_FALSE(GetWindowLongW(field, GWL_STYLE) & ES_READONLY);
  const std::pair<std::wstring, bool> entries[] = {{L" C:\\no\\such ", false},
                                                   {L"\"C:\\no\\such\"", true}};
  for (const auto& [text, pasted] : entries) {
    SetWindowTextW(field, L"");
    if (pasted) {
      ASSERT_TRUE(PutTextOnClipboard(w.hwnd(), Utf8FromWide(text)));
      SendMessageW(field, WM_PASTE, 0, 0);
    } else {
      for (const wchar_t c : text) SendMessageW(field, WM_CHAR, c, 0);
    }
    EXPECT_EQ(PathToUtf8(w.state().output_folder), "C:\\no\\such\\") << pasted;
    feedback_.Take();
    Command(kButton4);
    EXPECT_EQ(TakeBoxes(),
              (std::vector<std::string>{"beep", "confirm:保存先フォルダが見つかりません。確認して下さい。"}));
  }
}

TEST_F(DailyUseTest, TheFileMenuListsTheLastSearchFoldersAndTheHintGoesWhenAFolderIsListed) {
  const fs::path a = Folder("ra"), b = Folder("rb");
  std::ofstream(a / "x.jww") << "x";
  MainWindow& w = Start();
  HWND hint = GetDlgItem(w.Control(kStringGrid1), kStartHint);
  wchar_t text[256] = {};
  GetWindowTextW(hint, text, 256);
  EXPECT_EQ(Utf8FromWide(text), texts::kStartHint);
  EXPECT_TRUE(HintShown());
  SearchAndList(a);
  EXPECT_FALSE(HintShown());
  SearchAndList(b);
  auto open_menu = [this] {
    HMENU file = GetSubMenu(GetMenu(window_->hwnd()), 0);
    SendMessageW(window_->hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    std::vector<std::string> items;
    for (int i = 0; i < GetMenuItemCount(file); ++i) items.push_back(MenuText(file, i));
    return items;
  };
  const std::vector<std::string> fixed = {"検索フォルダの指定 (&S)\tCtrl+O", "ファイルの種類 (&T)",
                                          "保存先フォルダの指定 (&H)", ""};
  std::vector<std::string> expected = fixed;
  for (const std::string& item : {"&1 " + PathToUtf8(b), "&2 " + PathToUtf8(a), std::string(),
                                  std::string("終了 (&X)\tCtrl+Q")}) {
    expected.push_back(item);
  }
  EXPECT_EQ(open_menu(), expected);
  Command(kMenuRecent0 + 1);
  WaitIdle();
  EXPECT_EQ(w.state().listed_folder, a);
  EXPECT_EQ(Cell(0, 0), "x.jww");
  const std::vector<std::string> again = open_menu();  // one entry per folder still
  ASSERT_EQ(again.size(), 8u);
  EXPECT_EQ(again[4], "&1 " + PathToUtf8(a));
  Close();
  std::string first;
  IniReadStr("Recent", "Folder1", first, 512, ini());
  EXPECT_EQ(first, PathToUtf8(a));
  Start();
  const std::vector<std::string> next_time = open_menu();
  ASSERT_EQ(next_time.size(), 8u);
  EXPECT_EQ(next_time[5], "&2 " + PathToUtf8(b));
}

}  // namespace
}  // namespace varnelko::test
