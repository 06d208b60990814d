// The event query union: criteria on recorded events and their combinations. String criteria
// are constants and the time bounds timestamp constants, so that each may be a variable bound
// elsewhere.
#pragma once

#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/event_query.h"

namespace qc::model::rids::api {

#define QC_VARIANTS(V) \
  V(searchText, "searchText", StringConstant) \
  V(after, "after", TimestampConstant) \
  V(before, "before", TimestampConstant) \
  V(advancedTimeFilter, "advancedTimeFilter", EventTimeFilter) \
  V(asset, "asset", StringConstant) \
  V(template_, "template", StringConstant) \
  V(workbook, "workbook", StringConstant) \
  V(dataReview, "dataReview", StringConstant) \
  V(originType, "originType", SearchEventOriginType) \
  V(dataReviewCheck, "dataReviewCheck", StringConstant) \
  V(dispositionStatus, "dispositionStatus", EventDispositionStatus) \
  V(priority, "priority", StringConstant) \
  V(assignee, "assignee", StringConstant) \
  V(eventType, "eventType", EventType) \
  V(createdBy, "createdBy", StringConstant) \
  V(label, "label", StringConstant) \
  V(property, "property", Property) \
  V(and_, "and", List<ComputeEventQuery>) \
  V(or_, "or", List<ComputeEventQuery>) \
  V(not_, "not", ComputeEventQuery) \
  V(workspace, "workspace", StringConstant) \
  V(procedure, "procedure", StringConstant) \
  V(procedureExecution, "procedureExecution", StringConstant) \
  V(stepId, "stepId", StringConstant)
QC_UNION(ComputeEventQuery, QC_VARIANTS)
#undef QC_VARIANTS

}  // namespace qc::model::rids::api
