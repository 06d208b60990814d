// Array series records: the shaping nodes of the numeric and categorical one-dimensional array
// series, and the selection of one element index as a numeric series. The extraction of an
// array field out of a struct series is in struct_series.h, shared with the other extractions.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

struct Duration;
struct DurationConstant;
struct Enum1dArraySeries;
struct IntegerConstant;
struct Numeric1dArraySeries;
struct StringConstant;
struct TagPredicate;

#define QC_FIELDS(F) \
  F(input, "input", Numeric1dArraySeries) \
  F(window, "window", Duration)
QC_RECORD(Numeric1dArrayToStartOfIntervalSeries, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(input, "input", Enum1dArraySeries) \
  F(window, "window", Duration)
QC_RECORD(Enum1dArrayToStartOfIntervalSeries, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(input, "input", Numeric1dArraySeries) \
  F(duration, "duration", DurationConstant)
QC_RECORD(Numeric1dArrayTimeShiftSeries, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(input, "input", Enum1dArraySeries) \
  F(duration, "duration", DurationConstant)
QC_RECORD(Enum1dArrayTimeShiftSeries, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(input, "input", Numeric1dArraySeries) \
  F(predicate, "predicate", TagPredicate)
QC_RECORD(Numeric1dArrayTagFilterSeries, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(input, "input", Enum1dArraySeries) \
  F(predicate, "predicate", TagPredicate)
QC_RECORD(Enum1dArrayTagFilterSeries, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(input, "input", Numeric1dArraySeries) \
  F(tagKeys, "tagKeys", Set<StringConstant>)
QC_RECORD(Numeric1dArraySelectTagsSeries, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(input, "input", Enum1dArraySeries) \
  F(tagKeys, "tagKeys", Set<StringConstant>)
QC_RECORD(Enum1dArraySelectTagsSeries, QC_FIELDS)
#undef QC_FIELDS

// The index is not range-checked: what lies outside an array is for the evaluator to decide.
#define QC_FIELDS(F) \
  F(input, "input", Numeric1dArraySeries) \
  F(index, "index", IntegerConstant)
QC_RECORD(SelectIndexFrom1dNumericArraySeries, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
