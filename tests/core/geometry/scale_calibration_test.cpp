#include "geometry/scale_calibration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "geometry/number_format.h"
#include "geometry/options_dialog.h"
#include "geometry/units.h"
#include "measure/line_measure.h"

namespace planimo {
namespace {

Document NewDocument(int unit) {
  Document doc;
  doc.settings.units = BuiltinUnitTables();
  doc.state.GE_intUnitDIndex = static_cast<std::int16_t>(unit);
  return doc;
}

// Picture millimetres of `paperMm` of paper scanned at `dpi`.
float PictureMm(double paperMm, double dpi) { return static_cast<float>(paperMm / 25.4 * dpi * 0.2645); }

TEST(ScaleCalibration, PaperLinesMeasureTheirTrueLength) {
  struct Case {
    double n, dpi;
    int unit;  // 2 m, 5 ft.
    std::string dpiText;
  };
  for (const Case& c : {Case{100, 96, 2, "96"}, Case{100, 300, 2, "300"}, Case{500, 200, 5, "200"}}) {
    Document doc = NewDocument(c.unit);
    OptionsForm form;
    LoadOptionsForm(doc, form);
    form.txtScaleN = DoubleText(c.n);
    ShowDrawingResolution(form, DpiFromDotsPerMetre(static_cast<int>(c.dpi / 0.0254)));
    EXPECT_EQ(form.txtScaleDpi, c.dpiText);
    EXPECT_EQ(ApplyDrawingScale(doc, form), FocusMove{});

    // 80 mm across the paper, 60 mm down and their diagonal.
    const double mmPerUnit = doc.settings.units.GE_dblChgMMToO[c.unit];
    const PointF a{20, 30};
    const PointF across{a.x + PictureMm(80, c.dpi), a.y};
    const PointF diagonal{across.x, a.y + PictureMm(60, c.dpi)};
    const double paper[2] = {80, 100};
    const PointF ends[2] = {across, diagonal};
    for (int k = 0; k < 2; ++k) {
      const double want = paper[k] * c.n / mmPerUnit;
      const std::optional<SegmentValue> got = MeasureLengthDis(doc, a, ends[k]);
      ASSERT_TRUE(got);
      EXPECT_NEAR(got->value, want, want * 1e-6) << c.n << " " << c.dpi << " " << k;
    }

    // The same points and lengths entered by hand on the known-distance tab.
    Document hand = NewDocument(c.unit);
    OptionsForm typed;
    LoadOptionsForm(hand, typed);
    const double trueLength = 100 / 0.2645 * 25.4 / c.dpi * c.n / mmPerUnit;
    typed.txtXY[5] = typed.txtXY[11] = SingleText(static_cast<float>(trueLength));
    ApplyKnownDistance(hand, typed);
    EXPECT_EQ(form.txtXY, typed.txtXY);
    EXPECT_EQ(form.lblRecio, typed.lblRecio);
    EXPECT_EQ(doc.state.GE_tpPiccelD, hand.state.GE_tpPiccelD);
    EXPECT_EQ(doc.state.GE_sngPiccelD_X, hand.state.GE_sngPiccelD_X);
    EXPECT_EQ(doc.state.GE_sngDistanceD_Y, hand.state.GE_sngDistanceD_Y);
    EXPECT_EQ(doc.state.GE_tpPtoD_r_X, hand.state.GE_tpPtoD_r_X);
    EXPECT_EQ(doc.state.GE_tpPtoD_r_Y, hand.state.GE_tpPtoD_r_Y);
    EXPECT_EQ(doc.state.GE_dblAspectM, 1.0);
  }
}

TEST(ScaleCalibration, UnusableScaleOrResolutionChangesNothing) {
  struct Case {
    const char* n;
    const char* dpi;
    OptionBox focus;
  };
  const Case cases[] = {
      {"0", "300", OptionBox::txtScaleN},     {"-100", "300", OptionBox::txtScaleN},
      {"abc", "300", OptionBox::txtScaleN},   {"", "300", OptionBox::txtScaleN},
      {"inf", "300", OptionBox::txtScaleN},   {"1e300", "300", OptionBox::txtScaleN},
      {"100", "", OptionBox::txtScaleDpi},    {"100", "0", OptionBox::txtScaleDpi},
      {"100", "-96", OptionBox::txtScaleDpi}, {"100", "nan", OptionBox::txtScaleDpi},
  };
  for (const Case& c : cases) {
    Document doc = NewDocument(2);
    OptionsForm form;
    LoadOptionsForm(doc, form);
    const OptionsForm before = form;
    const std::uint64_t revision = doc.revision;
    form.txtScaleN = c.n;
    form.txtScaleDpi = c.dpi;
    EXPECT_EQ(ApplyDrawingScale(doc, form), (FocusMove{{c.focus, 0}, true})) << c.n << " " << c.dpi;
    EXPECT_EQ(form.txtXY, before.txtXY);
    EXPECT_EQ(doc.state.GE_tpPtoD_r_X, 1.0);
    EXPECT_EQ(doc.state.GE_sngDistanceD_Y, 100.0f);
    EXPECT_EQ(doc.revision, revision) << c.n << " " << c.dpi;
  }
}

TEST(ScaleCalibration, DotsPerMetreGiveTheStatedDpi) {
  struct Case {
    int dpm;
    std::optional<double> dpi;
  };
  // Truncated and rounded metre values of whole dpi, and metres that are none.
  for (const Case& c : {Case{11811, 300}, Case{3779, 96}, Case{3780, 96}, Case{2834, 72}, Case{23622, 600},
                        Case{4000, 101.6}, Case{0, std::nullopt}, Case{-5, std::nullopt}}) {
    const std::optional<double> got = DpiFromDotsPerMetre(c.dpm);
    ASSERT_EQ(got.has_value(), c.dpi.has_value()) << c.dpm;
    if (got) {
      EXPECT_NEAR(*got, *c.dpi, 1e-12) << c.dpm;
    }
  }
}

}  // namespace
}  // namespace planimo
