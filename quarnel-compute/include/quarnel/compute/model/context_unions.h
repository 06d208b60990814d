// Values bound to variables, function arguments, derived series and the context defaults.
#pragma once

#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/context.h"

namespace qc::model {

// "duration" is the RunDuration record, not the Duration expression union.
#define QC_VARIABLE_VALUE_VARIANTS(V)                                          \
  V(double_, "double", ::qc::Value)                                            \
  V(computeNode, "computeNode", ComputeNodeWithContext)                        \
  V(duration, "duration", run::api::RunDuration)                               \
  V(integer, "integer", ::qc::Value)                                           \
  V(channel, "channel", ::qc::Value /* ChannelSeries */)                       \
  V(derived, "derived", ::qc::Value /* DerivedSeries */)                       \
  V(series, "series", SeriesVariable)                                          \
  V(string, "string", ::qc::Value)                                             \
  V(stringSet, "stringSet", ::qc::Value /* set of string */)                   \
  V(timestamp, "timestamp", api::Timestamp)
QC_UNION(VariableValue, QC_VARIABLE_VALUE_VARIANTS)

#define QC_FUNCTION_PARAMETER_VALUE_VARIANTS(V) \
  V(variable, "variable", ::qc::Value) V(value, "value", ::qc::Value /* VariableValue */)
QC_UNION(FunctionParameterValue, QC_FUNCTION_PARAMETER_VALUE_VARIANTS)

// The payload of the "derived" variant of every series union.
#define QC_DERIVED_SERIES_VARIANTS(V) V(function, "function", FunctionDerivedSeries)
QC_UNION(DerivedSeries, QC_DERIVED_SERIES_VARIANTS)

#define QC_MODULE_VERSION_REFERENCE_VARIANTS(V) V(pinned, "pinned", PinnedModuleVersionReference)
QC_UNION(ModuleVersionReference, QC_MODULE_VERSION_REFERENCE_VARIANTS)

#define QC_ALIGNMENT_VARIANTS(V) \
  V(driverSeries, "driverSeries", DriverSeriesAlignment) V(union_, "union", UnionAlignment)
QC_UNION(Alignment, QC_ALIGNMENT_VARIANTS)

#define QC_FILL_STRATEGY_VARIANTS(V) V(forwardFill, "forwardFill", ForwardFill)
QC_UNION(FillStrategy, QC_FILL_STRATEGY_VARIANTS)

#define QC_FILL_LIMIT_VARIANTS(V) V(duration, "duration", ::qc::Value /* DurationConstant */)
QC_UNION(FillLimit, QC_FILL_LIMIT_VARIANTS)

}  // namespace qc::model
