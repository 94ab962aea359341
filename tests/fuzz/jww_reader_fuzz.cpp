// Feeds arbitrary bytes to the JWW loader and the memo reader (figures have
// a target of their own, jws_figure_fuzz). Whatever the bytes, each must
// return without crashing, reading out of bounds or leaking.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "formats/jww/jww_file.h"
#include "formats/jww/jww_header.h"
#include "render/svg_writer.h"
#include "../support/conversion_paths.h"

namespace {

using namespace varnelko;

void LoadDrawing(std::string_view bytes) {
  JwwDocument doc;
  FormatError error;
  // Whatever loaded also draws, before and after a conversion of everything.
  if (ReadJwwBytes(bytes, doc, &error)) {
    render::SceneOptions options;
    options.after = ConversionSettings{{16, 16, 1, 1, 1, 1, 1, 1}};
    std::string svg;
    render::BuildSvg(render::BuildScene(doc, options), {}, svg);
  }
  FreeJwwDocument(doc);
}

void ReadMemo(std::string_view bytes) {
  JwwDocument doc;
  ByteReader in(bytes);
  ReadJwwMemoFields(in, doc);
}

// --- The two conversion paths must agree -------------------------------
// Wherever the scan-and-patch conversion converts, the full path (load,
// convert, write) must give the same bytes and counts; the settings come
// from the input's last byte so that the fuzzer explores them too.
void CompareConversionPaths(std::string_view bytes) {
  if (bytes.empty()) return;
  const uint8_t pick = static_cast<uint8_t>(bytes.back());
  ConversionSettings s;
  s.values = {pick & 1 ? 16 : pick % 16, pick & 2 ? 16 : (pick >> 4), 1 + (pick >> 7),
              (pick >> 2) & 1, 1, (pick >> 3) & 1, 1, (pick >> 5) & 1};
  const std::string difference = test::CompareConversionPaths(bytes, false, s);
  if (!difference.empty()) {
    std::fprintf(stderr, "conversion paths differ: %s\n", difference.c_str());
    std::abort();
  }
}
// -----------------------------------------------------------------------

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  LoadDrawing(bytes);
  ReadMemo(bytes);
  CompareConversionPaths(bytes);
  return 0;
}
