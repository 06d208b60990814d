// The two enumerations that can be read from JSON text: time units and numeric data types.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

namespace api {
#define QC_VALUES(E) \
  E(days, "DAYS") \
  E(hours, "HOURS") \
  E(minutes, "MINUTES") \
  E(seconds, "SECONDS") \
  E(milliseconds, "MILLISECONDS") \
  E(microseconds, "MICROSECONDS") \
  E(nanoseconds, "NANOSECONDS")
QC_ENUM(TimeUnit, QC_VALUES)
#undef QC_VALUES
}  // namespace api

namespace objects {
#define QC_VALUES(E) \
  E(int64, "INT64") \
  E(float64, "FLOAT64") \
  E(uint64, "UINT64")
QC_ENUM(NumericDataType, QC_VALUES)
#undef QC_VALUES
}  // namespace objects

}  // namespace qc::model
