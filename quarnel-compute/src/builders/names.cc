// Time-unit and data-type names: from the lower-case texts Python code passes, and into the
// model's enumerations by reading their wire text, so the two tables cannot drift apart.
#include <array>
#include <stdexcept>
#include <string_view>

#include "quarnel/compute/builders_names.h"
#include "quarnel/compute/model/units.h"

namespace qc::builders {
namespace {

struct Name {
  std::string_view accepted;  // as Python code writes it
  std::string_view wire;      // the model's JSON text of the same value
};

constexpr std::array<Name, 7> kTimeUnits{{
    {"days", "\"DAYS\""},
    {"hours", "\"HOURS\""},
    {"minutes", "\"MINUTES\""},
    {"seconds", "\"SECONDS\""},
    {"milliseconds", "\"MILLISECONDS\""},
    {"microseconds", "\"MICROSECONDS\""},
    {"nanoseconds", "\"NANOSECONDS\""},
}};

constexpr std::array<Name, 3> kDataTypes{{
    {"int64", "\"INT64\""},
    {"float64", "\"FLOAT64\""},
    {"uint64", "\"UINT64\""},
}};

template <class T, size_t N>
Converted<T> find(const std::array<Name, N>& names, std::string text) {
  for (size_t i = 0; i < N; ++i)
    if (names[i].accepted == text) return static_cast<T>(i);
  return ConversionError("Invalid custom type: " + text);
}

template <class E>
Value read_model(std::string_view wire) {
  EnumRead r = E::deserialize(wire);
  if (!r.ok()) throw std::logic_error("enum variant string should deserialize: " + r.error);
  return r.value;
}

}  // namespace

template <>
Converted<TimeUnit> try_from<TimeUnit>(std::string text) {
  return find<TimeUnit>(kTimeUnits, std::move(text));
}

template <>
Converted<NumericDataType> try_from<NumericDataType>(std::string text) {
  return find<NumericDataType>(kDataTypes, std::move(text));
}

Value to_model(TimeUnit unit) {
  return read_model<model::api::TimeUnit>(kTimeUnits[static_cast<size_t>(unit)].wire);
}

Value to_model(NumericDataType type) {
  return read_model<model::objects::NumericDataType>(kDataTypes[static_cast<size_t>(type)].wire);
}

}  // namespace qc::builders
