// The CategoricalSeries class: a string-valued series, held as the model's EnumSeries.
#include "method_shapes.h"
#include "quarnel/compute/builders.h"
#include "quarnel/compute/model/categorical_unions.h"
#include "series_methods.h"

namespace qc::py {
namespace {

namespace b = builders;
using E = model::EnumSeries;
using CategoricalSeriesObject = Held<ClassId::CategoricalSeries>;

CategoricalSeriesObject value_map(NumericSeriesInput input, std::vector<Held<ClassId::RangeMap>> mapping,
                                  std::optional<StringConstantInput> default_value) {
  return {b::categorical_series_value_map(convert_numeric_series_input(std::move(input)),
                                          values_of(std::move(mapping)),
                                          optional_string_constant(std::move(default_value)))};
}

CategoricalSeriesObject enum_aggregation(Held<ClassId::AggregationBuilder> input,
                                         Held<ClassId::EnumAggregationOperator> op) {
  return {b::categorical_series_enum_aggregation(std::move(input.value), std::move(op.value))};
}

}  // namespace

// Registered in this order; keep it when adding a method.
template <>
ClassDef class_def<ClassId::CategoricalSeries>() {
  using T = Methods<ClassId::CategoricalSeries>;
  using S = SeriesMethods<ClassId::CategoricalSeries, b::series_from_enum_series>;
  static PyMethodDef methods[] = {
      T::def<"Reference", &named_reference<ClassId::CategoricalSeries, E, E::raw>, "name">(),
      T::def<"ValueMap", &value_map, "input", "mapping", "default">(),
      T::def<"EnumAggregation", &enum_aggregation, "input", "operator">(),
      S::def_time_difference(),
      S::def_absolute_timestamp(),
      S::def_rolling_time(),
      S::def_rolling_points(),
      S::def_group_by(),
      T::def<"to_json", &to_json<ClassId::CategoricalSeries>>(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
