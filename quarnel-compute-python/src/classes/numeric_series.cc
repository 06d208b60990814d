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
  return entered([&]() -> PyObject* {
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
  return entered([&]() -> PyObject* {
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
  static const Line methods[] = {
      Table::method<"abs", &builders::numeric_series_abs>(
          {.node = "abs",
           .text = "The absolute value of each point.",
           .example = R"doc(>>> NumericSeries.Reference("a").abs().to_json()
'{"type":"abs","abs":{"x":{"type":"raw","raw":{"name":"a"}}}}')doc"}),
      Table::method<"cos", &builders::numeric_series_cos>(
          {.node = "cos",
           .text = "The cosine of each point (radians).",
           .example = R"doc(>>> NumericSeries.Reference("a").cos().to_json()
'{"type":"cos","cos":{"x":{"type":"raw","raw":{"name":"a"}}}}')doc"}),
      Table::method<"sin", &builders::numeric_series_sin>(
          {.node = "sin",
           .text = "The sine of each point (radians).",
           .example = R"doc(>>> NumericSeries.Reference("a").sin().to_json()
'{"type":"sin","sin":{"x":{"type":"raw","raw":{"name":"a"}}}}')doc"}),
      Table::method<"tan", &builders::numeric_series_tan>(
          {.node = "tan",
           .text = "The tangent of each point (radians).",
           .example = R"doc(>>> NumericSeries.Reference("a").tan().to_json()
'{"type":"tan","tan":{"x":{"type":"raw","raw":{"name":"a"}}}}')doc"}),
      Table::method<"acos", &builders::numeric_series_acos>(
          {.node = "acos",
           .text = "The arc cosine of each point, in radians.",
           .example = R"doc(>>> NumericSeries.Reference("a").acos().to_json()
'{"type":"acos","acos":{"x":{"type":"raw","raw":{"name":"a"}}}}')doc"}),
      Table::method<"asin", &builders::numeric_series_asin>(
          {.node = "asin",
           .text = "The arc sine of each point, in radians.",
           .example = R"doc(>>> NumericSeries.Reference("a").asin().to_json()
'{"type":"asin","asin":{"x":{"type":"raw","raw":{"name":"a"}}}}')doc"}),
      Table::method<"ln", &builders::numeric_series_ln>(
          {.node = "ln",
           .text = "The natural logarithm of each point.",
           .example = R"doc(>>> NumericSeries.Reference("a").ln().to_json()
'{"type":"ln","ln":{"x":{"type":"raw","raw":{"name":"a"}}}}')doc"}),
      Table::method<"log10", &builders::numeric_series_log10>(
          {.node = "log10",
           .text = "The base-10 logarithm of each point.",
           .example = R"doc(>>> NumericSeries.Reference("a").log10().to_json()
'{"type":"log10","log10":{"x":{"type":"raw","raw":{"name":"a"}}}}')doc"}),
      Table::method<"sqrt", &builders::numeric_series_sqrt>(
          {.node = "sqrt",
           .text = "The square root of each point.",
           .example = R"doc(>>> NumericSeries.Reference("a").sqrt().to_json()
'{"type":"sqrt","sqrt":{"x":{"type":"raw","raw":{"name":"a"}}}}')doc"}),
      Table::method<"atan2", &builders::atan2, "x">(
          {.node = "atan2",
           .text = "The two-argument arc tangent of y and x, point by point, in radians.",
           .args = "x: the series (or number) on the x side"}),
      Table::factory<"Max", &builders::max, "inputs">(
          {.node = "max",
           .text = "The largest of the inputs at each point. Numbers in the list are "
                   "constant series."}),
      Table::factory<"Mean", &builders::mean, "inputs">(
          {.node = "mean",
           .text = "The mean of the inputs at each point. Numbers in the list are constant "
                   "series."}),
      Table::factory<"Min", &builders::min, "inputs">(
          {.node = "min",
           .text = "The smallest of the inputs at each point. Numbers in the list are "
                   "constant series."}),
      Table::factory<"Sum", &builders::sum, "inputs">(
          {.node = "sum",
           .text = "The sum of the inputs at each point. Numbers in the list are constant "
                   "series.",
           .example = R"doc(>>> sum([]).to_json()
'{"type":"sum","sum":{}}')doc"}),
      Table::factory<"Union", &builders::numeric_series_union, "inputs">(
          {.node = "union",
           .text = "The points of all inputs in one series. Numbers in the list are constant"
                   " series."}),
      Table::factory<"Product", &builders::product, "inputs">(
          {.node = "product",
           .text = "The product of the inputs at each point. Numbers in the list are "
                   "constant series."}),
      Table::factory<"Constant", &builders::numeric_series_constant, "constant">(
          {.node = "constant",
           .text = "A series that is one constant value.",
           .example = R"doc(>>> NumericSeries.Constant(2.5).to_json()
'{"type":"constant","constant":{"type":"double","double":{"type":"literal","literal":2.5}}}')doc"}),
      Table::method<"tail", &builders::numeric_series_tail, "num_points">(
          {.node = "selectNewestPoints", .text = "The newest points of the series."}),
      Table::factory<"SelectNumeric", &builders::numeric_series_select_numeric, "name", "dataset",
                     "sampling">(
          {.node = "selectNumeric",
           .text = "A stored numeric series selected by name, from a dataset, optionally "
                   "sampled.",
           .example = R"doc(>>> NumericSeries.SelectNumeric("speed").to_json()
'{"type":"selectNumeric","selectNumeric":{"name":{"type":"literal","literal":"speed"}}}')doc",
           .args = "name: the name of the stored series"}),
      Table::method<"head", &builders::numeric_series_head, "num_points">(
          {.node = "selectOldestPoints", .text = "The oldest points of the series."}),
      Table::method<"bit_and", &builders::numeric_series_bit_and, "operand">(
          {.node = "bitAnd", .text = "The bitwise AND of each point with the operand."}),
      Table::method<"bit_or", &builders::numeric_series_bit_or, "operand">(
          {.node = "bitOr", .text = "The bitwise OR of each point with the operand."}),
      Table::method<"bit_xor", &builders::numeric_series_bit_xor, "operand">(
          {.node = "bitXor", .text = "The bitwise XOR of each point with the operand."}),
      Table::method<"bit_shift_right", &builders::numeric_series_bit_shift_right, "operand">(
          {.node = "bitShiftRight",
           .text = "Each point shifted right by the operand's number of bits."}),
      Table::method<"bit_shift_left", &builders::numeric_series_bit_shift_left, "operand">(
          {.node = "bitShiftLeft",
           .text = "Each point shifted left by the operand's number of bits."}),
      Table::method<"bit_test", &builders::numeric_series_bit_test, "index">(
          {.node = "bitTest", .text = "Whether the bit at `index` of each point is set."}),
      Table::factory<"IfElse", &builders::numeric_if_else, "condition", "true_value",
                     "false_value">(
          {.node = "ifElse",
           .text = "Where the condition holds, the true value; elsewhere, the false value."}),
      Table::factory<"NumericAggregation", &builders::numeric_series_numeric_aggregation, "input",
                     "operator">(
          {.node = "numericAggregation",
           .text = "The grouped points aggregated by a numeric aggregation operator."}),
      Table::method<"derivative", &builders::numeric_series_derivative, "time_unit",
                    "negative_values_configuration">(
          {.node = "derivative", .text = "The rate of change of the series, per time unit."}),
      Table::method<"z_score", &builders::numeric_series_z_score, "group_by_tags">(
          {.node = "zScore",
           .text = "How many standard deviations each point lies from the mean, within each "
                   "group of tags."}),
      Table::factory<"Reference", &builders::numeric_series_reference, "name">(
          {.node = "raw",
           .text = "The series of that name, bound elsewhere.",
           .example = R"doc(>>> NumericSeries.Reference("a").to_json()
'{"type":"raw","raw":{"name":"a"}}')doc"}),
      Table::method<"nth_point_downsample", &builders::numeric_series_nth_point_downsample, "n">(
          {.node = "nthPointDownsample", .text = "Every n-th point of the series."}),
      Table::method<"largest_triangle_three_buckets",
                    &builders::numeric_series_largest_triangle_three_buckets,
                    "max_points_to_return">(
          {.node = "largestTriangleThreeBuckets",
           .text = "The series thinned to at most the given number of points by "
                   "largest-triangle-three-buckets."}),
      Table::method<"signal_filter", &builders::numeric_series_signal_filter,
                    "signal_filter_configuration", "order", "sampling_frequency">(
          {.node = "signalFilter",
           .text = "The series passed through a signal filter of the given order."}),
      Table::method<"time_shift", &builders::numeric_series_time_shift, "duration">(
          {.node = "timeShiftV2", .text = "The series moved in time by a duration."}),
      Table::method<"unit_conversion", &builders::numeric_series_unit_conversion, "output_unit">(
          {.node = "unitConversion",
           .text = "The series converted to another unit of measure, named by text.",
           .example = R"doc(>>> NumericSeries.Reference("a").unit_conversion("m").to_json()
'{"type":"unitConversion","unitConversion":{"input":{"type":"raw","raw":{"name":"a"}},"outputUnit":"m"}}')doc"}),
      Table::method<"value_difference", &builders::numeric_series_value_difference,
                    "negative_values_configuration">(
          {.node = "valueDifference",
           .text = "The difference between each point and the one before it."}),
      Table::method<"drop_nan", &builders::numeric_series_drop_nan>(
          {.node = "dropNan",
           .text = "The series without its NaN points.",
           .example = R"doc(>>> NumericSeries.Reference("a").drop_nan().to_json()
'{"type":"dropNan","dropNan":{"input":{"type":"raw","raw":{"name":"a"}}}}')doc"}),
      Table::factory<"Udf", &builders::numeric_series_udf, "inputs", "source">(
          {.node = "scalarUdf",
           .text = "A user-defined function applied point by point to the input series."}),
      Table::method<"select_tags", &builders::numeric_series_select_tags, "tag_keys">(
          {.node = "selectTags", .text = "The series keeping only the given tag keys."}),
      Table::method<"to_start_of_interval", &builders::numeric_series_to_start_of_interval,
                    "window">({.node = "toStartOfInterval",
                               .text = "Each timestamp moved back to the start of its window."}),
      Shared::time_difference(),
      Shared::absolute_timestamp(),
      Table::factory<"RustUdf", &builders::numeric_series_scalar_udf_rust, "inputs", "source_code">(
          {.node = "scalarUdf",
           .text = "A user-defined function given by its Rust source code, applied point by "
                   "point; the same node as Udf with UdfSource.Rust(source_code)."}),
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
  return {.about =
              "A series of numbers: a named series, a constant, or an operation on "
              "other series.\n\n"
              "Arithmetic (`+ - * / // % **`, unary `-`) takes a NumericSeries or a "
              "plain number on either side and builds a new NumericSeries; comparisons "
              "(`< <= == != > >=`) build a BooleanSeries. Objects are made by the "
              "static methods (upper camel case), never by calling the class.",
          .methods = methods,
          .slots = slots};
}

}  // namespace qc::py
