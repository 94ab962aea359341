#pragma once
// The preview pane of the Windows program, a child window below the file
// list: the drawing of the current row as it is, or after the conversion
// with the current settings ("変換後", changed entities marked), on screen or
// as it prints ("印刷イメージ"), with a line that counts what the conversion
// changes ("線色 38 / 線種 37 を変更"). The wheel zooms around the cursor,
// dragging moves the drawing, a double click or "全体表示" fits it again.
// Files are read and big pictures painted off the window's thread; only the
// newest request is shown. A file that cannot be shown shows why.
//
// The main window owns one PreviewPane, creates it as a child, places it and
// hands it the current file and settings; everything else happens inside.
// The pane sends its own controls the font it is given with WM_SETFONT.
#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>

#include "conversion/conversion_settings.h"

namespace varnelko {
class PreviewLoader;
struct PreviewResult;
}  // namespace varnelko

namespace varnelko::win32 {

class PreviewCanvas;
class WindowPost;

class PreviewPane {
 public:
  PreviewPane();
  ~PreviewPane();  // destroys the window if it still exists
  PreviewPane(const PreviewPane&) = delete;
  PreviewPane& operator=(const PreviewPane&) = delete;

  // Creates the pane as a visible child of `parent` with control id `id`;
  // false when Windows refuses (GetLastError says why).
  bool Create(HWND parent, int id);
  HWND hwnd() const { return hwnd_; }
  // Places the pane, in the parent's client coordinates.
  void SetBounds(const RECT& bounds);
  // A hidden pane reads nothing and keeps no drawing; shown again, it
  // reads the current file again.
  void SetShown(bool shown);

  // The file to show, converted with `settings` when "変換後" is on. An
  // empty path shows nothing. Calling again with the same file and settings
  // changes nothing.
  void ShowFile(const std::filesystem::path& file, const ConversionSettings& settings);
  void SetSettings(const ConversionSettings& settings);
  // Shows nothing and forgets the drawing (a new folder listed, no row).
  void Clear();

  // The state kept in the ini's section "Preview" ("After", "Print",
  // "Colour"); the pane's height and whether it is shown belong to the main
  // window.
  void SetSwitches(bool after, bool print, bool colour = false);
  bool after() const;
  bool print() const;
  bool colour() const;

  // For tests and screenshots: a request whose picture has not arrived yet,
  // the counts line, and the message shown instead of a picture.
  bool Pending() const;
  std::wstring counts_text() const;
  std::wstring message() const;
  PreviewCanvas* canvas() { return canvas_.get(); }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  void CreateChildren();
  void Layout();
  void Reload(bool same_file);
  void Show(const PreviewResult& result);
  void SetCounts(const std::string& utf8);

  std::unique_ptr<PreviewCanvas> canvas_;
  std::unique_ptr<WindowPost> post_;
  std::unique_ptr<PreviewLoader> loader_;
  HWND hwnd_ = nullptr;
  HWND after_ = nullptr, print_ = nullptr, colour_ = nullptr, fit_ = nullptr, counts_ = nullptr;
  HFONT font_ = nullptr;  // given by the main window, not owned
  bool shown_ = true;
  std::filesystem::path file_;
  std::filesystem::path shown_file_;  // the file whose picture is on the canvas
  ConversionSettings settings_;
};

}  // namespace varnelko::win32
