// The main window under Wine: its form at start-up, searching and listing a
// folder, the filter, header-click sorting, and the ini file at shutdown.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "document/ini_file.h"
#include "platform/path_text.h"
#include "platform/wide_text.h"
#include "win32/control_ids.h"
#include "window_fixture.h"

namespace varnelko::test {
namespace {

namespace fs = std::filesystem;
using namespace win32;

std::string MenuText(HMENU menu, int position) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
  return Utf8FromWide(text);
}

std::string WindowText(HWND hwnd) {
  wchar_t text[512] = {};
  GetWindowTextW(hwnd, text, 512);
  return Utf8FromWide(text);
}

// The samples, a text file and a hidden file that the list leaves out.
fs::path MakeListedFolder(const fs::path& folder) {
  for (const char* name : {"平面図.jww", "old.jww", "部品.jws"}) {
    fs::copy_file(fs::path(VARNELKO_SOURCE_DIR) / "samples" / PathFromUtf8(name),
                  folder / PathFromUtf8(name));
  }
  std::ofstream(folder / "notes.txt") << "12345";
  const fs::path hidden = folder / "hidden.jww";
  std::ofstream(hidden) << "x";
  SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
  return folder;
}

class MainWindowTest : public WindowTest {
 protected:
  std::vector<std::string> Column(int column) {
    std::vector<std::string> texts;
    for (int row = 0; row < RowCount(); ++row) texts.push_back(Cell(row, column));
    return texts;
  }
};

TEST_F(MainWindowTest, StartsWithTheFormAndItsMenus) {
  MainWindow& w = Start();
  EXPECT_EQ(WindowText(w.hwnd()), "Varnelko Ver.1.01");
  EXPECT_EQ(w.StatusText(), "検索フォルダを指定して下さい。");
  EXPECT_EQ(SendMessageW(w.Control(kComboBox1), CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(WindowText(w.Control(kButton1)), "JWW/JWS設定");
  EXPECT_EQ(WindowText(w.Control(kButton3)), "参照");
  EXPECT_EQ(WindowText(w.Control(kButton4)), "変換");
  const char* headers[] = {"ファイル名", "Bytes", "種類", "図面メモ", "更新日時", "属性"};
  HWND header = ListView_GetHeader(w.Control(kStringGrid1));
  for (int c = 0; c < 6; ++c) {
    wchar_t text[64] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    Header_GetItem(header, c, &item);
    EXPECT_EQ(Utf8FromWide(text), headers[c]);
    EXPECT_EQ(ListView_GetColumnWidth(w.Control(kStringGrid1), c), 64);
  }
  // Each menu with its items and their Alt letters, separators as "".
  HMENU bar = GetMenu(w.hwnd());
  const std::vector<std::vector<std::string>> menus = {
      {"ファイル (&F)", "検索フォルダの指定 (&S)\tCtrl+O", "ファイルの種類 (&T)",
       "保存先フォルダの指定 (&H)", "", "終了 (&X)\tCtrl+Q"},
      {"設定 (&S)", "JWW/JWS設定 (&1)", "", "現在の設定を保存(&S)...\tCtrl+S",
       "保存した設定を開く(&O)..."},
      {"表示 (&V)", "プレビュー (&P)", "最新の情報に更新 (&R)\tF5"},
  };
  for (size_t m = 0; m < menus.size(); ++m) {
    EXPECT_EQ(MenuText(bar, static_cast<int>(m)), menus[m][0]);
    HMENU sub = GetSubMenu(bar, static_cast<int>(m));
    for (size_t i = 1; i < menus[m].size(); ++i) {
      EXPECT_EQ(MenuText(sub, static_cast<int>(i - 1)), menus[m][i]) << m << "/" << i;
    }
  }
  HMENU types = GetSubMenu(GetSubMenu(bar, 0), 1);
  EXPECT_EQ(MenuText(types, 0), "全てのファイル(*.*) (&0)");
  EXPECT_EQ(MenuText(types, 3), "(*.jws) (&3)");
}

TEST_F(MainWindowTest, ListsAFolderWithMemosThenSortsByHeaderClicks) {
  const fs::path folder = MakeListedFolder(Folder("図面"));
  MainWindow& w = Start();
  SearchAndList(folder);
  EXPECT_TRUE(w.state().tree_ready);
  EXPECT_TRUE(w.state().list_shown);
  EXPECT_EQ(w.StatusText(), "4 Files  パス名「" + PathToUtf8(folder) + "」");
  // Listed by name, letter case aside; the hidden file is left out.
  EXPECT_EQ(Column(0), (std::vector<std::string>{"notes.txt", "old.jww", "平面図.jww", "部品.jws"}));
  EXPECT_EQ(Column(2), (std::vector<std::string>{".TXT", ".JWW", ".JWW", ".JWS"}));
  EXPECT_EQ(Cell(2, 3), "1階平面図 S=1:50");
  EXPECT_EQ(Cell(0, 3), "");
  // "12345" is five bytes, right-aligned by blanks in a field of at least 3.
  EXPECT_GE(Cell(0, 1).size(), 3u);
  EXPECT_EQ(Cell(0, 1).find_first_not_of(' '), Cell(0, 1).size() - 1);
  EXPECT_EQ(Cell(0, 1).back(), '5');

  struct Click {
    int column;
    std::vector<std::string> names;
  };
  // The direction alternates with every click, whichever column; "属性"
  // lists again in name order and keeps the direction. Names compare as
  // code page 932 bytes, where 部 comes before 平.
  const Click clicks[] = {
      {0, {"notes.txt", "old.jww", "部品.jws", "平面図.jww"}},
      {0, {"平面図.jww", "部品.jws", "old.jww", "notes.txt"}},
      {5, {"notes.txt", "old.jww", "平面図.jww", "部品.jws"}},
      {2, {"部品.jws", "old.jww", "平面図.jww", "notes.txt"}},
  };
  for (const Click& click : clicks) {
    ClickColumn(click.column);
    WaitIdle();
    EXPECT_EQ(Column(0), click.names) << "column " << click.column;
  }
  // Memos moved with their rows.
  for (int row = 0; row < RowCount(); ++row) {
    if (Cell(row, 0) == "平面図.jww") {
      EXPECT_EQ(Cell(row, 3), "1階平面図 S=1:50");
    }
  }
}

TEST_F(MainWindowTest, FileTypeMenuFiltersTheList) {
  const fs::path folder = MakeListedFolder(Folder("types"));
  MainWindow& w = Start();
  SearchAndList(folder);
  const std::pair<int, std::vector<std::string>> cases[] = {
      {2, {"old.jww", "平面図.jww"}},
      {3, {"部品.jws"}},
      {1, {"old.jww", "平面図.jww", "部品.jws"}},
      {0, {"notes.txt", "old.jww", "平面図.jww", "部品.jws"}},
  };
  for (const auto& [type, names] : cases) {
    Command(kMenuFileType0 + type);
    WaitIdle();
    EXPECT_EQ(SendMessageW(w.Control(kComboBox1), CB_GETCURSEL, 0, 0), type);
    std::vector<std::string> listed;
    for (int row = 0; row < RowCount(); ++row) listed.push_back(Cell(row, 0));
    EXPECT_EQ(listed, names) << "type " << type;
  }
}

TEST_F(MainWindowTest, SearchFolderThatIsMissingIsRefused) {
  MainWindow& w = Start();
  feedback_.folder_choice = temp_.path() / "gone" / "";
  Command(kMenuSearchFolder);
  EXPECT_FALSE(w.state().tree_ready);
  EXPECT_EQ(TakeBoxes(),
            (std::vector<std::string>{"choose:検索フォルダの指定", "beep",
                                      "info:検索フォルダのディスクドライブの準備が出来ていません。"}));
  EXPECT_EQ(w.StatusText(), "検索フォルダを指定して下さい。");
}

TEST_F(MainWindowTest, ShutdownWritesTheIniAndStartUpReadsIt) {
  const fs::path out = Folder("out");
  {
    MainWindow& w = Start();
    feedback_.folder_choice = out;
    Command(kMenuOutputFolder);
    w.state().settings.C(3) = 1;
    SendMessageW(w.Control(kComboBox1), CB_SETCURSEL, 2, 0);
    Close();
  }
  const std::pair<const char*, std::string> keys[] = {
      {"F1_W", "696"}, {"F1P1", "160"}, {"F1S3", "64"}, {"FLD2", PathToUtf8(out)}, {"FTYP", "2"},
      {"C3", "1"},     {"C4", "0"},
  };
  for (const auto& [key, value] : keys) {
    std::string text;
    const std::string section = std::string(key).starts_with("C")   ? "JWW"
                                : std::string(key).starts_with("F1_") ? "Form"
                                : std::string(key).starts_with("F1")  ? "Comp"
                                                                      : "Set";
    IniReadStr(section, key, text, 512, ini());
    EXPECT_EQ(text, value) << key;
  }
  MainWindow& again = Start();
  EXPECT_EQ(again.state().output_folder, out);
  EXPECT_EQ(again.state().settings.C(3), 1);
  EXPECT_EQ(SendMessageW(again.Control(kComboBox1), CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(WindowText(again.Control(kEdit2)), PathToUtf8(out));
}

}  // namespace
}  // namespace varnelko::test
