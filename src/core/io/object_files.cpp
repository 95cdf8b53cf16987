#include "io/object_files.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>
#include <tuple>
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
  // At most 7 significant digits: a position computed at another zoom is
  // stored as "119.0742", not with the tail of its last binary digits.
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

// A record's lines in its file, in order: one member a line.
constexpr auto Lines(const TextRecord&) {
  using R = TextRecord;
  return std::tuple{&R::Visible,   &R::Caption,        &R::ToolTipText,  &R::Tag,
                    &R::Top,       &R::Left,           &R::Width,        &R::Height,
                    &R::Alignment, &R::BackStyle,      &R::BorderStyle,  &R::BackColor,
                    &R::ForeColor, &R::FontName,       &R::FontSize,     &R::FontItalic,
                    &R::FontBold,  &R::FontStrikethru, &R::FontUnderline};
}
constexpr auto Lines(const LineRecord&) {
  using R = LineRecord;
  return std::tuple{&R::Visible, &R::Tag,         &R::X1,          &R::Y1,          &R::X2,
                    &R::Y2,      &R::BorderColor, &R::BorderWidth, &R::BorderStyle, &R::DrawMode};
}
constexpr auto Lines(const ShapeRecord&) {
  using R = ShapeRecord;
  return std::tuple{&R::Visible,   &R::Tag,         &R::Left,      &R::Top,         &R::Width,
                    &R::Height,    &R::BackColor,   &R::FillColor, &R::BorderColor, &R::BorderWidth,
                    &R::FillStyle, &R::BorderStyle, &R::DrawMode,  &R::Shape,       &R::BackStyle};
}
template <class R>
constexpr std::size_t kLineCount = std::tuple_size_v<decltype(Lines(R{}))>;

void PutValue(LineWriter& w, bool v) { w.Bool(v); }
void PutValue(LineWriter& w, const std::string& v) { w.Text(v); }
void PutValue(LineWriter& w, float v) { w.Single(v); }
void PutValue(LineWriter& w, std::int16_t v) { w.Integer(v); }
void PutValue(LineWriter& w, Colour v) { w.Long(v); }

template <class R>
void Put(LineWriter& w, const R& r) {
  std::apply([&](auto... m) { (PutValue(w, r.*m), ...); }, Lines(r));
}

template <class R>
void PutAll(LineWriter& w, const std::vector<R>& c) {
  for (const R& r : c) Put(w, r);
}

// A section that ends at its collection's spare. The spare goes out hidden
// whatever it shows: a leader line still being placed in it is no part of
// the drawing yet, and a shown record there would run the section on into
// the next one when the file is read.
template <class R>
void PutClosed(LineWriter& w, const std::vector<R>& c) {
  if (c.empty()) return;
  for (std::size_t i = 0; i + 1 < c.size(); ++i) Put(w, c[i]);
  R spare = c.back();
  spare.Visible = false;
  Put(w, spare);
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
        end_ = src_.lineTooLong() ? ReadEnd::LongLine : ReadEnd::Cut;
        return Got::Damage;
      }
    }
    return Got::Record;
  }

  // Line i as a value; a failure marks the read as ended by a bad value.
  bool Value(std::size_t i, std::string& v) {
    v = lines_[i];
    return true;
  }
  bool Value(std::size_t i, bool& v) { return Set(FileBoolean(lines_[i]), v); }
  bool Value(std::size_t i, float& v) { return Set(FileSingle(lines_[i]), v); }
  bool Value(std::size_t i, std::int16_t& v) { return Set(FileInteger(lines_[i]), v); }
  // Colours are stored as the signed decimal of their 32 bits.
  bool Value(std::size_t i, Colour& v) {
    std::int32_t n = 0;
    if (!Set(FileLong(lines_[i]), n)) return false;
    v = static_cast<Colour>(n);
    return true;
  }

  ReadEnd end() const { return end_; }
  void TooMany() { end_ = ReadEnd::TooMany; }

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

template <class R>
Got Get(RecordReader& in, R& r) {
  const Got g = in.Take(kLineCount<R>);
  if (g != Got::Record) return g;
  std::size_t i = 0;
  const bool ok = std::apply([&](auto... m) { return (in.Value(i++, r.*m) && ...); }, Lines(r));
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
      in.TooMany();
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

// A comment or position section of at most `most` records: an invisible
// record after the first ends it and is handed back in `ender`, not kept.
bool ReadOpenSection(RecordReader& in, std::vector<TextRecord>& c, const TextRecord& design,
                     std::size_t most, std::optional<TextRecord>& ender) {
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
    if (got.size() > most) {
      in.TooMany();
      ok = false;
      break;
    }
  }
  if (got.size() > most) got.resize(most);
  c = std::move(got);
  return ok;
}

}  // namespace

std::string FormatTextFile(const Collections& o) {
  LineWriter w(19 * (o.lblKyori.size() + o.lblKeiroS.size() + o.lblMensekiS.size() + o.lblMoji.size() +
                     o.lblKeiIdoS.size()));
  PutClosed(w, o.lblKyori);
  PutClosed(w, o.lblKeiroS);
  PutClosed(w, o.lblMensekiS);
  PutAll(w, o.lblMoji);
  PutAll(w, o.lblKeiIdoS);
  return w.Take();
}

std::string FormatLineFile(const Collections& o) {
  LineWriter w(10 * (o.lineHikidashi.size() + o.lineHojoSave.size() + o.lineDsSave.size() +
                     o.linePS.size()));
  PutClosed(w, o.lineHikidashi);
  PutClosed(w, o.lineHojoSave);
  PutClosed(w, o.lineDsSave);
  PutClosed(w, o.linePS);
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
  // The comment list holds its template and comments up to index kMaxIndex;
  // the positions are stored without theirs, which goes back in front.
  constexpr auto kListSize = static_cast<std::size_t>(kMaxIndex) + 1;
  const bool ok = ReadSpareSection(in, o.lblKyori, design) &&
                  ReadSpareSection(in, o.lblKeiroS, design) &&
                  ReadSpareSection(in, o.lblMensekiS, design) &&
                  ReadOpenSection(in, o.lblMoji, fresh.lblMoji.front(), kListSize, positionTemplate) &&
                  ReadOpenSection(in, positions, design, kListSize - 1, unused);
  (void)ok;
  if (o.lblMoji.empty()) o.lblMoji = fresh.lblMoji;
  // The template the comment section consumed goes back in front of the
  // stored positions, so the first of them is numbered, drawn and exported
  // like the others.
  TextRecord templ = positionTemplate.value_or(fresh.lblKeiIdoS.front());
  templ.Visible = false;
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
  const bool ok = ReadSpareSection(in, o.lineHikidashi, design) &&
                  ReadSpareSection(in, o.lineHojoSave, design) &&
                  ReadSpareSection(in, o.lineDsSave, design) &&
                  ReadSpareSection(in, o.linePS, design);
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
    const ShapeRecord design =
        o.shpSnpo.empty() ? Collections{}.shpSnpo.front() : o.shpSnpo.front();
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
