#pragma once

// The three kinds of drawable record. Positions are view millimetres on the
// map surface at the current zoom, origin top-left, y downwards. The records
// are the data itself: the renderer draws them as they are and the object
// files store exactly these fields, in this order, except a label's takeoff
// membership, which the project file keeps in a section of its own.

#include <cstdint>
#include <string>

namespace planimo {

using Colour = std::uint32_t;  // 0x00BBGGRR, as the files store it

constexpr Colour Rgb(unsigned r, unsigned g, unsigned b) {
  return static_cast<Colour>((b & 0xFFu) << 16 | (g & 0xFFu) << 8 | (r & 0xFFu));
}

// Line style codes shared by every line record and the style menu.
enum LineStyle : std::int16_t {
  kStyleTransparent = 0,
  kStyleSolid = 1,
  kStyleDash = 2,
  kStyleDot = 3,
  kStyleDashDot = 4,
  kStyleDashDotDot = 5,
};

struct LineRecord {
  bool Visible = false;
  std::string Tag;
  float X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  Colour BorderColor = 0;
  std::int16_t BorderWidth = 1;
  std::int16_t BorderStyle = kStyleSolid;
  std::int16_t DrawMode = 13;  // copy pen; stored and read back, never changed
  bool operator==(const LineRecord&) const = default;
};

// A small closed figure; the program uses it only for dimension end markers.
struct ShapeRecord {
  bool Visible = false;
  std::string Tag;
  float Left = 0, Top = 0, Width = 0, Height = 0;
  Colour BackColor = Rgb(255, 255, 255);
  Colour FillColor = 0;
  Colour BorderColor = 0;
  std::int16_t BorderWidth = 1;
  std::int16_t FillStyle = 0;  // 0 solid fill
  std::int16_t BorderStyle = kStyleSolid;
  std::int16_t DrawMode = 13;
  std::int16_t Shape = 3;  // circle
  std::int16_t BackStyle = 0;
  bool operator==(const ShapeRecord&) const = default;
};

struct TextRecord {
  bool Visible = false;
  std::string Caption;
  std::string ToolTipText;
  std::string Tag;
  float Top = 0, Left = 0, Width = 0, Height = 0;
  std::int16_t Alignment = 0;
  std::int16_t BackStyle = 1;    // 0 transparent, 1 opaque
  std::int16_t BorderStyle = 0;  // 0 none, 1 single line
  Colour BackColor = Rgb(255, 255, 255);
  Colour ForeColor = Rgb(0, 0, 192);
  std::string FontName = "ＭＳ Ｐゴシック";
  float FontSize = 9.75f;
  bool FontItalic = true;
  bool FontBold = false;
  bool FontStrikethru = false;
  bool FontUnderline = false;
  // The takeoff item the object of this label belongs to (1.. into the
  // project's items, 0 none), and whether an area counts against its item.
  // Kept on the label so that the object keeps them wherever it moves.
  std::int16_t Item = 0;
  bool Deduction = false;
  bool operator==(const TextRecord&) const = default;
};

}  // namespace planimo
