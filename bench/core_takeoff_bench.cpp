// The takeoff list over 10,000 kept distances and 1,000 areas in eight
// items: the totals and the rows the dock shows after a change, and saving
// and opening such a project with its item section.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "geometry/units.h"
#include "io/project_file.h"
#include "model/document.h"
#include "takeoff/takeoff_edit.h"
#include "takeoff/takeoff_rows.h"
#include "takeoff/takeoff_totals.h"

namespace planimo {
namespace {

constexpr int kDistances = 10000;
constexpr int kAreas = 1000;

template <class R>
void Keep(std::vector<R>& c, R r) {
  c.back() = std::move(r);
  AppendSpare(c);
}

TextRecord ValueLabel(const std::string& caption, const std::string& tag, float x, float y, int item) {
  TextRecord label;
  label.Visible = true;
  label.Caption = caption;
  label.ToolTipText = "北側";
  label.Tag = tag;
  label.Left = x;
  label.Top = y;
  label.Width = 17.3f;
  label.Height = 4.233f;
  label.Item = static_cast<std::int16_t>(item);
  return label;
}

LineRecord Segment(float x1, float y1, float x2, float y2, const std::string& tag = {}) {
  LineRecord l;
  l.Visible = true;
  l.Tag = tag;
  l.X1 = x1;
  l.Y1 = y1;
  l.X2 = x2;
  l.Y2 = y2;
  return l;
}

Document TakeoffDrawing() {
  Document doc;
  doc.settings.units = BuiltinUnitTables();
  ResetProjectDefaults(doc);
  doc.state.fMei_MapImage = "敷地図.jpg";
  for (const char* name : {"外壁", "内壁", "床", "天井", "舗装", "縁石", "植栽", "柵"}) AddItem(doc, name, Rgb(0, 0, 200));
  Collections& o = doc.objects;
  std::mt19937 random(7);
  std::uniform_real_distribution<float> pos(0, 2000);
  for (int k = 0; k < kDistances; ++k) {
    const float x = pos(random), y = pos(random), len = pos(random) / 10;
    Keep(o.lblKyori, ValueLabel(" 1,234.57 m ", "022:1234.5678_101530", x, y - 5, k % 9));
    Keep(o.lineDsSave, Segment(x, y, x + len, y));
    for (float ex : {x, x + len}) {
      Keep(o.lineHojoSave, Segment(ex, y + 15, ex, y));
      ShapeRecord m = o.shpSnpo.front();
      m.Visible = true;
      m.Left = ex;
      m.Top = y;
      Keep(o.shpSnpo, m);
    }
  }
  for (int a = 0; a < kAreas; ++a) {
    const float x = pos(random), y = pos(random);
    const std::string tag = "022:125.5_" + std::to_string(100000 + a);
    TextRecord label = ValueLabel(" 125.50 m2 ", tag, x, y, a % 9);
    label.Deduction = a % 10 == 0;
    Keep(o.lblMensekiS, label);
    const float c[][4] = {{x, y, x + 20, y}, {x + 20, y, x + 20, y + 20}, {x + 20, y + 20, x, y + 20}, {x, y + 20, x, y}};
    for (const auto& s : c) Keep(o.linePS, Segment(s[0], s[1], s[2], s[3], tag));
  }
  return doc;
}

std::string Folder() {
  std::random_device device;
  const auto path = std::filesystem::temp_directory_path() / ("planimo-bench-" + std::to_string(device()));
  std::filesystem::create_directories(path);
  return path.string() + "/";
}

// A change (one area moves to another item), then the totals again.
void BM_TakeoffTotalsAfterAChange(benchmark::State& state) {
  Document doc = TakeoffDrawing();
  int i = 0;
  for (auto _ : state) {
    AssignItem(doc, {SelectedObject{"lblMensekiS", static_cast<std::int16_t>(i++ % kAreas)}}, i % 9);
    benchmark::DoNotOptimize(ComputeTotals(doc));
  }
}
BENCHMARK(BM_TakeoffTotalsAfterAChange)->Unit(benchmark::kMillisecond);

// The rows the dock takes afresh after every change.
void BM_TakeoffRows(benchmark::State& state) {
  const Document doc = TakeoffDrawing();
  for (auto _ : state) benchmark::DoNotOptimize(TakeoffRows(doc));
}
BENCHMARK(BM_TakeoffRows)->Unit(benchmark::kMillisecond);

void BM_SaveTakeoffProject(benchmark::State& state) {
  const Document doc = TakeoffDrawing();
  const std::string folder = Folder();
  for (auto _ : state) {
    if (SaveProject(doc, folder, "site.ini")) state.SkipWithError("save failed");
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SaveTakeoffProject)->Unit(benchmark::kMillisecond);

void BM_OpenTakeoffProject(benchmark::State& state) {
  const std::string folder = Folder();
  if (SaveProject(TakeoffDrawing(), folder, "site.ini")) state.SkipWithError("save failed");
  Document doc;
  doc.settings.units = BuiltinUnitTables();
  for (auto _ : state) {
    const LoadReport r = LoadProject(doc, folder + "site.ini");
    if (r.error || r.warning || doc.state.takeoffItems.size() != 8 || doc.objects.lblMensekiS[999].Item != 0) {
      state.SkipWithError("open failed");
    }
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_OpenTakeoffProject)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace planimo
