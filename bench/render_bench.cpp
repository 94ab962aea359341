// Speed of the renderer on the generated 200,000-entity benchmark drawing:
// building the scene and writing its SVG; and the memory of the scene as a
// multiple of the drawing's file size.
//   varnelko_render_bench                 Google Benchmark: scene and SVG times
//   varnelko_render_bench --peak FILE     resident growth while the scene is built
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "bench_drawing.h"
#include "formats/jww/jww_file.h"
#include "render/svg_writer.h"

namespace varnelko {
namespace {

const JwwDocument& BenchDrawing() {
  static const JwwDocument doc = bench::BuildBenchDrawing();
  return doc;
}

void BM_BuildScene(benchmark::State& state) {
  const JwwDocument& doc = BenchDrawing();
  size_t items = 0;
  for (auto _ : state) {
    render::Scene scene = render::BuildScene(doc);
    items = scene.items.size();
    benchmark::DoNotOptimize(scene.items.data());
  }
  state.counters["items"] = static_cast<double>(items);
}
BENCHMARK(BM_BuildScene)->Unit(benchmark::kMillisecond);

void BM_BuildSvg(benchmark::State& state) {
  const render::Scene scene = render::BuildScene(BenchDrawing());
  std::string svg;
  for (auto _ : state) {
    render::BuildSvg(scene, {}, svg);
    benchmark::DoNotOptimize(svg.data());
  }
  state.counters["svg_MB"] = static_cast<double>(svg.size()) / 1e6;
}
BENCHMARK(BM_BuildSvg)->Unit(benchmark::kMillisecond);

size_t StatusBytes(const char* key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const size_t n = std::strlen(key);
  while (std::getline(status, line)) {
    if (line.compare(0, n, key) == 0 && line[n] == ':') return std::stoull(line.substr(n + 1)) * 1024;
  }
  return 0;
}

// The loaded document is there before; the peak counts what the scene adds.
int Peak(const std::string& path) {
  const double file_size = static_cast<double>(std::filesystem::file_size(path));
  JwwDocument doc;
  FormatError error;
  if (!ReadJwwFile(path, doc, &error)) {
    std::fprintf(stderr, "%s\n", error.Describe().c_str());
    return 1;
  }
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
  const size_t before = StatusBytes("VmRSS");
  const render::Scene scene = render::BuildScene(doc);
  const size_t peak = StatusBytes("VmHWM");
  const size_t held = scene.items.capacity() * sizeof(render::SceneItem) +
                      scene.points.capacity() * sizeof(render::Point2) +
                      scene.texts.capacity() * sizeof(render::SceneText);
  std::printf("scene of %.1f MB: %zu items, %zu points, %zu texts; peak %.2f x file size "
              "(vectors %.2f x); not drawn: %lld missing, %lld cycles, %lld too deep, %lld over "
              "the limit\n",
              file_size / 1e6, scene.items.size(), scene.points.size(), scene.texts.size(),
              (peak - before) / file_size, held / file_size,
              static_cast<long long>(scene.stats.missing_blocks),
              static_cast<long long>(scene.stats.cut_cycles),
              static_cast<long long>(scene.stats.cut_depth),
              static_cast<long long>(scene.stats.cut_limit));
  FreeJwwDocument(doc);
  return 0;
}

}  // namespace
}  // namespace varnelko

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--peak") == 0) return varnelko::Peak(argv[2]);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
