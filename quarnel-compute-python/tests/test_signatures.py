"""Every method of the 21 classes: its place in the class, whether it is static, and the text
signature that its docstring carries."""

import pytest

# Per class, in registration order: method name and text signature ("$self" marks an
# instance method).
TABLES = {
    "NumericSeries": [
        ("abs", "($self)"), ("cos", "($self)"), ("sin", "($self)"), ("tan", "($self)"), ("acos", "($self)"),
        ("asin", "($self)"), ("ln", "($self)"), ("log10", "($self)"), ("sqrt", "($self)"), ("atan2", "($self, x)"),
        ("Max", "(inputs)"), ("Mean", "(inputs)"), ("Min", "(inputs)"), ("Sum", "(inputs)"), ("Union", "(inputs)"),
        ("Product", "(inputs)"), ("Constant", "(constant)"), ("tail", "($self, num_points)"),
        ("SelectNumeric", "(name, dataset=None, sampling=None)"), ("head", "($self, num_points)"),
        ("bit_and", "($self, operand)"), ("bit_or", "($self, operand)"), ("bit_xor", "($self, operand)"),
        ("bit_shift_right", "($self, operand)"), ("bit_shift_left", "($self, operand)"),
        ("bit_test", "($self, index)"), ("IfElse", "(condition, true_value, false_value)"),
        ("NumericAggregation", "(input, operator)"),
        ("derivative", "($self, time_unit=None, negative_values_configuration=None)"),
        ("z_score", "($self, group_by_tags)"), ("Reference", "(name)"), ("nth_point_downsample", "($self, n)"),
        ("largest_triangle_three_buckets", "($self, max_points_to_return)"),
        ("signal_filter", "($self, signal_filter_configuration, order, sampling_frequency=None)"),
        ("time_shift", "($self, duration)"), ("unit_conversion", "($self, output_unit)"),
        ("value_difference", "($self, negative_values_configuration=None)"), ("drop_nan", "($self)"),
        ("Udf", "(inputs, source)"), ("select_tags", "($self, tag_keys)"), ("to_start_of_interval", "($self, window)"),
        ("time_difference", "($self, time_unit=None)"), ("absolute_timestamp", "($self, time_unit)"),
        ("RustUdf", "(inputs, source_code)"), ("rolling_time", "($self, window)"), ("rolling_points", "($self, points)"),
        ("group_by", "($self, tags, timestamp)"), ("to_json", "($self)"),
    ],
    "CategoricalSeries": [
        ("Reference", "(name)"), ("ValueMap", "(input, mapping, default=None)"), ("EnumAggregation", "(input, operator)"),
        ("time_difference", "($self, time_unit=None)"), ("absolute_timestamp", "($self, time_unit)"),
        ("rolling_time", "($self, window)"), ("rolling_points", "($self, points)"),
        ("group_by", "($self, tags, timestamp)"), ("to_json", "($self)"),
    ],
    "RangeSeries": [
        ("Intersect", "(inputs)"), ("invert", "($self)"), ("Reference", "(name)"), ("Union", "(inputs)"),
        ("to_json", "($self)"),
    ],
    "StructSeries": [
        ("Combine", "(inputs)"), ("time_difference", "($self, time_unit=None)"),
        ("absolute_timestamp", "($self, time_unit)"), ("extract_numeric", "($self, field_path, data_type=None)"),
        ("rolling_time", "($self, window)"), ("rolling_points", "($self, points)"),
        ("group_by", "($self, tags, timestamp)"), ("to_json", "($self)"),
    ],
    "ConstantNumericSeries": [("Float", "(value)"), ("to_json", "($self)")],
    "IntegerConstant": [("Literal", "(literal)"), ("Reference", "(variable)"), ("to_json", "($self)")],
    "StringConstant": [("Literal", "(literal)"), ("Reference", "(variable)"), ("to_json", "($self)")],
    "Dataset": [
        ("Asset", "(rid)"), ("Run", "(rid)"), ("Saved", "(rid)"), ("Combine", "(inputs)"),
        ("tag", "($self, key, value)"), ("time_shift", "($self, offset)"), ("to_json", "($self)"),
    ],
    "Sampling": [("EveryNthPerSeries", "(n)"), ("HashSubsample", "(n)"), ("to_json", "($self)")],
    "BooleanSeries": [("to_json", "($self)")],
    "AggregationBuilder": [
        ("numeric_aggregation", "($self, operator)"), ("sum", "($self)"), ("average", "($self)"), ("min", "($self)"),
        ("max", "($self)"), ("count", "($self)"), ("standard_deviation", "($self)"), ("root_mean_square", "($self)"),
        ("percentile", "($self, percentile)"), ("udf", "($self, source)"), ("rust_udf", "($self, source_code)"),
        ("enum_aggregation", "($self, operator)"), ("to_json", "($self)"),
    ],
    "NumericAggregationOperator": [
        ("Sum", "()"), ("Average", "()"), ("Min", "()"), ("Max", "()"), ("Count", "()"), ("StandardDeviation", "()"),
        ("RootMeanSquare", "()"), ("Percentile", "(percentile)"), ("Udf", "(source)"), ("to_json", "($self)"),
    ],
    "NegativeValueConfiguration": [
        ("AllowNegativeValues", "()"), ("SetNegativeValuesToZero", "()"), ("ExcludeNegativeValues", "()"),
        ("to_json", "($self)"),
    ],
    "SignalFilterConfiguration": [
        ("LowPass", "(cutoff_frequency)"), ("HighPass", "(cutoff_frequency)"),
        ("BandPass", "(low_passband_frequency, high_passband_frequency)"),
        ("BandStop", "(low_stopband_frequency, high_stopband_frequency)"), ("to_json", "($self)"),
    ],
    "FloatConstant": [("Literal", "(literal)"), ("Reference", "(variable)"), ("to_json", "($self)")],
    "Duration": [
        ("Reference", "(name)"), ("Nanoseconds", "(nanoseconds)"), ("Milliseconds", "(milliseconds)"),
        ("Seconds", "(seconds)"), ("Minutes", "(minutes)"), ("Hours", "(hours)"), ("Days", "(days)"),
        ("to_json", "($self)"),
    ],
    "UdfSource": [("Rust", "(source_code)"), ("to_json", "($self)")],
    "EnumAggregationOperator": [("Min", "()"), ("Max", "()"), ("Udf", "(source)"), ("to_json", "($self)")],
    "GroupByTags": [("Current", "()"), ("Subset", "(tags)"), ("to_json", "($self)")],
    "GroupByTimestamp": [("Current", "()"), ("Every", "(every)"), ("to_json", "($self)")],
    "RangeMap": [("to_json", "($self)")],
}

# The special methods that the number, comparison and constructor slots give a class.
SLOTS = {
    "NumericSeries": {"__neg__", "__add__", "__radd__", "__sub__", "__rsub__", "__mul__", "__rmul__", "__mod__",
                      "__rmod__", "__truediv__", "__rtruediv__", "__floordiv__", "__rfloordiv__", "__pow__",
                      "__rpow__", "__lt__", "__le__", "__eq__", "__ne__", "__gt__", "__ge__"},
    "BooleanSeries": {"__and__", "__rand__", "__or__", "__ror__"},
    "Duration": {"__neg__", "__add__", "__radd__", "__sub__", "__rsub__"},
    "RangeMap": {"__new__"},
}
# Every class has these; copy and pickle may leave their cache of slot names on a class.
NOT_SLOTS = {"__doc__", "__module__", "__slotnames__"}


def test_the_tables_cover_every_class_and_method(C):
    assert list(TABLES) == C.__all__[:21]
    assert sum(len(methods) for methods in TABLES.values()) == 145


@pytest.mark.parametrize("name", list(TABLES))
def test_methods_in_order_with_their_signatures(C, name):
    cls = getattr(C, name)
    own = {k: v for k, v in vars(cls).items() if not k.startswith("__")}
    assert list(own) == [m for m, _ in TABLES[name]]
    for method, signature in TABLES[name]:
        fn = getattr(cls, method)
        assert fn.__text_signature__ == signature, method
        assert fn.__doc__ is None, method  # the docstring holds the signature only
        assert fn.__name__ == method
        # A static method is stored wrapped; "$self" marks exactly the instance methods.
        assert isinstance(own[method], staticmethod) == (not signature.startswith("($self")), method


@pytest.mark.parametrize("name", list(TABLES))
def test_slots(C, name):
    cls = getattr(C, name)
    special = {k for k in vars(cls) if k.startswith("__") and k not in NOT_SLOTS}
    expected = SLOTS.get(name, set())
    if name == "NumericSeries":
        expected = expected | {"__hash__"}  # comparison without hashing leaves it None
        assert cls.__hash__ is None
    assert special == expected
