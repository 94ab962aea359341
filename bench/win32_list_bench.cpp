// Times the Windows program's file list under Wine on a folder of many small
// drawings: how long the rows take to appear after the folder is chosen in
// the tree, and how long until every memo is filled in.
//   varnelko_win32_list_bench [COUNT=5000] [RUNS=3]
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "document/cp932.h"
#include "formats/jww/jww_file.h"
#include "platform/path_text.h"
#include "support/document_builder.h"
#include "support/temp_dir.h"
#include "win32/main_window.h"
#include "win32/message_loop.h"

namespace {

// COUNT small JWW drawings "d0000.jww" ... each with its own memo.
bool MakeDrawings(const std::filesystem::path& folder, int count) {
  auto doc = std::make_unique<varnelko::JwwDocument>(
      varnelko::test::BuildJwwDocument({.entities = 30}));
  for (int i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "d%04d.jww", i);
    doc->header.memo = varnelko::Utf8ToCp932("図面メモ " + std::to_string(i));
    if (!varnelko::WriteJwwFile(folder / name, 700, *doc)) return false;
  }
  varnelko::FreeJwwDocument(*doc);
  return true;
}

// Answers nothing: the benchmark asks no questions.
class SilentFeedback : public varnelko::UserFeedback {
 public:
  void Beep() override {}
  void ErrorBox(const std::string&) override {}
  void InfoBox(const std::string&) override {}
  void ConfirmBox(const std::string&) override {}
  bool AskYesNo(const std::string&) override { return false; }
  void ReportBox(const std::string&, const std::string&) override {}
  void Status(const std::string&) override {}
  std::filesystem::path ChooseFolder(const std::string&, const std::filesystem::path&) override {
    return {};
  }
  std::filesystem::path ChooseSettingsFile(bool, const std::string&,
                                           const std::filesystem::path&) override {
    return {};
  }
  bool OpenFile(const std::filesystem::path&) override { return false; }
};

// CPU seconds of this process (all threads): the machine's other load
// does not count here, unlike in the wall-clock times.
double CpuSeconds() {
  FILETIME created, ended, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
  const auto ticks = [](const FILETIME& t) {
    return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace varnelko::win32;
  const int count = argc > 1 ? std::atoi(argv[1]) : 5000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  varnelko::test::TempDir work;
  const std::filesystem::path folder = work / "drawings";
  std::filesystem::create_directories(folder);
  if (!MakeDrawings(folder, count)) {
    std::fprintf(stderr, "cannot write the drawings\n");
    return 1;
  }
  SilentFeedback prompts;
  MainWindow window(GetModuleHandleW(nullptr), {work.path() / "", work / "v.ini"}, prompts);
  if (!window.Create(SW_SHOW)) return 1;
  window.SetSearchFolder(folder / "");
  window.SearchFolders();
  for (int run = 1; run <= runs; ++run) {
    const auto start = std::chrono::steady_clock::now();
    const double cpu = CpuSeconds();
    window.ListFiles(window.state().search_folder);
    PumpUntil(window, [&] { return window.state().list_shown; }, 60000);
    PumpPending(window);  // the rows painted
    const double rows = Seconds(start), rows_cpu = CpuSeconds() - cpu;
    PumpUntil(window, [&] { return !window.Working(); }, 60000);
    const double memos = Seconds(start), memos_cpu = CpuSeconds() - cpu;
    std::printf("run %d: %d rows shown in %.3f s (CPU %.3f s), memos complete in %.3f s (CPU %.3f s)\n",
                run, count, rows, rows_cpu, memos, memos_cpu);
  }
  CoUninitialize();
  return 0;
}
