// Time-unit and data-type names: each enumeration's table is made once, on first use, from the
// model's own list: the accepted name is the wire name in lower case, and the model value is
// read from the wire text by the model's reader, so the two sides cannot drift apart.
#include <array>
#include <stdexcept>
#include <string>
#include <string_view>

#include "quarnel/compute/builders_names.h"
#include "quarnel/compute/model/json.h"

namespace qc::builders {
namespace {

template <class E>
struct Names {
  static constexpr size_t count = E::qc_enum_.count;
  std::array<std::string, count> accepted;  // as Python code writes it
  std::array<Handle<E>, count> model;       // the value read from its wire text
};

template <class E>
const Names<E>& names() {
  static const Names<E> table = [] {
    Names<E> t;
    for (size_t i = 0; i < Names<E>::count; ++i) {
      std::string_view wire = E::qc_enum_.values[i];  // with its quotation marks
      for (char c : wire.substr(1, wire.size() - 2))
        t.accepted[i] += (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
      EnumReadOf<E> read = deserialize<E>(wire);
      if (!read.ok())
        throw std::logic_error("enum variant string should deserialize: " + read.error);
      t.model[i] = std::move(read.value);
    }
    return t;
  }();
  return table;
}

template <class E>
Converted<typename E::Enumerator> find(std::string_view text) {
  const Names<E>& table = names<E>();
  for (size_t i = 0; i < Names<E>::count; ++i)
    if (table.accepted[i] == text) return static_cast<typename E::Enumerator>(i);
  return ConversionError("Invalid custom type: " + std::string(text));
}

}  // namespace

template <>
Converted<TimeUnit> try_from<TimeUnit>(std::string_view text) {
  return find<model::api::TimeUnit>(text);
}

template <>
Converted<NumericDataType> try_from<NumericDataType>(std::string_view text) {
  return find<model::objects::NumericDataType>(text);
}

std::string_view name_of(TimeUnit unit) { return names<model::api::TimeUnit>().accepted[unit]; }

std::string_view name_of(NumericDataType type) {
  return names<model::objects::NumericDataType>().accepted[type];
}

Handle<model::api::TimeUnit> to_model(TimeUnit unit) {
  return names<model::api::TimeUnit>().model[unit];
}

Handle<model::objects::NumericDataType> to_model(NumericDataType type) {
  return names<model::objects::NumericDataType>().model[type];
}

}  // namespace qc::builders
