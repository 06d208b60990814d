// The unions of both curve-fit forms.
#pragma once

#include "quarnel/compute/model/curve_fit.h"

namespace qc::model {

#define QC_CURVE_FIT_PLOT_TYPE_VARIANTS(V) \
  V(timeSeries, "timeSeries", TimeSeriesCurveFit) V(scatter, "scatter", ScatterCurveFit)
QC_UNION(CurveFitPlotType, QC_CURVE_FIT_PLOT_TYPE_VARIANTS)

#define QC_CURVE_FIT_DETAILS_VARIANTS(V)                                         \
  V(exponential, "exponential", EmptyCurveFitPayload)                            \
  V(logarithmic, "logarithmic", EmptyCurveFitPayload)                            \
  V(polynomial, "polynomial", PolynomialCurve) V(power, "power", EmptyCurveFitPayload)
QC_UNION(CurveFitDetails, QC_CURVE_FIT_DETAILS_VARIANTS)

#define QC_CURVE_FIT_TARGET_VARIANTS(V) V(numeric, "numeric", CurveFitSeriesVariable)
QC_UNION(CurveFitTarget, QC_CURVE_FIT_TARGET_VARIANTS)

#define QC_CURVE_FIT_V2_DETAILS_VARIANTS(V)                                              \
  V(exponential, "exponential", BuiltInCurveFit) V(logarithmic, "logarithmic", BuiltInCurveFit) \
  V(polynomial, "polynomial", PolynomialCurveFit) V(power, "power", BuiltInCurveFit)            \
  V(custom, "custom", CustomCurveFit)
QC_UNION(CurveFitV2Details, QC_CURVE_FIT_V2_DETAILS_VARIANTS)

#define QC_CURVE_FIT_VARIABLE_VARIANTS(V) \
  V(numeric, "numeric", CurveFitSeriesVariable) V(time, "time", CurveFitTimeVariable)
QC_UNION(CurveFitVariable, QC_CURVE_FIT_VARIABLE_VARIANTS)

}  // namespace qc::model
