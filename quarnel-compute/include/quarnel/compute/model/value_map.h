// Records that carry series between the numeric and the categorical world.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

// "mapping" is a list of RangeMap written in the order given, overlaps and all.
#define QC_VALUE_MAP_SERIES_FIELDS(F) \
  F(input, "input", Required) F(mapping, "mapping", Collection) F(default_, "default", Optional)
QC_RECORD(ValueMapSeries, QC_VALUE_MAP_SERIES_FIELDS)

// The required "output" goes last on the wire, after the two optional bounds.
#define QC_RANGE_MAP_FIELDS(F) F(start, "start", Optional) F(end, "end", Optional) F(output, "output", Required)
QC_RECORD(RangeMap, QC_RANGE_MAP_FIELDS)

// "mapping" is a string_map of DoubleConstant, so it is written in byte order of its keys.
#define QC_ENUM_TO_NUMERIC_SERIES_FIELDS(F) \
  F(input, "input", Required) F(mapping, "mapping", Collection) F(defaultValue, "defaultValue", Optional)
QC_RECORD(EnumToNumericSeries, QC_ENUM_TO_NUMERIC_SERIES_FIELDS)

#define QC_ENUM_COUNT_DUPLICATE_SERIES_FIELDS(F) F(inputs, "inputs", Collection)
QC_RECORD(EnumCountDuplicateSeries, QC_ENUM_COUNT_DUPLICATE_SERIES_FIELDS)

}  // namespace qc::model
