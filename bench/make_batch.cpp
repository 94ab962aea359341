// Writes a batch of generated drawings and figures for timing the convert
// command: sizes spread evenly on a log scale between a smallest and a
// largest size, JWW drawings of several versions and some JWS figures.
//   varnelko_make_batch OUTDIR [COUNT=500] [MIN_KB=50] [MAX_KB=5120]
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "formats/jws/jws_file.h"
#include "formats/jww/jww_file.h"
#include "support/document_builder.h"

namespace {

using varnelko::test::BuildOptions;

// Bytes per top-level entity, measured once on a mid-sized document, so that
// a file's entity count can be chosen for its target size.
double BytesPerEntity(int32_t version) {
  BuildOptions o{.version = version, .entities = 4000, .block_defs = 4};
  auto doc = std::make_unique<varnelko::JwwDocument>(varnelko::test::BuildJwwDocument(o));
  std::string bytes;
  varnelko::BuildJwwBytes(version, *doc, bytes);
  varnelko::FreeJwwDocument(*doc);
  return static_cast<double>(bytes.size()) / 4000.0;
}

bool WriteOne(const std::filesystem::path& path, bool figure, const BuildOptions& o) {
  if (figure) {
    varnelko::JwsDocument doc = varnelko::test::BuildJwsDocument(o);
    return varnelko::WriteJwsFile(path, o.version, doc);
  }
  auto doc = std::make_unique<varnelko::JwwDocument>(varnelko::test::BuildJwwDocument(o));
  bool ok = varnelko::WriteJwwFile(path, o.version, *doc);
  varnelko::FreeJwwDocument(*doc);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUTDIR [COUNT] [MIN_KB] [MAX_KB]\n", argv[0]);
    return 2;
  }
  const std::filesystem::path out = argv[1];
  const int count = argc > 2 ? std::atoi(argv[2]) : 500;
  const double min_kb = argc > 3 ? std::atof(argv[3]) : 50;
  const double max_kb = argc > 4 ? std::atof(argv[4]) : 5120;
  std::filesystem::create_directories(out);
  const double per_entity = BytesPerEntity(700);
  const int32_t versions[] = {700, 600, 420, 351};
  uint64_t total = 0;
  for (int i = 0; i < count; ++i) {
    double t = count > 1 ? static_cast<double>(i) / (count - 1) : 0;
    double bytes = min_kb * 1024 * std::pow(max_kb / min_kb, t);
    bool figure = i % 5 == 4;
    BuildOptions o{.version = versions[i % 4],
                   .entities = static_cast<size_t>(bytes / per_entity),
                   .block_defs = 4,
                   .seed = static_cast<uint32_t>(i + 1),
                   .images = figure ? 0u : static_cast<size_t>(i % 3)};
    char name[32];
    std::snprintf(name, sizeof name, "d%03d.%s", i, figure ? "jws" : "jww");
    if (!WriteOne(out / name, figure, o)) {
      std::fprintf(stderr, "cannot write %s\n", name);
      return 1;
    }
    total += std::filesystem::file_size(out / name);
  }
  std::printf("%d files, %.1f MB\n", count, static_cast<double>(total) / (1024.0 * 1024.0));
  return 0;
}
