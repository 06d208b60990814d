// LogSeries and its filter conditions.
#pragma once

#include "quarnel/compute/model/context_unions.h"
#include "quarnel/compute/model/log_series.h"
#include "quarnel/compute/model/reference.h"
#include "quarnel/compute/model/selection_unions.h"

namespace qc::model {

// "raw" comes first here, before "channel", unlike the struct and array series.
#define QC_VARIANTS(V) \
  V(raw, "raw", Reference) \
  V(channel, "channel", ChannelSeries) \
  V(derived, "derived", DerivedSeries) \
  V(selectLogs, "selectLogs", SelectSeries) \
  V(union_, "union", LogUnionSeries) \
  V(filter, "filter", LogFilterSeries) \
  V(timeShift, "timeShift", LogTimeShiftSeries) \
  V(toStartOfInterval, "toStartOfInterval", LogToStartOfIntervalSeries) \
  V(filterByTag, "filterByTag", LogTagFilterSeries) \
  V(selectTags, "selectTags", LogSelectTagsSeries)
QC_UNION(LogSeries, QC_VARIANTS)
#undef QC_VARIANTS

// "and" and "or" hold a list of conditions (written even when empty), "not" a single one.
#define QC_VARIANTS(V) \
  V(regexFilter, "regexFilter", LogRegexFilterOperator) \
  V(exactMatchCaseInsensitiveFilter, "exactMatchCaseInsensitiveFilter", LogExactMatchCaseInsensitiveFilter) \
  V(arg, "arg", LogArgFilterOperator) \
  V(and_, "and", List<LogFilterOperator>) \
  V(or_, "or", List<LogFilterOperator>) \
  V(not_, "not", LogFilterOperator)
QC_UNION(LogFilterOperator, QC_VARIANTS)
#undef QC_VARIANTS

}  // namespace qc::model
