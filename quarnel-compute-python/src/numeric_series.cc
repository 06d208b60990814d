// The NumericSeries class: construction, arithmetic, point selection, and its operators.
#include "numeric_series.h"

#include "method_shapes.h"
#include "operators.h"
#include "series_methods.h"

namespace qc::py {
namespace {

namespace b = builders;
namespace m = model;
using NS = NumericSeriesObject;
using Me = Self<ClassId::NumericSeries>;
using N = m::NumericSeries;

template <N::Variant V, class P>
NS function_of_self(Me self) {
  return {numeric_function<V, P>(self.value)};
}

NS atan2(Me self, NumericSeriesInput x) { return {b::atan2(self.value, convert_numeric_series_input(std::move(x)))}; }

NS union_of(std::vector<NumericSeriesInput> inputs) {
  return {b::numeric_series_union(convert_numeric_series_inputs(std::move(inputs)))};
}

NS constant(ConstantNumericSeriesInput c) {
  return {N::make(N::constant, constant_numeric_series(std::move(c)))};
}

NS udf(std::vector<SeriesInput> inputs, Held<ClassId::UdfSource> source) {
  return {b::numeric_series_udf(series_values(std::move(inputs)), std::move(source.value))};
}

NS rust_udf(std::vector<SeriesInput> inputs, std::string source_code) {
  return {b::numeric_series_scalar_udf_rust(series_values(std::move(inputs)), source_code)};
}

NS select_numeric(StringConstantInput name, std::optional<Held<ClassId::Dataset>> dataset,
                  std::optional<Held<ClassId::Sampling>> sampling) {
  return {b::numeric_series_select_numeric(string_constant(std::move(name)), optional_value(std::move(dataset)),
                                           optional_value(std::move(sampling)))};
}

NS numeric_aggregation(Held<ClassId::AggregationBuilder> input, Held<ClassId::NumericAggregationOperator> op) {
  return {b::numeric_series_numeric_aggregation(std::move(input.value), std::move(op.value))};
}

using NegativeValues = std::optional<Held<ClassId::NegativeValueConfiguration>>;

NS derivative(Me self, std::optional<b::TimeUnit> time_unit, NegativeValues negative_values_configuration) {
  return {b::numeric_series_derivative(self.value, time_unit, optional_value(std::move(negative_values_configuration)))};
}

NS value_difference(Me self, NegativeValues negative_values_configuration) {
  return {b::numeric_series_value_difference(self.value, optional_value(std::move(negative_values_configuration)))};
}

// The tag lists become ordered sets in the builder; here they are only made StringConstants.
template <Value (*Build)(Value, std::vector<Value>)>
NS with_tags(Me self, std::vector<StringConstantInput> tags) {
  return {Build(self.value, string_constants(std::move(tags)))};
}

template <Value (*Build)(Value, Value)>
NS with_duration(Me self, Held<ClassId::Duration> duration) {
  return {Build(self.value, std::move(duration.value))};
}

// The order is narrowed only here, after the sampling frequency too has converted.
NS signal_filter(Me self, Held<ClassId::SignalFilterConfiguration> signal_filter_configuration,
                 IntegerConstantInput order, std::optional<FloatConstantInput> sampling_frequency) {
  Value input = self.value;
  Value narrowed = integer_constant(std::move(order));
  return {b::numeric_series_signal_filter(std::move(input), std::move(signal_filter_configuration.value),
                                          std::move(narrowed), optional_double_constant(std::move(sampling_frequency)))};
}

NS unit_conversion(Me self, std::string output_unit) {
  return {N::make(N::unitConversion,
                  m::UnitConversionSeries{.input = self.value, .outputUnit = Value::str(output_unit)})};
}

// The methods whose operand is an IntegerConstantInput; it is narrowed only here, once self
// has been checked and every argument converted.
template <Value (*Build)(Value, Value)>
NS with_integer(Me self, IntegerConstantInput operand) {
  Value input = self.value;
  return {Build(std::move(input), integer_constant(std::move(operand)))};
}

// Binary arithmetic: forward with the series on the left, else reflected with it on the
// right; the operand written first is always the builder's first.
template <Value (*Build)(Value, Value)>
PyObject* arithmetic(PyObject* left, PyObject* right) noexcept {
  return guarded([&]() -> PyObject* {
    NumericSeriesInput other;
    if (holds(left, ClassId::NumericSeries)) {
      if (Kind<NumericSeriesInput>::convert(right, other))
        return new_object(ClassId::NumericSeries, Build(held(left), convert_numeric_series_input(std::move(other))));
      if (!ordinary_error_set()) return nullptr;
      PyErr_Clear();
    }
    if (!holds(right, ClassId::NumericSeries)) return not_implemented();
    if (!Kind<NumericSeriesInput>::convert(left, other)) return decline();
    return new_object(ClassId::NumericSeries, Build(convert_numeric_series_input(std::move(other)), held(right)));
  });
}

// A modulus is not a part of the node: rather than build a power that silently drops it,
// pow() with one is declined and the interpreter reports the operands as unsupported.
PyObject* power(PyObject* base, PyObject* exponent, PyObject* modulus) noexcept {
  if (modulus != Py_None) return not_implemented();
  return arithmetic<b::numeric_series_power>(base, exponent);
}

Value negate(Value x) { return N::make(N::negate, m::Negate{.x = std::move(x)}); }

// The series is always "left"; the interpreter mirrors the operator when it stands on the right.
PyObject* compare(PyObject* self, PyObject* other, int op) noexcept {
  return guarded([&]() -> PyObject* {
    if (!holds(self, ClassId::NumericSeries)) return not_implemented();
    NumericSeriesInput right;
    if (!Kind<NumericSeriesInput>::convert(other, right)) return decline();
    Value (*build)(Value, Value) = nullptr;
    switch (op) {
      case Py_LT: build = b::boolean_series_less_than; break;
      case Py_LE: build = b::boolean_series_less_than_or_equal_to; break;
      case Py_EQ: build = b::boolean_series_equal_to; break;
      case Py_NE: build = b::boolean_series_not_equal_to; break;
      case Py_GT: build = b::boolean_series_greater_than; break;
      case Py_GE: build = b::boolean_series_greater_than_or_equal_to; break;
      default: throw Panic("invalid compareop");
    }
    return new_object(ClassId::BooleanSeries, build(held(self), convert_numeric_series_input(std::move(right))));
  });
}

}  // namespace

NumericSeriesObject numeric_max(std::vector<NumericSeriesInput> inputs) {
  return {b::max(convert_numeric_series_inputs(std::move(inputs)))};
}
NumericSeriesObject numeric_mean(std::vector<NumericSeriesInput> inputs) {
  return {b::mean(convert_numeric_series_inputs(std::move(inputs)))};
}
NumericSeriesObject numeric_min(std::vector<NumericSeriesInput> inputs) {
  return {b::min(convert_numeric_series_inputs(std::move(inputs)))};
}
NumericSeriesObject numeric_sum(std::vector<NumericSeriesInput> inputs) {
  return {b::sum(convert_numeric_series_inputs(std::move(inputs)))};
}
NumericSeriesObject numeric_product(std::vector<NumericSeriesInput> inputs) {
  return {b::product(convert_numeric_series_inputs(std::move(inputs)))};
}
NumericSeriesObject numeric_if_else(BooleanSeriesObject condition, NumericSeriesInput true_value,
                                    NumericSeriesInput false_value) {
  return {b::numeric_if_else(std::move(condition.value), convert_numeric_series_input(std::move(true_value)),
                             convert_numeric_series_input(std::move(false_value)))};
}

// Registered in this order; keep it when adding a method.
template <>
ClassDef class_def<ClassId::NumericSeries>() {
  using T = Methods<ClassId::NumericSeries>;
  using S = SeriesMethods<ClassId::NumericSeries, b::series_from_numeric_series>;
  static PyMethodDef methods[] = {
      T::def<"abs", &function_of_self<N::abs, m::Abs>>(),
      T::def<"cos", &function_of_self<N::cos, m::Cos>>(),
      T::def<"sin", &function_of_self<N::sin, m::Sin>>(),
      T::def<"tan", &function_of_self<N::tan, m::Tan>>(),
      T::def<"acos", &function_of_self<N::acos, m::Acos>>(),
      T::def<"asin", &function_of_self<N::asin, m::Asin>>(),
      T::def<"ln", &function_of_self<N::ln, m::Ln>>(),
      T::def<"log10", &function_of_self<N::log10, m::Log10>>(),
      T::def<"sqrt", &function_of_self<N::sqrt, m::Sqrt>>(),
      T::def<"atan2", &atan2, "x">(),
      T::def<"Max", &numeric_max, "inputs">(),
      T::def<"Mean", &numeric_mean, "inputs">(),
      T::def<"Min", &numeric_min, "inputs">(),
      T::def<"Sum", &numeric_sum, "inputs">(),
      T::def<"Union", &union_of, "inputs">(),
      T::def<"Product", &numeric_product, "inputs">(),
      T::def<"Constant", &constant, "constant">(),
      T::def<"tail", &with_integer<b::numeric_series_tail>, "num_points">(),
      T::def<"SelectNumeric", &select_numeric, "name", "dataset", "sampling">(),
      T::def<"head", &with_integer<b::numeric_series_head>, "num_points">(),
      T::def<"bit_and", &with_integer<b::numeric_series_bit_and>, "operand">(),
      T::def<"bit_or", &with_integer<b::numeric_series_bit_or>, "operand">(),
      T::def<"bit_xor", &with_integer<b::numeric_series_bit_xor>, "operand">(),
      T::def<"bit_shift_right", &with_integer<b::numeric_series_bit_shift_right>, "operand">(),
      T::def<"bit_shift_left", &with_integer<b::numeric_series_bit_shift_left>, "operand">(),
      T::def<"bit_test", &with_integer<b::numeric_series_bit_test>, "index">(),
      T::def<"IfElse", &numeric_if_else, "condition", "true_value", "false_value">(),
      T::def<"NumericAggregation", &numeric_aggregation, "input", "operator">(),
      T::def<"derivative", &derivative, "time_unit", "negative_values_configuration">(),
      T::def<"z_score", &with_tags<b::numeric_series_z_score>, "group_by_tags">(),
      T::def<"Reference", &named_reference<ClassId::NumericSeries, N, N::raw>, "name">(),
      T::def<"nth_point_downsample", &with_integer<b::numeric_series_nth_point_downsample>, "n">(),
      T::def<"largest_triangle_three_buckets", &with_integer<b::numeric_series_largest_triangle_three_buckets>,
             "max_points_to_return">(),
      T::def<"signal_filter", &signal_filter, "signal_filter_configuration", "order", "sampling_frequency">(),
      T::def<"time_shift", &with_duration<b::numeric_series_time_shift>, "duration">(),
      T::def<"unit_conversion", &unit_conversion, "output_unit">(),
      T::def<"value_difference", &value_difference, "negative_values_configuration">(),
      T::def<"drop_nan", &function_of_self<N::dropNan, m::NumericNanFilter>>(),
      T::def<"Udf", &udf, "inputs", "source">(),
      T::def<"select_tags", &with_tags<b::numeric_series_select_tags>, "tag_keys">(),
      T::def<"to_start_of_interval", &with_duration<b::numeric_series_to_start_of_interval>, "window">(),
      S::def_time_difference(),
      S::def_absolute_timestamp(),
      T::def<"RustUdf", &rust_udf, "inputs", "source_code">(),
      S::def_rolling_time(),
      S::def_rolling_points(),
      S::def_group_by(),
      T::def<"to_json", &to_json<ClassId::NumericSeries>>(),
      {},
  };
  static const PyType_Slot slots[] = {
      slot(Py_nb_negative, &negative<ClassId::NumericSeries, negate>),
      slot(Py_nb_add, &arithmetic<b::numeric_series_add>),
      slot(Py_nb_subtract, &arithmetic<b::numeric_series_subtract>),
      slot(Py_nb_multiply, &arithmetic<b::numeric_series_multiply>),
      slot(Py_nb_remainder, &arithmetic<b::numeric_series_modulo>),
      slot(Py_nb_true_divide, &arithmetic<b::numeric_series_divide>),
      slot(Py_nb_floor_divide, &arithmetic<b::numeric_series_floor_divide>),
      slot(Py_nb_power, &power),
      slot(Py_tp_richcompare, &compare),
      {0, nullptr},
  };
  return {methods, slots};
}

}  // namespace qc::py
