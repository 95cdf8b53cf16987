#pragma once

// The unit tables and what is done with them: the built-in captions and
// coefficients, repairing tables read from an incomplete Init.ini, converting
// values between units and building the texts of values, drawing scale and
// aspect ratio.

#include <string>

#include "model/project_state.h"
#include "model/unit_tables.h"

namespace planimo {

// The built-in captions (one trailing blank, "sq.ft.  " two) and the
// coefficients consistent with them; the reciprocal tables are exact
// reciprocals of the "per unit" tables.
UnitTables BuiltinUnitTables();

// Replaces every empty or blank caption and every zero, negative or
// non-finite coefficient by its built-in value, so that a missing or damaged
// Init.ini never turns every measured value into 0.
void FillMissingUnits(UnitTables& t);

// True for a unit index 0..13.
bool IsUnitIndex(int index);

// Caption of a distance or area unit; "" for an index outside the table.
std::string DistanceCaption(const UnitTables& t, int index);
std::string AreaCaption(const UnitTables& t, int index);

// A distance value in unit `from` expressed in unit `to`
// (v × metres per `from` × `to` per metre); unchanged when from == to or an
// index is outside the table.
double ConvertDistance(double v, int from, int to, const UnitTables& t);
// The same for areas with the square-metre tables.
double ConvertArea(double v, int from, int to, const UnitTables& t);

// Metres shown in distance unit `unit`, and a typed distance in `unit` as
// metres; unchanged for an index outside the table.
double MetresToDistanceUnit(double metres, int unit, const UnitTables& t);
double DistanceUnitToMetres(double v, int unit, const UnitTables& t);
// Square metres shown in area unit `unit`, and back.
double SquareMetresToAreaUnit(double squareMetres, int unit, const UnitTables& t);
double AreaUnitToSquareMetres(double v, int unit, const UnitTables& t);

// The text of a value label: the value formatted with strFormat(decimals)
// followed directly by the unit caption. Decimals outside 0..8 are held to
// that range; 7 and 8 have no pattern and give the general form.
std::string ValueLabelText(double value, int decimals, const std::string& unitCaption,
                           const ProjectState& state);

// N of the drawing scale 1/N for a reference of `drawingMm` millimetres on
// the drawing and true length `trueLength` in distance unit `unit`, with the
// pattern "#######.0#"; "" when either length is not positive or the unit is
// outside the table.
std::string DrawingScaleText(double drawingMm, double trueLength, int unit, const UnitTables& t);

// The aspect ratio y/x of the calibration, with the pattern "#.0##".
std::string AspectRatioText(double aspect);

}  // namespace planimo
