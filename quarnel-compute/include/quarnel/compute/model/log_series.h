// Log series records: union of log series, filtering by a condition, and the shaping nodes.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

// "input" (singular) holds the list of LogSeries to merge, in the order given.
#define QC_LOG_UNION_SERIES_FIELDS(F) \
  F(input, "input", Collection) F(operation, "operation", Required) /* LogUnionOperation */
QC_RECORD(LogUnionSeries, QC_LOG_UNION_SERIES_FIELDS)

#define QC_LOG_UNION_OPERATION_VALUES(E) E(keep_all, "KEEP_ALL")
QC_ENUM(LogUnionOperation, QC_LOG_UNION_OPERATION_VALUES)

#define QC_LOG_FILTER_SERIES_FIELDS(F) \
  F(input, "input", Required) F(operator_, "operator", Required) /* LogFilterOperator */
QC_RECORD(LogFilterSeries, QC_LOG_FILTER_SERIES_FIELDS)

#define QC_LOG_REGEX_FILTER_OPERATOR_FIELDS(F) F(regex, "regex", Required)
QC_RECORD(LogRegexFilterOperator, QC_LOG_REGEX_FILTER_OPERATOR_FIELDS)

#define QC_LOG_EXACT_MATCH_CASE_INSENSITIVE_FILTER_FIELDS(F) F(token, "token", Required)
QC_RECORD(LogExactMatchCaseInsensitiveFilter, QC_LOG_EXACT_MATCH_CASE_INSENSITIVE_FILTER_FIELDS)

// An argument condition is always a regular expression, never a nested LogFilterOperator.
#define QC_LOG_ARG_FILTER_OPERATOR_FIELDS(F)   \
  F(key, "key", Required) /* StringConstant */ \
  F(operator_, "operator", Required) /* LogRegexFilterOperator */
QC_RECORD(LogArgFilterOperator, QC_LOG_ARG_FILTER_OPERATOR_FIELDS)

#define QC_LOG_TIME_SHIFT_SERIES_FIELDS(F) \
  F(input, "input", Required) F(duration, "duration", Required) /* DurationConstant */
QC_RECORD(LogTimeShiftSeries, QC_LOG_TIME_SHIFT_SERIES_FIELDS)

#define QC_LOG_TO_START_OF_INTERVAL_SERIES_FIELDS(F) \
  F(input, "input", Required) F(window, "window", Required) /* Duration */
QC_RECORD(LogToStartOfIntervalSeries, QC_LOG_TO_START_OF_INTERVAL_SERIES_FIELDS)

#define QC_LOG_TAG_FILTER_SERIES_FIELDS(F) \
  F(input, "input", Required) F(predicate, "predicate", Required) /* TagPredicate */
QC_RECORD(LogTagFilterSeries, QC_LOG_TAG_FILTER_SERIES_FIELDS)

#define QC_LOG_SELECT_TAGS_SERIES_FIELDS(F) \
  F(input, "input", Required) F(tagKeys, "tagKeys", Collection) /* set of StringConstant */
QC_RECORD(LogSelectTagsSeries, QC_LOG_SELECT_TAGS_SERIES_FIELDS)

}  // namespace qc::model
