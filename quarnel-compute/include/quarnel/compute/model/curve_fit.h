// Curve fits, in their two generations. Both stay in the model because stored computations
// may use either; the second names the independent variable of every curve family and adds
// custom formulas.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

// The built-in families of the first form take no parameters.
#define QC_EMPTY_CURVE_FIT_PAYLOAD_FIELDS(F)
QC_RECORD(EmptyCurveFitPayload, QC_EMPTY_CURVE_FIT_PAYLOAD_FIELDS)

// --- First form ---

// curveFitPlotType: CurveFitPlotType; curveFitDetails: CurveFitDetails;
// curveFitOptions: CurveFitOptions.
#define QC_CURVE_FIT_FIELDS(F)                               \
  F(curveFitPlotType, "curveFitPlotType", Required)           \
  F(curveFitDetails, "curveFitDetails", Required)             \
  F(curveFitOptions, "curveFitOptions", Required)
QC_RECORD(CurveFit, QC_CURVE_FIT_FIELDS)

// series: NumericSeries; options: TimeSeriesFitOptions.
#define QC_TIME_SERIES_CURVE_FIT_FIELDS(F) F(series, "series", Required) F(options, "options", Required)
QC_RECORD(TimeSeriesCurveFit, QC_TIME_SERIES_CURVE_FIT_FIELDS)

// timeUnit: api::TimeUnit, optional. Same shape as CurveFitTimeVariable.
#define QC_TIME_SERIES_FIT_OPTIONS_FIELDS(F) F(timeUnit, "timeUnit", Optional)
QC_RECORD(TimeSeriesFitOptions, QC_TIME_SERIES_FIT_OPTIONS_FIELDS)

// scatter: Scatter; options: ScatterFitOptions.
#define QC_SCATTER_CURVE_FIT_FIELDS(F) F(scatter, "scatter", Required) F(options, "options", Required)
QC_RECORD(ScatterCurveFit, QC_SCATTER_CURVE_FIT_FIELDS)

// x, y: NumericSeries.
#define QC_SCATTER_FIELDS(F) F(x, "x", Required) F(y, "y", Required)
QC_RECORD(Scatter, QC_SCATTER_FIELDS)

// minX, maxX, minY, maxY: DoubleConstant, each optional.
#define QC_SCATTER_FIT_OPTIONS_FIELDS(F)                              \
  F(minX, "minX", Optional) F(maxX, "maxX", Optional) F(minY, "minY", Optional) \
  F(maxY, "maxY", Optional)
QC_RECORD(ScatterFitOptions, QC_SCATTER_FIT_OPTIONS_FIELDS)

// degree: IntegerConstant; intercept: DoubleConstant, optional.
#define QC_POLYNOMIAL_CURVE_FIELDS(F) F(degree, "degree", Required) F(intercept, "intercept", Optional)
QC_RECORD(PolynomialCurve, QC_POLYNOMIAL_CURVE_FIELDS)

// startTime, endTime: TimestampConstant. Same shape as CurveFitRange.
#define QC_CURVE_FIT_OPTIONS_FIELDS(F) F(startTime, "startTime", Required) F(endTime, "endTime", Required)
QC_RECORD(CurveFitOptions, QC_CURVE_FIT_OPTIONS_FIELDS)

// --- Second form ---

// target: CurveFitTarget; fitRange: CurveFitRange; curveToFit: CurveFitV2Details.
#define QC_CURVE_FIT_V2_FIELDS(F) \
  F(target, "target", Required) F(fitRange, "fitRange", Required) F(curveToFit, "curveToFit", Required)
QC_RECORD(CurveFitV2, QC_CURVE_FIT_V2_FIELDS)

QC_RECORD(CurveFitRange, QC_CURVE_FIT_OPTIONS_FIELDS)

// series: NumericSeries; boundsConfig: CurveFitBoundsConfiguration, optional.
#define QC_CURVE_FIT_SERIES_VARIABLE_FIELDS(F) \
  F(series, "series", Required) F(boundsConfig, "boundsConfig", Optional)
QC_RECORD(CurveFitSeriesVariable, QC_CURVE_FIT_SERIES_VARIABLE_FIELDS)

// min, max: DoubleConstant, each optional.
#define QC_CURVE_FIT_BOUNDS_CONFIGURATION_FIELDS(F) F(min, "min", Optional) F(max, "max", Optional)
QC_RECORD(CurveFitBoundsConfiguration, QC_CURVE_FIT_BOUNDS_CONFIGURATION_FIELDS)

QC_RECORD(CurveFitTimeVariable, QC_TIME_SERIES_FIT_OPTIONS_FIELDS)

// independentVariable: CurveFitVariable.
#define QC_BUILT_IN_CURVE_FIT_FIELDS(F) F(independentVariable, "independentVariable", Required)
QC_RECORD(BuiltInCurveFit, QC_BUILT_IN_CURVE_FIT_FIELDS)

// independentVariable: CurveFitVariable; degree: IntegerConstant; intercept: DoubleConstant.
#define QC_POLYNOMIAL_CURVE_FIT_FIELDS(F)                                         \
  F(independentVariable, "independentVariable", Required) F(degree, "degree", Required) \
  F(intercept, "intercept", Optional)
QC_RECORD(PolynomialCurveFit, QC_POLYNOMIAL_CURVE_FIT_FIELDS)

// formula: StringConstant; variables: map from LocalVariableName to CurveFitVariable;
// parameters: map from string to DoubleConstant. Both maps come from qc::string_map.
#define QC_CUSTOM_CURVE_FIT_FIELDS(F)                                          \
  F(formula, "formula", Required) F(variables, "variables", Collection)        \
  F(parameters, "parameters", Collection)
QC_RECORD(CustomCurveFit, QC_CUSTOM_CURVE_FIT_FIELDS)

}  // namespace qc::model
