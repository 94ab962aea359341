// Feeds arbitrary bytes to everything that reads a JWS figure: the loader,
// the scene and its SVG, the layer inventory, the writer and both conversion
// paths. Whatever the bytes, each must return without crashing, reading out
// of bounds or leaking; a figure that loads must write, and what is written
// must load again and write to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "conversion/layer_inventory.h"
#include "formats/jws/jws_file.h"
#include "render/svg_writer.h"
#include "../support/conversion_paths.h"

namespace {

using namespace varnelko;

[[noreturn]] void Fail(const char* what, const std::string& detail = {}) {
  std::fprintf(stderr, "figure: %s %s\n", what, detail.c_str());
  std::abort();
}

// The settings come from the input's last byte, so that the fuzzer explores
// them along with the figure.
ConversionSettings SettingsFrom(std::string_view bytes) {
  const uint8_t pick = bytes.empty() ? 0 : static_cast<uint8_t>(bytes.back());
  ConversionSettings s;
  s.values = {pick & 1 ? 16 : pick % 16, pick & 2 ? 16 : (pick >> 4), 1 + (pick >> 7),
              (pick >> 2) & 1, 1, (pick >> 3) & 1, 1, (pick >> 5) & 1};
  return s;
}

void DrawAndList(const JwsDocument& doc, const ConversionSettings& settings) {
  render::SceneOptions options;
  options.after = settings;
  std::string svg;
  render::BuildSvg(render::BuildScene(doc, options), {}, svg);
  BuildLayerInventory(doc, settings);
}

// Written once, a figure is in the writer's normal form: loading and
// writing it again changes nothing.
void WriteTwice(const JwsDocument& doc) {
  std::string first, second;
  FormatError error;
  if (!BuildJwsBytes(doc.version, doc, first, &error)) return;  // refused, with a reason
  JwsDocument again;
  if (!ReadJwsBytes(first, again, &error)) Fail("the written figure does not load:", error.what);
  if (!BuildJwsBytes(again.version, again, second, &error)) {
    Fail("the written figure does not write again:", error.what);
  }
  if (first != second) Fail("a second write changed the figure");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const ConversionSettings settings = SettingsFrom(bytes);
  JwsDocument doc;
  if (ReadJwsBytes(bytes, doc)) {
    DrawAndList(doc, settings);
    WriteTwice(doc);
  }
  const std::string difference = test::CompareConversionPaths(bytes, true, settings);
  if (!difference.empty()) Fail("conversion paths differ:", difference);
  return 0;
}
