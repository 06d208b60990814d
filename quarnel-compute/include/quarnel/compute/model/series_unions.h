// The two unions above the series families: Series (any series of points) and ComputeNode (any
// computation, ranges and curve fits included). They declare their variants in different
// orders. Series unions are held as Values (the union's name in a comment).
#pragma once

#include "quarnel/compute/model/curve_fit.h"
#include "quarnel/compute/model/reference.h"

namespace qc::model {

#define QC_SERIES_VARIANTS(V) \
  V(raw, "raw", Reference) \
  V(enum_, "enum", ::qc::Value) /* EnumSeries */ \
  V(numeric, "numeric", ::qc::Value) /* NumericSeries */ \
  V(log, "log", ::qc::Value) /* LogSeries */ \
  V(array, "array", ::qc::Value) /* ArraySeries */ \
  V(struct_, "struct", ::qc::Value) /* StructSeries */ \
  V(video, "video", Reference)
QC_UNION(Series, QC_SERIES_VARIANTS)

#define QC_COMPUTE_NODE_VARIANTS(V) \
  V(enum_, "enum", ::qc::Value) /* EnumSeries */ \
  V(numeric, "numeric", ::qc::Value) /* NumericSeries */ \
  V(log, "log", ::qc::Value) /* LogSeries */ \
  V(ranges, "ranges", ::qc::Value) /* RangeSeries */ \
  V(array, "array", ::qc::Value) /* ArraySeries */ \
  V(struct_, "struct", ::qc::Value) /* StructSeries */ \
  V(curveFit, "curveFit", CurveFit) \
  V(curveV2, "curveV2", CurveFitV2) \
  V(video, "video", Reference) \
  V(raw, "raw", Reference)
QC_UNION(ComputeNode, QC_COMPUTE_NODE_VARIANTS)

}  // namespace qc::model
