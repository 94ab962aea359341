// Writing the JWW header block: every stored field back in file order under
// the same version tests as the reader, with the reserved words zeroed and
// two values recomputed for the target version.
#include <array>
#include <string>
#include <string_view>

#include "document/text_helpers.h"
#include "formats/cstring.h"
#include "formats/jww/jww_header.h"

namespace varnelko {
namespace {

constexpr std::string_view kJwwSignature = "JwwData.";

// The packed value of the version block, put together from its stored units
// digit and rest. Unsigned arithmetic wraps instead of overflowing.
int32_t PackedValue(int32_t version, const THeader& h) {
  if (version < 600) return h.packed_units;
  uint32_t rest = h.packed_rest > 0 ? static_cast<uint32_t>(h.packed_rest) : 1u;
  return static_cast<int32_t>(static_cast<uint32_t>(h.packed_units) + 10u * rest);
}

// Old versions cannot draw lines wider than -101 means.
int32_t MaxDrawWidth(int32_t version, int32_t stored) {
  return version <= 420 && stored < -101 ? -101 : stored;
}

class HeaderWriter {
 public:
  HeaderWriter(ByteWriter& out, int32_t version, const JwwDocument& doc, FormatError* error)
      : out_(out), v_(version), doc_(doc), h_(doc.header), error_(error) {}

  bool Write() {
    out_.Bytes(kJwwSignature);
    out_.I32(v_);
    if (!CString(h_.memo, "memo")) return false;  // the memo keeps its bytes as they are
    out_.I32(h_.paper_size);
    out_.I32(h_.write_layer_group);
    LayerStates();
    out_.Fill(0, 14 * 4);  // reserved words
    for (int32_t s : h_.dim_settings) out_.I32(s);
    out_.I32(0);  // reserved word
    out_.I32(MaxDrawWidth(v_, h_.max_draw_width));
    PrinterAndGrid();
    if (!Names()) return false;
    SunAndViews();
    Jumps();
    PensAndLineTypes();
    VersionBlock();
    if (v_ >= 420 && !ExtendedTables()) return false;
    TextTypes();
    return true;
  }

 private:
  void LayerStates() {
    for (size_t g = 0; g < 16; ++g) {
      const TLayerGroup& lg = doc_.layer_groups[g];
      out_.I32(lg.state);
      out_.I32(lg.write_layer);
      out_.F64(lg.scale);
      out_.I32(lg.protection);
      for (size_t l = 0; l < 16; ++l) {
        const TLayer& layer = doc_.layers[g * 16 + l];
        out_.I32(layer.state);
        out_.I32(layer.protection);
      }
    }
  }

  void PrinterAndGrid() {
    out_.F64(h_.printer_origin_x), out_.F64(h_.printer_origin_y);
    out_.F64(h_.printer_scale);
    out_.I32(h_.printer_settings);
    out_.I32(h_.grid_mode);
    out_.F64(h_.grid_min_spacing), out_.F64(h_.grid_spacing_x), out_.F64(h_.grid_spacing_y);
    out_.F64(h_.grid_base_x), out_.F64(h_.grid_base_y);
  }

  bool Names() {
    for (size_t i = 0; i < doc_.layers.size(); ++i) {
      if (!Clean(doc_.layers[i].name, "layer name", i)) return false;
    }
    for (size_t g = 0; g < doc_.layer_groups.size(); ++g) {
      if (!Clean(doc_.layer_groups[g].name, "layer group name", g)) return false;
    }
    return true;
  }

  void SunAndViews() {
    out_.F64(h_.sun_level), out_.F64(h_.latitude);
    out_.I32(h_.time_range);
    out_.F64(h_.wall_shadow_level);
    if (v_ >= 300) out_.F64(h_.sky_level), out_.F64(h_.sky_radius);
    out_.I32(h_.unit_25d);
    out_.F64(h_.view_zoom), out_.F64(h_.view_x), out_.F64(h_.view_y);
    out_.F64(h_.range_zoom), out_.F64(h_.range_x), out_.F64(h_.range_y);
  }

  void Jumps() {
    if (v_ <= 230) {  // four entries without layer groups
      for (size_t i = 0; i < 4; ++i) {
        out_.F64(h_.jumps[i].zoom), out_.F64(h_.jumps[i].x), out_.F64(h_.jumps[i].y);
      }
      return;
    }
    for (const TJumpEntry& j : h_.jumps) {
      out_.F64(j.zoom), out_.F64(j.x), out_.F64(j.y);
      out_.I32(j.layer_group);
    }
    for (const TSpareJump& s : h_.spare_jumps) {
      out_.F64(s.a), out_.F64(s.b), out_.F64(s.c);
      out_.I32(s.d);
    }
  }

  void PensAndLineTypes() {
    for (double s : h_.parallel_spacings) out_.F64(s);
    out_.F64(h_.parallel_end_margin);
    for (const TPenColorEntry& p : doc_.pen_colors) out_.I32(p.screen_color), out_.I32(p.screen_width);
    for (const TPenColorEntry& p : doc_.pen_colors) {
      out_.I32(p.printer_color), out_.I32(p.printer_width);
      out_.F64(p.printer_point_radius);
    }
    for (const TLineTypeEntry& e : doc_.line_types) Ints(e.values);
    for (const TRandomLineEntry& e : doc_.random_lines) Ints(e.values);
    for (const TDoubleLineTypeEntry& e : doc_.double_line_types) Ints(e.values);
  }

  void VersionBlock() {
    Ints(h_.version_settings);
    out_.I32(PackedValue(v_, h_));
    if (v_ >= 223) {
      Ints(h_.group2_ints);
      for (double d : h_.group2_doubles) out_.F64(d);
    }
    if (v_ >= 225) {
      for (double d : h_.group3) out_.F64(d);
    }
    if (v_ >= 230) Ints(h_.group4);
  }

  bool ExtendedTables() {
    for (const TColorExNo& c : doc_.color_ex) out_.I32(c.color), out_.I32(c.width);
    for (size_t i = 0; i < doc_.color_ex.size(); ++i) {
      const TColorExNo& c = doc_.color_ex[i];
      if (!Clean(c.name, "extended colour name", i)) return false;
      out_.I32(c.printer_color), out_.I32(c.printer_width);
      out_.F64(c.printer_point_radius);
    }
    for (const TLineTypeExNo& lt : doc_.line_type_ex) Ints(lt.values);
    for (size_t i = 0; i < doc_.line_type_ex.size(); ++i) {
      const TLineTypeExNo& lt = doc_.line_type_ex[i];
      if (!Clean(lt.name, "extended line type name", i)) return false;
      out_.I32(lt.segment_count);
      for (double p : lt.pitches) out_.F64(p);
    }
    return true;
  }

  void TextTypes() {
    for (const TTextTypeEntry& t : doc_.text_types) {
      out_.F64(t.width), out_.F64(t.height), out_.F64(t.spacing);
      out_.I32(t.color);
    }
    const TTextSettings& t = h_.text_settings;
    out_.F64(t.width), out_.F64(t.height), out_.F64(t.spacing);
    out_.I32(t.color), out_.I32(t.type);
    out_.F64(t.tidy_line_spacing), out_.F64(t.tidy_char_count);
    out_.I32(t.offsets_on);
    for (double d : t.h_offsets) out_.F64(d);
    for (double d : t.v_offsets) out_.F64(d);
  }

  template <size_t N>
  void Ints(const std::array<int32_t, N>& values) {
    for (int32_t x : values) out_.I32(x);
  }

  // A name of a table: cleaned, and named in a failure by its table and place
  // (only then: the tables hold hundreds of names).
  bool Clean(const std::string& name, const char* what, size_t index) {
    std::string storage;
    if (WriteCString(out_, CleanedForWrite(name, storage), error_)) return true;
    if (error_) {
      std::string named = what;
      named += ' ';
      named += std::to_string(index);
      error_->what = named + ": " + error_->what;
    }
    return false;
  }

  bool CString(std::string_view text, const std::string& what) {
    if (WriteCString(out_, text, error_)) return true;
    if (error_) error_->what = what + ": " + error_->what;
    return false;
  }

  ByteWriter& out_;
  const int32_t v_;
  const JwwDocument& doc_;
  const THeader& h_;
  FormatError* error_;
};

}  // namespace

bool WriteJwwHeader(ByteWriter& out, int32_t version, const JwwDocument& doc,
                    FormatError* error) {
  return HeaderWriter(out, version, doc, error).Write();
}

}  // namespace varnelko
