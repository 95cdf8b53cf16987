#include "io/dxf_export.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <map>
#include <span>
#include <vector>

#include "io/atomic_write.h"
#include "io/dxf_layer_names.h"
#include "io/export_plane.h"
#include "io/kept_shapes.h"
#include "io/text_codec.h"

namespace planimo {

namespace {

constexpr double kPointsToMm = 25.4 / 72;
// A text's height in CAD is that of its capitals, about 0.7 of the font size.
constexpr double kCapHeight = 0.7;

// What was measured, for the plane's reference.
std::vector<PointF> ShapePoints(const std::vector<KeptShape>& shapes) {
  std::vector<PointF> out;
  for (const KeptShape& s : shapes) out.insert(out.end(), s.points.begin(), s.points.end());
  return out;
}

class DxfWriter {
 public:
  DxfWriter(const Document& doc, const std::vector<KeptShape>& shapes)
      : doc_(doc), st_(doc.state), plane_(PlaneFor(doc.state, ShapePoints(shapes))) {}

  void Group(int code, std::string_view value) {
    std::array<char, 8> c{};
    const auto r = std::to_chars(c.data(), c.data() + c.size(), code);
    out_.append(3 - std::min<std::size_t>(3, static_cast<std::size_t>(r.ptr - c.data())), ' ');
    out_.append(c.data(), r.ptr);
    out_ += "\r\n";
    out_ += value;
    out_ += "\r\n";
  }
  void Group(int code, int value) { Group(code, std::to_string(value)); }
  void Number(int code, double value) {
    std::array<char, 64> c{};
    const auto r = std::to_chars(c.data(), c.data() + c.size(), std::isfinite(value) ? value : 0.0,
                                 std::chars_format::fixed, 9);
    std::string_view s(c.data(), static_cast<std::size_t>(r.ptr - c.data()));
    while (s.size() > 1 && s.back() == '0') s.remove_suffix(1);
    if (s.back() == '.') s.remove_suffix(1);
    Group(code, s == "-0" ? "0" : s);
  }
  void Point(int code, PointD p) {
    Number(code, p.x);
    Number(code + 10, p.y);
    Number(code + 20, 0);
  }

  PointD Plane(PointF drawing) const { return DrawingToPlane(st_, plane_, drawing); }
  PointD Plane(float x, float y) const { return Plane(RecordToDrawing(doc_, x, y)); }
  double Scale() const { return PlaneScale(st_, plane_).y; }

  void Start(std::string_view entity, ExportKind kind, Colour colour) {
    Group(0, entity);
    Group(8, layer_.empty() ? Encoded(LayerName(kind)) : layer_);
    Group(62, NearestAci(colour));
  }
  void Line(ExportKind kind, const LineRecord& l) {
    if (!l.Visible || l.BorderStyle == kStyleTransparent) return;
    Start("LINE", kind, l.BorderColor);
    Point(10, Plane(l.X1, l.Y1));
    Point(11, Plane(l.X2, l.Y2));
  }
  void Marker(const ShapeRecord& m) {
    if (!m.Visible) return;
    Start("CIRCLE", ExportKind::Distance, m.BorderColor);
    Point(10, Plane(m.Left + m.Width / 2, m.Top + m.Height / 2));
    Number(40, m.Width / 2 / doc_.view.sngZoomPrev * PlaneScale(st_, plane_).x);
  }
  // A label's caption standing where the label's text begins; the drawing's
  // straightening turns it with everything else.
  void Text(ExportKind kind, const TextRecord& t) {
    if (!t.Visible || t.Caption.empty()) return;
    Start("TEXT", kind, t.ForeColor);
    const double height = t.FontSize * kPointsToMm;
    const float baseline =
        static_cast<float>(t.Top + (t.Height + height * kCapHeight * doc_.view.sngZoomPrev) / 2);
    Point(10, Plane(t.Left, baseline));
    Number(40, height * kCapHeight * Scale());
    Group(1, Encoded(t.Caption));
    Number(50, -st_.GE_dblHosei[1]);
  }
  void Polyline(const KeptShape& s) {
    Start("POLYLINE", s.kind, s.colour);
    Group(66, 1);
    Point(10, {0, 0});
    Group(70, s.kind == ExportKind::Area ? 1 : 0);
    for (const PointF p : s.points) {
      Group(0, "VERTEX");
      Group(8, layer_);
      Point(10, Plane(p));
    }
    Group(0, "SEQEND");
    Group(8, layer_);
  }
  void Position(const KeptShape& s) {
    Start("POINT", s.kind, s.colour);
    Point(10, Plane(s.points.front()));
    Text(s.kind, *s.label);
  }

  void Header() {
    Group(0, "SECTION");
    Group(2, "HEADER");
    Group(9, "$ACADVER");
    Group(1, "AC1009");
    Group(9, "$DWGCODEPAGE");
    Group(3, "ANSI_932");
    Group(9, "$INSBASE");
    Point(10, {0, 0});
    Group(0, "ENDSEC");
  }
  void Tables(const std::vector<KeptShape>& shapes) {
    Group(0, "SECTION");
    Group(2, "TABLES");
    Table("LTYPE", 1);
    Group(0, "LTYPE");
    Group(2, "CONTINUOUS");
    Group(70, 0);
    Group(3, "Solid line");
    Group(72, 65);
    Group(73, 0);
    Number(40, 0);
    Group(0, "ENDTAB");
    constexpr std::array kKinds{ExportKind::Distance, ExportKind::Route,   ExportKind::Area,
                                ExportKind::Leader,   ExportKind::Comment, ExportKind::Position};
    // Every kind has its layer; an item's objects have one of their own.
    std::vector<std::string> layers{"0"};
    for (const ExportKind k : kKinds) layers.push_back(Encoded(LayerName(k)));
    for (const KeptShape& s : shapes) {
      const std::string name = FullLayer(s);
      if (std::find(layers.begin(), layers.end(), name) == layers.end()) layers.push_back(name);
    }
    const std::vector<std::string> fitted = FitDxfLayerNames(layers);
    for (std::size_t i = 0; i < layers.size(); ++i) layerNames_[layers[i]] = fitted[i];
    Table("LAYER", static_cast<int>(fitted.size()));
    for (const std::string& name : fitted) Layer(name);
    Group(0, "ENDTAB");
    Table("STYLE", 1);
    Group(0, "STYLE");
    Group(2, "STANDARD");
    Group(70, 0);
    Number(40, 0);
    Number(41, 1);
    Number(50, 0);
    Group(71, 0);
    Number(42, 2.5);
    Group(3, "txt");
    Group(4, "");
    Group(0, "ENDTAB");
    Group(0, "ENDSEC");
    Group(0, "SECTION");
    Group(2, "BLOCKS");
    Group(0, "ENDSEC");
  }
  void Table(std::string_view name, int count) {
    Group(0, "TABLE");
    Group(2, name);
    Group(70, count);
  }
  void Layer(const std::string& name) {
    Group(0, "LAYER");
    Group(2, name);
    Group(70, 0);
    Group(62, 7);
    Group(6, "CONTINUOUS");
  }

  std::string FullLayer(const KeptShape& s) const {
    return Encoded(LayerName(s.kind, ShapeItem(doc_, s)));
  }
  // As the layer table names it (after Tables).
  std::string ShapeLayer(const KeptShape& s) const { return layerNames_.at(FullLayer(s)); }

  void Entities(const std::vector<KeptShape>& shapes) {
    const Collections& o = doc_.objects;
    Group(0, "SECTION");
    Group(2, "ENTITIES");
    for (const KeptShape& s : shapes) {
      layer_ = ShapeLayer(s);
      switch (s.kind) {
        case ExportKind::Distance:
          Line(s.kind, o.lineDsSave[s.index]);
          for (std::size_t e = 2 * s.index; e <= 2 * s.index + 1; ++e) {
            Line(s.kind, o.lineHojoSave[e]);
            if (e < o.shpSnpo.size()) Marker(o.shpSnpo[e]);
          }
          Text(s.kind, *s.label);
          break;
        case ExportKind::Route:
        case ExportKind::Area:
          Polyline(s);
          Text(s.kind, *s.label);
          break;
        case ExportKind::Leader:
          Line(s.kind, o.lineHikidashi[s.index]);
          break;
        case ExportKind::Comment:
          Text(s.kind, *s.label);
          break;
        case ExportKind::Position:
          Position(s);
          break;
      }
    }
    Group(0, "ENDSEC");
    Group(0, "EOF");
  }

  // CP932 as the header says, control characters as blanks; a character
  // without a CP932 form as the escape CAD programs read.
  static std::string Encoded(std::string_view utf8) {
    std::string plain(utf8);
    for (char& c : plain) {
      if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    }
    if (std::optional<std::string> b = EncodeCp932(plain)) return *b;
    std::string out;
    for (std::size_t i = 0; i < plain.size();) {
      const auto c = static_cast<unsigned char>(plain[i]);
      const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
      const std::string_view one = std::string_view(plain).substr(i, n);
      if (std::optional<std::string> b = EncodeCp932(one)) {
        out += *b;
      } else {
        char32_t cp = n == 1 ? c : c & (0x7Fu >> n);
        for (std::size_t j = 1; j < one.size(); ++j)
          cp = cp << 6 | (static_cast<unsigned char>(one[j]) & 0x3Fu);
        // The escape holds four hex digits: beyond them, a UTF-16 pair.
        if (cp > 0xFFFF) {
          out += Escape(0xD800 + ((cp - 0x10000) >> 10));
          out += Escape(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
          out += Escape(cp);
        }
      }
      i += n;
    }
    return out;
  }

  static std::string Escape(char32_t unit) {
    constexpr std::string_view kHex = "0123456789ABCDEF";
    std::string out = "\\U+";
    for (int shift = 12; shift >= 0; shift -= 4) out += kHex[unit >> shift & 0xF];
    return out;
  }

  std::string Take() { return std::move(out_); }

 private:
  const Document& doc_;
  const ProjectState& st_;
  TruePlane plane_;
  std::string out_;
  std::string layer_;                              // of the object being written
  std::map<std::string, std::string> layerNames_;  // full name -> as the file names it
};

}  // namespace

std::string DxfText(const Document& doc) {
  const std::vector<KeptShape> shapes = KeptShapes(doc);
  DxfWriter w(doc, shapes);
  w.Header();
  w.Tables(shapes);
  w.Entities(shapes);
  return w.Take();
}

std::optional<ErrorReport> WriteDxf(const Document& doc, const std::string& path) {
  const FileWrite file{path, DxfText(doc)};
  return WriteFilesAtomically(std::span<const FileWrite>(&file, 1), false);
}

}  // namespace planimo
