// Time units and numeric data types as Python code names them ("days", "int64"), and their
// turning into the model's enumerations (written "DAYS", "INT64"). The builder-side values are
// the model enumerations' own named values, so both are declared once, in the model; the
// accepted names are the model's wire names in lower case.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "quarnel/compute/model/units.h"

namespace qc::builders {

using TimeUnit = model::api::TimeUnit::Enumerator;
using NumericDataType = model::objects::NumericDataType::Enumerator;

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
Converted<T> try_from(std::string_view text);
template <>
Converted<TimeUnit> try_from<TimeUnit>(std::string_view text);
template <>
Converted<NumericDataType> try_from<NumericDataType>(std::string_view text);

// The name Python code gives a value ("days").
std::string_view name_of(TimeUnit unit);
std::string_view name_of(NumericDataType type);

// The model's values, read once from their JSON text as the model's reader reads them. They
// never fail: a name the model could not read would be a broken invariant, thrown as
// std::logic_error.
Handle<model::api::TimeUnit> to_model(TimeUnit unit);
Handle<model::objects::NumericDataType> to_model(NumericDataType type);

}  // namespace qc::builders
