#pragma once

// A drawing with one of every kind of kept object, for the bitmap and print
// tests: a distance (extension lines, dimension line, markers, label with
// its direction as tooltip), a route of two outline segments, a leader line,
// a comment text and a position label. Coordinates are surface millimetres.

#include <string>

#include "../record_builders.h"
#include "model/document.h"

namespace planimo::print_scenario {

inline LineRecord Line(float x1, float y1, float x2, float y2, Colour colour, std::int16_t width,
                       const std::string& tag = {}) {
  LineRecord l = test::ShownLine(x1, y1, x2, y2, tag);
  l.BorderColor = colour;
  l.BorderWidth = width;
  return l;
}

inline TextRecord Label(const std::string& caption, const std::string& tooltip, float left, float top,
                        Colour fore, const std::string& tag = {}) {
  TextRecord t = test::ShownLabel(caption, left, top, tooltip, tag);
  t.ForeColor = fore;
  t.BackStyle = 0;  // transparent on screen: printed opaque all the same
  t.BackColor = Rgb(255, 255, 0);
  t.BorderStyle = 1;
  return t;
}

// Element 0 of each list is filled and a spare appended behind it.
inline void Fill(Document& doc) {
  Collections& o = doc.objects;
  o.lineHojoSave[0] = Line(20, 40, 20, 25, Rgb(0, 0, 255), 1);
  AppendSpare(o.lineHojoSave);
  o.lineHojoSave[1] = Line(60, 40, 60, 25, Rgb(0, 0, 255), 1);
  AppendSpare(o.lineHojoSave);
  o.lineDsSave[0] = Line(20, 28, 60, 28, Rgb(255, 0, 0), 2);
  AppendSpare(o.lineDsSave);
  for (int i = 0; i < 2; ++i) {
    ShapeRecord& m = o.shpSnpo[static_cast<std::size_t>(i)];
    m.Visible = true;
    m.BorderColor = Rgb(0, 128, 0);
    m.FillColor = Rgb(0, 200, 0);
    m.Left = (i == 0 ? 20 : 60) - m.Width / 2;
    m.Top = 28 - m.Height / 2;
    AppendSpare(o.shpSnpo);
  }
  o.lblKyori[0] = Label("12.50m ", "方向 45°", 35, 20, Rgb(0, 0, 192));
  AppendSpare(o.lblKyori);

  const std::string tag = "003:80_101530";
  o.linePS[0] = Line(20, 60, 50, 60, Rgb(128, 0, 128), 3, tag);
  AppendSpare(o.linePS);
  o.linePS[1] = Line(50, 60, 50, 80, Rgb(128, 0, 128), 3, tag);
  AppendSpare(o.linePS);
  o.lblKeiroS[0] = Label("80.00m ", "経路メモ", 22, 55, Rgb(128, 0, 0), tag);
  AppendSpare(o.lblKeiroS);

  o.lineHikidashi[0] = Line(70, 50, 90, 70, Rgb(0, 0, 0), 1);
  AppendSpare(o.lineHikidashi);

  o.lblMoji.push_back(Label("注記1", "メモ", 72, 72, Rgb(0, 0, 0)));
  o.lblKeiIdoS.push_back(Label("P1 ", "X:70.0 Y:20.0", 70, 15, Rgb(0, 64, 0)));
  for (TextRecord* t : {&o.lblKyori[0], &o.lblKeiroS[0], &o.lblMoji[1], &o.lblKeiIdoS[1]}) {
    AutoSize(*t, *doc.measurer);
  }
}

}  // namespace planimo::print_scenario
