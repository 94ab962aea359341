#include "render/svg_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

#include "platform/file_io.h"
#include "render/palette.h"

namespace varnelko::render {
namespace {

constexpr const char* kFontStack =
    "'MS Gothic','Noto Sans CJK JP','Noto Sans JP','IPAGothic','IPAexGothic',"
    "'Hiragino Kaku Gothic ProN','Yu Gothic',sans-serif";
// Jw_cad sets a character's cell on its lower edge; CJK fonts put the
// baseline this far above the lower edge of the em box.
constexpr double kBaselineRise = 0.12;
constexpr double kMarginShare = 0.02;

class SvgOut {
 public:
  SvgOut(const Scene& scene, const SvgOptions& options, std::string& out)
      : scene_(scene), out_(out), print_(scene.view == SceneView::kPrint) {
    Fit(options.width_px);
  }

  void Write(const SvgOptions& options) {
    Header(options);
    out_ += "<g id=\"drawing\" fill=\"none\" stroke-linecap=\"round\" stroke-linejoin=\"round\">\n";
    for (const SceneItem& item : scene_.items) Item(item);
    out_ += "</g>\n";
    if (scene_.changes) Marks();
    out_ += "</svg>\n";
  }

 private:
  // View box: the frame (the sheet or the extent), y flipped (drawings run
  // y up); with a margin, but for the sheet as it prints. A screen picture
  // shows the sheet's edge.
  void Fit(int width_px) {
    const Extent& e = scene_.frame;
    double w = e.empty ? 1 : e.max_x - e.min_x, h = e.empty ? 1 : e.max_y - e.min_y;
    const double size = std::max({w, h, 1e-9});
    const bool sheet = print_ && scene_.paper.has_value();
    const double margin = sheet ? 0 : size * kMarginShare;
    x0_ = (e.empty ? 0 : e.min_x) - margin;
    y0_ = -(e.empty ? 1 : e.max_y) - margin;
    w_ = std::max(w, size * 1e-3) + 2 * margin;
    h_ = std::max(h, size * 1e-3) + 2 * margin;
    width_px_ = std::clamp(width_px, 16, 100000);
    height_px_ = std::clamp(static_cast<int>(std::lround(width_px_ * h_ / w_)), 16, 200000);
    unit_ = w_ / width_px_;
    // Enough decimals for a thousandth of a pixel, no more.
    decimals_ = std::clamp(static_cast<int>(std::ceil(-std::log10(unit_ / 1000))), 0, 9);
  }

  void Header(const SvgOptions& o) {
    out_ += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out_ += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(width_px_) +
            "\" height=\"" + std::to_string(height_px_) + "\" viewBox=\"";
    Num(x0_), Sp(), Num(y0_), Sp(), Num(w_), Sp(), Num(h_);
    out_ += "\" data-palette=\"";
    out_ += kPaletteName;
    out_ += "\" data-items=\"" + std::to_string(scene_.items.size()) + "\" data-frame=\"";
    out_ += scene_.frame_source == FrameSource::kPaper ? "paper" : "items";
    out_ += "\"";
    if (scene_.stats.off_paper > 0) out_ += " data-off-paper=\"" + std::to_string(scene_.stats.off_paper) + "\"";
    if (scene_.stats.hidden_layers > 0) {
      out_ += " data-hidden-layers=\"" + std::to_string(scene_.stats.hidden_layers) + "\"";
    }
    if (scene_.changes) {
      out_ += " data-changed-colors=\"" + std::to_string(scene_.changes->colors) +
              "\" data-changed-styles=\"" + std::to_string(scene_.changes->styles) + "\"";
    }
    out_ += ">\n";
    if (!o.title.empty()) {
      out_ += "<title>";
      Escaped(o.title);
      out_ += "</title>\n";
    }
    const SceneStats& s = scene_.stats;
    if (scene_.frame_source != FrameSource::kPaper) {
      out_ += "<desc>framed: ";
      out_ += Describe(scene_.frame_source);
      out_ += "</desc>\n";
    }
    if (s.Cut() || s.skipped_geometry > 0) {
      out_ += "<desc>not drawn: " + std::to_string(s.missing_blocks) + " missing blocks, " +
              std::to_string(s.cut_cycles) + " self-insertions, " + std::to_string(s.cut_depth) +
              " too deep, " + std::to_string(s.cut_limit) + " over the item limit, " +
              std::to_string(s.skipped_geometry) + " unusable coordinates</desc>\n";
    }
    out_ += "<rect x=\"";
    Num(x0_), out_ += "\" y=\"", Num(y0_), out_ += "\" width=\"", Num(w_), out_ += "\" height=\"";
    Num(h_);
    out_ += "\" fill=\"";
    Color(kGroundRgb);
    out_ += "\"/>\n";
    if (scene_.paper && !print_) PaperFrame(*scene_.paper);
  }

  // The sheet's edge, thin, as the CAD program shows it.
  void PaperFrame(const Extent& p) {
    out_ += "<rect id=\"paper\" x=\"";
    Num(p.min_x), out_ += "\" y=\"", Num(-p.max_y), out_ += "\" width=\"", Num(p.max_x - p.min_x);
    out_ += "\" height=\"", Num(p.max_y - p.min_y), out_ += "\" fill=\"none\" stroke=\"";
    Color(kPaperFrameRgb);
    out_ += "\" stroke-width=\"";
    Num(kPaperFrameWidthPx * unit_);
    out_ += "\"/>\n";
  }

  void Item(const SceneItem& item) {
    switch (item.shape) {
      case ItemShape::kPolyline:
      case ItemShape::kArc:  // as a polyline at the picture's precision
        out_ += "<polyline points=\"";
        Points(item);
        out_ += "\" stroke=\"";
        Color(item.rgb);
        out_ += "\" stroke-width=\"";
        Num(item.width_px * unit_);
        out_ += '"';
        DashAttr(item.dash);
        out_ += "/>\n";
        break;
      case ItemShape::kPolygon:
        out_ += "<polygon points=\"";
        Points(item);
        out_ += "\" fill=\"";
        Color(item.rgb);
        out_ += (item.flags & kItemAux) ? "\" fill-opacity=\"0.35\"/>\n" : "\"/>\n";
        break;
      case ItemShape::kPointMark: {
        const Point2 p = scene_.points[item.first];
        out_ += "<circle cx=\"";
        Num(p.x), out_ += "\" cy=\"", Num(-p.y), out_ += "\" r=\"", Num(1.5 * unit_);
        out_ += "\" fill=\"";
        Color(item.rgb);
        out_ += "\"/>\n";
        break;
      }
      case ItemShape::kText: Text(item); break;
    }
  }

  // A text is laid out on its own axes, x along the text, and its glyphs
  // and gaps stretched or squeezed to the stored length: whatever font the
  // viewer has, the text ends where the drawing says.
  void Text(const SceneItem& item) {
    const SceneText& t = scene_.Text(item);
    const double h = std::max(t.height, 1e-9);
    out_ += "<text transform=\"translate(";
    Num(t.anchor.x), Sp(), Num(-t.anchor.y);
    out_ += ") rotate(";
    Num(-t.angle * 180 / std::numbers::pi);
    out_ += ")\" y=\"";
    Num(-kBaselineRise * h);
    out_ += "\" font-size=\"";
    Num(h);
    if (t.length > 0) {
      out_ += "\" textLength=\"";
      Num(t.length);
      out_ += "\" lengthAdjust=\"spacingAndGlyphs";
    }
    out_ += "\" font-family=\"";
    const std::string& font = scene_.fonts[t.font];
    if (!font.empty()) {
      out_ += "'";
      Escaped(font, true);
      out_ += "',";
    }
    out_ += kFontStack;
    out_ += "\" fill=\"";
    Color(item.rgb);
    out_ += (item.flags & kItemAux) ? "\" fill-opacity=\"0.6\">" : "\">";
    Escaped(t.utf8);
    out_ += "</text>\n";
  }

  // One mark per changed item, drawn over the drawing's geometry.
  void Marks() {
    out_ += "<g id=\"after-marks\" fill=\"none\" stroke=\"";
    Color(kChangeRgb);
    out_ += "\" stroke-opacity=\"0.55\" stroke-width=\"";
    Num(kChangeWidthPx * unit_);
    out_ += "\" stroke-linecap=\"round\" stroke-linejoin=\"round\">\n";
    for (const SceneItem& item : scene_.marks) {
      const char* what = (item.flags & kItemChangedColor) && (item.flags & kItemChangedStyle)
                             ? "color linetype"
                             : (item.flags & kItemChangedColor) ? "color" : "linetype";
      if (item.shape == ItemShape::kText) {
        const SceneText& t = scene_.Text(item);
        out_ += "<rect class=\"";
        out_ += what;
        out_ += "\" transform=\"translate(";
        Num(t.anchor.x), Sp(), Num(-t.anchor.y), out_ += ") rotate(";
        Num(-t.angle * 180 / std::numbers::pi);
        out_ += ")\" x=\"0\" y=\"";
        Num(-t.height), out_ += "\" width=\"", Num(std::max(t.length, unit_));
        out_ += "\" height=\"", Num(t.height), out_ += "\"/>\n";
      } else if (item.shape == ItemShape::kPointMark) {
        const Point2 p = scene_.points[item.first];
        out_ += "<circle class=\"";
        out_ += what;
        out_ += "\" cx=\"";
        Num(p.x), out_ += "\" cy=\"", Num(-p.y), out_ += "\" r=\"", Num(4 * unit_), out_ += "\"/>\n";
      } else {
        out_ += item.shape == ItemShape::kPolygon ? "<polygon class=\"" : "<polyline class=\"";
        out_ += what;
        out_ += "\" points=\"";
        Points(item);
        out_ += "\"/>\n";
      }
    }
    out_ += "</g>\n";
  }

  // Arcs at a quarter of a pixel.
  void Points(const SceneItem& item) {
    std::span<const Point2> points;
    if (item.shape == ItemShape::kArc) {
      scene_.PointsOf(item, unit_ / 4, arc_points_);
      points = arc_points_;
    } else {
      points = scene_.Vertices(item);
    }
    bool first = true;
    for (const Point2& p : points) {
      if (!first) out_ += ' ';
      first = false;
      Num(p.x);
      out_ += ',';
      Num(-p.y);
    }
  }

  void DashAttr(uint8_t dash) {
    const DashPattern& d = Dash(dash);
    if (d.count == 0) return;
    out_ += " stroke-dasharray=\"";
    for (int i = 0; i < d.count; ++i) {
      if (i) out_ += ' ';
      Num(d.lengths[i] * unit_);
    }
    out_ += '"';
  }

  void Color(uint32_t rgb) {
    static const char kHex[] = "0123456789abcdef";
    char buf[7];
    for (int i = 0; i < 6; ++i) buf[i] = kHex[(rgb >> (20 - 4 * i)) & 0xF];
    out_ += '#';
    out_.append(buf, 6);
  }

  void Num(double v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals_);
    char* end = r.ptr;
    // Trailing zeros say nothing.
    if (decimals_ > 0) {
      while (end[-1] == '0') --end;
      if (end[-1] == '.') --end;
    }
    if (end - buf == 2 && buf[0] == '-' && buf[1] == '0') {
      out_ += '0';
      return;
    }
    out_.append(buf, end);
  }
  void Sp() { out_ += ' '; }

  // XML text; control characters have no place in XML 1.0 and are dropped.
  void Escaped(const std::string& s, bool in_quotes = false) {
    for (char c : s) {
      switch (c) {
        case '&': out_ += "&amp;"; break;
        case '<': out_ += "&lt;"; break;
        case '>': out_ += "&gt;"; break;
        case '"': out_ += "&quot;"; break;
        case '\'': out_ += in_quotes ? "&apos;" : "'"; break;
        default:
          if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') out_ += c;
      }
    }
  }

  const Scene& scene_;
  std::string& out_;
  bool print_ = false;
  std::vector<Point2> arc_points_;
  double x0_ = 0, y0_ = 0, w_ = 1, h_ = 1, unit_ = 1;
  int width_px_ = 0, height_px_ = 0, decimals_ = 3;
};

}  // namespace

void BuildSvg(const Scene& scene, const SvgOptions& options, std::string& out) {
  out.clear();
  out.reserve(4096 + scene.items.size() * 80 + scene.points.size() * 16);
  SvgOut(scene, options, out).Write(options);
}

bool WriteSvgFile(const std::filesystem::path& path, const Scene& scene, const SvgOptions& options,
                  FormatError* error) {
  std::string svg;
  BuildSvg(scene, options, svg);
  return WriteFileAtomically(path, svg, error);
}

}  // namespace varnelko::render
