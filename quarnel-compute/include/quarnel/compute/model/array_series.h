// Array series records: the shaping nodes of the numeric and categorical one-dimensional array
// series, and the selection of one element index as a numeric series. The extraction of an
// array field out of a struct series is in struct_series.h, shared with the other extractions.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

// Each shape serves both element kinds; "input" is a Numeric1dArraySeries or an
// Enum1dArraySeries after the record's name.
#define QC_ARRAY_TO_START_OF_INTERVAL_SERIES_FIELDS(F) \
  F(input, "input", Required) F(window, "window", Required) /* Duration */
QC_RECORD(Numeric1dArrayToStartOfIntervalSeries, QC_ARRAY_TO_START_OF_INTERVAL_SERIES_FIELDS)
QC_RECORD(Enum1dArrayToStartOfIntervalSeries, QC_ARRAY_TO_START_OF_INTERVAL_SERIES_FIELDS)

#define QC_ARRAY_TIME_SHIFT_SERIES_FIELDS(F) \
  F(input, "input", Required) F(duration, "duration", Required) /* DurationConstant */
QC_RECORD(Numeric1dArrayTimeShiftSeries, QC_ARRAY_TIME_SHIFT_SERIES_FIELDS)
QC_RECORD(Enum1dArrayTimeShiftSeries, QC_ARRAY_TIME_SHIFT_SERIES_FIELDS)

#define QC_ARRAY_TAG_FILTER_SERIES_FIELDS(F) \
  F(input, "input", Required) F(predicate, "predicate", Required) /* TagPredicate */
QC_RECORD(Numeric1dArrayTagFilterSeries, QC_ARRAY_TAG_FILTER_SERIES_FIELDS)
QC_RECORD(Enum1dArrayTagFilterSeries, QC_ARRAY_TAG_FILTER_SERIES_FIELDS)

#define QC_ARRAY_SELECT_TAGS_SERIES_FIELDS(F) \
  F(input, "input", Required) F(tagKeys, "tagKeys", Collection) /* set of StringConstant */
QC_RECORD(Numeric1dArraySelectTagsSeries, QC_ARRAY_SELECT_TAGS_SERIES_FIELDS)
QC_RECORD(Enum1dArraySelectTagsSeries, QC_ARRAY_SELECT_TAGS_SERIES_FIELDS)

// The index is an IntegerConstant and is not range-checked: what lies outside an array is for
// the evaluator to decide.
#define QC_SELECT_INDEX_FROM1D_NUMERIC_ARRAY_SERIES_FIELDS(F) \
  F(input, "input", Required) /* Numeric1dArraySeries */       \
  F(index, "index", Required) /* IntegerConstant */
QC_RECORD(SelectIndexFrom1dNumericArraySeries, QC_SELECT_INDEX_FROM1D_NUMERIC_ARRAY_SERIES_FIELDS)

}  // namespace qc::model
