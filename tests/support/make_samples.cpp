// Writes the bundled sample drawings with the project's own writers:
//   varnelko_make_samples [FOLDER]            drawings a drafter recognises
//                                             (default: samples/ of the source tree)
//   varnelko_make_samples --random [FOLDER]   the random documents the tests
//                                             use (default: tests/data/random/)
// The same build always gives the same files.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "document/cp932.h"
#include "formats/jws/jws_file.h"
#include "formats/jww/jww_file.h"
#include "support/document_builder.h"
#include "support/floor_plan.h"
#include "support/sample_drawings.h"

namespace {

namespace fs = std::filesystem;
using varnelko::Utf8ToCp932;
using varnelko::test::BuildOptions;

struct JwwSample {
  const char* file;
  const char* memo;  // UTF-8; stored as code page 932
  BuildOptions options;
};

// Layer names a person would give, so that `info` and a converter's layer
// choice have something to show.
void NameLayers(varnelko::JwwDocument& doc) {
  static const char* const kGroups[] = {"平面", "設備", "寸法"};
  static const char* const kLayers[] = {"壁", "建具", "通り芯", "文字"};
  for (size_t g = 0; g < std::size(kGroups); ++g) {
    doc.layer_groups[g].name = Utf8ToCp932(kGroups[g]);
    for (size_t l = 0; l < std::size(kLayers); ++l) {
      doc.layers[g * 16 + l].name = Utf8ToCp932(kLayers[l]);
    }
  }
}

bool WriteJwwDrawing(const fs::path& folder, const char* file, varnelko::JwwDocument& doc) {
  varnelko::FormatError error;
  const bool ok = varnelko::WriteJwwFile(folder / file, doc.header.version, doc, &error);
  if (!ok) std::fprintf(stderr, "%s: %s\n", file, error.Describe().c_str());
  return ok;
}

bool WriteJwwSample(const fs::path& folder, const JwwSample& sample) {
  auto doc = std::make_unique<varnelko::JwwDocument>(
      varnelko::test::BuildJwwDocument(sample.options));
  doc->header.memo = Utf8ToCp932(sample.memo);
  NameLayers(*doc);
  varnelko::FormatError error;
  const fs::path path = folder / sample.file;
  const bool ok = varnelko::WriteJwwFile(path, sample.options.version, *doc, &error);
  varnelko::FreeJwwDocument(*doc);
  if (!ok) std::fprintf(stderr, "%s: %s\n", sample.file, error.Describe().c_str());
  return ok;
}

bool WriteJwsFigure(const fs::path& folder, const char* file, const varnelko::JwsDocument& doc) {
  varnelko::FormatError error;
  const bool ok = varnelko::WriteJwsFile(folder / file, doc.version, doc, &error);
  if (!ok) std::fprintf(stderr, "%s: %s\n", file, error.Describe().c_str());
  return ok;
}

BuildOptions Options(int32_t version, size_t entities, size_t block_defs, uint32_t seed,
                     size_t images = 0) {
  BuildOptions options;
  options.version = version;
  options.entities = entities;
  options.block_defs = block_defs;
  options.seed = seed;
  options.images = images;
  return options;
}

bool WriteRandom(const fs::path& folder) {
  const JwwSample drawings[] = {
      {"平面図.jww", "平面図 縮尺1/100 (サンプル)", Options(700, 60, 3, 11, 1)},
      {"詳細図.jww", "詳細図 S=1/20", Options(600, 40, 2, 12)},
      {"old.jww", "旧形式の図面 (version 351)", Options(351, 25, 1, 13)},
  };
  bool ok = true;
  for (const JwwSample& sample : drawings) ok = WriteJwwSample(folder, sample) && ok;
  return WriteJwsFigure(folder, "部品.jws", varnelko::test::BuildJwsDocument(Options(600, 30, 2, 14))) && ok;
}

bool WriteDrafted(const fs::path& folder) {
  using namespace varnelko::test;
  bool ok = true;
  for (auto [file, doc] : {std::pair{"平面図.jww", BuildFloorPlan()},
                           std::pair{"詳細図.jww", BuildFoundationDetail()},
                           std::pair{"old.jww", BuildOldSitePlan()}}) {
    ok = WriteJwwDrawing(folder, file, doc) && ok;
  }
  return WriteJwsFigure(folder, "部品.jws", BuildToiletFigure()) && ok;
}

}  // namespace

int main(int argc, char** argv) {
  const bool random = argc > 1 && std::string(argv[1]) == "--random";
  const int folder_arg = random ? 2 : 1;
  const fs::path source = VARNELKO_SOURCE_DIR;
  const fs::path folder = argc > folder_arg ? fs::path(argv[folder_arg])
                          : random          ? source / "tests" / "data" / "random"
                                            : source / "samples";
  std::error_code ec;
  fs::create_directories(folder, ec);
  const bool ok = random ? WriteRandom(folder) : WriteDrafted(folder);
  if (ok) std::printf("samples written to %s\n", folder.string().c_str());
  return ok ? 0 : 1;
}
