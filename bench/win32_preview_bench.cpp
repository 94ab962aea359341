// Times the Windows preview pane under Wine on a generated drawing of about
// 200,000 entities: the processor time (all threads) and the wall time from
// asking for the file until its picture is painted, in each view, and the
// repaints after zooming and moving. Needs a display (xvfb-run).
//   varnelko_win32_preview_bench [ENTITIES=200000]
// PREVIEW_BIG=1 takes the drawing with 60 block definitions, whose
// insertions draw ten times as many items.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <span>
#include <string_view>

#include "bench_drawing.h"
#include "desktop/preview_drawing.h"
#include "formats/jww/jww_file.h"
#include "formats/loaded_drawing.h"
#include "render/scene.h"
#include "support/document_builder.h"
#include "support/temp_dir.h"
#include "win32/preview/dib_picture.h"
#include "win32/preview/gdiplus_painter.h"
#include "win32/preview/preview_canvas.h"
#include "win32/preview/preview_pane.h"

namespace {

using varnelko::win32::PreviewPane;

double CpuMs() {
  FILETIME created, ended, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
  auto ms = [](const FILETIME& t) {
    return ((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e4;
  };
  return ms(kernel) + ms(user);
}

void Pump(const std::function<bool()>& done) {
  MSG msg;
  while (!done()) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (!done()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

// Processor and wall milliseconds until the pane has its picture on screen.
void Time(const char* what, PreviewPane& pane, const std::function<void()>& ask) {
  const double cpu = CpuMs();
  const auto wall = std::chrono::steady_clock::now();
  ask();
  Pump([&] { return !pane.Pending(); });
  RedrawWindow(pane.canvas()->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  std::printf("  %-36s %7.1f ms processor, %7.1f ms wall\n", what, CpuMs() - cpu,
              std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall)
                  .count());
}

void Repaints(const char* what, PreviewPane& pane, int steps, const std::function<void()>& move) {
  double total = 0, worst = 0;
  for (int i = 0; i < steps; ++i) {
    move();
    RedrawWindow(pane.canvas()->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    total += pane.canvas()->last_paint_ms();
    worst = std::max(worst, pane.canvas()->last_paint_ms());
  }
  const auto rest = std::chrono::steady_clock::now();
  Pump([&] { return !pane.Pending(); });
  std::printf("  repaint %-28s %7.1f ms average, %7.1f ms worst", what, total / steps, worst);
  if (pane.canvas()->last_picture_ms() > 0) {
    std::printf("; sharp picture %.0f ms after the mouse rests",
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - rest)
                    .count());
  }
  std::printf("\n");
}

// Forwards to a painter and adds up the processor time of each kind of call.
class TimedPainter : public varnelko::Painter {
 public:
  explicit TimedPainter(varnelko::Painter& inner) : inner_(inner) {}
  void FillRect(const varnelko::DeviceRect& area, uint32_t rgb) override {
    Timed(0, [&] { inner_.FillRect(area, rgb); });
  }
  void SetAntialias(bool on) override { inner_.SetAntialias(on); }
  void SetPen(const varnelko::PainterPen& pen) override {
    Timed(1, [&] { inner_.SetPen(pen); });
  }
  void DrawLines(std::span<const varnelko::DeviceLine> lines) override {
    counts_[2] += lines.size();
    Timed(2, [&] { inner_.DrawLines(lines); });
  }
  void DrawPoints(std::span<const varnelko::DevicePoint> points) override {
    counts_[3] += points.size();
    Timed(3, [&] { inner_.DrawPoints(points); });
  }
  void FillPolygons(std::span<const varnelko::DevicePoint> points, std::span<const uint32_t> counts,
                    uint32_t rgb) override {
    counts_[4] += counts.size();
    Timed(4, [&] { inner_.FillPolygons(points, counts, rgb); });
  }
  double TextAdvance(std::string_view utf8) override {
    double advance = 0;
    ++counts_[5];
    Timed(5, [&] { advance = inner_.TextAdvance(utf8); });
    return advance;
  }
  void DrawText(std::string_view utf8, varnelko::DevicePoint anchor, double angle, double height_px,
                double x_scale, uint32_t rgb) override {
    ++counts_[6];
    Timed(6, [&] { inner_.DrawText(utf8, anchor, angle, height_px, x_scale, rgb); });
  }
  void Print() const {
    const char* names[] = {"fill", "pens", "lines", "points", "solids", "advances", "texts"};
    std::printf("   ");
    for (int i = 0; i < 7; ++i) std::printf(" %s %zu: %.0f ms", names[i], counts_[i], ms_[i]);
    std::printf("\n");
  }

 private:
  template <typename F>
  void Timed(int kind, F f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    ms_[kind] +=
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }
  varnelko::Painter& inner_;
  double ms_[7] = {};
  size_t counts_[7] = {};
};

// Where the time of one picture goes: load, scene, painter batches, paint;
// processor milliseconds, on one thread.
void PrintPhases(const std::filesystem::path& file) {
  double timer = CpuMs();
  varnelko::LoadedDrawing drawing;
  if (!drawing.Load(file, nullptr)) return;
  const double load = CpuMs() - timer;
  timer = CpuMs();
  varnelko::render::Scene scene = varnelko::render::BuildScene(*drawing.jww());
  const size_t items = scene.items.size(), texts = scene.texts.size();
  const double build = CpuMs() - timer;
  timer = CpuMs();
  const varnelko::PreviewDrawing prepared(std::move(scene));
  const double prepare = CpuMs() - timer;
  varnelko::win32::DibPicture picture(900, 600);
  varnelko::PreviewView view;
  view.Fit(prepared.Extent(), 900, 600);
  timer = CpuMs();
  {
    Gdiplus::Graphics graphics(picture.dc());
    varnelko::win32::GdiplusPainter painter(graphics);
    TimedPainter timed(painter);
    prepared.Paint(timed, view.transform(), {0, 0, 900, 600});
    timed.Print();
  }
  std::printf(
      "  processor time: load %.1f ms, scene %.1f ms (%zu items, %zu texts), batches %.1f ms, "
      "GDI+ paint %.1f ms\n",
      load, build, items, texts, prepare, CpuMs() - timer);
}

}  // namespace

int main(int argc, char** argv) {
  const size_t entities = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 200000;
  const bool big = std::getenv("PREVIEW_BIG") != nullptr;
  varnelko::test::TempDir work;
  const std::filesystem::path file = work / "bench.jww";
  varnelko::JwwDocument doc =
      big && entities == 200000
          ? varnelko::bench::BuildBenchDrawing()
          : varnelko::test::BuildJwwDocument(
                {.entities = entities, .block_defs = big ? 60u : 0u, .seed = 7});
  const bool written = varnelko::WriteJwwFile(file, varnelko::bench::kVersion, doc);
  varnelko::FreeJwwDocument(doc);
  if (!written) {
    std::fprintf(stderr, "cannot write the drawing\n");
    return 1;
  }
  varnelko::win32::StartGdiplus();
  PrintPhases(file);
  if (std::getenv("PREVIEW_PHASES")) return 0;
  const HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                                      0, 920, 660, nullptr, nullptr, nullptr, nullptr);
  PreviewPane pane;
  if (!pane.Create(parent, 1)) return 1;
  pane.SetBounds({0, 0, 900, 640});
  ShowWindow(parent, SW_SHOW);
  Pump([] { return true; });
  std::printf("%zu entities%s (%ju bytes), the pane 900 x 640\n", entities,
              big ? ", 60 block definitions" : "",
              static_cast<uintmax_t>(std::filesystem::file_size(file)));

  varnelko::ConversionSettings settings;
  settings.C(1) = 16, settings.C(2) = 16, settings.C(3) = 1, settings.C(4) = 1;
  Time("shown after the row became current", pane, [&] { pane.ShowFile(file, settings); });
  std::printf("  items drawn %lld, painted on the %s thread\n",
              static_cast<long long>(pane.canvas()->drawing()->Items()),
              pane.canvas()->last_picture_ms() > 0 ? "worker" : "window's");
  Time("\"変換後\" switched on", pane, [&] { pane.SetSwitches(true, false); });
  Time("\"印刷イメージ\" switched on too", pane, [&] { pane.SetSwitches(true, true); });
  std::printf("  counts line: %ls\n", pane.counts_text().c_str());
  pane.SetSwitches(false, false);
  Pump([&] { return !pane.Pending(); });

  varnelko::win32::PreviewCanvas& canvas = *pane.canvas();
  const varnelko::DevicePoint centre{450, 300};
  canvas.Fit();
  Repaints("fitted", pane, 10, [] {});
  Repaints("zooming in, 20 wheel steps", pane, 20, [&] { canvas.ZoomAt(centre, 1.2); });
  Repaints("panning zoomed in", pane, 20, [&] { canvas.Pan(15, 10); });
  DestroyWindow(parent);
  return 0;
}
