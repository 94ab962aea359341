// The Windows preview pane driven by window messages, as a user drives it:
// the wheel zooms around the cursor, dragging moves the drawing, a double
// click and "全体表示" fit it again, the switches and settings change the
// picture and the counts line, a file that cannot be read says why.
#include <gtest/gtest.h>

#include <windowsx.h>

#include <cmath>
#include <functional>

#include "desktop/preview_drawing.h"
#include "document/cp932.h"
#include "formats/jww/jww_file.h"
#include "support/document_builder.h"
#include "support/temp_dir.h"
#include "win32/preview/dib_picture.h"
#include "win32/preview/preview_canvas.h"
#include "win32/preview/preview_pane.h"

namespace varnelko::win32 {
namespace {

namespace fs = std::filesystem;

// Handles messages until `done` or 20 seconds; false on timeout.
bool PumpUntil(const std::function<bool()>& done) {
  const ULONGLONG end = GetTickCount64() + 20'000;
  MSG msg;
  while (!done()) {
    if (GetTickCount64() > end) return false;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (!done()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

TEntSen Line(double x0, double y0, double x1, double y1, uint16_t group, uint16_t layer) {
  TEntSen line;
  line.header.pen_style = 1;
  line.header.pen_color = 2;
  line.header.layer_group = group;
  line.header.layer = layer;
  line.start_x = x0, line.start_y = y0, line.end_x = x1, line.end_y = y1;
  return line;
}

// Three lines on group 1 and a frame on group 0, every layer shown and at
// full size on the sheet, which the pane fits.
void WriteDrawing(const fs::path& path) {
  JwwDocument doc = test::BuildJwwDocument({.entities = 0, .block_defs = 0});
  test::ShowAllLayers(doc);
  for (TLayerGroup& group : doc.layer_groups) group.scale = 1;
  for (int i = 0; i < 3; ++i) doc.store.Add(Line(0, i * 10, 100, i * 10 + 5, 1, 3));
  doc.store.Add(Line(-10, -10, 110, -10, 0, 0));
  doc.store.Add(Line(110, -10, 110, 110, 0, 0));
  ASSERT_TRUE(WriteJwwFile(path, 700, doc));
  FreeJwwDocument(doc);
}

ConversionSettings GroupOneConverted() {
  ConversionSettings s;
  s.C(1) = 1, s.C(2) = 16, s.C(3) = 1, s.C(4) = 1;
  return s;
}

class PreviewPaneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                              700, 500, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(parent_, nullptr);
    ASSERT_TRUE(pane_.Create(parent_, 100));
    pane_.SetBounds({0, 0, 640, 420});
    drawing_ = temp_ / "plan.jww";
    WriteDrawing(drawing_);
  }
  void TearDown() override { DestroyWindow(parent_); }

  void ShowAndWait(const fs::path& file, const ConversionSettings& settings = {}) {
    pane_.ShowFile(file, settings);
    Wait();
  }
  void Wait() { ASSERT_TRUE(PumpUntil([&] { return !pane_.Pending(); })) << "no picture came"; }

  HWND Canvas() { return pane_.canvas()->hwnd(); }
  HWND Child(const wchar_t* text) { return FindWindowExW(pane_.hwnd(), nullptr, L"Button", text); }
  // The drawing point under client pixel `at` of the canvas.
  DevicePoint Under(DevicePoint at) { return pane_.canvas()->view().Inverted().Map(at); }

  void Wheel(int x, int y, int delta) {
    POINT screen{x, y};
    ClientToScreen(Canvas(), &screen);
    SendMessageW(Canvas(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)),
                 MAKELPARAM(screen.x, screen.y));
  }
  void Mouse(UINT msg, int x, int y) {
    SendMessageW(Canvas(), msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
  }

  test::TempDir temp_;
  fs::path drawing_;
  HWND parent_ = nullptr;
  PreviewPane pane_;
};

TEST_F(PreviewPaneTest, TheWheelZoomsAroundTheCursor) {
  ShowAndWait(drawing_);
  ASSERT_NE(pane_.canvas()->drawing(), nullptr);
  struct Step {
    int x, y, delta;
  };
  const Step steps[] = {{100, 80, 120}, {300, 200, 240}, {20, 300, -120}, {500, 10, -360}};
  for (const Step& s : steps) {
    const DevicePoint before = Under({double(s.x), double(s.y)});
    const double scale = pane_.canvas()->view().UnitScale();
    Wheel(s.x, s.y, s.delta);
    const DevicePoint after = Under({double(s.x), double(s.y)});
    EXPECT_NEAR(after.x, before.x, 1e-6) << s.x << "," << s.y << " by " << s.delta;
    EXPECT_NEAR(after.y, before.y, 1e-6) << s.x << "," << s.y << " by " << s.delta;
    EXPECT_NEAR(pane_.canvas()->view().UnitScale() / scale, std::pow(1.0015, s.delta), 1e-9);
  }
}

TEST_F(PreviewPaneTest, DraggingMovesAndADoubleClickOrTheButtonFitsAgain) {
  ShowAndWait(drawing_);
  const ViewTransform fitted = pane_.canvas()->view();
  for (const auto& fit : {std::function<void()>([&] { Mouse(WM_LBUTTONDBLCLK, 50, 50); }),
                         std::function<void()>([&] {
                           SendMessageW(Child(L"全体表示"), BM_CLICK, 0, 0);
                         })}) {
    Wheel(200, 150, 360);
    Mouse(WM_LBUTTONDOWN, 100, 100);
    const ViewTransform zoomed = pane_.canvas()->view();
    Mouse(WM_MOUSEMOVE, 130, 90);
    Mouse(WM_MOUSEMOVE, 150, 80);
    Mouse(WM_LBUTTONUP, 150, 80);
    EXPECT_DOUBLE_EQ(pane_.canvas()->view().dx, zoomed.dx + 50);
    EXPECT_DOUBLE_EQ(pane_.canvas()->view().dy, zoomed.dy - 20);
    Mouse(WM_MOUSEMOVE, 200, 200);  // the button is up: no more moving
    EXPECT_DOUBLE_EQ(pane_.canvas()->view().dx, zoomed.dx + 50);
    fit();
    EXPECT_EQ(pane_.canvas()->view(), fitted);
  }
}

TEST_F(PreviewPaneTest, TheSwitchesAndSettingsChangeThePictureAndTheCounts) {
  ShowAndWait(drawing_);
  EXPECT_EQ(pane_.counts_text(), L"補助線色・補助線種とも変換しない設定です");
  DibPicture before(640, 380), after(640, 380);
  pane_.canvas()->PaintInto(before);

  pane_.SetSettings(GroupOneConverted());
  Wait();
  EXPECT_EQ(pane_.counts_text(), L"線色 3 / 線種 3 を変更");
  SendMessageW(Child(L"変換後"), BM_CLICK, 0, 0);
  EXPECT_TRUE(pane_.after());
  Wait();
  EXPECT_EQ(pane_.counts_text(), L"線色 3 / 線種 3 を変更");
  pane_.canvas()->PaintInto(after);
  int changed = 0;
  for (int y = 0; y < 380; y += 2) {
    for (int x = 0; x < 640; x += 2) changed += before.Pixel(x, y) != after.Pixel(x, y);
  }
  EXPECT_GT(changed, 50) << "the converted lines look different";

  // The state the main window keeps in the ini.
  pane_.SetSwitches(false, true);
  EXPECT_FALSE(pane_.after());
  EXPECT_TRUE(pane_.print());
  Wait();
  EXPECT_NE(pane_.canvas()->drawing(), nullptr);
}

TEST_F(PreviewPaneTest, AFileThatCannotBeReadShowsWhyAndClearShowsNothing) {
  const fs::path broken = temp_.Write("壊れた.jww", "JwwData.this is where the header should be");
  ShowAndWait(broken);
  EXPECT_EQ(pane_.canvas()->drawing(), nullptr);
  const std::wstring message = pane_.message();
  EXPECT_EQ(message.rfind(L"「壊れた.jww」を表示できません。\n", 0), 0u) << message.size();
  EXPECT_GT(message.size(), std::wstring(L"「壊れた.jww」を表示できません。\n").size())
      << "the reason is missing";
  EXPECT_TRUE(pane_.counts_text().empty());

  ShowAndWait(drawing_);
  EXPECT_NE(pane_.canvas()->drawing(), nullptr);
  EXPECT_TRUE(pane_.message().empty());
  pane_.Clear();
  Wait();
  EXPECT_EQ(pane_.canvas()->drawing(), nullptr);
  EXPECT_TRUE(pane_.message().empty());
  EXPECT_TRUE(pane_.counts_text().empty());
}

TEST_F(PreviewPaneTest, AHiddenPaneReadsNothingAndReadsAgainWhenShown) {
  ShowAndWait(drawing_);
  pane_.SetShown(false);
  EXPECT_EQ(pane_.canvas()->drawing(), nullptr) << "a hidden pane keeps no drawing";
  Wait();
  pane_.ShowFile(temp_ / "other.jww", {});
  EXPECT_FALSE(pane_.Pending());
  pane_.ShowFile(drawing_, {});
  pane_.SetShown(true);
  Wait();
  EXPECT_NE(pane_.canvas()->drawing(), nullptr);
}

}  // namespace
}  // namespace varnelko::win32
