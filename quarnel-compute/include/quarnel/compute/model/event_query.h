// Records and enumerations of event queries.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model::rids::api {

#define QC_EVENT_TIME_FILTER_FIELDS(F) \
  F(timestamp, "timestamp", Required) F(timestampCondition, "timestampCondition", Required)
QC_RECORD(EventTimeFilter, QC_EVENT_TIME_FILTER_FIELDS)

#define QC_PROPERTY_FIELDS(F) F(name, "name", Required) F(value, "value", Required)
QC_RECORD(Property, QC_PROPERTY_FIELDS)

#define QC_EVENT_TYPE_VALUES(E) E(info, "INFO") E(flag, "FLAG") E(error, "ERROR") E(success, "SUCCESS")
QC_ENUM(EventType, QC_EVENT_TYPE_VALUES)

#define QC_EVENT_DISPOSITION_STATUS_VALUES(E)                                             \
  E(pending_review, "PENDING_REVIEW") E(closed_ignored, "CLOSED_IGNORED")                 \
  E(closed_requires_further_action, "CLOSED_REQUIRES_FURTHER_ACTION")                     \
  E(no_disposition, "NO_DISPOSITION")
QC_ENUM(EventDispositionStatus, QC_EVENT_DISPOSITION_STATUS_VALUES)

#define QC_SEARCH_EVENT_ORIGIN_TYPE_VALUES(E)                                             \
  E(workbook, "WORKBOOK") E(template_, "TEMPLATE") E(api, "API") E(data_review, "DATA_REVIEW") \
  E(procedure, "PROCEDURE")
QC_ENUM(SearchEventOriginType, QC_SEARCH_EVENT_ORIGIN_TYPE_VALUES)

// Which end of the event is compared, in which direction, with which bound: start before end,
// before before after, inclusive before exclusive.
#define QC_EVENT_TIME_FILTER_CONDITION_VALUES(E)                                          \
  E(start_time_before_inclusive, "START_TIME_BEFORE_INCLUSIVE")                           \
  E(start_time_before_exclusive, "START_TIME_BEFORE_EXCLUSIVE")                           \
  E(start_time_after_inclusive, "START_TIME_AFTER_INCLUSIVE")                             \
  E(start_time_after_exclusive, "START_TIME_AFTER_EXCLUSIVE")                             \
  E(end_time_before_inclusive, "END_TIME_BEFORE_INCLUSIVE")                               \
  E(end_time_before_exclusive, "END_TIME_BEFORE_EXCLUSIVE")                               \
  E(end_time_after_inclusive, "END_TIME_AFTER_INCLUSIVE")                                 \
  E(end_time_after_exclusive, "END_TIME_AFTER_EXCLUSIVE")
QC_ENUM(EventTimeFilterCondition, QC_EVENT_TIME_FILTER_CONDITION_VALUES)

}  // namespace qc::model::rids::api
