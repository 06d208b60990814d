// Log series records: union of log series, filtering by a condition, and the shaping nodes.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

struct Duration;
struct DurationConstant;
struct LogFilterOperator;
struct LogSeries;
struct StringConstant;
struct TagPredicate;

#define QC_VALUES(E) E(keep_all, "KEEP_ALL")
QC_ENUM(LogUnionOperation, QC_VALUES)
#undef QC_VALUES

// "input" (singular) holds the series to merge, in the order given.
#define QC_FIELDS(F) \
  F(input, "input", List<LogSeries>) \
  F(operation, "operation", LogUnionOperation)
QC_RECORD(LogUnionSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", LogSeries) \
  F(operator_, "operator", LogFilterOperator)
QC_RECORD(LogFilterSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) F(regex, "regex", String)
QC_RECORD(LogRegexFilterOperator, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) F(token, "token", String)
QC_RECORD(LogExactMatchCaseInsensitiveFilter, QC_FIELDS)
#undef QC_FIELDS

// An argument condition is always a regular expression, never a nested LogFilterOperator.
#define QC_FIELDS(F) \
  F(key, "key", StringConstant) \
  F(operator_, "operator", LogRegexFilterOperator)
QC_RECORD(LogArgFilterOperator, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", LogSeries) \
  F(duration, "duration", DurationConstant)
QC_RECORD(LogTimeShiftSeries, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(input, "input", LogSeries) \
  F(window, "window", Duration)
QC_RECORD(LogToStartOfIntervalSeries, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(input, "input", LogSeries) \
  F(predicate, "predicate", TagPredicate)
QC_RECORD(LogTagFilterSeries, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(input, "input", LogSeries) \
  F(tagKeys, "tagKeys", Set<StringConstant>)
QC_RECORD(LogSelectTagsSeries, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
