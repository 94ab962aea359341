// The settings dialog under Wine: what it shows for the stored values, and
// what OK, Cancel, Escape and the close box leave in C1..C8.
#include <gtest/gtest.h>

#include "win32/control_ids.h"
#include "win32/settings_dialog.h"
#include "window_fixture.h"

namespace varnelko::test {
namespace {

using namespace win32;

ConversionSettings Values(std::array<int32_t, 8> values) { return ConversionSettings{values}; }

struct DialogCase {
  const char* name;
  ConversionSettings before;
  int group_item, layer_item;  // chosen items; -2 leaves the combo box alone
  std::array<int, 6> checks;   // 1 checks, 0 clears, -1 leaves a box alone
  UINT close;                  // how the dialog is left: IDOK, IDCANCEL, or WM_CLOSE
  ConversionSettings after;
};

class SettingsDialogTest : public WindowTest {};

TEST_F(SettingsDialogTest, StoresTheControlsOnOkOnly) {
  const DialogCase cases[] = {
      {"first start, OK", Values({}), -2, -2, {-1, -1, -1, -1, -1, -1}, IDOK, Values({})},
      {"all groups and layers", Values({}), 16, 16, {1, 0, 0, 0, 0, 0}, IDOK,
       Values({16, 16, 1, 0, 0, 0, 0, 0})},
      {"every switch", Values({1, 2}), -2, -2, {1, 1, 1, 1, 1, 1}, IDOK,
       Values({1, 2, 1, 1, 1, 1, 1, 1})},
      {"cancel keeps", Values({3, 4, 1}), 0, 0, {0, 1, 1, 1, 1, 1}, IDCANCEL, Values({3, 4, 1})},
      {"close box keeps", Values({3, 4, 1}), 0, 0, {0, 1, 1, 1, 1, 1}, WM_CLOSE, Values({3, 4, 1})},
      // A hand-edited 20 shows no item and is stored as -1; a 2 shows checked.
      {"odd values", Values({20, 5, 2, 0, 0, 0, 0, 0}), -2, -2, {-1, -1, -1, -1, -1, -1}, IDOK,
       Values({-1, 5, 1, 0, 0, 0, 0, 0})},
      {"sub-switch alone", Values({}), -2, -2, {0, 0, 1, 0, 0, 0}, IDOK,
       Values({0, 0, 0, 0, 1, 0, 0, 0})},
  };
  MainWindow& w = Start();
  SettingsDialog& dialog = w.settings_dialog();
  for (const DialogCase& c : cases) {
    w.state().settings = c.before;
    // Posted now, handled inside the dialog's own loop once it has loaded
    // the controls from the settings.
    if (c.group_item != -2) PostMessageW(dialog.Control(kGroupCombo), CB_SETCURSEL, c.group_item, 0);
    if (c.layer_item != -2) PostMessageW(dialog.Control(kLayerCombo), CB_SETCURSEL, c.layer_item, 0);
    for (int i = 0; i < 6; ++i) {
      if (c.checks[i] >= 0) {
        PostMessageW(dialog.Control(kCheckBox1 + i), BM_SETCHECK,
                     c.checks[i] ? BST_CHECKED : BST_UNCHECKED, 0);
      }
    }
    if (c.close == WM_CLOSE) {
      PostMessageW(dialog.hwnd(), WM_CLOSE, 0, 0);
    } else {
      PostMessageW(dialog.hwnd(), WM_COMMAND, c.close, 0);
    }
    Command(kMenuSettings);
    EXPECT_EQ(w.state().settings.values, c.after.values) << c.name;
    EXPECT_FALSE(IsWindowVisible(dialog.hwnd())) << c.name;
    EXPECT_TRUE(IsWindowEnabled(w.hwnd())) << c.name;
  }
}

TEST_F(SettingsDialogTest, ShowsTheStoredValuesEachTimeItOpens) {
  MainWindow& w = Start();
  SettingsDialog& dialog = w.settings_dialog();
  w.state().settings = Values({15, 16, 0, 1, 0, 1, 0, 1});
  dialog.Open(w.state().settings);
  EXPECT_EQ(SendMessageW(dialog.Control(kGroupCombo), CB_GETCURSEL, 0, 0), 15);
  EXPECT_EQ(SendMessageW(dialog.Control(kLayerCombo), CB_GETCURSEL, 0, 0), 16);
  wchar_t item[16] = {};
  SendMessageW(dialog.Control(kLayerCombo), CB_GETLBTEXT, 16, reinterpret_cast<LPARAM>(item));
  EXPECT_STREQ(item, L"全て");
  SendMessageW(dialog.Control(kGroupCombo), CB_GETLBTEXT, 10, reinterpret_cast<LPARAM>(item));
  EXPECT_STREQ(item, L"A");
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(SendMessageW(dialog.Control(kCheckBox1 + i), BM_GETCHECK, 0, 0),
              i % 2 ? BST_CHECKED : BST_UNCHECKED);
  }
  dialog.Close();
}

}  // namespace
}  // namespace varnelko::test
