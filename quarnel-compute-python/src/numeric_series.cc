// The NumericSeries class: construction, arithmetic, point selection, and its operators.
#include "operators.h"
#include "series_methods.h"

namespace qc::py {
namespace {

using builders::NumericSeries;

// Binary arithmetic: forward with the series on the left, else reflected with it on the
// right; the operand written first is always the builder's first.
template <NumericSeries (*Build)(NumericSeries, NumericSeries)>
PyObject* arithmetic(PyObject* left, PyObject* right) {
  using Operand = Arg<NumericSeries>;
  return guarded([&]() -> PyObject* {
    Operand::Storage other;
    if (holds<ClassId::NumericSeries>(left)) {
      if (Operand::convert(right, other))
        return wrap(Build(held<ClassId::NumericSeries>(left), Operand::finish(std::move(other))));
      if (!ordinary_error_set()) return nullptr;
      PyErr_Clear();
    }
    if (!holds<ClassId::NumericSeries>(right)) return not_implemented();
    if (!Operand::convert(left, other)) return decline();
    return wrap(Build(Operand::finish(std::move(other)), held<ClassId::NumericSeries>(right)));
  });
}

// A modulus is not a part of the node: rather than build a power that silently drops it,
// pow() with one is declined and the interpreter reports the operands as unsupported.
PyObject* power(PyObject* base, PyObject* exponent, PyObject* modulus) {
  if (modulus != Py_None) return not_implemented();
  return arithmetic<builders::numeric_series_power>(base, exponent);
}

// The series is always "left"; the interpreter mirrors the operator when it stands on the right.
PyObject* compare(PyObject* self, PyObject* other, int op) {
  using Operand = Arg<NumericSeries>;
  return guarded([&]() -> PyObject* {
    if (!holds<ClassId::NumericSeries>(self)) return not_implemented();
    Operand::Storage right;
    if (!Operand::convert(other, right)) return decline();
    builders::BooleanSeries (*build)(NumericSeries, NumericSeries) = nullptr;
    switch (op) {
      case Py_LT:
        build = builders::boolean_series_less_than;
        break;
      case Py_LE:
        build = builders::boolean_series_less_than_or_equal_to;
        break;
      case Py_EQ:
        build = builders::boolean_series_equal_to;
        break;
      case Py_NE:
        build = builders::boolean_series_not_equal_to;
        break;
      case Py_GT:
        build = builders::boolean_series_greater_than;
        break;
      case Py_GE:
        build = builders::boolean_series_greater_than_or_equal_to;
        break;
      default:
        throw Panic("invalid compareop");
    }
    return wrap(build(held<ClassId::NumericSeries>(self), Operand::finish(std::move(right))));
  });
}

}  // namespace

template <>
ClassDef class_def<ClassId::NumericSeries>() {
  using Table = Methods<ClassId::NumericSeries>;
  using Shared = SeriesMethods<ClassId::NumericSeries>;
  static PyMethodDef methods[] = {
      Table::method<"abs", &builders::numeric_series_abs>(),
      Table::method<"cos", &builders::numeric_series_cos>(),
      Table::method<"sin", &builders::numeric_series_sin>(),
      Table::method<"tan", &builders::numeric_series_tan>(),
      Table::method<"acos", &builders::numeric_series_acos>(),
      Table::method<"asin", &builders::numeric_series_asin>(),
      Table::method<"ln", &builders::numeric_series_ln>(),
      Table::method<"log10", &builders::numeric_series_log10>(),
      Table::method<"sqrt", &builders::numeric_series_sqrt>(),
      Table::method<"atan2", &builders::atan2, "x">(),
      Table::factory<"Max", &builders::max, "inputs">(),
      Table::factory<"Mean", &builders::mean, "inputs">(),
      Table::factory<"Min", &builders::min, "inputs">(),
      Table::factory<"Sum", &builders::sum, "inputs">(),
      Table::factory<"Union", &builders::numeric_series_union, "inputs">(),
      Table::factory<"Product", &builders::product, "inputs">(),
      Table::factory<"Constant", &builders::numeric_series_constant, "constant">(),
      Table::method<"tail", &builders::numeric_series_tail, "num_points">(),
      Table::factory<"SelectNumeric", &builders::numeric_series_select_numeric, "name", "dataset",
                     "sampling">(),
      Table::method<"head", &builders::numeric_series_head, "num_points">(),
      Table::method<"bit_and", &builders::numeric_series_bit_and, "operand">(),
      Table::method<"bit_or", &builders::numeric_series_bit_or, "operand">(),
      Table::method<"bit_xor", &builders::numeric_series_bit_xor, "operand">(),
      Table::method<"bit_shift_right", &builders::numeric_series_bit_shift_right, "operand">(),
      Table::method<"bit_shift_left", &builders::numeric_series_bit_shift_left, "operand">(),
      Table::method<"bit_test", &builders::numeric_series_bit_test, "index">(),
      Table::factory<"IfElse", &builders::numeric_if_else, "condition", "true_value",
                     "false_value">(),
      Table::factory<"NumericAggregation", &builders::numeric_series_numeric_aggregation, "input",
                     "operator">(),
      Table::method<"derivative", &builders::numeric_series_derivative, "time_unit",
                    "negative_values_configuration">(),
      Table::method<"z_score", &builders::numeric_series_z_score, "group_by_tags">(),
      Table::factory<"Reference", &builders::numeric_series_reference, "name">(),
      Table::method<"nth_point_downsample", &builders::numeric_series_nth_point_downsample, "n">(),
      Table::method<"largest_triangle_three_buckets",
                    &builders::numeric_series_largest_triangle_three_buckets,
                    "max_points_to_return">(),
      Table::method<"signal_filter", &builders::numeric_series_signal_filter,
                    "signal_filter_configuration", "order", "sampling_frequency">(),
      Table::method<"time_shift", &builders::numeric_series_time_shift, "duration">(),
      Table::method<"unit_conversion", &builders::numeric_series_unit_conversion, "output_unit">(),
      Table::method<"value_difference", &builders::numeric_series_value_difference,
                    "negative_values_configuration">(),
      Table::method<"drop_nan", &builders::numeric_series_drop_nan>(),
      Table::factory<"Udf", &builders::numeric_series_udf, "inputs", "source">(),
      Table::method<"select_tags", &builders::numeric_series_select_tags, "tag_keys">(),
      Table::method<"to_start_of_interval", &builders::numeric_series_to_start_of_interval,
                    "window">(),
      Shared::time_difference(),
      Shared::absolute_timestamp(),
      Table::factory<"RustUdf", &builders::numeric_series_scalar_udf_rust, "inputs",
                     "source_code">(),
      Shared::rolling_time(),
      Shared::rolling_points(),
      Shared::group_by(),
      {},
  };
  static const PyType_Slot slots[] = {
      slot(Py_nb_negative, &negative<ClassId::NumericSeries, builders::numeric_series_negate>),
      slot(Py_nb_add, &arithmetic<builders::numeric_series_add>),
      slot(Py_nb_subtract, &arithmetic<builders::numeric_series_subtract>),
      slot(Py_nb_multiply, &arithmetic<builders::numeric_series_multiply>),
      slot(Py_nb_remainder, &arithmetic<builders::numeric_series_modulo>),
      slot(Py_nb_true_divide, &arithmetic<builders::numeric_series_divide>),
      slot(Py_nb_floor_divide, &arithmetic<builders::numeric_series_floor_divide>),
      slot(Py_nb_power, &power),
      slot(Py_tp_richcompare, &compare),
      {0, nullptr},
  };
  return {methods, slots};
}

}  // namespace qc::py
