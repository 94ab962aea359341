// varnelko-cli rewrite: loads a drawing or figure and writes it again, at its
// own version or another one (saving for an older Jw_cad).
#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/file_arguments.h"
#include "cli/output_check.h"
#include "cli/report_text.h"
#include "cli/rewrite_versions.h"
#include "document/jws_document.h"
#include "document/jww_document.h"
#include "formats/jws/jws_file.h"
#include "formats/jws/jws_layout.h"
#include "formats/jww/jww_file.h"
#include "platform/path_text.h"

namespace varnelko::cli {
namespace {

constexpr int kExitFailed = 1;
constexpr int kExitRefused = 2;

struct RewriteOptions {
  std::string input;
  std::string output;
  std::optional<int32_t> version;
};

int Fail(const std::string& path, const char* doing, const FormatError& error) {
  PrintErrorLine("varnelko-cli rewrite: cannot " + std::string(doing) + " " +
                 EscapeControls(Shown(path)) + ": " + EscapeControls(error.Describe()));
  return kExitFailed;
}

int Refuse(const std::string& message) {
  PrintErrorLine("varnelko-cli rewrite: " + EscapeControls(message));
  return kExitRefused;
}

// Says what the written file leaves out: what the version has no room for,
// and bytes that followed the drawing's end.
void NoteWhatIsLeftOut(const RewriteOptions& o, std::vector<std::string> dropped,
                       uint64_t trailing_bytes) {
  if (trailing_bytes > 0) {
    dropped.push_back(std::to_string(trailing_bytes) + " bytes after the drawing's end");
  }
  if (dropped.empty()) return;
  std::string list;
  for (const std::string& what : dropped) list += (list.empty() ? "" : "; ") + what;
  PrintErrorLine("varnelko-cli rewrite: " + EscapeControls(Shown(o.output)) +
                 " leaves out: " + list);
}

size_t CarriedImages(const JwwDocument& doc) {
  return static_cast<size_t>(
      std::count_if(doc.images.list.begin(), doc.images.list.end(), CarriesImage));
}

int RewriteJws(const RewriteOptions& o) {
  JwsDocument doc;
  FormatError error;
  if (!ReadJwsFile(PathFromUtf8(o.input), doc, &error)) return Fail(o.input, "load", error);
  const int32_t version = NormalizeJwsVersion(o.version.value_or(doc.version));
  if (!WriteJwsFile(PathFromUtf8(o.output), version, doc, &error)) {
    return Fail(o.output, "write", error);
  }
  NoteWhatIsLeftOut(o, DroppedByVersion(NormalizeJwsVersion(doc.version), version, true, 0),
                    doc.trailing_bytes);
  return 0;
}

int RewriteJww(const RewriteOptions& o) {
  auto doc = std::make_unique<JwwDocument>();
  FormatError error;
  if (!ReadJwwFile(PathFromUtf8(o.input), *doc, &error)) return Fail(o.input, "load", error);
  const int32_t version = o.version.value_or(doc->header.version);
  const bool written = WriteJwwFile(PathFromUtf8(o.output), version, *doc, &error);
  if (written) {
    NoteWhatIsLeftOut(o, DroppedByVersion(doc->header.version, version, false, CarriedImages(*doc)),
                      doc->trailing_bytes);
  }
  FreeJwwDocument(*doc);
  return written ? 0 : Fail(o.output, "write", error);
}

int RunRewrite(const RewriteOptions& o) {
  const bool figure = IsJwsFile(PathFromUtf8(o.input));
  if (o.version) {
    const auto known = KnownVersions(figure);
    if (std::find(known.begin(), known.end(), *o.version) == known.end()) {
      return Refuse("--version " + std::to_string(*o.version) + ": a " +
                    (figure ? "figure" : "drawing") + " is written at one of " +
                    VersionList(figure));
    }
  }
  // Never over the drawing being read, nor over a folder, device or FIFO.
  const std::string refused = RefusedOutput(PathFromUtf8(o.output), {PathFromUtf8(o.input)}, true);
  if (!refused.empty()) return Refuse(Shown(o.output) + ": " + refused);
  return figure ? RewriteJws(o) : RewriteJww(o);
}

}  // namespace

void AddRewriteCommand(CLI::App& app, int& exit_code) {
  auto options = std::make_shared<RewriteOptions>();
  CLI::App* sub = app.add_subcommand(
      "rewrite", "Load a JWW drawing or JWS figure and write it again, at its own version or at N");
  sub->add_option("IN", options->input, "drawing or figure to load")
      ->required()
      ->transform(OneFile());
  sub->add_option("OUT", options->output,
                  "file to write (replaced only by a complete file; never IN itself)")
      ->required();
  sub->add_option("--version", options->version,
                  "version to write instead of the file's own (drawings: " + VersionList(false) +
                      "; figures: " + VersionList(true) + ")");
  sub->callback([options, &exit_code] { exit_code = RunRewrite(*options); });
}

}  // namespace varnelko::cli
