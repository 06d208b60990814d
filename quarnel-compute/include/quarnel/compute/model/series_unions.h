// The two unions above the series families: Series (any series of points) and ComputeNode (any
// computation, ranges and curve fits included). They declare their variants in different
// orders.
#pragma once

#include "quarnel/compute/model/array_series_unions.h"
#include "quarnel/compute/model/categorical_unions.h"
#include "quarnel/compute/model/curve_fit.h"
#include "quarnel/compute/model/log_series_unions.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/ranges_unions.h"
#include "quarnel/compute/model/reference.h"
#include "quarnel/compute/model/struct_series_unions.h"

namespace qc::model {

#define QC_VARIANTS(V) \
  V(raw, "raw", Reference) \
  V(enum_, "enum", EnumSeries) \
  V(numeric, "numeric", NumericSeries) \
  V(log, "log", LogSeries) \
  V(array, "array", ArraySeries) \
  V(struct_, "struct", StructSeries) \
  V(video, "video", Reference)
QC_UNION(Series, QC_VARIANTS)
#undef QC_VARIANTS

#define QC_VARIANTS(V) \
  V(enum_, "enum", EnumSeries) \
  V(numeric, "numeric", NumericSeries) \
  V(log, "log", LogSeries) \
  V(ranges, "ranges", RangeSeries) \
  V(array, "array", ArraySeries) \
  V(struct_, "struct", StructSeries) \
  V(curveFit, "curveFit", CurveFit) \
  V(curveV2, "curveV2", CurveFitV2) \
  V(video, "video", Reference) \
  V(raw, "raw", Reference)
QC_UNION(ComputeNode, QC_VARIANTS)
#undef QC_VARIANTS

}  // namespace qc::model
