// varnelko-cli rewrite: loads a drawing or figure and writes it again, at its
// own version or another one (saving for an older Jw_cad).
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/report_text.h"
#include "document/jws_document.h"
#include "document/jww_document.h"
#include "formats/jws/jws_file.h"
#include "formats/jww/jww_file.h"
#include "formats/jww/jww_header.h"

namespace varnelko::cli {
namespace {

struct RewriteOptions {
  std::string input;
  std::string output;
  std::optional<int32_t> version;
};

int Fail(const std::string& path, const char* doing, const FormatError& error) {
  std::cerr << "varnelko-cli rewrite: cannot " << doing << " " << EscapeControls(path) << ": "
            << EscapeControls(error.Describe()) << "\n";
  return 1;
}

int RewriteJws(const RewriteOptions& o) {
  JwsDocument doc;
  FormatError error;
  if (!ReadJwsFile(o.input, doc, &error)) return Fail(o.input, "load", error);
  bool written = WriteJwsFile(o.output, o.version.value_or(doc.version), doc, &error);
  return written ? 0 : Fail(o.output, "write", error);
}

int RewriteJww(const RewriteOptions& o) {
  // A drawing below the oldest readable version could never be loaded again.
  if (o.version && *o.version < kJwwMinVersion) {
    std::cerr << "varnelko-cli rewrite: cannot write " << EscapeControls(o.output) << ": version "
              << *o.version << " is below " << kJwwMinVersion
              << ", the oldest a drawing is read at\n";
    return 1;
  }
  JwwDocument doc;
  FormatError error;
  bool loaded = ReadJwwFile(o.input, doc, &error);
  bool written =
      loaded && WriteJwwFile(o.output, o.version.value_or(doc.header.version), doc, &error);
  FreeJwwDocument(doc);
  if (!loaded) return Fail(o.input, "load", error);
  return written ? 0 : Fail(o.output, "write", error);
}

}  // namespace

void AddRewriteCommand(CLI::App& app, int& exit_code) {
  auto options = std::make_shared<RewriteOptions>();
  CLI::App* sub = app.add_subcommand(
      "rewrite", "Load a JWW drawing or JWS figure and write it again, at its own version or at N");
  sub->add_option("IN", options->input, "drawing or figure to load")->required();
  sub->add_option("OUT", options->output, "file to write (replaced only by a complete file)")
      ->required();
  sub->add_option("--version", options->version, "version to write instead of the file's own");
  sub->callback([options, &exit_code] {
    exit_code = IsJwsFile(options->input) ? RewriteJws(*options) : RewriteJww(*options);
  });
}

}  // namespace varnelko::cli
