#include "geometry/units.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "geometry/number_format.h"

namespace planimo {

namespace {

constexpr std::array<const char*, kUnitCount> kDistanceCaptions = {
    "mm ", "cm ", "m ", "km ", "in. ", "ft. ", "yd. ",
    "mi. ", "l. ", "nmi. ", "寸 ", "尺 ", "間 ", "里 ",
};

constexpr std::array<const char*, kUnitCount> kAreaCaptions = {
    "mm2 ", "cm2 ", "m2 ", "a ", "ha ", "km2 ", "sq.in. ",
    "sq.ft.  ", "sq.yd. ", "ac ", "sq.mi. ", "坪 ", "反 ", "町 ",
};

// Metres in one distance unit. The Japanese units follow the old legal
// definitions: 1 shaku = 10/33 m, 1 sun = 1/10 shaku, 1 ken = 6 shaku,
// 1 ri = 12960 shaku.
constexpr std::array<double, kUnitCount> kMetresPerUnit = {
    0.001, 0.01, 1.0, 1000.0, 0.0254, 0.3048, 0.9144,
    1609.344, 4828.032, 1852.0, 1.0 / 33.0, 10.0 / 33.0, 60.0 / 33.0, 12960.0 / 3.3,
};

// Square metres in one area unit; 1 tsubo = 400/121 m2 (one ken squared).
constexpr double kTsubo = 400.0 / 121.0;
constexpr std::array<double, kUnitCount> kSquareMetresPerUnit = {
    1e-6, 1e-4, 1.0, 100.0, 10000.0, 1e6, 0.00064516,
    0.09290304, 0.83612736, 4046.8564224, 2589988.110336, kTsubo, 300.0 * kTsubo, 3000.0 * kTsubo,
};

bool IsBlankCaption(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c == ' '; });
}

bool IsUsableCoefficient(double v) { return std::isfinite(v) && v > 0; }

void FillCoefficients(std::array<double, kUnitCount>& table,
                      const std::array<double, kUnitCount>& builtin) {
  for (int i = 0; i < kUnitCount; ++i) {
    if (!IsUsableCoefficient(table[i])) table[i] = builtin[i];
  }
}

}  // namespace

UnitTables BuiltinUnitTables() {
  UnitTables t;
  for (int i = 0; i < kUnitCount; ++i) {
    t.UnitDistance[i] = kDistanceCaptions[i];
    t.UnitArea[i] = kAreaCaptions[i];
    t.GE_dblChgOToMD[i] = kMetresPerUnit[i];
    t.GE_dblChgMToOD[i] = 1.0 / kMetresPerUnit[i];
    t.GE_dblChgMMToO[i] = 1000.0 * kMetresPerUnit[i];
    t.GE_dblChgOToMS[i] = kSquareMetresPerUnit[i];
    t.GE_dblChgMToOS[i] = 1.0 / kSquareMetresPerUnit[i];
  }
  return t;
}

void FillMissingUnits(UnitTables& t) {
  const UnitTables b = BuiltinUnitTables();
  for (int i = 0; i < kUnitCount; ++i) {
    if (IsBlankCaption(t.UnitDistance[i])) t.UnitDistance[i] = b.UnitDistance[i];
    if (IsBlankCaption(t.UnitArea[i])) t.UnitArea[i] = b.UnitArea[i];
  }
  FillCoefficients(t.GE_dblChgMMToO, b.GE_dblChgMMToO);
  FillCoefficients(t.GE_dblChgOToMD, b.GE_dblChgOToMD);
  FillCoefficients(t.GE_dblChgMToOD, b.GE_dblChgMToOD);
  FillCoefficients(t.GE_dblChgOToMS, b.GE_dblChgOToMS);
  FillCoefficients(t.GE_dblChgMToOS, b.GE_dblChgMToOS);
}

bool IsUnitIndex(int index) { return index >= 0 && index < kUnitCount; }

std::string DistanceCaption(const UnitTables& t, int index) {
  return IsUnitIndex(index) ? t.UnitDistance[index] : std::string();
}

std::string AreaCaption(const UnitTables& t, int index) {
  return IsUnitIndex(index) ? t.UnitArea[index] : std::string();
}

double ConvertDistance(double v, int from, int to, const UnitTables& t) {
  if (from == to || !IsUnitIndex(from) || !IsUnitIndex(to)) return v;
  return v * t.GE_dblChgOToMD[from] * t.GE_dblChgMToOD[to];
}

double ConvertArea(double v, int from, int to, const UnitTables& t) {
  if (from == to || !IsUnitIndex(from) || !IsUnitIndex(to)) return v;
  return v * t.GE_dblChgOToMS[from] * t.GE_dblChgMToOS[to];
}

double MetresToDistanceUnit(double metres, int unit, const UnitTables& t) {
  return IsUnitIndex(unit) ? metres * t.GE_dblChgMToOD[unit] : metres;
}

double DistanceUnitToMetres(double v, int unit, const UnitTables& t) {
  return IsUnitIndex(unit) ? v * t.GE_dblChgOToMD[unit] : v;
}

double SquareMetresToAreaUnit(double squareMetres, int unit, const UnitTables& t) {
  return IsUnitIndex(unit) ? squareMetres * t.GE_dblChgMToOS[unit] : squareMetres;
}

double AreaUnitToSquareMetres(double v, int unit, const UnitTables& t) {
  return IsUnitIndex(unit) ? v * t.GE_dblChgOToMS[unit] : v;
}

std::string ValueLabelText(double value, int decimals, const std::string& unitCaption,
                           const ProjectState& state) {
  const int last = static_cast<int>(state.strFormat.size()) - 1;
  const int index = std::clamp(decimals, 0, last);
  return FormatNumber(value, state.strFormat[static_cast<std::size_t>(index)]) + unitCaption;
}

std::string DrawingScaleText(double drawingMm, double trueLength, int unit, const UnitTables& t) {
  // The negated tests also turn away NaN.
  if (!(drawingMm > 0) || !(trueLength > 0) || !IsUnitIndex(unit)) return "";
  return FormatNumber(trueLength / drawingMm * t.GE_dblChgMMToO[unit], "#######.0#");
}

std::string AspectRatioText(double aspect) { return FormatNumber(aspect, "#.0##"); }

}  // namespace planimo
