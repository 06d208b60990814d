// Records that carry series between the numeric and the categorical world.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

struct DoubleConstant;
struct EnumSeries;
struct NumericSeries;
struct StringConstant;

// The required "output" goes last on the wire, after the two optional bounds.
#define QC_FIELDS(F) \
  F(start, "start", Optional<DoubleConstant>) \
  F(end, "end", Optional<DoubleConstant>) \
  F(output, "output", StringConstant)
QC_RECORD(RangeMap, QC_FIELDS)
#undef QC_FIELDS

// The mapping is written in the order given, overlaps and all.
#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(mapping, "mapping", List<RangeMap>) \
  F(default_, "default", Optional<StringConstant>)
QC_RECORD(ValueMapSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", EnumSeries) \
  F(mapping, "mapping", Map<String, DoubleConstant>) \
  F(defaultValue, "defaultValue", Optional<DoubleConstant>)
QC_RECORD(EnumToNumericSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) F(inputs, "inputs", List<EnumSeries>)
QC_RECORD(EnumCountDuplicateSeries, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
