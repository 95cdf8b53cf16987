#include "io/object_files.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "geometry/number_format.h"
#include "io/line_source.h"
#include "io/value_text.h"

namespace planimo {
namespace {

// ---- writing ---------------------------------------------------------------

class LineWriter {
 public:
  // Lines of values average well under 16 bytes; a long caption now and then
  // only grows the buffer once.
  explicit LineWriter(std::size_t lines) { out_.reserve(lines * 16); }

  // A value is the whole line: a line break inside would shift every later
  // record, so it is stored as a blank.
  void Text(std::string_view s) {
    const bool oneLine = std::none_of(s.begin(), s.end(), [](char c) { return c == '\r' || c == '\n'; });
    if (oneLine) {
      out_ += s;
    } else {
      for (const char c : s) out_ += (c == '\r' || c == '\n') ? ' ' : c;
    }
    out_ += "\r\n";
  }
  // Numbers and Booleans never hold a line break.
  void Bool(bool v) { Line(BooleanText(v)); }
  void Single(float v) { Line(SingleText(v)); }
  void Integer(std::int16_t v) { Whole(v); }
  void Long(Colour v) { Whole(static_cast<std::int32_t>(v)); }
  std::string Take() { return std::move(out_); }

 private:
  void Line(std::string_view s) { out_.append(s).append("\r\n", 2); }
  void Whole(std::int32_t v) {
    std::array<char, 16> digits;
    Line(std::string_view(digits.data(), std::to_chars(digits.data(), digits.data() + digits.size(), v).ptr));
  }

  std::string out_;
};

void Put(LineWriter& w, const TextRecord& r) {
  w.Bool(r.Visible);
  w.Text(r.Caption);
  w.Text(r.ToolTipText);
  w.Text(r.Tag);
  w.Single(r.Top);
  w.Single(r.Left);
  w.Single(r.Width);
  w.Single(r.Height);
  w.Integer(r.Alignment);
  w.Integer(r.BackStyle);
  w.Integer(r.BorderStyle);
  w.Long(r.BackColor);
  w.Long(r.ForeColor);
  w.Text(r.FontName);
  w.Single(r.FontSize);
  w.Bool(r.FontItalic);
  w.Bool(r.FontBold);
  w.Bool(r.FontStrikethru);
  w.Bool(r.FontUnderline);
}

void Put(LineWriter& w, const LineRecord& r) {
  w.Bool(r.Visible);
  w.Text(r.Tag);
  w.Single(r.X1);
  w.Single(r.Y1);
  w.Single(r.X2);
  w.Single(r.Y2);
  w.Long(r.BorderColor);
  w.Integer(r.BorderWidth);
  w.Integer(r.BorderStyle);
  w.Integer(r.DrawMode);
}

void Put(LineWriter& w, const ShapeRecord& r) {
  w.Bool(r.Visible);
  w.Text(r.Tag);
  w.Single(r.Left);
  w.Single(r.Top);
  w.Single(r.Width);
  w.Single(r.Height);
  w.Long(r.BackColor);
  w.Long(r.FillColor);
  w.Long(r.BorderColor);
  w.Integer(r.BorderWidth);
  w.Integer(r.FillStyle);
  w.Integer(r.BorderStyle);
  w.Integer(r.DrawMode);
  w.Integer(r.Shape);
  w.Integer(r.BackStyle);
}

template <class R>
void PutAll(LineWriter& w, const std::vector<R>& c) {
  for (const R& r : c) Put(w, r);
}

// ---- reading ---------------------------------------------------------------

enum class Got { End, Record, Damage };

class RecordReader {
 public:
  explicit RecordReader(std::istream& in) : src_(in) {}

  // Takes the next n lines: End when the file ends before the first of them,
  // Damage when it ends inside them.
  Got Take(std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
      if (!src_.Next(lines_[i])) {
        if (i == 0 && !src_.damaged()) return Got::End;
        end_ = ReadEnd::Cut;
        return Got::Damage;
      }
    }
    return Got::Record;
  }
  const std::string& operator[](std::size_t i) const { return lines_[i]; }

  // Conversions; a failure marks the read as ended by a bad value.
  bool Bool(std::size_t i, bool& v) { return Set(FileBoolean(lines_[i]), v); }
  bool Single(std::size_t i, float& v) { return Set(FileSingle(lines_[i]), v); }
  bool Integer(std::size_t i, std::int16_t& v) { return Set(FileInteger(lines_[i]), v); }
  // Colours are stored as the signed decimal of their 32 bits.
  bool Long(std::size_t i, Colour& v) {
    std::int32_t n = 0;
    if (!Set(FileLong(lines_[i]), n)) return false;
    v = static_cast<Colour>(n);
    return true;
  }

  ReadEnd end() const { return end_; }
  void Fail() { end_ = ReadEnd::BadValue; }

 private:
  template <class T, class U>
  bool Set(const std::optional<T>& got, U& v) {
    if (!got) {
      end_ = ReadEnd::BadValue;
      return false;
    }
    v = static_cast<U>(*got);
    return true;
  }

  LineSource src_;
  std::array<std::string, 19> lines_;
  ReadEnd end_ = ReadEnd::Complete;
};

Got Get(RecordReader& in, TextRecord& r) {
  const Got g = in.Take(19);
  if (g != Got::Record) return g;
  r.Caption = in[1];
  r.ToolTipText = in[2];
  r.Tag = in[3];
  r.FontName = in[13];
  const bool ok = in.Single(4, r.Top) && in.Single(5, r.Left) && in.Single(6, r.Width) &&
                  in.Single(7, r.Height) && in.Integer(8, r.Alignment) && in.Integer(9, r.BackStyle) &&
                  in.Integer(10, r.BorderStyle) && in.Long(11, r.BackColor) && in.Long(12, r.ForeColor) &&
                  in.Single(14, r.FontSize) && in.Bool(15, r.FontItalic) && in.Bool(16, r.FontBold) &&
                  in.Bool(17, r.FontStrikethru) && in.Bool(18, r.FontUnderline) && in.Bool(0, r.Visible);
  return ok ? Got::Record : Got::Damage;
}

Got Get(RecordReader& in, LineRecord& r) {
  const Got g = in.Take(10);
  if (g != Got::Record) return g;
  r.Tag = in[1];
  const bool ok = in.Bool(0, r.Visible) && in.Single(2, r.X1) && in.Single(3, r.Y1) && in.Single(4, r.X2) &&
                  in.Single(5, r.Y2) && in.Long(6, r.BorderColor) && in.Integer(7, r.BorderWidth) &&
                  in.Integer(8, r.BorderStyle) && in.Integer(9, r.DrawMode);
  return ok ? Got::Record : Got::Damage;
}

Got Get(RecordReader& in, ShapeRecord& r) {
  const Got g = in.Take(15);
  if (g != Got::Record) return g;
  r.Tag = in[1];
  const bool ok = in.Bool(0, r.Visible) && in.Single(2, r.Left) && in.Single(3, r.Top) &&
                  in.Single(4, r.Width) && in.Single(5, r.Height) && in.Long(6, r.BackColor) &&
                  in.Long(7, r.FillColor) && in.Long(8, r.BorderColor) && in.Integer(9, r.BorderWidth) &&
                  in.Integer(10, r.FillStyle) && in.Integer(11, r.BorderStyle) && in.Integer(12, r.DrawMode) &&
                  in.Integer(13, r.Shape) && in.Integer(14, r.BackStyle);
  return ok ? Got::Record : Got::Damage;
}

// A section of a collection closed by its spare. Returns false on damage;
// the collection then keeps the complete records and gets a spare.
template <class R>
bool ReadSpareSection(RecordReader& in, std::vector<R>& c, const R& design) {
  std::vector<R> got;
  bool ok = true;
  bool closed = false;
  for (;;) {
    R r = design;
    const Got g = Get(in, r);
    if (g == Got::End) break;
    if (g == Got::Damage) {
      ok = false;
      break;
    }
    got.push_back(std::move(r));
    if (!got.back().Visible) {
      closed = true;
      break;
    }
    if (got.size() > static_cast<std::size_t>(kMaxIndex)) {
      in.Fail();
      ok = false;
      break;
    }
  }
  if (!closed) {
    if (got.size() > static_cast<std::size_t>(kMaxIndex)) got.resize(kMaxIndex);
    AppendSpare(got);
  }
  c = std::move(got);
  return ok;
}

// A comment or position section: an invisible record after the first ends
// it and is handed back in `ender`, not kept.
bool ReadOpenSection(RecordReader& in, std::vector<TextRecord>& c, const TextRecord& design,
                     std::optional<TextRecord>& ender) {
  std::vector<TextRecord> got;
  bool ok = true;
  for (;;) {
    TextRecord r = design;
    const Got g = Get(in, r);
    if (g == Got::End) break;
    if (g == Got::Damage) {
      ok = false;
      break;
    }
    if (!r.Visible && !got.empty()) {
      ender = std::move(r);
      break;
    }
    got.push_back(std::move(r));
    if (got.size() > static_cast<std::size_t>(kMaxIndex)) {
      in.Fail();
      ok = false;
      break;
    }
  }
  if (got.size() > static_cast<std::size_t>(kMaxIndex)) got.resize(kMaxIndex);
  c = std::move(got);
  return ok;
}

}  // namespace

std::string FormatTextFile(const Collections& o) {
  LineWriter w(19 * (o.lblKyori.size() + o.lblKeiroS.size() + o.lblMensekiS.size() + o.lblMoji.size() +
                     o.lblKeiIdoS.size()));
  PutAll(w, o.lblKyori);
  PutAll(w, o.lblKeiroS);
  PutAll(w, o.lblMensekiS);
  PutAll(w, o.lblMoji);
  PutAll(w, o.lblKeiIdoS);
  return w.Take();
}

std::string FormatLineFile(const Collections& o) {
  LineWriter w(10 * (o.lineHikidashi.size() + o.lineHojoSave.size() + o.lineDsSave.size() + o.linePS.size()));
  PutAll(w, o.lineHikidashi);
  PutAll(w, o.lineHojoSave);
  PutAll(w, o.lineDsSave);
  PutAll(w, o.linePS);
  return w.Take();
}

std::string FormatShapeFile(const Collections& o) {
  // One marker per extension line: the markers run in step with them.
  const std::size_t n = o.lineHojoSave.size();
  LineWriter w(15 * n);
  for (std::size_t i = 0; i < n; ++i) {
    if (i < o.shpSnpo.size()) {
      Put(w, o.shpSnpo[i]);
    } else {
      ShapeRecord spare = o.shpSnpo.front();
      spare.Visible = false;
      Put(w, spare);
    }
  }
  return w.Take();
}

ReadEnd ReadTextObjects(std::istream& bytes, Collections& o) {
  const Collections fresh;
  o.lblKyori = fresh.lblKyori;
  o.lblKeiroS = fresh.lblKeiroS;
  o.lblMensekiS = fresh.lblMensekiS;
  o.lblMoji = fresh.lblMoji;
  o.lblKeiIdoS = fresh.lblKeiIdoS;

  RecordReader in(bytes);
  const TextRecord& design = fresh.lblKyori.front();
  std::optional<TextRecord> positionTemplate;
  std::optional<TextRecord> unused;
  std::vector<TextRecord> positions;
  const bool ok = ReadSpareSection(in, o.lblKyori, design) && ReadSpareSection(in, o.lblKeiroS, design) &&
                  ReadSpareSection(in, o.lblMensekiS, design) &&
                  ReadOpenSection(in, o.lblMoji, fresh.lblMoji.front(), positionTemplate) &&
                  ReadOpenSection(in, positions, design, unused);
  (void)ok;
  if (o.lblMoji.empty()) o.lblMoji = fresh.lblMoji;
  // The template the comment section consumed goes back in front of the
  // stored positions, so the first of them is numbered, drawn and exported
  // like the others.
  TextRecord templ = positionTemplate.value_or(fresh.lblKeiIdoS.front());
  templ.Visible = false;
  if (positions.size() > static_cast<std::size_t>(kMaxIndex)) positions.resize(kMaxIndex);
  o.lblKeiIdoS.clear();
  o.lblKeiIdoS.reserve(positions.size() + 1);
  o.lblKeiIdoS.push_back(std::move(templ));
  for (TextRecord& p : positions) o.lblKeiIdoS.push_back(std::move(p));
  return in.end();
}

ReadEnd ReadLineObjects(std::istream& bytes, Collections& o) {
  const Collections fresh;
  o.lineHikidashi = fresh.lineHikidashi;
  o.lineHojoSave = fresh.lineHojoSave;
  o.lineDsSave = fresh.lineDsSave;
  o.linePS = fresh.linePS;
  RecordReader in(bytes);
  const LineRecord& design = fresh.lineDsSave.front();
  const bool ok = ReadSpareSection(in, o.lineHikidashi, design) && ReadSpareSection(in, o.lineHojoSave, design) &&
                  ReadSpareSection(in, o.lineDsSave, design) && ReadSpareSection(in, o.linePS, design);
  (void)ok;
  return in.end();
}

ReadEnd ReadShapeObjects(std::istream& bytes, Collections& o) {
  const Collections fresh;
  o.shpSnpo = fresh.shpSnpo;
  RecordReader in(bytes);
  ReadSpareSection(in, o.shpSnpo, fresh.shpSnpo.front());
  return in.end();
}

void RepairDistanceLinks(Collections& o) {
  // The kept objects of each collection: everything before the spare.
  const auto kept = [](const auto& c) { return c.empty() ? std::size_t{0} : c.size() - 1; };
  std::size_t n = std::min({kept(o.lblKyori), kept(o.lineDsSave), kept(o.lineHojoSave) / 2});
  // Kept objects stand before the first invisible one (reading stops there).
  for (std::size_t k = 0; k < n; ++k) {
    if (!o.lblKyori[k].Visible || !o.lineDsSave[k].Visible) n = k;
  }
  const auto close = [](auto& c, std::size_t count) {
    c.resize(count);
    AppendSpare(c);
  };
  if (kept(o.lblKyori) != n) close(o.lblKyori, n);
  if (kept(o.lineDsSave) != n) close(o.lineDsSave, n);
  if (kept(o.lineHojoSave) != 2 * n) close(o.lineHojoSave, 2 * n);
  if (kept(o.shpSnpo) == 2 * n) return;
  if (o.shpSnpo.size() > 2 * n) {
    o.shpSnpo.resize(2 * n);
  } else {
    const ShapeRecord design = o.shpSnpo.empty() ? Collections{}.shpSnpo.front() : o.shpSnpo.front();
    while (o.shpSnpo.size() < 2 * n) {
      const LineRecord& end = o.lineHojoSave[o.shpSnpo.size()];
      ShapeRecord m = design;
      m.Visible = true;
      m.Left = end.X2 - m.Width / 2;
      m.Top = end.Y2 - m.Height / 2;
      o.shpSnpo.push_back(m);
    }
  }
  AppendSpare(o.shpSnpo);
}

}  // namespace planimo
