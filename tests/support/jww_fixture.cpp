#include "support/jww_fixture.h"

#include "formats/cstring.h"

namespace varnelko::test {
namespace {

// Writes header fields with running marker values.
class MarkedHeader {
 public:
  explicit MarkedHeader(ByteWriter& out) : out_(out) {}
  void I32s(int n) {
    for (int i = 0; i < n; ++i) out_.I32(++k_);
  }
  void F64s(int n) {
    for (int i = 0; i < n; ++i) out_.F64(++k_ + 0.25);
  }
  void Names(int n) {
    for (int i = 0; i < n; ++i) PutCString(out_, "n" + std::to_string(++k_));
  }

 private:
  ByteWriter& out_;
  int32_t k_ = 0;
};

}  // namespace

std::string JwwHeaderBytes(int32_t version, std::string_view memo) {
  ByteWriter out;
  out.Bytes("JwwData.");
  out.I32(version);
  PutCString(out, memo);
  MarkedHeader m(out);
  m.I32s(2);  // paper size, write layer group
  for (int g = 0; g < 16; ++g) {
    m.I32s(2);
    m.F64s(1);
    m.I32s(1 + 32);
  }
  m.I32s(14 + 5 + 1 + 1);
  m.F64s(3);
  m.I32s(2);
  m.F64s(5);
  m.Names(256 + 16);
  m.F64s(2);
  m.I32s(1);
  m.F64s(1);
  if (version >= 300) m.F64s(2);
  m.I32s(1);
  m.F64s(6);
  if (version > 230) {
    for (int i = 0; i < 10; ++i) {
      m.F64s(3);
      m.I32s(1);
    }
  } else {
    m.F64s(12);
  }
  m.F64s(11);
  m.I32s(20);
  for (int i = 0; i < 10; ++i) {
    m.I32s(2);
    m.F64s(1);
  }
  m.I32s(32 + 25 + 16);
  m.I32s(11);
  if (version >= 223) {
    m.I32s(5);
    m.F64s(5);
  }
  if (version >= 225) m.F64s(4);
  if (version >= 230) m.I32s(2);
  if (version >= 420) {
    m.I32s(2 * 257);
    for (int i = 0; i < 257; ++i) {
      m.Names(1);
      m.I32s(2);
      m.F64s(1);
    }
    m.I32s(4 * 33);
    for (int i = 0; i < 33; ++i) {
      m.Names(1);
      m.I32s(1);
      m.F64s(10);
    }
  }
  for (int i = 0; i < 10; ++i) {
    m.F64s(3);
    m.I32s(1);
  }
  m.F64s(3);
  m.I32s(2);
  m.F64s(2);
  m.I32s(1);
  m.F64s(6);
  return out.Take();
}

std::string EmptyJwwTail(int32_t version) {
  ByteWriter out;
  PutCount(out, 0);
  PutCount(out, 0);
  if (version >= 700) out.I32(0);
  return out.Take();
}

void PutCount(ByteWriter& out, int64_t count) {
  if (count >= 0 && count < 0xFFFF) {
    out.U16(static_cast<uint16_t>(count));
  } else {
    out.U16(0xFFFF);
    out.I32(static_cast<int32_t>(count));
  }
}

void PutNewClass(ByteWriter& out, std::string_view name) {
  out.U16(0xFFFF);
  out.U16(600);
  out.U16(static_cast<uint16_t>(name.size()));
  out.Bytes(name);
}

void PutClassRef(ByteWriter& out, uint32_t number) {
  if (number < 0x7FFF) {
    out.U16(static_cast<uint16_t>(0x8000 | number));
  } else {
    out.U16(0x7FFF);
    out.I32(static_cast<int32_t>(0x80000000u | number));
  }
}

void PutCString(ByteWriter& out, std::string_view text) { WriteCString(out, text); }

void PutEntHeader(ByteWriter& out, int32_t version, const TEntHeader& h) {
  out.I32(h.group);
  out.U8(h.pen_style);
  out.U16(h.pen_color);
  if (version >= 351) out.U16(h.pen_width);
  out.U16(h.layer);
  out.U16(h.layer_group);
  out.U16(h.flags);
}

void PutLine(ByteWriter& out, int32_t version, const TEntSen& e) {
  PutEntHeader(out, version, e.header);
  for (double v : {e.start_x, e.start_y, e.end_x, e.end_y}) out.F64(v);
}

void PutArc(ByteWriter& out, int32_t version, const TEntEnko& e) {
  PutEntHeader(out, version, e.header);
  for (double v : {e.center_x, e.center_y, e.radius, e.start_angle, e.arc_angle,
                   e.tilt_angle, e.flatness}) {
    out.F64(v);
  }
  out.I32(e.full_circle);
}

void PutPoint(ByteWriter& out, int32_t version, const TEntTen& e) {
  PutEntHeader(out, version, e.header);
  out.F64(e.x);
  out.F64(e.y);
  out.I32(e.temporary);
  if (e.header.pen_style == 100) {
    out.I32(e.code);
    out.F64(e.angle);
    out.F64(e.scale);
  }
}

void PutText(ByteWriter& out, int32_t version, const TEntMoji& e) {
  PutEntHeader(out, version, e.header);
  for (double v : {e.start_x, e.start_y, e.end_x, e.end_y}) out.F64(v);
  out.I32(e.text_type);
  for (double v : {e.size_x, e.size_y, e.spacing, e.angle}) out.F64(v);
  PutCString(out, e.font);
  PutCString(out, e.text);
}

void PutDimension(ByteWriter& out, int32_t version, const TEntSunpo& e) {
  PutEntHeader(out, version, e.header);
  PutLine(out, version, e.line);
  PutText(out, version, e.text);
  if (version < 420) return;
  out.I16(e.sxf_mode);
  for (const TEntSen& aux : e.aux_lines) PutLine(out, version, aux);
  for (const TEntTen& point : e.points) PutPoint(out, version, point);
}

void PutSolid(ByteWriter& out, int32_t version, const TEntSolid& e) {
  PutEntHeader(out, version, e.header);
  for (const TSolidCorner& c : e.corners) {
    out.F64(c.x);
    out.F64(c.y);
  }
  if (e.header.pen_color == 10) out.I32(e.color);
}

void PutBlock(ByteWriter& out, int32_t version, const TEntBlock& e) {
  PutEntHeader(out, version, e.header);
  for (double v : {e.base_x, e.base_y, e.scale_x, e.scale_y, e.angle}) out.F64(v);
  out.I32(e.block_number);
}

TEntSen SampleLine(int seed) {
  TEntSen e;
  e.header = {seed, 1, static_cast<uint16_t>(seed % 9 + 1), 0, 3, 2, 0};
  e.start_x = seed + 0.5;
  e.start_y = -seed;
  e.end_x = seed * 2.0;
  e.end_y = 1e6 + seed;
  return e;
}

}  // namespace varnelko::test
