// The settings dialog: which control stores into which slot, and when.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>

#include "qt/settings_dialog.h"

namespace varnelko::test {
namespace {

class SettingsDialogTest : public ::testing::Test {
 protected:
  void Open() { dialog_.show(); }
  QComboBox* combo(int n) { return dialog_.findChild<QComboBox*>(QString("ComboBox%1").arg(n)); }
  QCheckBox* check(int n) { return dialog_.findChild<QCheckBox*>(QString("CheckBox%1").arg(n)); }
  void Press(const char* button) { dialog_.findChild<QPushButton*>(button)->click(); }
  void Key(int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&dialog_, &press);
  }
  void ChangeEverything() {
    combo(1)->setCurrentIndex(5);
    combo(2)->setCurrentIndex(16);
    for (int n = 1; n <= 6; ++n) check(n)->setChecked(!check(n)->isChecked());
  }

  ConversionSettings settings_;
  TForm2 dialog_{settings_};
};

TEST_F(SettingsDialogTest, CaptionItemsAndFirstOpenWithDefaults) {
  EXPECT_EQ(dialog_.windowTitle(), QString("JWW/JWS設定"));
  Open();
  ASSERT_EQ(combo(1)->count(), 17);
  EXPECT_EQ(combo(1)->itemText(10), QString("A"));
  EXPECT_EQ(combo(2)->itemText(16), QString("全て"));
  EXPECT_EQ(combo(1)->currentText(), QString("0"));
  EXPECT_EQ(combo(2)->currentText(), QString("0"));
  for (int n = 1; n <= 6; ++n) EXPECT_FALSE(check(n)->isChecked()) << n;
  Press("Button3");
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_EQ(settings_, ConversionSettings{});
}

TEST_F(SettingsDialogTest, EachControlStoresIntoItsOwnSlot) {
  Open();
  combo(1)->setCurrentIndex(16);  // "全て"
  combo(2)->setCurrentIndex(11);  // "B"
  Press("Button3");
  EXPECT_EQ(settings_.C(1), 16);
  EXPECT_EQ(settings_.C(2), 11);
  for (int n = 1; n <= 6; ++n) {
    Open();
    for (int m = 1; m <= 6; ++m) check(m)->setChecked(m == n);
    Press("Button3");
    for (int slot = 3; slot <= 8; ++slot) {
      EXPECT_EQ(settings_.C(slot), slot == n + 2 ? 1 : 0) << "CheckBox" << n << " C" << slot;
    }
  }
}

TEST_F(SettingsDialogTest, CancelEscapeAndCloseBoxLeaveTheSlots) {
  settings_.values = {3, 4, 1, 0, 1, 0, 1, 0};
  const ConversionSettings before = settings_;
  Open();
  ChangeEverything();
  Press("Button4");
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_EQ(settings_, before);

  Open();
  ChangeEverything();
  Key(Qt::Key_Escape);
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_EQ(settings_, before);

  Open();
  ChangeEverything();
  dialog_.close();
  EXPECT_EQ(settings_, before);
}

TEST_F(SettingsDialogTest, MinimisingAndRestoringKeepsTheEdits) {
  Open();
  combo(1)->setCurrentIndex(7);
  check(1)->setChecked(true);
  dialog_.showMinimized();
  dialog_.showNormal();  // shown again, but not opened again
  EXPECT_EQ(combo(1)->currentIndex(), 7);
  Press("Button3");
  EXPECT_EQ(settings_.C(1), 7);
  EXPECT_EQ(settings_.C(3), 1);
}

TEST_F(SettingsDialogTest, EnterPressesOk) {
  Open();
  check(2)->setChecked(true);
  Key(Qt::Key_Return);
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_EQ(settings_.C(4), 1);
}

TEST_F(SettingsDialogTest, OddValuesFromAHandEditedFile) {
  settings_.C(1) = 20;
  settings_.C(2) = -1;
  settings_.C(5) = 2;
  settings_.C(8) = -7;
  Open();
  EXPECT_EQ(combo(1)->currentIndex(), -1);
  EXPECT_EQ(combo(2)->currentIndex(), -1);
  EXPECT_TRUE(check(3)->isChecked());
  EXPECT_TRUE(check(6)->isChecked());
  Press("Button3");
  EXPECT_EQ(settings_.C(1), -1);
  EXPECT_EQ(settings_.C(2), -1);
  EXPECT_EQ(settings_.C(5), 1);
  EXPECT_EQ(settings_.C(8), 1);
}

TEST_F(SettingsDialogTest, EachOpeningReadsTheSlotsAfresh) {
  Open();
  Press("Button4");
  settings_.C(2) = 15;  // e.g. a ".set" file opened while the dialog was hidden
  settings_.C(3) = 1;
  Open();
  EXPECT_EQ(combo(2)->currentText(), QString("F"));
  EXPECT_TRUE(check(1)->isChecked());
  // A detail box may be on while its main switch is off; both are stored.
  check(1)->setChecked(false);
  check(3)->setChecked(true);
  Press("Button3");
  EXPECT_EQ(settings_.C(3), 0);
  EXPECT_EQ(settings_.C(5), 1);
}

}  // namespace
}  // namespace varnelko::test
