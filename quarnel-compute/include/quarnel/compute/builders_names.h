// Time units and numeric data types as Python code names them ("days", "int64"), and their
// turning into the model's enumerations (written "DAYS", "INT64").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "quarnel/compute/model/value.h"

namespace qc::builders {

enum class TimeUnit : uint8_t { days, hours, minutes, seconds, milliseconds, microseconds, nanoseconds };
enum class NumericDataType : uint8_t { int64, float64, uint64 };

// The one error of the builders: a text that names nothing. Its display is its message.
class ConversionError {
 public:
  explicit ConversionError(std::string message) : message_(std::move(message)) {}
  const std::string& message() const noexcept { return message_; }

 private:
  std::string message_;
};

// A name converted, or the error saying why not.
template <class T>
class Converted {
 public:
  Converted(T value) : value_(value) {}
  Converted(ConversionError error) : error_(std::move(error)) {}
  bool ok() const noexcept { return value_.has_value(); }
  T value() const { return *value_; }
  const ConversionError& error() const noexcept { return error_; }

 private:
  std::optional<T> value_;
  ConversionError error_{std::string()};
};

// Exact, case-sensitive match of the whole text; anything else is
// "Invalid custom type: " followed by the text as given.
template <class T>
Converted<T> try_from(std::string text);
template <>
Converted<TimeUnit> try_from<TimeUnit>(std::string text);
template <>
Converted<NumericDataType> try_from<NumericDataType>(std::string text);

// The model's api::TimeUnit and objects::NumericDataType values. They never fail: a name
// the model could not read would be a broken invariant, thrown as std::logic_error.
Value to_model(TimeUnit unit);
Value to_model(NumericDataType type);

}  // namespace qc::builders
