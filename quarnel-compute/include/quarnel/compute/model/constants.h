// Constants (a literal or the name of a variable bound elsewhere) and the two time records.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

// Each constant's "literal" payload is a scalar or a set and its "variable" payload a string,
// so both are held as a Value.
#define QC_CONSTANT_VARIANTS(V) V(literal, "literal", ::qc::Value) V(variable, "variable", ::qc::Value)
QC_UNION(DoubleConstant, QC_CONSTANT_VARIANTS)
QC_UNION(IntegerConstant, QC_CONSTANT_VARIANTS)
QC_UNION(StringConstant, QC_CONSTANT_VARIANTS)
QC_UNION(StringSetConstant, QC_CONSTANT_VARIANTS)
QC_UNION(StringSetConstantV2, QC_CONSTANT_VARIANTS)
QC_UNION(TimestampConstant, QC_CONSTANT_VARIANTS)
QC_UNION(DurationConstant, QC_CONSTANT_VARIANTS)

#define QC_CONSTANT_NUMERIC_SERIES_VARIANTS(V) V(double_, "double", ::qc::Value) /* DoubleConstant */
QC_UNION(ConstantNumericSeries, QC_CONSTANT_NUMERIC_SERIES_VARIANTS)

namespace api {
#define QC_TIMESTAMP_FIELDS(F) F(seconds, "seconds", Required) F(nanos, "nanos", Required)
QC_RECORD(Timestamp, QC_TIMESTAMP_FIELDS)
}  // namespace api

namespace run::api {
QC_RECORD(RunDuration, QC_TIMESTAMP_FIELDS)
}  // namespace run::api

// Shorthands for the literal and variable forms.
inline Value double_literal(double d) { return DoubleConstant::make(DoubleConstant::literal, Value::f64(d)); }
inline Value integer_literal(int32_t i) { return IntegerConstant::make(IntegerConstant::literal, Value::i32(i)); }
inline Value string_literal(std::string_view s) { return StringConstant::make(StringConstant::literal, Value::str(s)); }
inline Value string_variable(std::string_view s) { return StringConstant::make(StringConstant::variable, Value::str(s)); }
inline Value timestamp(int64_t seconds, int64_t nanos) {
  return api::Timestamp{.seconds = Value::i64(seconds), .nanos = Value::i64(nanos)}.build();
}
inline Value run_duration(int64_t seconds, int64_t nanos) {
  return run::api::RunDuration{.seconds = Value::i64(seconds), .nanos = Value::i64(nanos)}.build();
}

}  // namespace qc::model
