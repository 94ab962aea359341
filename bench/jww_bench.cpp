// Load and write speed of JWW drawings on a generated drawing of about
// 200,000 entities of every kind, and the peak memory of each operation as
// a multiple of the file size (measured in a process of its own, so that
// one operation's peak does not hide the other's).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "conversion/scan_patch.h"
#include "platform/file_io.h"
#include "formats/jww/jww_file.h"
#include "bench_drawing.h"

namespace varnelko {
namespace {

using bench::kVersion;

const JwwDocument& BenchDrawing() {
  static const JwwDocument doc = bench::BuildBenchDrawing();
  return doc;
}

const std::string& BenchFile() {
  static const std::string bytes = [] {
    std::string out;
    JwwDocument doc = BenchDrawing();
    if (!BuildJwwBytes(kVersion, doc, out)) std::abort();
    return out;
  }();
  return bytes;
}

void BM_LoadJww(benchmark::State& state) {
  const std::string& bytes = BenchFile();
  for (auto _ : state) {
    JwwDocument doc;
    if (!ReadJwwBytes(bytes, doc)) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(doc.store.order.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
  state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
}
BENCHMARK(BM_LoadJww)->Unit(benchmark::kMillisecond);

void BM_WriteJww(benchmark::State& state) {
  JwwDocument doc = BenchDrawing();
  std::string out;
  for (auto _ : state) {
    if (!BuildJwwBytes(kVersion, doc, out)) state.SkipWithError("write failed");
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * out.size()));
  state.counters["file_MB"] = static_cast<double>(out.size()) / 1e6;
}
BENCHMARK(BM_WriteJww)->Unit(benchmark::kMillisecond);

// Converting the same drawing by scan and patch, every entity on target (so
// that nearly every header is rewritten); the copy of the input before each
// run is not timed.
void BM_ScanPatchJww(benchmark::State& state) {
  const std::string& original = BenchFile();
  std::string bytes;
  ConversionSettings settings;
  settings.values = {16, 16, 1, 1, 1, 1, 1, 1};
  for (auto _ : state) {
    state.PauseTiming();
    bytes = original;
    state.ResumeTiming();
    PatchedFile out;
    std::string why;
    if (!ScanPatchJww(bytes, settings, out, why)) state.SkipWithError(why.c_str());
    benchmark::DoNotOptimize(out.pieces.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * original.size()));
}
BENCHMARK(BM_ScanPatchJww)->Unit(benchmark::kMillisecond);

// A value from /proc/self/status in bytes ("VmRSS", "VmHWM").
size_t StatusBytes(const char* key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  size_t key_length = std::strlen(key);
  while (std::getline(status, line)) {
    if (line.compare(0, key_length, key) == 0 && line[key_length] == ':') {
      return std::stoull(line.substr(key_length + 1)) * 1024;
    }
  }
  return 0;
}

// Lets the high-water mark start again from the current resident size.
void ResetPeak() {
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
}

double Times(size_t bytes, size_t file_size) {
  return static_cast<double>(bytes) / static_cast<double>(file_size);
}

// The scan-and-patch conversion of one file: the read buffer and what the
// scan keeps besides it.
int PeakOfConversion(const std::string& path) {
  const size_t file_size = std::filesystem::file_size(path);
  const size_t start = StatusBytes("VmRSS");
  FileBuffer buffer;
  PathState state;
  PatchedFile out;
  std::string why;
  ConversionSettings settings;
  settings.values = {16, 16, 1, 1, 1, 1, 1, 1};
  bool ok = ReadWholeFileInto(path, buffer, state) && ScanPatchJww(buffer.bytes(), settings, out, why);
  const size_t peak = StatusBytes("VmHWM");
  if (!ok) {
    std::fprintf(stderr, "no fast path: %s\n", why.c_str());
    return 1;
  }
  std::printf("scan-and-patch conversion of %.1f MB: peak %.2f x file size\n", file_size / 1e6,
              Times(peak - start, file_size));
  return 0;
}

// Resident growth over the process's start: for a load, the input buffer
// and the document; for a write, the loaded document plus the write's own
// peak (the output buffer), reported apart.
int Peak(const std::string& operation, const std::string& path) {
  if (operation == "convert") return PeakOfConversion(path);
  const size_t file_size = std::filesystem::file_size(path);
  const size_t start = StatusBytes("VmRSS");
  JwwDocument doc;
  FormatError error;
  bool ok = operation == "write" ? ReadJwwFile(path, doc, &error) : true;
  ResetPeak();
  const size_t before = StatusBytes("VmRSS");
  if (ok) {
    ok = operation == "load" ? ReadJwwFile(path, doc, &error)
                             : WriteJwwFile(path + ".out", kVersion, doc, &error);
  }
  const size_t peak = StatusBytes("VmHWM");
  if (!ok) {
    std::fprintf(stderr, "%s\n", error.Describe().c_str());
    return 1;
  }
  std::printf("%s of %.1f MB: peak %.2f x file size", operation.c_str(), file_size / 1e6,
              Times(peak - start, file_size));
  if (operation == "write") {
    std::printf(" (document %.2f x, the write itself %.2f x)", Times(before - start, file_size),
                Times(peak - before, file_size));
    std::filesystem::remove(path + ".out");
  }
  std::printf("\n");
  FreeJwwDocument(doc);
  return 0;
}

}  // namespace
}  // namespace varnelko

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--make") == 0) {
    return varnelko::WriteFileAtomically(argv[2], varnelko::BenchFile()) ? 0 : 1;
  }
  if (argc == 4 && std::strcmp(argv[1], "--peak") == 0) return varnelko::Peak(argv[2], argv[3]);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
