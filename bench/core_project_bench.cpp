// Saving and opening a project of 10,000 distance objects (the image
// excluded): the four files written through temporaries with backups, and
// read back with the object files.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "geometry/units.h"
#include "io/project_file.h"
#include "model/document.h"

namespace planimo {
namespace {

constexpr int kDistances = 10000;

template <class R>
void Keep(std::vector<R>& c, R r) {
  c.back() = std::move(r);
  AppendSpare(c);
}

Document DrawingOfDistances(int n) {
  Document doc;
  doc.settings.units = BuiltinUnitTables();
  ResetProjectDefaults(doc);
  doc.state.fMei_MapImage = "敷地図.jpg";
  Collections& o = doc.objects;
  std::mt19937 random(7);
  std::uniform_real_distribution<float> pos(0, 2000);
  for (int k = 0; k < n; ++k) {
    const float x = pos(random), y = pos(random), len = pos(random) / 10;
    TextRecord label;
    label.Visible = true;
    label.Caption = " 1,234.57 m ";
    label.ToolTipText = "45.0000゜";
    label.Tag = "022:1234.5678_101530";
    label.Top = y - 5;
    label.Left = x + len / 2;
    label.Width = 17.3f;
    label.Height = 4.233f;
    Keep(o.lblKyori, label);
    LineRecord dim;
    dim.Visible = true;
    dim.X1 = x;
    dim.Y1 = y;
    dim.X2 = x + len;
    dim.Y2 = y;
    dim.BorderColor = Rgb(0, 0, 255);
    Keep(o.lineDsSave, dim);
    for (float ex : {x, x + len}) {
      LineRecord ext = dim;
      ext.X1 = ext.X2 = ex;
      ext.Y1 = y + 15;
      Keep(o.lineHojoSave, ext);
      ShapeRecord m = o.shpSnpo.front();
      m.Visible = true;
      m.Left = ex - m.Width / 2;
      m.Top = y - m.Height / 2;
      Keep(o.shpSnpo, m);
    }
  }
  return doc;
}

std::string Folder() {
  std::random_device device;
  const auto path = std::filesystem::temp_directory_path() / ("planimo-bench-" + std::to_string(device()));
  std::filesystem::create_directories(path);
  return path.string() + "/";
}

void BM_SaveProject10000Distances(benchmark::State& state) {
  const Document doc = DrawingOfDistances(kDistances);
  const std::string folder = Folder();
  for (auto _ : state) {
    if (SaveProject(doc, folder, "site.ini")) state.SkipWithError("save failed");
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SaveProject10000Distances)->Unit(benchmark::kMillisecond);

void BM_OpenProject10000Distances(benchmark::State& state) {
  const std::string folder = Folder();
  if (SaveProject(DrawingOfDistances(kDistances), folder, "site.ini")) state.SkipWithError("save failed");
  Document doc;
  doc.settings.units = BuiltinUnitTables();
  for (auto _ : state) {
    const LoadReport r = LoadProject(doc, folder + "site.ini");
    if (r.error || r.warning || UBound(doc.objects.lblKyori) != kDistances) state.SkipWithError("open failed");
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_OpenProject10000Distances)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace planimo
