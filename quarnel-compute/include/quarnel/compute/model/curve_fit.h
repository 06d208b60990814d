// Curve fits, in their two generations. Both stay in the model because stored computations
// may use either; the second names the independent variable of every curve family and adds
// custom formulas.
#pragma once

#include "quarnel/compute/model/decl.h"
#include "quarnel/compute/model/names.h"

namespace qc::model {

namespace api {
struct TimeUnit;
}  // namespace api
struct CurveFitDetails;
struct CurveFitPlotType;
struct CurveFitTarget;
struct CurveFitV2Details;
struct CurveFitVariable;
struct DoubleConstant;
struct IntegerConstant;
struct NumericSeries;
struct StringConstant;
struct TimestampConstant;

// --- First form ---

#define QC_FIELDS(F) \
  F(startTime, "startTime", TimestampConstant) \
  F(endTime, "endTime", TimestampConstant)
QC_RECORD(CurveFitOptions, QC_FIELDS)
QC_RECORD(CurveFitRange, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(curveFitPlotType, "curveFitPlotType", CurveFitPlotType) \
  F(curveFitDetails, "curveFitDetails", CurveFitDetails) \
  F(curveFitOptions, "curveFitOptions", CurveFitOptions)
QC_RECORD(CurveFit, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) F(timeUnit, "timeUnit", Optional<api::TimeUnit>)
QC_RECORD(TimeSeriesFitOptions, QC_FIELDS)
QC_RECORD(CurveFitTimeVariable, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(series, "series", NumericSeries) \
  F(options, "options", TimeSeriesFitOptions)
QC_RECORD(TimeSeriesCurveFit, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(x, "x", NumericSeries) \
  F(y, "y", NumericSeries)
QC_RECORD(Scatter, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(minX, "minX", Optional<DoubleConstant>) \
  F(maxX, "maxX", Optional<DoubleConstant>) \
  F(minY, "minY", Optional<DoubleConstant>) \
  F(maxY, "maxY", Optional<DoubleConstant>)
QC_RECORD(ScatterFitOptions, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(scatter, "scatter", Scatter) \
  F(options, "options", ScatterFitOptions)
QC_RECORD(ScatterCurveFit, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(degree, "degree", IntegerConstant) \
  F(intercept, "intercept", Optional<DoubleConstant>)
QC_RECORD(PolynomialCurve, QC_FIELDS)
#undef QC_FIELDS

// --- Second form ---

#define QC_FIELDS(F) \
  F(target, "target", CurveFitTarget) \
  F(fitRange, "fitRange", CurveFitRange) \
  F(curveToFit, "curveToFit", CurveFitV2Details)
QC_RECORD(CurveFitV2, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(min, "min", Optional<DoubleConstant>) \
  F(max, "max", Optional<DoubleConstant>)
QC_RECORD(CurveFitBoundsConfiguration, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(series, "series", NumericSeries) \
  F(boundsConfig, "boundsConfig", Optional<CurveFitBoundsConfiguration>)
QC_RECORD(CurveFitSeriesVariable, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) F(independentVariable, "independentVariable", CurveFitVariable)
QC_RECORD(BuiltInCurveFit, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(independentVariable, "independentVariable", CurveFitVariable) \
  F(degree, "degree", IntegerConstant) \
  F(intercept, "intercept", Optional<DoubleConstant>)
QC_RECORD(PolynomialCurveFit, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(formula, "formula", StringConstant) \
  F(variables, "variables", Map<LocalVariableName, CurveFitVariable>) \
  F(parameters, "parameters", Map<String, DoubleConstant>)
QC_RECORD(CustomCurveFit, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
