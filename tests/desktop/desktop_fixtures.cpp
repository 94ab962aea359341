#include "desktop_fixtures.h"

#include <gtest/gtest.h>

#include <memory>

#include "document/cp932.h"
#include "formats/jww/jww_file.h"
#include "support/document_builder.h"

namespace varnelko::test {

namespace fs = std::filesystem;

namespace {

TEntSen Line(double x0, double y0, double x1, double y1, uint16_t group, uint16_t layer) {
  TEntSen line;
  line.header.pen_style = 1;
  line.header.pen_color = 2;
  line.header.layer_group = group;
  line.header.layer = layer;
  line.start_x = x0, line.start_y = y0, line.end_x = x1, line.end_y = y1;
  return line;
}

}  // namespace

void WriteMemoDrawing(const fs::path& path, const std::string& memo_utf8, uint32_t seed) {
  BuildOptions options;
  options.entities = 6;
  options.seed = seed;
  JwwDocument doc = BuildJwwDocument(options);
  doc.header.memo = Utf8ToCp932(memo_utf8);
  ASSERT_TRUE(WriteJwwFile(path, 700, doc));
  FreeJwwDocument(doc);
}

std::string JwcBytes(const std::string& memo1, const std::string& memo2) {
  std::string bytes(800, '\0');
  bytes.replace(0, 20, "jw_cad(c)data.......");
  bytes.replace(40, memo1.size(), memo1);
  bytes.replace(72, memo2.size(), memo2);
  return bytes;
}

void WriteLayeredDrawing(const fs::path& path, int lines) {
  JwwDocument doc = BuildJwwDocument({.entities = 0, .block_defs = 0});
  for (TLayerGroup& g : doc.layer_groups) g.name.clear();
  for (TLayer& l : doc.layers) l.name.clear();
  ShowAllLayers(doc);
  doc.header.paper_size = -1;  // no sheet: the lines are framed
  doc.layer_groups[1].name = Utf8ToCp932("1階");
  doc.layers[1 * 16 + 3].name = Utf8ToCp932("壁");
  for (int i = 0; i < lines; ++i) doc.store.Add(Line(0, i * 10, 100, i * 10 + 5, 1, 3));
  doc.store.Add(Line(0, 0, 100, 100, 1, 5));
  doc.store.Add(Line(-10, -10, 110, -10, 0, 0));
  doc.store.Add(Line(110, -10, 110, 110, 0, 0));
  ASSERT_TRUE(WriteJwwFile(path, 700, doc));
  FreeJwwDocument(doc);
}

std::vector<fs::path> MakeMemoFiles(const TempDir& temp, int drawings) {
  auto doc = std::make_unique<JwwDocument>(BuildJwwDocument({.entities = 4}));
  std::vector<fs::path> files;
  for (int i = 0; i < drawings; ++i) {
    files.push_back(temp.path() / ("d" + std::to_string(i) + ".jww"));
    doc->header.memo = Utf8ToCp932("図面 " + std::to_string(i));
    EXPECT_TRUE(WriteJwwFile(files.back(), 700, *doc));
  }
  FreeJwwDocument(*doc);
  temp.Write("note.txt", "text");
  files.insert(files.begin() + 1, temp.path() / "note.txt");
  files.insert(files.begin() + 3, temp.path() / "gone.jww");
  return files;
}

fs::path MakeConvertFolder(const TempDir& temp, const std::string& name) {
  const fs::path folder = temp.path() / name;
  fs::create_directories(folder);
  WriteMemoDrawing(folder / "a.jww", "", 1);
  WriteMemoDrawing(folder / "B.JWW", "", 2);
  temp.Write(name + "/c.txt", "text");
  return folder;
}

PostToUi UiQueue::Post() {
  return [this](std::function<void()> f) {
    {
      std::lock_guard lock(mutex_);
      queue_.push_back(std::move(f));
    }
    posted_.notify_one();
  };
}

void UiQueue::RunPending() {
  for (;;) {
    std::function<void()> f;
    {
      std::lock_guard lock(mutex_);
      if (queue_.empty()) return;
      f = std::move(queue_.front());
      queue_.pop_front();
    }
    f();
  }
}

bool UiQueue::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    std::function<void()> f;
    {
      std::unique_lock lock(mutex_);
      if (!posted_.wait_until(lock, end, [this] { return !queue_.empty(); })) return done();
      f = std::move(queue_.front());
      queue_.pop_front();
    }
    f();
  }
  return true;
}

}  // namespace varnelko::test
