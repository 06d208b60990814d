// The AggregationBuilder class: what a rolling or grouping method of a series returns; an
// aggregation applied to it yields a series again.
#include "method_shapes.h"
#include "quarnel/compute/builders.h"

namespace qc::py {
namespace {

namespace b = builders;
using Me = Self<ClassId::AggregationBuilder>;
using NumericSeriesObject = Held<ClassId::NumericSeries>;

// The seven aggregations without a parameter.
template <Value (*Build)(Value)>
NumericSeriesObject fixed(Me self) {
  return {Build(self.value)};
}

NumericSeriesObject numeric_aggregation(Me self, Held<ClassId::NumericAggregationOperator> op) {
  return {b::numeric_series_numeric_aggregation(self.value, std::move(op.value))};
}

NumericSeriesObject percentile(Me self, FloatConstantInput percentile) {
  return {b::numeric_series_numeric_aggregation_percentile(self.value, double_constant(std::move(percentile)))};
}

NumericSeriesObject udf(Me self, Held<ClassId::UdfSource> source) {
  return {b::numeric_series_numeric_aggregation_udf(self.value, std::move(source.value))};
}

NumericSeriesObject rust_udf(Me self, std::string source_code) {
  return {b::numeric_series_numeric_aggregation_udf_rust(self.value, source_code)};
}

Held<ClassId::CategoricalSeries> enum_aggregation(Me self, Held<ClassId::EnumAggregationOperator> op) {
  return {b::categorical_series_enum_aggregation(self.value, std::move(op.value))};
}

}  // namespace

// Registered in this order; keep it when adding a method.
template <>
ClassDef class_def<ClassId::AggregationBuilder>() {
  using T = Methods<ClassId::AggregationBuilder>;
  static PyMethodDef methods[] = {
      T::def<"numeric_aggregation", &numeric_aggregation, "operator">(),
      T::def<"sum", &fixed<b::numeric_series_numeric_aggregation_sum>>(),
      T::def<"average", &fixed<b::numeric_series_numeric_aggregation_average>>(),
      T::def<"min", &fixed<b::numeric_series_numeric_aggregation_min>>(),
      T::def<"max", &fixed<b::numeric_series_numeric_aggregation_max>>(),
      T::def<"count", &fixed<b::numeric_series_numeric_aggregation_count>>(),
      T::def<"standard_deviation", &fixed<b::numeric_series_numeric_aggregation_standard_deviation>>(),
      T::def<"root_mean_square", &fixed<b::numeric_series_numeric_aggregation_root_mean_square>>(),
      T::def<"percentile", &percentile, "percentile">(),
      T::def<"udf", &udf, "source">(),
      T::def<"rust_udf", &rust_udf, "source_code">(),
      T::def<"enum_aggregation", &enum_aggregation, "operator">(),
      T::def<"to_json", &to_json<ClassId::AggregationBuilder>>(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
