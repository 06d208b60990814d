// Struct series records: combining series into structs, extracting fields out of them, and the
// shaping nodes every series family has (interval start, time shift, tag filter, tag selection).
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

namespace objects {
struct NumericDataType;
}  // namespace objects
struct Duration;
struct DurationConstant;
struct InterpolationConfiguration;
struct Series;
struct StringConstant;
struct StructSeries;
struct TagPredicate;

// The members are ordered by their names' bytes.
#define QC_FIELDS(F) \
  F(inputs, "inputs", Map<String, Series>) \
  F(interpolationConfiguration, "interpolationConfiguration", Optional<InterpolationConfiguration>)
QC_RECORD(CombineStructSeries, QC_FIELDS)
#undef QC_FIELDS

// Every extraction takes a struct series and a path of steps. The path is a list, never a set:
// steps keep their order and repeats, since a.b.a is not a.b.
#define QC_EXTRACTION_(F) \
  F(input, "input", StructSeries) \
  F(fieldPath, "fieldPath", List<StringConstant>)
#define QC_FIELDS(F) QC_EXTRACTION_(F)
QC_RECORD(ExtractStructFromStructSeries, QC_FIELDS)
QC_RECORD(ExtractEnumFromStructSeries, QC_FIELDS)
QC_RECORD(ExtractEnum1dArrayFromStructSeries, QC_FIELDS)
QC_RECORD(ExtractNumeric1dArrayFromStructSeries, QC_FIELDS)
#undef QC_FIELDS
// Absent means the type is not stated.
#define QC_FIELDS(F) \
  QC_EXTRACTION_(F) \
  F(dataType, "dataType", Optional<objects::NumericDataType>)
QC_RECORD(ExtractNumericFromStructSeries, QC_FIELDS)
#undef QC_FIELDS
#undef QC_EXTRACTION_

#define QC_FIELDS(F) \
  F(input, "input", StructSeries) \
  F(window, "window", Duration)
QC_RECORD(StructToStartOfIntervalSeries, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(input, "input", StructSeries) \
  F(duration, "duration", DurationConstant)
QC_RECORD(StructTimeShiftSeries, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(input, "input", StructSeries) \
  F(predicate, "predicate", TagPredicate)
QC_RECORD(StructTagFilterSeries, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(input, "input", StructSeries) \
  F(tagKeys, "tagKeys", Set<StringConstant>)
QC_RECORD(StructSelectTagsSeries, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
