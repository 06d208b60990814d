// The unions of both curve-fit forms.
#pragma once

#include "quarnel/compute/model/curve_fit.h"
#include "quarnel/compute/model/empty.h"

namespace qc::model {

#define QC_VARIANTS(V) \
  V(timeSeries, "timeSeries", TimeSeriesCurveFit) \
  V(scatter, "scatter", ScatterCurveFit)
QC_UNION(CurveFitPlotType, QC_VARIANTS)
#undef QC_VARIANTS

// The built-in families of the first form take no parameters.
#define QC_VARIANTS(V) \
  V(exponential, "exponential", Empty) \
  V(logarithmic, "logarithmic", Empty) \
  V(polynomial, "polynomial", PolynomialCurve) \
  V(power, "power", Empty)
QC_UNION(CurveFitDetails, QC_VARIANTS)
#undef QC_VARIANTS

#define QC_VARIANTS(V) V(numeric, "numeric", CurveFitSeriesVariable)
QC_UNION(CurveFitTarget, QC_VARIANTS)
#undef QC_VARIANTS

#define QC_VARIANTS(V) \
  V(exponential, "exponential", BuiltInCurveFit) \
  V(logarithmic, "logarithmic", BuiltInCurveFit) \
  V(polynomial, "polynomial", PolynomialCurveFit) \
  V(power, "power", BuiltInCurveFit) \
  V(custom, "custom", CustomCurveFit)
QC_UNION(CurveFitV2Details, QC_VARIANTS)
#undef QC_VARIANTS

#define QC_VARIANTS(V) \
  V(numeric, "numeric", CurveFitSeriesVariable) \
  V(time, "time", CurveFitTimeVariable)
QC_UNION(CurveFitVariable, QC_VARIANTS)
#undef QC_VARIANTS

}  // namespace qc::model
