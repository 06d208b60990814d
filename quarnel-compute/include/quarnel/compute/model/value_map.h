// Records that carry series between the numeric and the categorical world.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

struct DoubleConstant;
struct EnumSeries;
struct NumericSeries;
struct StringConstant;

// The required "output" goes last on the wire, after the two optional bounds.
// clang-format off
#define QC_FIELDS(F)                          \
  F(start, "start", Optional<DoubleConstant>) \
  F(end, "end", Optional<DoubleConstant>)     \
  F(output, "output", StringConstant)
// clang-format on
QC_RECORD(RangeMap, QC_FIELDS)
#undef QC_FIELDS

// The mapping is written in the order given, overlaps and all.
// clang-format off
#define QC_FIELDS(F)                    \
  F(input, "input", NumericSeries)      \
  F(mapping, "mapping", List<RangeMap>) \
  F(default_, "default", Optional<StringConstant>)
// clang-format on
QC_RECORD(ValueMapSeries, QC_FIELDS)
#undef QC_FIELDS

// clang-format off
#define QC_FIELDS(F)                                 \
  F(input, "input", EnumSeries)                      \
  F(mapping, "mapping", Map<String, DoubleConstant>) \
  F(defaultValue, "defaultValue", Optional<DoubleConstant>)
// clang-format on
QC_RECORD(EnumToNumericSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) F(inputs, "inputs", List<EnumSeries>)
QC_RECORD(EnumCountDuplicateSeries, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
