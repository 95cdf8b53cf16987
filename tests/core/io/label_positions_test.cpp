// A project whose label sizes came from another machine's fonts opens, is
// zoomed in and out and saved again with every label where it stood.
#include <gtest/gtest.h>

#include <memory>

#include "core/measure/measure_fixture.h"
#include "io/project_file.h"
#include "model/rescale.h"
#include "project_fixture.h"

namespace planimo::test {
namespace {

void ForEachLabel(Collections& o, auto fn) {
  for (auto list : {&Collections::lblKyori, &Collections::lblKeiroS, &Collections::lblMensekiS,
                    &Collections::lblMoji, &Collections::lblKeiIdoS}) {
    for (TextRecord& l : o.*list) fn(l);
  }
}

TEST(LabelPositions, OpenZoomAndSaveMoveNoLabel) {
  TempFolder folder;
  Document written;
  written.measurer = std::make_shared<FixedMeasurer>();
  BuildSampleDrawing(written);
  // Wider and taller than the fonts here make them, as a Windows font would.
  ForEachLabel(written.objects, [](TextRecord& l) {
    if (l.Visible) {
      l.Width += 5.4f;
      l.Height += 1.2f;
    }
  });
  ASSERT_FALSE(SaveProject(written, folder.path(), "site.ini"));

  Document doc;
  doc.measurer = written.measurer;
  doc.settings = written.settings;
  ASSERT_FALSE(LoadProject(doc, folder.File("site.ini")).error);
  for (float z : {0.5f, 1.0f, 1.25f, 0.4f, 2.0f, 1.0f}) {
    doc.view.sngZoom = z;
    ASSERT_TRUE(subDisp_Object(doc));
  }
  ASSERT_FALSE(SaveProject(doc, folder.path(), "again.ini"));
  Document reopened;
  reopened.measurer = written.measurer;
  reopened.settings = written.settings;
  ASSERT_FALSE(LoadProject(reopened, folder.File("again.ini")).error);

  std::vector<std::pair<float, float>> before, after;
  ForEachLabel(written.objects, [&](TextRecord& l) { before.emplace_back(l.Left, l.Top); });
  ForEachLabel(reopened.objects, [&](TextRecord& l) { after.emplace_back(l.Left, l.Top); });
  ASSERT_EQ(before.size(), after.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    EXPECT_NEAR(after[i].first, before[i].first, 0.01) << i;
    EXPECT_NEAR(after[i].second, before[i].second, 0.01) << i;
  }
  // The sizes are the fonts' here.
  EXPECT_EQ(reopened.objects.lblKyori[0].Width, 2.0f * static_cast<float>(reopened.objects.lblKyori[0].Caption.size()));
}

}  // namespace
}  // namespace planimo::test
