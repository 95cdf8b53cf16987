#pragma once

// A drawing with one object of every kind, built record by record, and a
// folder of its own for the files a test writes.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "../record_builders.h"
#include "geometry/units.h"
#include "model/document.h"

namespace planimo::test {

class TempFolder {
 public:
  TempFolder() {
    std::random_device device;
    path_ = std::filesystem::temp_directory_path() / ("planimo-prj-" + std::to_string(device()) + std::to_string(device()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string path() const { return path_.string() + "/"; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline TextRecord Label(const std::string& caption, const std::string& tip, const std::string& tag, float top,
                        float left) {
  TextRecord r = ShownLabel(caption, left, top, tip, tag);
  r.Width = 2.0f * static_cast<float>(caption.size());
  r.Height = 4;
  return r;
}

inline LineRecord Line(float x1, float y1, float x2, float y2, const std::string& tag = "") {
  LineRecord r = ShownLine(x1, y1, x2, y2, tag);
  r.BorderColor = Rgb(0, 0, 255);
  return r;
}

// Fills the spare at the top of `c` with `r` and appends a new spare.
template <class R>
void Keep(std::vector<R>& c, R r) {
  c.back() = std::move(r);
  AppendSpare(c);
}

// One distance, one route, one area, a leader line, a comment and two
// positions, with a calibration and units away from the defaults.
inline void BuildSampleDrawing(Document& doc) {
  doc.settings.units = BuiltinUnitTables();
  ResetProjectDefaults(doc);
  ProjectState& s = doc.state;
  s.fMei_MapImage = "敷地図.jpg";
  s.GE_sngHojoLen = 20;
  s.GE_intUnitDIndex = 11;
  s.strUnitD = "尺 ";
  s.GE_sngKeisuD = 0.1f;
  s.GE_sngHosei = {12.5f, 10, 180.25f, 14};
  s.GE_dblHosei = {1.27323954473516, -1.27323954473516, 0.0222222222222222, -0.0222222222222222};
  s.GE_tpPiccelD[1] = {150.125f, 5};
  s.GE_sngDistanceD_X = 20;
  s.GE_tpPtoD_r_X = 0.2;
  s.GE_tpPtoD_r_Y = 0.199999999999999;
  s.GE_dblAspectM = 0.999999999999995;
  s.GE_dblKeIdo[0] = {139, 45, 30.5f};
  s.GE_dblKeido0 = 503130.5;
  s.GE_tpPx00ToKei_Ll = 1.5e7;

  Collections& o = doc.objects;
  Keep(o.lblKyori, Label(" 65.62 尺 ", "45.0000゜", "112:65.6168_101530", 30, 40.5f));
  Keep(o.lineDsSave, Line(20, 40, 120, 40));
  Keep(o.lineHojoSave, Line(20, 60, 20, 40));
  Keep(o.lineHojoSave, Line(120, 60, 120, 40));
  for (float x : {20.0f, 120.0f}) {
    ShapeRecord m = o.shpSnpo.front();
    m.Visible = true;
    m.Left = x - m.Width / 2;
    m.Top = 40 - m.Height / 2;
    Keep(o.shpSnpo, m);
  }
  Keep(o.lblKeiroS, Label(" 1,234.57 m ", "", "022:1234.5678_101531", 80, 60));
  Keep(o.linePS, Line(10, 90, 60, 90, "022:1234.5678_101531"));
  Keep(o.linePS, Line(60, 90, 60, 140, "022:1234.5678_101531"));
  TextRecord area = Label(" 1,000.00 m2 ", "区画 \"A\", 北側", "022:1000_101532", 150, 70);
  area.BackStyle = 0;
  area.FontBold = true;
  Keep(o.lblMensekiS, area);
  for (int i = 0; i < 3; ++i) {
    const float a[][4] = {{70, 150, 100, 150}, {100, 150, 100, 180}, {100, 180, 70, 150}};
    Keep(o.linePS, Line(a[i][0], a[i][1], a[i][2], a[i][3], "022:1000_101532"));
  }
  Keep(o.lineHikidashi, Line(130, 20, 150, 10));
  o.lblMoji.push_back(Label("New 1", "", "", 8, 150));
  o.lblKeiIdoS.push_back(Label("P1", "10.5,20.25", "10.5,20.25", 100, 100));
  o.lblKeiIdoS.push_back(Label("P2", "1.5E+07,-3", "1.5E+07,-3", 110, 100));
}

}  // namespace planimo::test
