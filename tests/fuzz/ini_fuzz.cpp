// Feeds arbitrary ini and ".set" files to the ini reader and writer and to the
// settings loader. The input gives a read size, a section, a key and a value
// (FuzzedDataProvider strings, each ended by a backslash and a blank) and then
// the file's bytes. Besides not crashing:
// - a read is true exactly when it gives a non-empty value of at most size - 1
//   bytes; a cut value is the start of the whole one, shorter than size - 1
//   only by the bytes of one character (at most three);
// - a write changes nothing outside the one line of its key (at most it
//   inserts lines), leaves every other key reading as before, and its value
//   reads back;
// - settings saved into any file load back as they were saved.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/conversion_settings.h"
#include "document/ini_file.h"
#include "support/temp_dir.h"

namespace {

using namespace varnelko;
namespace fs = std::filesystem;

constexpr std::string_view kBlanks = " \t\r\v\f";

struct Name {
  std::string section, key;
};

const test::TempDir& Scratch() {
  static const test::TempDir dir;  // removed when the fuzzer exits
  return dir;
}

std::string Read(const fs::path& path, std::string_view section, std::string_view key,
                 int size) {
  std::string out = "stale";
  const bool found = IniReadStr(section, key, out, size, path);
  if (found != !out.empty()) std::abort();
  if (out.size() > static_cast<size_t>(std::max(size - 1, 0))) std::abort();
  if (out.find('\n') != std::string::npos) std::abort();
  return out;
}

void CheckCut(const fs::path& path, std::string_view section, std::string_view key, int size) {
  const std::string whole = Read(path, section, key, 1 << 20);
  const std::string cut = Read(path, section, key, size);
  if (!whole.starts_with(cut)) std::abort();
  const size_t room = static_cast<size_t>(std::max(size - 1, 0));
  if (cut.size() + 3 < std::min(whole.size(), room)) std::abort();
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  return out;
}

std::string_view Trim(std::string_view s) {
  const size_t first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

bool SameName(const Name& a, const Name& b) {
  return Lower(Trim(a.section)) == Lower(Trim(b.section)) &&
         Lower(Trim(a.key)) == Lower(Trim(b.key));
}

// The bytes a write removed, between the longest common prefix and suffix of
// the file before and after, lie within one line.
void CheckOneLineChanged(std::string_view before, std::string_view after) {
  const size_t prefix =
      std::mismatch(before.begin(), before.end(), after.begin(), after.end()).first -
      before.begin();
  size_t suffix = 0;
  const size_t room = std::min(before.size(), after.size()) - prefix;
  while (suffix < room && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  const std::string_view removed = before.substr(prefix, before.size() - prefix - suffix);
  if (removed.find('\n') != std::string_view::npos) std::abort();
}

// A value without blanks or quotes around it reads back as written.
bool ReadsBackVerbatim(std::string_view value) {
  if (value.empty()) return true;
  if (kBlanks.find(value.front()) != std::string_view::npos) return false;
  if (kBlanks.find(value.back()) != std::string_view::npos) return false;
  return !((value.front() == '"' || value.front() == '\'') && value.size() >= 2 &&
           value.back() == value.front());
}

void WriteAndReadBack(const fs::path& path, const Name& name, std::string_view value) {
  const std::vector<Name> probes = {{"Form", "F1_X"}, {"Set", "FLD1"}, {"JWW", "C1"},
                                    {"JWW", "C8"},   {name.section, "C1"}, {"JWW", name.key}};
  std::vector<std::string> before_values;
  for (const Name& p : probes) before_values.push_back(Read(path, p.section, p.key, 600));
  const std::string before = test::ReadFile(path);
  if (!IniWriteStr(name.section, name.key, value, path)) {
    if (test::ReadFile(path) != before) std::abort();  // a refused write changes nothing
    return;
  }
  CheckOneLineChanged(before, test::ReadFile(path));
  for (size_t i = 0; i < probes.size(); ++i) {
    if (SameName(probes[i], name)) continue;
    if (Read(path, probes[i].section, probes[i].key, 600) != before_values[i]) std::abort();
  }
  if (ReadsBackVerbatim(value)) {
    const int size = static_cast<int>(value.size()) + 1;
    if (Read(path, name.section, name.key, size) != value) std::abort();
  }
}

void LoadAndSaveSettings(const fs::path& path) {
  ConversionSettings loaded;
  for (int n = 1; n <= 8; ++n) loaded.C(n) = 100 + n;  // slots a missing key keeps
  if (!LoadSettingsFile(path, loaded)) std::abort();
  if (!SaveSettingsFile(path, loaded)) return;
  ConversionSettings again;
  if (!LoadSettingsFile(path, again) || !(again == loaded)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const int read_size = input.ConsumeIntegralInRange<int>(-1, 600);
  Name name;
  name.section = input.ConsumeRandomLengthString(64);
  name.key = input.ConsumeRandomLengthString(64);
  const std::string value = input.ConsumeRandomLengthString(64);
  const std::string file = input.ConsumeRemainingBytesAsString();

  const fs::path path = Scratch().Write("fuzz.ini", file);
  CheckCut(path, name.section, name.key, read_size);
  WriteAndReadBack(path, name, value);
  Scratch().Write("fuzz.set", file);
  LoadAndSaveSettings(Scratch() / "fuzz.set");
  return 0;
}
