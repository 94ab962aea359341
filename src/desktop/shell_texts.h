#pragma once
// The texts the windows show, UTF-8, in one place so that every window
// says the same.
#include <cstdint>
#include <filesystem>
#include <string>

namespace varnelko::texts {

inline constexpr const char* kCaption = "Varnelko Ver.1.01";
inline constexpr const char* kChooseSearchFolder = "検索フォルダを指定して下さい。";
inline constexpr const char* kDriveNotReady = "検索フォルダのディスクドライブの準備が出来ていません。";
inline constexpr const char* kSearching = "フォルダ検索中です。（ESC:中断）";
inline constexpr const char* kSearchStopped = "フォルダ検索を中断しました。";
inline constexpr const char* kListingStopped = "検索を中断しました。";
inline constexpr const char* kChooseDrawingFolder = "図面の格納されているフォルダを指定して下さい。";
inline constexpr const char* kConfirmExit = "終了します。よろしいですか？";
inline constexpr const char* kNoFileList = "ファイル一覧が表示されていません。";
inline constexpr const char* kConfirmStart = "変換を開始します。よろしいですか？";
inline constexpr const char* kRunCancelled = "変換作業をキャンセルしました。";
inline constexpr const char* kRunDone = "変換作業を完了しました。";

// Titles of the choosers.
inline constexpr const char* kSearchFolderTitle = "検索フォルダの指定";
inline constexpr const char* kOutputFolderTitle = "保存先フォルダの指定";
inline constexpr const char* kSaveSettingsTitle = "現在の設定を保存";
inline constexpr const char* kOpenSettingsTitle = "保存した設定ファイルを開く";

// With nothing listed yet, the list area says how to start.
inline constexpr const char* kStartHint =
    "フォルダをドロップするか、ファイル → 検索フォルダの指定 を選んでください";
// The button beside the progress that stops a conversion.
inline constexpr const char* kStopRun = "中止";
// The failure list after a run.
inline constexpr const char* kFailureListTitle = "変換できなかったファイル";
inline constexpr const char* kFailureName = "ファイル名";
inline constexpr const char* kFailureReason = "理由";
inline constexpr const char* kCopy = "コピー (&C)";

// The preview pane.
inline constexpr const char* kLoading = "読み込み中…";
inline constexpr const char* kPainting = "描画中…";
inline constexpr const char* kConvertsNothing = "補助線色・補助線種とも変換しない設定です";

}  // namespace varnelko::texts

namespace varnelko {

// `n` with a comma between groups of three digits: "1,204".
std::string GroupedNumber(int64_t n);

// "フォルダ「folder」を検索中(ESC:中断)", while a folder is listed.
std::string ListingText(const std::filesystem::path& folder);
// "12 Files  パス名「folder」", when the listing is complete.
std::string ListedText(size_t count, const std::filesystem::path& folder);
// Double-click on a file that no program opens.
std::string NoProgramText(const std::filesystem::path& name);
// The preview of a file that cannot be read: its name and the core's
// reason in Japanese.
std::string CannotShowText(const std::filesystem::path& file, const std::string& reason);
// What the conversion changes in the previewed drawing.
std::string ChangeCountsText(int64_t colors, int64_t styles);

}  // namespace varnelko
