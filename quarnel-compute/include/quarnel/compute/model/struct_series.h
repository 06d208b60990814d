// Struct series records: combining series into structs, extracting fields out of them, and the
// shaping nodes every series family has (interval start, time shift, tag filter, tag selection).
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

// "inputs" is a map from member name to Series, ordered by the names' bytes.
#define QC_COMBINE_STRUCT_SERIES_FIELDS(F) \
  F(inputs, "inputs", Collection) F(interpolationConfiguration, "interpolationConfiguration", Optional)
QC_RECORD(CombineStructSeries, QC_COMBINE_STRUCT_SERIES_FIELDS)

// Every extraction takes a StructSeries and a path of StringConstant steps. The path is a list,
// never a set: steps keep their order and repeats, since a.b.a is not a.b.
#define QC_STRUCT_EXTRACTION_FIELDS(F) F(input, "input", Required) F(fieldPath, "fieldPath", Collection)
QC_RECORD(ExtractStructFromStructSeries, QC_STRUCT_EXTRACTION_FIELDS)
QC_RECORD(ExtractEnumFromStructSeries, QC_STRUCT_EXTRACTION_FIELDS)
QC_RECORD(ExtractEnum1dArrayFromStructSeries, QC_STRUCT_EXTRACTION_FIELDS)
QC_RECORD(ExtractNumeric1dArrayFromStructSeries, QC_STRUCT_EXTRACTION_FIELDS)

// "dataType" is an objects::NumericDataType; absent means the type is not stated.
#define QC_EXTRACT_NUMERIC_FROM_STRUCT_SERIES_FIELDS(F) \
  QC_STRUCT_EXTRACTION_FIELDS(F) F(dataType, "dataType", Optional)
QC_RECORD(ExtractNumericFromStructSeries, QC_EXTRACT_NUMERIC_FROM_STRUCT_SERIES_FIELDS)

// "window" is a Duration expression, "duration" a DurationConstant: not interchangeable.
#define QC_STRUCT_TO_START_OF_INTERVAL_SERIES_FIELDS(F) F(input, "input", Required) F(window, "window", Required)
QC_RECORD(StructToStartOfIntervalSeries, QC_STRUCT_TO_START_OF_INTERVAL_SERIES_FIELDS)

#define QC_STRUCT_TIME_SHIFT_SERIES_FIELDS(F) F(input, "input", Required) F(duration, "duration", Required)
QC_RECORD(StructTimeShiftSeries, QC_STRUCT_TIME_SHIFT_SERIES_FIELDS)

#define QC_STRUCT_TAG_FILTER_SERIES_FIELDS(F) F(input, "input", Required) F(predicate, "predicate", Required)
QC_RECORD(StructTagFilterSeries, QC_STRUCT_TAG_FILTER_SERIES_FIELDS)

// "tagKeys" is a set of StringConstant (qc::string_constant_set).
#define QC_STRUCT_SELECT_TAGS_SERIES_FIELDS(F) F(input, "input", Required) F(tagKeys, "tagKeys", Collection)
QC_RECORD(StructSelectTagsSeries, QC_STRUCT_SELECT_TAGS_SERIES_FIELDS)

}  // namespace qc::model
