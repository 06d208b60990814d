// Records and enumerations of event queries.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

struct StringConstant;
struct TimestampConstant;

namespace rids::api {

#define QC_VALUES(E) \
  E(info, "INFO") \
  E(flag, "FLAG") \
  E(error, "ERROR") \
  E(success, "SUCCESS")
QC_ENUM(EventType, QC_VALUES)
#undef QC_VALUES

#define QC_VALUES(E) \
  E(pending_review, "PENDING_REVIEW") \
  E(closed_ignored, "CLOSED_IGNORED") \
  E(closed_requires_further_action, "CLOSED_REQUIRES_FURTHER_ACTION") \
  E(no_disposition, "NO_DISPOSITION")
QC_ENUM(EventDispositionStatus, QC_VALUES)
#undef QC_VALUES

#define QC_VALUES(E) \
  E(workbook, "WORKBOOK") \
  E(template_, "TEMPLATE") \
  E(api, "API") \
  E(data_review, "DATA_REVIEW") \
  E(procedure, "PROCEDURE")
QC_ENUM(SearchEventOriginType, QC_VALUES)
#undef QC_VALUES

// Which end of the event is compared, in which direction, with which bound: start before end,
// before before after, inclusive before exclusive.
#define QC_VALUES(E) \
  E(start_time_before_inclusive, "START_TIME_BEFORE_INCLUSIVE") \
  E(start_time_before_exclusive, "START_TIME_BEFORE_EXCLUSIVE") \
  E(start_time_after_inclusive, "START_TIME_AFTER_INCLUSIVE") \
  E(start_time_after_exclusive, "START_TIME_AFTER_EXCLUSIVE") \
  E(end_time_before_inclusive, "END_TIME_BEFORE_INCLUSIVE") \
  E(end_time_before_exclusive, "END_TIME_BEFORE_EXCLUSIVE") \
  E(end_time_after_inclusive, "END_TIME_AFTER_INCLUSIVE") \
  E(end_time_after_exclusive, "END_TIME_AFTER_EXCLUSIVE")
QC_ENUM(EventTimeFilterCondition, QC_VALUES)
#undef QC_VALUES

#define QC_FIELDS(F) \
  F(timestamp, "timestamp", TimestampConstant) \
  F(timestampCondition, "timestampCondition", EventTimeFilterCondition)
QC_RECORD(EventTimeFilter, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(name, "name", StringConstant) \
  F(value, "value", StringConstant)
QC_RECORD(Property, QC_FIELDS)
#undef QC_FIELDS

}  // namespace rids::api

}  // namespace qc::model
