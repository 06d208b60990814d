"""The module entry, its names and the declarations every class shares."""

import gc
import importlib
import sys
import weakref

import pytest

from conftest import raw

CLASSES = [
    "NumericSeries", "CategoricalSeries", "RangeSeries", "StructSeries", "ConstantNumericSeries",
    "IntegerConstant", "StringConstant", "Dataset", "Sampling", "BooleanSeries",
    "AggregationBuilder", "NumericAggregationOperator", "NegativeValueConfiguration",
    "SignalFilterConfiguration", "FloatConstant", "Duration", "UdfSource",
    "EnumAggregationOperator", "GroupByTags", "GroupByTimestamp", "RangeMap",
]
FUNCTIONS = [
    "abs", "cos", "sin", "tan", "acos", "asin", "ln", "log10", "sqrt", "atan2", "max", "mean",
    "min", "sum", "product", "numeric_if_else",
]


def samples(C):
    """One object of each of the 21 classes, in the order of CLASSES."""
    s = C.NumericSeries.Reference("a")
    return [
        s, C.CategoricalSeries.Reference("c"), C.RangeSeries.Reference("r"), C.StructSeries.Combine({"a": s}),
        C.ConstantNumericSeries.Float(1.0), C.IntegerConstant.Literal(1), C.StringConstant.Literal("a"),
        C.Dataset.Run("r"), C.Sampling.HashSubsample(2), s < 1, s.rolling_points(3),
        C.NumericAggregationOperator.Sum(), C.NegativeValueConfiguration.AllowNegativeValues(),
        C.SignalFilterConfiguration.LowPass(1.0), C.FloatConstant.Literal(1.0), C.Duration.Days(1),
        C.UdfSource.Rust("f"), C.EnumAggregationOperator.Min(), C.GroupByTags.Current(),
        C.GroupByTimestamp.Current(), C.RangeMap("x"),
    ]


def test_samples_are_of_every_class(C):
    assert [type(o).__name__ for o in samples(C)] == CLASSES


def test_all_lists_the_classes_then_the_functions(C):
    assert C.__all__ == CLASSES + FUNCTIONS


def test_module_holds_only_its_names(C):
    assert C.__doc__ == ""
    standard = {"__name__", "__doc__", "__package__", "__loader__", "__spec__", "__file__", "__all__"}
    assert set(dir(C)) - standard == set(CLASSES + FUNCTIONS)


def test_star_import_gives_exactly_the_names():
    scope = {}
    exec("from quarnel.compute._compute import *", scope)
    assert set(scope) - {"__builtins__"} == set(CLASSES + FUNCTIONS)


@pytest.mark.parametrize("name", CLASSES)
def test_class_declaration(C, name):
    cls = getattr(C, name)
    assert cls.__module__ == "_compute"
    assert cls.__name__ == cls.__qualname__ == name
    assert cls.__bases__ == (object,)
    with pytest.raises(TypeError):
        type("Sub", (cls,), {})


@pytest.mark.parametrize("name", [n for n in CLASSES if n != "RangeMap"])
def test_classes_without_constructor_refuse_calls(C, name):
    cls = getattr(C, name)
    assert cls.__doc__ is None
    with pytest.raises(TypeError):
        cls()
    with pytest.raises(TypeError):
        cls("a")


def test_range_map_is_the_one_callable_class(C):
    assert C.RangeMap.__doc__ == ""
    assert C.RangeMap.__text_signature__ == "(output, start=None, end=None)"
    assert C.RangeMap("x").to_json() == '{"output":{"type":"literal","literal":"x"}}'


def test_objects_take_no_attributes_nor_weak_references(C):
    for o in samples(C):
        with pytest.raises(AttributeError):
            o.anything = 1
        with pytest.raises(TypeError):
            weakref.ref(o)
        assert not gc.is_tracked(o)


def test_only_numeric_series_is_unhashable(C):
    s = C.NumericSeries.Reference("a")
    with pytest.raises(TypeError):
        hash(s)
    with pytest.raises(TypeError):
        {s}
    d1, d2 = C.Duration.Days(1), C.Duration.Days(1)
    assert hash(d1) == hash(d1)
    assert d1 == d1 and d1 != d2
    b = s < 1
    assert {b: 1}[b] == 1


def test_every_object_is_true(C):
    assert all(bool(o) for o in samples(C))


def test_functions_are_static_and_belong_to_the_module(C):
    for name in FUNCTIONS:
        fn = getattr(C, name)
        assert fn.__self__ is None
        assert fn.__module__ == C.__name__ == "quarnel.compute._compute"
        assert fn.__name__ == name


def test_importing_again_reuses_classes_and_makes_new_functions():
    first = importlib.import_module("quarnel.compute._compute")
    del sys.modules["quarnel.compute._compute"]
    try:
        second = importlib.import_module("quarnel.compute._compute")
        for name in CLASSES:
            assert getattr(second, name) is getattr(first, name)
        for name in FUNCTIONS:
            assert getattr(second, name) is not getattr(first, name)
            assert getattr(second, name).__name__ == name
        assert second.__all__ == first.__all__
        assert second.__all__ is not first.__all__
    finally:
        sys.modules["quarnel.compute._compute"] = first


def test_to_json_is_compact_and_stable(C):
    s = C.NumericSeries.Reference("a")
    t = s + 2.0
    first = t.to_json()
    for _ in range(3):
        t - s, t.abs(), -t
    assert t.to_json() == first
    assert " " not in first and "\n" not in first
    assert C.FloatConstant.Literal(2.0).to_json() == '{"type":"literal","literal":2.0}'
    assert s.to_json() == raw("a")


@pytest.mark.parametrize("name", FUNCTIONS)
def test_function_text_signatures(C, name):
    expected = {"atan2": "(y, x)", "numeric_if_else": "(condition, true_value, false_value)"}
    params = "(inputs)" if name in ("max", "mean", "min", "sum", "product") else "(x)"
    assert getattr(C, name).__text_signature__ == expected.get(name, params)
