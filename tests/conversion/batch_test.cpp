#include "conversion/batch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "conversion/drawing_files.h"
#include "platform/file_io.h"
#include "support/temp_dir.h"
#include "support/test_platform.h"

namespace varnelko {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;

ConversionSettings ColorOnly() { return test::SettingsOf({16, 16, 1, 0, 0, 0, 0, 0}); }

TEST(BatchPreconditions, CheckedInOrder) {
  TempDir dir;
  fs::create_directory(dir / "src");
  fs::create_directory(dir / "out");
  ConversionSettings off;
  EXPECT_EQ(CheckBatchPreconditions("", {dir / "src"}, off), BatchCheck::kOutputFolderEmpty);
  EXPECT_EQ(CheckBatchPreconditions(dir / "none", {dir / "src"}, off),
            BatchCheck::kOutputFolderMissing);
  dir.Write("file", "x");
  EXPECT_EQ(CheckBatchPreconditions(dir / "file", {dir / "src"}, ColorOnly()),
            BatchCheck::kOutputFolderMissing);
  EXPECT_EQ(CheckBatchPreconditions(dir / "src", {dir / "src"}, off), BatchCheck::kSameFolder);
  EXPECT_EQ(CheckBatchPreconditions(dir / "out", {dir / "src"}, off),
            BatchCheck::kNothingToConvert);
  EXPECT_EQ(CheckBatchPreconditions(dir / "out", {dir / "src"}, ColorOnly()), BatchCheck::kOk);
  ConversionSettings styles;
  styles.C(4) = 1;
  EXPECT_EQ(CheckBatchPreconditions(dir / "out", {dir / "src"}, styles), BatchCheck::kOk);
  EXPECT_EQ(BatchCheckMessage(BatchCheck::kNothingToConvert),
            "変換を行わない設定になっています。確認して下さい。");
  EXPECT_EQ(BatchCheckMessage(BatchCheck::kSameFolder),
            "保存先フォルダとファイルのフォルダが同じになっています。");
  EXPECT_EQ(BatchCheckMessage(BatchCheck::kOk), "");
}

TEST(BatchPreconditions, SameFolderByIdentityNotByText) {
  TempDir dir;
  fs::create_directories(dir / "src" / "sub");
  if (!test::MakeFolderLink(dir / "src", dir / "link")) GTEST_SKIP() << "no folder link here";
  const ConversionSettings s = ColorOnly();
  for (fs::path output : {dir / "link", dir / "src" / "sub" / "..", dir / "src" / ".",
                          dir / "link" / "sub" / ".."}) {
    EXPECT_EQ(CheckBatchPreconditions(output, {dir / "other", dir / "src"}, s),
              BatchCheck::kSameFolder)
        << output;
  }
  EXPECT_EQ(CheckBatchPreconditions(dir / "src" / "sub", {dir / "src"}, s), BatchCheck::kOk);
}

TEST(BatchPreconditions, SameFolderWithATrailingSeparator) {
  // Folders chosen in the windows end in a separator; either side may.
  TempDir dir;
  fs::create_directories(dir / "src");
  const fs::path with = dir / "src" / "";
  for (const auto& [output, source] : {std::pair{with, dir / "src"}, std::pair{dir / "src", with},
                                       std::pair{with, with}}) {
    EXPECT_EQ(CheckBatchPreconditions(output, {source}, ColorOnly()), BatchCheck::kSameFolder)
        << output << " " << source;
  }
}

TEST(ProbeDrawing, ByUpperCasedExtensionThenSignature) {
  TempDir dir;
  EXPECT_EQ(ProbeDrawing(dir.Write("a.jww", "JwwData.")), DrawingType::kJww);
  EXPECT_EQ(ProbeDrawing(dir.Write("b.JwW", "JwwData.")), DrawingType::kJww);
  EXPECT_EQ(ProbeDrawing(dir.Write("c.Jws", "JwsData")), DrawingType::kJws);
  EXPECT_EQ(ProbeDrawing(dir.Write("d.jww", "JwsData")), DrawingType::kNone);
  EXPECT_EQ(ProbeDrawing(dir.Write("e.jww", "jwwdata.")), DrawingType::kNone);
  EXPECT_EQ(ProbeDrawing(dir.Write("f.bak", "JwwData.")), DrawingType::kNone);
  EXPECT_EQ(ProbeDrawing(dir.Write("g.jwc", "jw_cad(c)data.......")), DrawingType::kNone);
  std::string why;
  EXPECT_EQ(ProbeDrawing(dir / "missing.jww", &why), DrawingType::kUnreadable);
  EXPECT_EQ(why, "cannot open: " + test::MissingFileText());
  EXPECT_EQ(ProbeDrawing(dir / "missing.txt"), DrawingType::kNone);  // not even looked at
}

// A drawing that cannot be opened or read fails with the reason; it is not
// "no drawing". A FIFO fails at once instead of waiting for a writer.
TEST(RunBatch, UnreadableDrawingsFailWithTheReason) {
  TempDir dir;
  fs::create_directory(dir / "out");
  fs::create_directory(dir / "folder.jww");
  std::vector<fs::path> sources = {dir / "deleted.jww", dir / "folder.jww"};
  std::vector<std::string> reasons = {"cannot open: " + test::MissingFileText(),
                                      "is a folder, not a file"};
  // Where links can be made, and on systems with FIFOs:
  if (test::MakeFileLink(dir / "gone.jww", dir / "dangling.jww")) {
    sources.push_back(dir / "dangling.jww");
    reasons.push_back("cannot open: " + test::MissingFileText());
  }
  if (!test::kOnWindows) {
    ASSERT_EQ(std::system(("mkfifo '" + (dir / "pipe.jws").string() + "'").c_str()), 0);
    sources.push_back(dir / "pipe.jws");
    reasons.push_back("not a regular file (a FIFO)");
  }
  sources.push_back(dir.Write("plain.jww", "no signature"));
  for (bool dry_run : {false, true}) {
    BatchRequest request{sources, dir / "out", ColorOnly(), 2};
    request.dry_run = dry_run;
    std::vector<FileOutcome> o = RunBatch(request);
    ASSERT_EQ(o.size(), reasons.size() + 1);
    for (size_t i = 0; i < reasons.size(); ++i) {
      EXPECT_EQ(o[i].kind, FileOutcomeKind::kLoadFailed) << i;
      EXPECT_EQ(o[i].error, reasons[i]) << i;
    }
    EXPECT_EQ(o.back().kind, FileOutcomeKind::kSkipped);
  }
  EXPECT_TRUE(fs::is_empty(dir / "out"));
}

// A folder of sources exercising every outcome and the name collisions.
std::vector<fs::path> MakeSources(const TempDir& dir) {
  fs::create_directories(dir / "s1");
  fs::create_directories(dir / "s2");
  std::vector<fs::path> sources;
  for (int i = 0; i < 8; ++i) {
    fs::path p = dir / "s1" / ("d" + std::to_string(i) + (i % 2 ? ".jww" : ".JWS"));
    if (i % 2) test::WriteJwwSample(p, {.version = 600 + i, .entities = 30u + i * 5u,
                                        .seed = static_cast<uint32_t>(i)});
    else test::WriteJwsSample(p, {.version = 420 + i, .entities = 30, .seed = 9});
    sources.push_back(p);
  }
  test::WriteJwwSample(dir / "s1" / "a.jww", {.version = 700, .seed = 2});
  test::WriteJwsSample(dir / "s1" / "a.jws", {.version = 700, .seed = 3});
  test::WriteJwsSample(dir / "s2" / "a.jws", {.version = 351, .seed = 4});  // output name taken
  sources.push_back(dir / "s1" / "a.jww");
  sources.push_back(dir / "s1" / "a.jws");
  sources.push_back(dir / "s2" / "a.jws");
  std::string full = ReadFile(sources[1]);
  sources.push_back(dir.Write("s1/broken.jww", full.substr(0, full.size() / 2)));
  sources.push_back(dir.Write("s1/notes.txt", "not a drawing"));
  sources.push_back(dir.Write("s1/fake.jww", "JwsData"));
  return sources;
}

std::map<std::string, std::string> FolderContents(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(folder)) {
    files[e.path().filename().string()] = ReadFile(e.path());
  }
  return files;
}

TEST(RunBatch, ParallelRunEqualsSerialRun) {
  TempDir dir;
  std::vector<fs::path> sources = MakeSources(dir);
  std::vector<std::vector<FileOutcome>> runs;
  std::vector<std::map<std::string, std::string>> outputs;
  for (int jobs : {1, 4, 4, 2}) {
    fs::path out = dir / ("out" + std::to_string(runs.size()));
    fs::create_directory(out);
    // Earlier outputs, so that backups are made (and collide on a.BAK).
    for (const char* name : {"a.jww", "a.jws", "d1.jww", "a.BAK"}) {
      std::ofstream(out / name) << "old " << name;
    }
    std::vector<size_t> done_order;
    std::vector<size_t> progress_seen;
    BatchRequest request{sources, out, ColorOnly(), jobs};
    BatchCallbacks callbacks;
    callbacks.on_done = [&](size_t i, const FileOutcome&) { done_order.push_back(i); };
    callbacks.on_progress = [&](size_t i, const std::string&) { progress_seen.push_back(i); };
    runs.push_back(RunBatch(request, callbacks));
    outputs.push_back(FolderContents(out));
    ASSERT_EQ(done_order.size(), sources.size());
    for (size_t i = 0; i < done_order.size(); ++i) EXPECT_EQ(done_order[i], i) << jobs;
    EXPECT_EQ(progress_seen.size(), sources.size() - 3)
        << "skipped files and a taken output name show no progress";
  }
  const std::vector<FileOutcome>& serial = runs[0];
  ASSERT_EQ(serial.size(), sources.size());
  for (size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(serial[i].kind, FileOutcomeKind::kConverted) << serial[i].error;
    EXPECT_GT(serial[i].counts.colors, 0);
  }
  EXPECT_EQ(serial[10].kind, FileOutcomeKind::kWriteFailed);
  EXPECT_EQ(serial[11].kind, FileOutcomeKind::kLoadFailed);
  EXPECT_EQ(serial[12].kind, FileOutcomeKind::kSkipped);
  EXPECT_EQ(serial[13].kind, FileOutcomeKind::kSkipped);
  for (size_t r = 1; r < runs.size(); ++r) {
    EXPECT_TRUE(outputs[r] == outputs[0]) << "run " << r;
    for (size_t i = 0; i < serial.size(); ++i) {
      EXPECT_EQ(runs[r][i].kind, serial[i].kind) << i;
      EXPECT_EQ(runs[r][i].counts, serial[i].counts) << i;
      EXPECT_EQ(runs[r][i].error, serial[i].error) << i;
      EXPECT_EQ(runs[r][i].source, serial[i].source) << i;
    }
  }
}

TEST(RunBatch, DryRunReportsAsARealRunAndWritesNothing) {
  TempDir dir;
  std::vector<fs::path> sources = MakeSources(dir);
  fs::create_directory(dir / "out");
  std::ofstream(dir / "out" / "a.jws") << "old figure";
  fs::create_directory(dir / "out" / "d1.jww");  // a folder the real run refuses to replace
  const auto before = FolderContents(dir / "out");
  BatchRequest request{sources, dir / "out", ColorOnly(), 2};
  request.dry_run = true;
  std::vector<FileOutcome> dry = RunBatch(request);
  EXPECT_TRUE(FolderContents(dir / "out") == before);
  request.dry_run = false;
  std::vector<FileOutcome> real = RunBatch(request);
  ASSERT_EQ(dry.size(), real.size());
  for (size_t i = 0; i < real.size(); ++i) {
    EXPECT_EQ(dry[i].kind, real[i].kind) << i;
    EXPECT_EQ(dry[i].counts, real[i].counts) << i;
    EXPECT_EQ(dry[i].error, real[i].error) << i;
  }
  EXPECT_EQ(real[1].kind, FileOutcomeKind::kWriteFailed);
}

TEST(RunBatch, NoSourcesNoOutcomes) {
  TempDir dir;
  size_t calls = 0;
  BatchCallbacks callbacks;
  callbacks.on_done = [&](size_t, const FileOutcome&) { ++calls; };
  EXPECT_TRUE(RunBatch({{}, dir.path(), ColorOnly(), 4}, callbacks).empty());
  EXPECT_EQ(calls, 0u);
}

TEST(RunBatch, NoBackupReplacesAnotherOfTheRunAndATakenNameFails) {
  TempDir dir;
  std::vector<fs::path> sources = MakeSources(dir);
  fs::create_directory(dir / "out");
  std::ofstream(dir / "out" / "a.jws") << "old figure";
  std::ofstream(dir / "out" / "a.jww") << "old drawing";
  std::ofstream(dir / "out" / "a.jws.BAK") << "a backup of an earlier run";
  std::vector<FileOutcome> outcomes = RunBatch({sources, dir / "out", ColorOnly(), 4});
  // s1/a.jww keeps "old drawing" as a.BAK; s1/a.jws, whose backup name the
  // run has made already, keeps "old figure" under its own name with
  // ".BAK"; s2/a.jws is not converted: its output name is taken.
  EXPECT_EQ(ReadFile(dir / "out" / "a.BAK"), "old drawing");
  EXPECT_EQ(ReadFile(dir / "out" / "a.jws.BAK"), "old figure");
  EXPECT_EQ(outcomes[8].backup, dir / "out" / "a.BAK");
  EXPECT_EQ(outcomes[9].backup, dir / "out" / "a.jws.BAK");
  EXPECT_TRUE(outcomes[0].backup.empty()) << "no earlier output, no backup";
  JwsDocument kept;
  ASSERT_TRUE(ReadJwsFile(dir / "out" / "a.jws", kept));
  EXPECT_EQ(kept.version, 700);
  EXPECT_EQ(outcomes[9].kind, FileOutcomeKind::kConverted);
  EXPECT_EQ(outcomes[10].kind, FileOutcomeKind::kWriteFailed);
  EXPECT_NE(outcomes[10].error.find((dir / "s1" / "a.jws").string()), std::string::npos)
      << outcomes[10].error;
  // The same name in another letter case is taken too (a case-insensitive folder).
  std::vector<fs::path> cased = {sources[1], dir / "s2" / "D1.JWW"};
  fs::copy_file(sources[1], cased[1]);
  outcomes = RunBatch({cased, dir / "out", ColorOnly(), 2});
  EXPECT_EQ(outcomes[0].kind, FileOutcomeKind::kConverted);
  EXPECT_EQ(outcomes[1].kind, FileOutcomeKind::kWriteFailed);
}

TEST(RunBatch, RepeatsOfAFileAreDroppedBeforeTheRun) {
  TempDir dir;
  std::vector<fs::path> sources = MakeSources(dir);
  std::vector<fs::path> given = {sources[8], sources[10], dir / "s1" / ".." / "s1" / "a.jww",
                                 sources[9], sources[8]};
  // Where a link can be made, the same file through it is a repeat too.
  if (test::MakeFolderLink(dir / "s1", dir / "link")) given.push_back(dir / "link" / "a.jww");
  const std::vector<fs::path> kept = WithoutRepeatedFiles(given);
  EXPECT_EQ(kept, (std::vector<fs::path>{sources[8], sources[10], sources[9]}));
}

TEST(RunBatch, StopsStartingFilesWhenAsked) {
  TempDir dir;
  std::vector<fs::path> sources = MakeSources(dir);
  sources.resize(8);
  fs::create_directory(dir / "out");
  std::atomic<bool> stop{false};
  BatchCallbacks callbacks;
  // Asked to stop while the third file is converted: it ends, no other starts.
  callbacks.on_progress = [&](size_t index, const std::string&) {
    if (index == 2) stop = true;
  };
  BatchRequest request{sources, dir / "out", ColorOnly(), 1};
  request.stop = &stop;
  std::vector<FileOutcome> outcomes = RunBatch(request, callbacks);
  for (size_t i = 0; i < outcomes.size(); ++i) {
    EXPECT_EQ(outcomes[i].kind, i <= 2 ? FileOutcomeKind::kConverted : FileOutcomeKind::kNotStarted)
        << i;
    EXPECT_EQ(fs::exists(dir / "out" / sources[i].filename()), i <= 2) << i;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "out"), fs::directory_iterator()), 3);
}

TEST(RunBatch, WorkersAreCappedAtTheFilesAndAtTheMaximum) {
  TempDir dir;
  fs::create_directory(dir / "src");
  fs::create_directory(dir / "out");
  std::vector<fs::path> sources;
  for (int i = 0; i < kMaxJobs + 20; ++i) {
    sources.push_back(dir / "src" / ("f" + std::to_string(i) + ".jws"));
    test::WriteJwsSample(sources.back(), {.version = 420, .entities = 3, .seed = 1});
  }
  for (size_t files : {size_t{3}, sources.size()}) {
    std::mutex mutex;
    std::set<std::thread::id> threads;
    BatchCallbacks callbacks;
    callbacks.on_progress = [&](size_t, const std::string&) {
      std::lock_guard lock(mutex);
      threads.insert(std::this_thread::get_id());
    };
    std::vector<fs::path> some(sources.begin(), sources.begin() + static_cast<long>(files));
    std::vector<FileOutcome> outcomes = RunBatch({some, dir / "out", ColorOnly(), 100000}, callbacks);
    EXPECT_LE(threads.size(), std::min<size_t>(files, kMaxJobs));
    for (const FileOutcome& o : outcomes) EXPECT_EQ(o.kind, FileOutcomeKind::kConverted);
  }
}

// Outputs go into the folder the run opened, whatever its path leads to
// later: a source is never replaced, moved to ".BAK" or joined by a
// temporary file, and none stays behind in the folder moved away. (Windows
// does not let a held folder move; where it does, the later files fail.)
TEST(RunBatch, OutputsGoToTheFolderOpenedWhateverItsPathBecomes) {
  for (bool link_to_sources : {false, true}) {
    SCOPED_TRACE(link_to_sources ? "swapped for a link to the sources" : "moved away");
    TempDir dir;
    std::vector<fs::path> sources = MakeSources(dir);
    sources.resize(8);
    fs::create_directory(dir / "out");
    for (const fs::path& source : sources) std::ofstream(dir / "out" / source.filename()) << "old";
    const auto sources_before = FolderContents(dir / "s1");
    bool moved = false;
    BatchCallbacks callbacks;
    callbacks.on_progress = [&](size_t index, const std::string&) {
      if (index != 1 || moved) return;
      std::error_code ec;
      fs::rename(dir / "out", dir / "held", ec);
      moved = !ec && (!link_to_sources || test::MakeFolderLink(dir / "s1", dir / "out"));
    };
    std::vector<FileOutcome> outcomes = RunBatch({sources, dir / "out", ColorOnly(), 1}, callbacks);
    if (!moved) GTEST_SKIP() << "a folder in use cannot be moved here";
    EXPECT_TRUE(FolderContents(dir / "s1") == sources_before);
    for (const auto& [name, bytes] : FolderContents(dir / "held")) {
      EXPECT_FALSE(IsTemporaryFileName(name)) << name;
    }
    if (test::kOnWindows) continue;
    for (size_t i = 0; i < sources.size(); ++i) {
      EXPECT_EQ(outcomes[i].kind, FileOutcomeKind::kConverted) << i << outcomes[i].error;
      EXPECT_EQ(ReadFile(dir / "held" / BackupPathOf(sources[i].filename())), "old") << i;
    }
  }
}

// An output folder the program cannot write to (read-only, another user's):
// unwritable here as chmod makes it, or for root where the file system
// allows immutable folders.
bool MakeUnwritable(const fs::path& folder) {
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  auto writable = [&] {
    std::ofstream probe(folder / "probe");
    const bool ok = probe.good();
    probe.close();
    std::error_code ec;
    fs::remove(folder / "probe", ec);
    return ok;
  };
  if (!writable()) return true;
  const std::string lock = "chattr +i '" + folder.string() + "' 2>/dev/null";
  return std::system(lock.c_str()) == 0 && !writable();
}

void MakeWritable(const fs::path& folder) {
  std::system(("chattr -i '" + folder.string() + "' 2>/dev/null").c_str());
  fs::permissions(folder, fs::perms::owner_all);
}

TEST(RunBatch, DryRunMeetsAnOutputFolderItCannotWrite) {
  TempDir dir;
  std::vector<fs::path> sources = MakeSources(dir);
  fs::create_directory(dir / "out");
  const bool unwritable = MakeUnwritable(dir / "out");
  std::vector<FileOutcome> dry, real;
  if (unwritable) {
    BatchRequest request{sources, dir / "out", ColorOnly(), 2};
    request.dry_run = true;
    dry = RunBatch(request);
    request.dry_run = false;
    real = RunBatch(request);
  }
  MakeWritable(dir / "out");
  if (!unwritable) GTEST_SKIP() << "no unwritable folder can be made here";
  ASSERT_EQ(dry.size(), real.size());
  for (size_t i = 0; i < real.size(); ++i) {
    EXPECT_EQ(dry[i].kind, real[i].kind) << i;
    EXPECT_EQ(dry[i].error, real[i].error) << i;
  }
  EXPECT_EQ(real[0].kind, FileOutcomeKind::kWriteFailed);
  EXPECT_TRUE(fs::is_empty(dir / "out"));
}

}  // namespace
}  // namespace varnelko
