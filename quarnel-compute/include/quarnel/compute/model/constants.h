// Constants (a literal or the name of a variable bound elsewhere) and the two time records.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

namespace api {
#define QC_FIELDS(F) \
  F(seconds, "seconds", I64) \
  F(nanos, "nanos", I64)
QC_RECORD(Timestamp, QC_FIELDS)
}  // namespace api

namespace run::api {
QC_RECORD(RunDuration, QC_FIELDS)
#undef QC_FIELDS
}  // namespace run::api

#define QC_VARIANTS(V) \
  V(literal, "literal", F64) \
  V(variable, "variable", String)
QC_UNION(DoubleConstant, QC_VARIANTS)
#undef QC_VARIANTS
#define QC_VARIANTS(V) \
  V(literal, "literal", I32) \
  V(variable, "variable", String)
QC_UNION(IntegerConstant, QC_VARIANTS)
#undef QC_VARIANTS
#define QC_VARIANTS(V) \
  V(literal, "literal", String) \
  V(variable, "variable", String)
QC_UNION(StringConstant, QC_VARIANTS)
#undef QC_VARIANTS
#define QC_VARIANTS(V) \
  V(literal, "literal", Set<String>) \
  V(variable, "variable", String)
QC_UNION(StringSetConstant, QC_VARIANTS)
#undef QC_VARIANTS
#define QC_VARIANTS(V) \
  V(literal, "literal", Set<StringConstant>) \
  V(variable, "variable", String)
QC_UNION(StringSetConstantV2, QC_VARIANTS)
#undef QC_VARIANTS
#define QC_VARIANTS(V) \
  V(literal, "literal", api::Timestamp) \
  V(variable, "variable", String)
QC_UNION(TimestampConstant, QC_VARIANTS)
#undef QC_VARIANTS
#define QC_VARIANTS(V) \
  V(literal, "literal", run::api::RunDuration) \
  V(variable, "variable", String)
QC_UNION(DurationConstant, QC_VARIANTS)
#undef QC_VARIANTS

// A plain number used as a numeric series is the "constant" series of this union.
#define QC_VARIANTS(V) V(double_, "double", DoubleConstant)
QC_UNION(ConstantNumericSeries, QC_VARIANTS)
#undef QC_VARIANTS

}  // namespace qc::model
