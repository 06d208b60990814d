// Values bound to variables, function arguments, derived series and the context defaults.
#pragma once

#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/context.h"
#include "quarnel/compute/model/empty.h"
#include "quarnel/compute/model/selection_unions.h"

namespace qc::model {

// The payload of the "derived" variant of every series union.
#define QC_VARIANTS(V) V(function, "function", FunctionDerivedSeries)
QC_UNION(DerivedSeries, QC_VARIANTS)
#undef QC_VARIANTS

#define QC_VARIANTS(V) \
  V(double_, "double", F64) \
  V(computeNode, "computeNode", ComputeNodeWithContext) \
  V(duration, "duration", run::api::RunDuration) \
  V(integer, "integer", I32) \
  V(channel, "channel", ChannelSeries) \
  V(derived, "derived", DerivedSeries) \
  V(series, "series", SeriesVariable) \
  V(string, "string", String) \
  V(stringSet, "stringSet", Set<String>) \
  V(timestamp, "timestamp", api::Timestamp)
QC_UNION(VariableValue, QC_VARIANTS)
#undef QC_VARIANTS

#define QC_VARIANTS(V) \
  V(variable, "variable", String) \
  V(value, "value", VariableValue)
QC_UNION(FunctionParameterValue, QC_VARIANTS)
#undef QC_VARIANTS

#define QC_VARIANTS(V) V(pinned, "pinned", PinnedModuleVersionReference)
QC_UNION(ModuleVersionReference, QC_VARIANTS)
#undef QC_VARIANTS

#define QC_VARIANTS(V) \
  V(driverSeries, "driverSeries", Empty) \
  V(union_, "union", Empty)
QC_UNION(Alignment, QC_VARIANTS)
#undef QC_VARIANTS

#define QC_VARIANTS(V) V(forwardFill, "forwardFill", ForwardFill)
QC_UNION(FillStrategy, QC_VARIANTS)
#undef QC_VARIANTS

#define QC_VARIANTS(V) V(duration, "duration", DurationConstant)
QC_UNION(FillLimit, QC_VARIANTS)
#undef QC_VARIANTS

}  // namespace qc::model
