"""The module's names and the declaration of its classes: methods in order with their text
signatures, slots, and what objects refuse."""

import gc
import re
import weakref

import pytest
from quarnel.compute import _compute as C

SHARED = "time_difference(time_unit=None) absolute_timestamp(time_unit) "
AGGREGATING = "rolling_time(window) rolling_points(points) group_by(tags, timestamp) to_json()"
# Per class in the module's order, its methods in registration order with their text signatures;
# the instance methods are the lower-case names, whose signatures begin with "$self".
METHODS = {
    "NumericSeries": (
        "abs() cos() sin() tan() acos() asin() ln() log10() sqrt() atan2(x) Max(inputs) "
        "Mean(inputs) Min(inputs) Sum(inputs) Union(inputs) Product(inputs) Constant(constant) "
        "tail(num_points) SelectNumeric(name, dataset=None, sampling=None) head(num_points) "
        "bit_and(operand) bit_or(operand) bit_xor(operand) bit_shift_right(operand) "
        "bit_shift_left(operand) bit_test(index) IfElse(condition, true_value, false_value) "
        "NumericAggregation(input, operator) "
        "derivative(time_unit=None, negative_values_configuration=None) z_score(group_by_tags) "
        "Reference(name) nth_point_downsample(n) "
        "largest_triangle_three_buckets(max_points_to_return) "
        "signal_filter(signal_filter_configuration, order, sampling_frequency=None) "
        "time_shift(duration) unit_conversion(output_unit) "
        "value_difference(negative_values_configuration=None) drop_nan() Udf(inputs, source) "
        "select_tags(tag_keys) to_start_of_interval(window) "
        + SHARED
        + "RustUdf(inputs, source_code) "
        + AGGREGATING
    ),
    "CategoricalSeries": "Reference(name) ValueMap(input, mapping, default=None) "
    "EnumAggregation(input, operator) " + SHARED + AGGREGATING,
    "RangeSeries": "Intersect(inputs) invert() Reference(name) Union(inputs) to_json()",
    "StructSeries": "Combine(inputs) "
    + SHARED
    + "extract_numeric(field_path, data_type=None) "
    + AGGREGATING,
    "ConstantNumericSeries": "Float(value) to_json()",
    "IntegerConstant": "Literal(literal) Reference(variable) to_json()",
    "StringConstant": "Literal(literal) Reference(variable) to_json()",
    "Dataset": "Asset(rid) Run(rid) Saved(rid) Combine(inputs) tag(key, value) time_shift(offset) "
    "to_json()",
    "Sampling": "EveryNthPerSeries(n) HashSubsample(n) to_json()",
    "BooleanSeries": "to_json()",
    "AggregationBuilder": "numeric_aggregation(operator) sum() average() min() max() count() "
    "standard_deviation() root_mean_square() percentile(percentile) "
    "udf(source) rust_udf(source_code) enum_aggregation(operator) to_json()",
    "NumericAggregationOperator": "Sum() Average() Min() Max() Count() StandardDeviation() "
    "RootMeanSquare() Percentile(percentile) Udf(source) to_json()",
    "NegativeValueConfiguration": "AllowNegativeValues() SetNegativeValuesToZero() "
    "ExcludeNegativeValues() to_json()",
    "SignalFilterConfiguration": "LowPass(cutoff_frequency) HighPass(cutoff_frequency) "
    "BandPass(low_passband_frequency, high_passband_frequency) "
    "BandStop(low_stopband_frequency, high_stopband_frequency) "
    "to_json()",
    "FloatConstant": "Literal(literal) Reference(variable) to_json()",
    "Duration": "Reference(name) Nanoseconds(nanoseconds) Milliseconds(milliseconds) "
    "Seconds(seconds) Minutes(minutes) Hours(hours) Days(days) to_json()",
    "UdfSource": "Rust(source_code) to_json()",
    "EnumAggregationOperator": "Min() Max() Udf(source) to_json()",
    "GroupByTags": "Current() Subset(tags) to_json()",
    "GroupByTimestamp": "Current() Every(every) to_json()",
    "RangeMap": "to_json()",
}
FUNCTIONS = (
    "abs(x) cos(x) sin(x) tan(x) acos(x) asin(x) ln(x) log10(x) sqrt(x) atan2(y, x) "
    "max(inputs) mean(inputs) min(inputs) sum(inputs) product(inputs) "
    "numeric_if_else(condition, true_value, false_value)"
)
ARITHMETIC = {"__neg__", "__add__", "__radd__", "__sub__", "__rsub__"}
SLOTS = {
    "NumericSeries": ARITHMETIC
    | {
        "__mul__",
        "__rmul__",
        "__mod__",
        "__rmod__",
        "__truediv__",
        "__rtruediv__",
        "__floordiv__",
        "__rfloordiv__",
        "__pow__",
        "__rpow__",
        "__lt__",
        "__le__",
        "__eq__",
        "__ne__",
        "__gt__",
        "__ge__",
        "__hash__",
    },
    "BooleanSeries": {"__and__", "__rand__", "__or__", "__ror__"},
    "Duration": ARITHMETIC,
    "RangeMap": {"__new__"},
}
MODULE_ATTRIBUTES = {
    "__name__",
    "__doc__",
    "__package__",
    "__loader__",
    "__spec__",
    "__file__",
    "__all__",
}


def signatures(text):
    return re.findall(r"(\w+)\(([^)]*)\)", text)


def test_module_names():
    functions = [name for name, _ in signatures(FUNCTIONS)]
    assert C.__all__ == list(METHODS) + functions
    assert C.__doc__ == ""
    assert set(dir(C)) - MODULE_ATTRIBUTES == set(C.__all__)
    for name, params in signatures(FUNCTIONS):
        fn = getattr(C, name)
        assert (fn.__name__, fn.__text_signature__, fn.__self__) == (name, "(%s)" % params, None)
        assert fn.__module__ == C.__name__ == "quarnel.compute._compute"


@pytest.mark.parametrize("name", list(METHODS))
def test_class_declaration(o, name):
    cls = getattr(C, name)
    assert (cls.__module__, cls.__name__, cls.__qualname__, cls.__bases__) == (
        "_compute",
        name,
        name,
        (object,),
    )
    table = signatures(METHODS[name])
    own = {k: v for k, v in vars(cls).items() if not k.startswith("__")}
    assert list(own) == [method for method, _ in table]
    for method, params in table:
        static = method[0].isupper()
        expected = "(%s)" % params if static else "($self%s)" % (", " + params if params else "")
        assert (getattr(cls, method).__text_signature__, getattr(cls, method).__doc__) == (
            expected,
            None,
        ), method
        assert isinstance(own[method], staticmethod) == static, method
    special = {k for k in vars(cls) if k.startswith("__")} - {
        "__doc__",
        "__module__",
        "__slotnames__",
    }
    assert special == SLOTS.get(name, set())
    callable_ = name == "RangeMap"
    assert (cls.__doc__, cls.__text_signature__ if callable_ else None) == (
        ("", "(output, start=None, end=None)") if callable_ else (None, None)
    )
    obj = next(v for v in o.values() if type(v) is cls)
    refused = [
        (TypeError, lambda: type("Sub", (cls,), {})),
        (AttributeError, lambda: setattr(obj, "anything", 1)),
        (TypeError, lambda: weakref.ref(obj)),
    ] + ([] if callable_ else [(TypeError, cls)])
    for exc, act in refused:
        with pytest.raises(exc):
            act()
    assert not gc.is_tracked(obj) and bool(obj)
    assert cls.__hash__ is None if name == "NumericSeries" else hash(obj) == object.__hash__(obj)
