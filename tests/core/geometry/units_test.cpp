#include "geometry/units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/document.h"

namespace planimo {
namespace {

TEST(BuiltinUnitTables, CaptionsAndCoefficientsAgree) {
  const UnitTables t = BuiltinUnitTables();
  EXPECT_EQ(t.UnitDistance[2], "m ");
  EXPECT_EQ(t.UnitDistance[10], "寸 ");
  EXPECT_EQ(t.UnitArea[7], "sq.ft.  ");
  EXPECT_EQ(t.UnitArea[13], "町 ");
  for (int i = 0; i < kUnitCount; ++i) {
    EXPECT_EQ(t.UnitDistance[i].back(), ' ');
    EXPECT_EQ(t.UnitArea[i].back(), ' ');
    EXPECT_DOUBLE_EQ(t.GE_dblChgOToMD[i] * t.GE_dblChgMToOD[i], 1.0) << i;
    EXPECT_DOUBLE_EQ(t.GE_dblChgOToMS[i] * t.GE_dblChgMToOS[i], 1.0) << i;
    EXPECT_DOUBLE_EQ(t.GE_dblChgMMToO[i], 1000.0 * t.GE_dblChgOToMD[i]) << i;
  }
  EXPECT_DOUBLE_EQ(t.GE_dblChgOToMD[7], 1609.344);
  EXPECT_DOUBLE_EQ(t.GE_dblChgOToMD[12], 60.0 / 33.0);
  // Area units are the squares of their distance units where one exists.
  EXPECT_DOUBLE_EQ(t.GE_dblChgOToMS[6], t.GE_dblChgOToMD[4] * t.GE_dblChgOToMD[4]);
  EXPECT_DOUBLE_EQ(t.GE_dblChgOToMS[10], t.GE_dblChgOToMD[7] * t.GE_dblChgOToMD[7]);
  EXPECT_DOUBLE_EQ(t.GE_dblChgOToMS[11], t.GE_dblChgOToMD[12] * t.GE_dblChgOToMD[12]);
  EXPECT_DOUBLE_EQ(t.GE_dblChgOToMS[12], 300 * t.GE_dblChgOToMS[11]);
}

TEST(FillMissingUnits, EmptyTablesBecomeTheBuiltinOnes) {
  UnitTables t;  // as left by a missing Init.ini: blank captions, zeros
  t.UnitDistance.fill(" ");
  FillMissingUnits(t);
  const UnitTables b = BuiltinUnitTables();
  EXPECT_EQ(t.UnitDistance, b.UnitDistance);
  EXPECT_EQ(t.UnitArea, b.UnitArea);
  EXPECT_EQ(t.GE_dblChgMToOD, b.GE_dblChgMToOD);
  EXPECT_EQ(t.GE_dblChgOToMS, b.GE_dblChgOToMS);
  EXPECT_NE(ConvertDistance(1, 2, 0, t), 0.0);
}

TEST(FillMissingUnits, KeepsGoodEntriesAndRepairsBadOnes) {
  UnitTables t = BuiltinUnitTables();
  t.UnitDistance[3] = "キロ ";
  t.UnitArea[5] = "";
  t.GE_dblChgOToMD[4] = 0.025;  // a user's own value stays
  t.GE_dblChgMToOD[1] = 0;
  t.GE_dblChgOToMS[2] = std::numeric_limits<double>::quiet_NaN();
  t.GE_dblChgMMToO[0] = std::numeric_limits<double>::infinity();
  t.GE_dblChgMToOS[9] = -1;
  FillMissingUnits(t);
  const UnitTables b = BuiltinUnitTables();
  EXPECT_EQ(t.UnitDistance[3], "キロ ");
  EXPECT_EQ(t.UnitArea[5], "km2 ");
  EXPECT_EQ(t.GE_dblChgOToMD[4], 0.025);
  EXPECT_EQ(t.GE_dblChgMToOD[1], 100.0);
  EXPECT_EQ(t.GE_dblChgOToMS[2], 1.0);
  EXPECT_EQ(t.GE_dblChgMMToO[0], 1.0);
  EXPECT_EQ(t.GE_dblChgMToOS[9], b.GE_dblChgMToOS[9]);
}

TEST(ConvertDistance, ConvertsThroughMetres) {
  const UnitTables t = BuiltinUnitTables();
  EXPECT_DOUBLE_EQ(ConvertDistance(1, 3, 2, t), 1000);       // km → m
  EXPECT_DOUBLE_EQ(ConvertDistance(12, 4, 5, t), 1);         // in. → ft.
  EXPECT_DOUBLE_EQ(ConvertDistance(1, 12, 11, t), 6);        // ken → shaku
  EXPECT_DOUBLE_EQ(ConvertDistance(1852, 2, 9, t), 1);       // m → nmi.
  EXPECT_EQ(ConvertDistance(1.234, 5, 5, t), 1.234);         // same unit: untouched
  EXPECT_EQ(ConvertDistance(7, -1, 2, t), 7);                // bad index: untouched
  EXPECT_EQ(ConvertDistance(7, 2, kUnitCount, t), 7);
}

TEST(ConvertArea, ConvertsThroughSquareMetres) {
  const UnitTables t = BuiltinUnitTables();
  EXPECT_DOUBLE_EQ(ConvertArea(1, 4, 3, t), 100);            // ha → a
  EXPECT_DOUBLE_EQ(ConvertArea(1, 13, 12, t), 10);           // chō → tan
  EXPECT_DOUBLE_EQ(ConvertArea(640, 9, 10, t), 1);           // ac → sq.mi.
  EXPECT_EQ(ConvertArea(3, 2, 14, t), 3);
}

TEST(UnitRoundTrip, MetresThroughEveryUnitAndBack) {
  const UnitTables t = BuiltinUnitTables();
  for (int u = 0; u < kUnitCount; ++u) {
    EXPECT_NEAR(DistanceUnitToMetres(MetresToDistanceUnit(1, u, t), u, t), 1.0, 1e-15) << u;
    EXPECT_NEAR(AreaUnitToSquareMetres(SquareMetresToAreaUnit(1, u, t), u, t), 1.0, 1e-15) << u;
  }
  // Tables as read are used as read: non-reciprocal entries do not round-trip.
  UnitTables odd = t;
  odd.GE_dblChgMToOD[5] = 3.28;
  EXPECT_NE(DistanceUnitToMetres(MetresToDistanceUnit(1, 5, odd), 5, odd), 1.0);
  EXPECT_EQ(MetresToDistanceUnit(4, 99, t), 4);
}

TEST(ValueLabelText, PatternOfTheDecimalsThenTheCaption) {
  Document doc;
  ResetProjectDefaults(doc);
  const ProjectState& s = doc.state;
  EXPECT_EQ(ValueLabelText(1234.5678, 2, "m ", s), " 1,234.57 m ");
  EXPECT_EQ(ValueLabelText(1234.5678, 0, "sq.ft.  ", s), " 1,235 sq.ft.  ");
  EXPECT_EQ(ValueLabelText(1234.5678, 7, "m ", s), "1234.5678m ");
  EXPECT_EQ(ValueLabelText(1234.5678, 8, "m ", s), "1234.5678m ");
  EXPECT_EQ(ValueLabelText(1.5, 99, "m ", s), "1.5m ");     // held to 8
  EXPECT_EQ(ValueLabelText(1.5, -3, "m ", s), " 2 m ");     // held to 0
}

TEST(DrawingScaleText, ScaleNOfOneOverN) {
  const UnitTables t = BuiltinUnitTables();
  EXPECT_EQ(DrawingScaleText(100, 50, 2, t), "500.0");         // 100 mm is 50 m
  EXPECT_EQ(DrawingScaleText(100, 100, 0, t), "1.0");          // full size
  EXPECT_EQ(DrawingScaleText(3, 10, 2, t), "3333.33");
  EXPECT_EQ(DrawingScaleText(100, 1, 0, t), ".01");
  EXPECT_EQ(DrawingScaleText(0, 50, 2, t), "");
  EXPECT_EQ(DrawingScaleText(100, -1, 2, t), "");
  EXPECT_EQ(DrawingScaleText(std::nan(""), 1, 2, t), "");
  EXPECT_EQ(DrawingScaleText(100, 50, 14, t), "");
}

TEST(AspectRatioText, ShowsUpToThreeDecimals) {
  EXPECT_EQ(AspectRatioText(1), "1.0");
  EXPECT_EQ(AspectRatioText(0.98765), ".988");
  EXPECT_EQ(AspectRatioText(1.25), "1.25");
}

}  // namespace
}  // namespace planimo
