// The event query union: criteria on recorded events and their combinations.
#pragma once

#include "quarnel/compute/model/event_query.h"

namespace qc::model::rids::api {

// String criteria hold a StringConstant and the time bounds a TimestampConstant, so that each
// may be a variable bound elsewhere; "and"/"or" hold a list of queries (written even when
// empty) and "not" a single query.
#define QC_COMPUTE_EVENT_QUERY_VARIANTS(V)                                                \
  V(searchText, "searchText", ::qc::Value /* StringConstant */)                           \
  V(after, "after", ::qc::Value /* TimestampConstant */)                                  \
  V(before, "before", ::qc::Value /* TimestampConstant */)                                \
  V(advancedTimeFilter, "advancedTimeFilter", EventTimeFilter)                            \
  V(asset, "asset", ::qc::Value /* StringConstant */)                                     \
  V(template_, "template", ::qc::Value /* StringConstant */)                              \
  V(workbook, "workbook", ::qc::Value /* StringConstant */)                               \
  V(dataReview, "dataReview", ::qc::Value /* StringConstant */)                           \
  V(originType, "originType", ::qc::Value /* SearchEventOriginType */)                    \
  V(dataReviewCheck, "dataReviewCheck", ::qc::Value /* StringConstant */)                 \
  V(dispositionStatus, "dispositionStatus", ::qc::Value /* EventDispositionStatus */)     \
  V(priority, "priority", ::qc::Value /* StringConstant */)                               \
  V(assignee, "assignee", ::qc::Value /* StringConstant */)                               \
  V(eventType, "eventType", ::qc::Value /* EventType */)                                  \
  V(createdBy, "createdBy", ::qc::Value /* StringConstant */)                             \
  V(label, "label", ::qc::Value /* StringConstant */)                                     \
  V(property, "property", Property)                                                       \
  V(and_, "and", ::qc::Value /* list of ComputeEventQuery */)                             \
  V(or_, "or", ::qc::Value /* list of ComputeEventQuery */)                               \
  V(not_, "not", ::qc::Value /* ComputeEventQuery */)                                     \
  V(workspace, "workspace", ::qc::Value /* StringConstant */)                             \
  V(procedure, "procedure", ::qc::Value /* StringConstant */)                             \
  V(procedureExecution, "procedureExecution", ::qc::Value /* StringConstant */)           \
  V(stepId, "stepId", ::qc::Value /* StringConstant */)
QC_UNION(ComputeEventQuery, QC_COMPUTE_EVENT_QUERY_VARIANTS)

}  // namespace qc::model::rids::api
