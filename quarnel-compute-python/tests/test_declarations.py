"""The module's names and the declaration of its classes: methods in order with their text
signatures, slots, and what objects refuse."""

import gc
import re
import weakref

import pytest
from quarnel.compute import _compute as C

# Per class in the module's order, its methods in registration order with their text
# signatures; an instance method's parameters begin with "$self".
METHODS = {
    "NumericSeries": (
        "abs($self) cos($self) sin($self) tan($self) acos($self) asin($self) ln($self) "
        "log10($self) sqrt($self) atan2($self, x) Max(inputs) Mean(inputs) Min(inputs) "
        "Sum(inputs) Union(inputs) Product(inputs) Constant(constant) tail($self, num_points) "
        "SelectNumeric(name, dataset=None, sampling=None) head($self, num_points) "
        "bit_and($self, operand) bit_or($self, operand) bit_xor($self, operand) "
        "bit_shift_right($self, operand) bit_shift_left($self, operand) bit_test($self, index) "
        "IfElse(condition, true_value, false_value) NumericAggregation(input, operator) "
        "derivative($self, time_unit=None, negative_values_configuration=None) "
        "z_score($self, group_by_tags) Reference(name) nth_point_downsample($self, n) "
        "largest_triangle_three_buckets($self, max_points_to_return) "
        "signal_filter($self, signal_filter_configuration, order, sampling_frequency=None) "
        "time_shift($self, duration) unit_conversion($self, output_unit) "
        "value_difference($self, negative_values_configuration=None) drop_nan($self) "
        "Udf(inputs, source) select_tags($self, tag_keys) to_start_of_interval($self, window) "
        "time_difference($self, time_unit=None) absolute_timestamp($self, time_unit) "
        "RustUdf(inputs, source_code) rolling_time($self, window) rolling_points($self, points) "
        "group_by($self, tags, timestamp) to_json($self)"
    ),
    "CategoricalSeries": (
        "Reference(name) ValueMap(input, mapping, default=None) EnumAggregation(input, operator) "
        "time_difference($self, time_unit=None) absolute_timestamp($self, time_unit) "
        "rolling_time($self, window) rolling_points($self, points) "
        "group_by($self, tags, timestamp) to_json($self)"
    ),
    "RangeSeries": "Intersect(inputs) invert($self) Reference(name) Union(inputs) to_json($self)",
    "StructSeries": (
        "Combine(inputs) time_difference($self, time_unit=None) "
        "absolute_timestamp($self, time_unit) extract_numeric($self, field_path, data_type=None) "
        "rolling_time($self, window) rolling_points($self, points) "
        "group_by($self, tags, timestamp) to_json($self)"
    ),
    "ConstantNumericSeries": "Float(value) to_json($self)",
    "IntegerConstant": "Literal(literal) Reference(variable) to_json($self)",
    "StringConstant": "Literal(literal) Reference(variable) to_json($self)",
    "Dataset": (
        "Asset(rid) Run(rid) Saved(rid) Combine(inputs) tag($self, key, value) "
        "time_shift($self, offset) to_json($self)"
    ),
    "Sampling": "EveryNthPerSeries(n) HashSubsample(n) to_json($self)",
    "BooleanSeries": "to_json($self)",
    "AggregationBuilder": (
        "numeric_aggregation($self, operator) sum($self) average($self) min($self) max($self) "
        "count($self) standard_deviation($self) root_mean_square($self) "
        "percentile($self, percentile) udf($self, source) rust_udf($self, source_code) "
        "enum_aggregation($self, operator) to_json($self)"
    ),
    "NumericAggregationOperator": (
        "Sum() Average() Min() Max() Count() StandardDeviation() RootMeanSquare() "
        "Percentile(percentile) Udf(source) to_json($self)"
    ),
    "NegativeValueConfiguration": (
        "AllowNegativeValues() SetNegativeValuesToZero() ExcludeNegativeValues() to_json($self)"
    ),
    "SignalFilterConfiguration": (
        "LowPass(cutoff_frequency) HighPass(cutoff_frequency) "
        "BandPass(low_passband_frequency, high_passband_frequency) "
        "BandStop(low_stopband_frequency, high_stopband_frequency) to_json($self)"
    ),
    "FloatConstant": "Literal(literal) Reference(variable) to_json($self)",
    "Duration": (
        "Reference(name) Nanoseconds(nanoseconds) Milliseconds(milliseconds) Seconds(seconds) "
        "Minutes(minutes) Hours(hours) Days(days) to_json($self)"
    ),
    "UdfSource": "Rust(source_code) to_json($self)",
    "EnumAggregationOperator": "Min() Max() Udf(source) to_json($self)",
    "GroupByTags": "Current() Subset(tags) to_json($self)",
    "GroupByTimestamp": "Current() Every(every) to_json($self)",
    "RangeMap": "to_json($self)",
}
FUNCTIONS = (
    "abs(x) cos(x) sin(x) tan(x) acos(x) asin(x) ln(x) log10(x) sqrt(x) atan2(y, x) max(inputs) "
    "mean(inputs) min(inputs) sum(inputs) product(inputs) "
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
    """Name: parenthesised parameters, per signature of a text, in order."""
    return dict(re.findall(r"(\w+)(\([^)]*\))", text))


def agree(kind, module, table, where, owner=None):
    """Fails naming each entry that one of two name: signature tables has and the other lacks,
    or that they give different signatures, and then where their orders differ. `where` names
    the table of this file that is kept by hand, for the entry to add."""
    entry = (lambda name: f"{kind} {owner}.{name}") if owner else (lambda name: f"{kind} {name}")
    lines = [
        f"{entry(name)}: in the module, not in the table: add {name}{module[name] or ''} to "
        f"{where} in tests/test_declarations.py, in the module's order"
        for name in module.keys() - table
    ]
    lines += [f"{entry(name)}: in the table, not in the module" for name in table.keys() - module]
    lines += [
        f"{entry(name)}: the module has {module[name]}, the table {table[name]}"
        for name in module.keys() & table
        if module[name] != table[name]
    ]
    assert not lines, "\n".join(sorted(lines))
    assert list(module) == list(table), f"{kind}s of {owner or 'the module'} in another order"


def test_module_names():
    entries = {name: getattr(C, name) for name in C.__all__}
    classes = {name: "" for name, entry in entries.items() if isinstance(entry, type)}
    functions = {
        name: entry.__text_signature__
        for name, entry in entries.items()
        if not isinstance(entry, type)
    }
    agree("class", classes, dict.fromkeys(METHODS, ""), "METHODS (with its methods)")
    agree("function", functions, signatures(FUNCTIONS), "FUNCTIONS")
    assert C.__all__ == list(METHODS) + list(signatures(FUNCTIONS))
    assert C.__doc__ == ""
    assert set(dir(C)) - MODULE_ATTRIBUTES == set(C.__all__)
    for name in functions:
        fn = getattr(C, name)
        assert (fn.__name__, fn.__self__) == (name, None)
        assert fn.__module__ == C.__name__ == "quarnel.compute._compute"


@pytest.mark.parametrize("name", list(METHODS))
def test_class_declaration(o, name):
    cls = getattr(C, name, None)
    assert isinstance(cls, type), f"class {name}: in the table, not in the module"
    assert (cls.__module__, cls.__name__, cls.__qualname__, cls.__bases__) == (
        "_compute",
        name,
        name,
        (object,),
    )
    own = {k: v for k, v in vars(cls).items() if not k.startswith("__")}
    module = {method: getattr(cls, method).__text_signature__ for method in own}
    agree("method", module, signatures(METHODS[name]), f'METHODS["{name}"]', owner=name)
    for method, params in module.items():
        assert getattr(cls, method).__doc__ is None, method
        assert isinstance(own[method], staticmethod) != params.startswith("($self"), method
    special = {k for k in vars(cls) if k.startswith("__")} - {
        "__doc__",
        "__module__",
        "__slotnames__",
    }
    agree(
        "slot",
        dict.fromkeys(sorted(special), ""),
        dict.fromkeys(sorted(SLOTS.get(name, ())), ""),
        f'SLOTS["{name}"]',
        name,
    )
    callable_ = name == "RangeMap"
    assert (cls.__doc__, cls.__text_signature__ if callable_ else None) == (
        ("", "(output, start=None, end=None)") if callable_ else (None, None)
    )
    obj = o.of_class(cls)
    refused = [
        (TypeError, lambda: type("Sub", (cls,), {})),
        (AttributeError, lambda: setattr(obj, "anything", 1)),
        (TypeError, lambda: weakref.ref(obj)),
    ] + ([] if callable_ else [(TypeError, cls)])
    for exc, act in refused:
        with pytest.raises(exc):
            act()
    if not callable_:
        # The interpreter's refusal of a class without a constructor, whatever the arguments;
        # its `__new__` is object's, which refuses the class as unsafe.
        for args, kwargs in [((), {}), ((1,), {}), ((obj, 2.0), {"output": obj})]:
            with pytest.raises(TypeError) as info:
                cls(*args, **kwargs)
            assert str(info.value) == f"cannot create '_compute.{name}' instances"
        assert cls.__new__ is object.__new__
        with pytest.raises(TypeError) as info:
            cls.__new__(cls)
        assert str(info.value) == (
            f"object.__new__(_compute.{name}) is not safe, use _compute.{name}.__new__()"
        )
    assert not gc.is_tracked(obj) and bool(obj)
    assert cls.__hash__ is None if name == "NumericSeries" else hash(obj) == object.__hash__(obj)


def test_the_package_gives_the_module_s_names_and_its_node_type():
    import quarnel.compute

    assert quarnel.compute.__all__ == ["Node", *C.__all__]
    for name in C.__all__:
        assert getattr(quarnel.compute, name) is getattr(C, name), name
    public = {name for name in dir(quarnel.compute) if not name.startswith("_")}
    assert public == set(quarnel.compute.__all__)


def test_an_object_of_every_class_is_a_node_and_nothing_else_is(o):
    from quarnel.compute import Node

    objects = [o.of_class(getattr(C, name)) for name in METHODS]
    assert all(isinstance(obj, Node) for obj in objects)
    assert not any(isinstance(x, Node) for x in (1.5, "s", [o.s], C.NumericSeries, None))
    with pytest.raises(TypeError):
        Node()


def test_the_package_version_is_the_installed_distribution_s():
    import importlib.metadata

    import quarnel.compute

    try:
        installed = importlib.metadata.version("quarnel-compute")
    except importlib.metadata.PackageNotFoundError:
        pytest.skip("the package is imported from a staged copy, not installed")
    assert quarnel.compute.__version__ == installed
    assert re.fullmatch(r"\d+\.\d+\.\d+", installed)
