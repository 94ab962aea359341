#include "document/ini_file.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "formats/file_io.h"

namespace varnelko {
namespace {

// One line of the file: where its text lies and where its line break ends.
// Edits replace or insert whole lines and copy every other byte as it was.
struct Line {
  size_t begin = 0;
  size_t end = 0;       // end of the text, before CR LF or LF
  size_t next = 0;      // start of the following line
};

enum class LineKind { kOther, kSection, kKey };

struct ParsedLine {
  LineKind kind = LineKind::kOther;
  std::string_view name;   // section or key name, trimmed
  std::string_view value;  // key value, trimmed
  bool has_equals = false;
  size_t value_begin = 0;  // offset in the file of the value's first non-blank
};

constexpr std::string_view kBlanks = " \t\r\v\f";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view s) {
  const size_t first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  size_t pos = text.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
  while (pos < text.size()) {
    Line line;
    line.begin = pos;
    const size_t lf = text.find('\n', pos);
    if (lf == std::string_view::npos) {
      line.end = line.next = text.size();  // the last line, without a break
    } else {
      line.next = lf + 1;
      line.end = lf > line.begin && text[lf - 1] == '\r' ? lf - 1 : lf;
    }
    lines.push_back(line);
    pos = line.next;
  }
  return lines;
}

// "[name]" is a section (blanks around the brackets and the name ignored),
// ";..." a comment, "key=value" a key, and a bare word a key with no value.
ParsedLine ParseLine(std::string_view text, const Line& line) {
  ParsedLine parsed;
  const std::string_view raw = text.substr(line.begin, line.end - line.begin);
  const std::string_view body = Trim(raw);
  if (body.empty() || body[0] == ';') return parsed;
  if (body[0] == '[') {
    const size_t close = body.rfind(']');
    if (close == std::string_view::npos) return parsed;
    parsed.kind = LineKind::kSection;
    parsed.name = Trim(body.substr(1, close - 1));
    return parsed;
  }
  parsed.kind = LineKind::kKey;
  const size_t eq = raw.find('=');
  parsed.name = Trim(raw.substr(0, eq));
  if (eq == std::string_view::npos) return parsed;
  parsed.has_equals = true;
  const std::string_view after = raw.substr(eq + 1);
  const size_t first = after.find_first_not_of(kBlanks);
  parsed.value_begin = line.begin + eq + 1 + (first == std::string_view::npos ? after.size() : first);
  parsed.value = Trim(after);
  return parsed;
}

// Where a section lies in the file: its header line and the key lines up to
// the next section. The first section of a name is the one that counts.
struct SectionSpan {
  std::optional<size_t> header;
  std::optional<size_t> last_key;
  std::optional<size_t> key;  // the first line holding the wanted key
  ParsedLine key_line;
};

SectionSpan FindKey(std::string_view text, const std::vector<Line>& lines,
                    std::string_view section, std::string_view key) {
  SectionSpan span;
  for (size_t i = 0; i < lines.size(); ++i) {
    const ParsedLine parsed = ParseLine(text, lines[i]);
    if (parsed.kind == LineKind::kSection) {
      if (span.header) break;
      if (SameName(parsed.name, section)) span.header = i;
    } else if (parsed.kind == LineKind::kKey && span.header) {
      span.last_key = i;
      if (!span.key && SameName(parsed.name, key)) {
        span.key = i;
        span.key_line = parsed;
      }
    }
  }
  return span;
}

// A value in matching quotes is read without them.
std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

bool IsUtf8Continuation(char c) { return (static_cast<uint8_t>(c) & 0xC0) == 0x80; }

// Cuts to at most `limit` bytes without splitting a UTF-8 character. A UTF-8
// character has at most three continuation bytes; a longer run is no UTF-8
// (a hand-edited file in code page 932) and is cut at the limit, not lost.
std::string_view CutUtf8(std::string_view value, size_t limit) {
  if (value.size() <= limit) return value;
  size_t cut = limit;
  while (cut > 0 && limit - cut < 3 && IsUtf8Continuation(value[cut])) --cut;
  return value.substr(0, IsUtf8Continuation(value[cut]) ? limit : cut);
}

std::string_view LineBreakOf(std::string_view text) {
  const size_t lf = text.find('\n');
  if (lf == std::string_view::npos) return "\n";
  return lf > 0 && text[lf - 1] == '\r' ? "\r\n" : "\n";
}

// A line break or a NUL inside a name or value would change the file's
// structure (a value could add keys or sections of its own), a "=" in a key
// or a "]" in a section name would be read back as something else.
bool BreaksLines(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool SafeToWrite(std::string_view section, std::string_view key, std::string_view value) {
  const std::string_view name = Trim(key);
  if (Trim(section).empty() || name.empty()) return false;
  if (BreaksLines(section) || BreaksLines(key) || BreaksLines(value)) return false;
  return section.find(']') == std::string_view::npos && key.find('=') == std::string_view::npos &&
         name[0] != ';' && name[0] != '[';
}

std::string WithKey(const std::string& text, const std::vector<Line>& lines,
                    const SectionSpan& span, std::string_view section, std::string_view key,
                    std::string_view value) {
  const std::string_view br = LineBreakOf(text);
  const std::string key_line = std::string(Trim(key)) + "=" + std::string(value);
  std::string out = text;
  if (span.key) {
    // Only the value changes; the key as spelt and the blanks before the
    // value stay. A bare key gains its "=".
    const Line& line = lines[*span.key];
    if (!span.key_line.has_equals) {
      out.replace(line.begin, line.end - line.begin, key_line);
    } else {
      const size_t from = span.key_line.value_begin;
      out.replace(from, line.end - from, value);
    }
    return out;
  }
  if (span.header) {
    const Line& after = lines[span.last_key.value_or(*span.header)];
    const bool has_break = after.next > after.end;
    out.insert(after.next, (has_break ? "" : std::string(br)) + key_line + std::string(br));
    return out;
  }
  if (!out.empty() && out.back() != '\n') out += br;
  if (!lines.empty() && lines.back().end > lines.back().begin) out += br;
  out += "[" + std::string(Trim(section)) + "]" + std::string(br) + key_line + std::string(br);
  return out;
}

}  // namespace

bool IniReadStr(std::string_view section, std::string_view key, std::string& out, int size,
                const std::filesystem::path& ini_path) {
  out.clear();
  std::string text;
  if (size <= 0 || !ReadWholeFile(ini_path, text)) return false;
  const std::vector<Line> lines = SplitLines(text);
  const SectionSpan span = FindKey(text, lines, Trim(section), Trim(key));
  if (!span.key) return false;
  out = std::string(CutUtf8(Unquote(span.key_line.value), static_cast<size_t>(size - 1)));
  return !out.empty();
}

bool IniWriteStr(std::string_view section, std::string_view key, std::string_view value,
                 const std::filesystem::path& ini_path) {
  if (!SafeToWrite(section, key, value)) return false;
  std::string text;
  std::error_code ec;
  if (std::filesystem::exists(ini_path, ec) && !ReadWholeFile(ini_path, text)) return false;
  const std::vector<Line> lines = SplitLines(text);
  const SectionSpan span = FindKey(text, lines, Trim(section), Trim(key));
  return WriteFileAtomically(ini_path, WithKey(text, lines, span, section, key, value));
}

}  // namespace varnelko
