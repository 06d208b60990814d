"""The five methods NumericSeries, CategoricalSeries and StructSeries share: the same
parameters and nodes, with the held series entering as the Series variant of its class."""

import pytest

from conftest import (
    CAT, CURRENT, MINUTES_5, S, STRUCT, node, obj, panics, time_unit_error, type_error, value_error, var,
)

# (class name, the operand of that class, Series variant, its wire form)
KINDS = [
    ("NumericSeries", "s", "numeric", S),
    ("CategoricalSeries", "c", "enum", CAT),
    ("StructSeries", "t", "struct", STRUCT),
]
UNITS = ["days", "hours", "minutes", "seconds", "milliseconds", "microseconds", "nanoseconds"]


@pytest.fixture(params=KINDS, ids=[k[0] for k in KINDS])
def kind(request, o):
    name, attr, variant, written = request.param
    return name, getattr(o, attr), node(variant, written)


def test_the_documented_examples(C):
    c = C.CategoricalSeries.Reference("a")
    assert c.time_difference().to_json() == (
        '{"type":"timeDifference","timeDifference":{"input":{"type":"enum","enum":{"type":"raw","raw":'
        '{"name":"a"}}}}}')
    assert C.StructSeries.Combine({}).rolling_points(10).to_json() == (
        '{"type":"rollingPoints","rollingPoints":{"input":{"type":"struct","struct":{"type":"combine","combine":{}}},'
        '"points":{"type":"literal","literal":10}}}')


def test_time_difference(C, o, kind):
    _, x, series = kind
    plain = node("timeDifference", obj(("input", series)))
    with o.unchanged():
        for result in (x.time_difference(), x.time_difference(None), x.time_difference(time_unit=None)):
            assert type(result) is C.NumericSeries
            assert result.to_json() == plain
        assert x.time_difference("days").to_json() == node("timeDifference", obj(("input", series), ("timeUnit", '"DAYS"')))


@pytest.mark.parametrize("unit", UNITS)
def test_absolute_timestamp_writes_the_upper_case_unit(C, o, kind, unit):
    _, x, series = kind
    with o.unchanged():
        result = x.absolute_timestamp(unit)
        assert type(result) is C.NumericSeries
        assert result.to_json() == node("absoluteTimestamp", obj(("input", series), ("timeUnit", '"%s"' % unit.upper())))
        assert x.time_difference(time_unit=unit).to_json() == \
            node("timeDifference", obj(("input", series), ("timeUnit", '"%s"' % unit.upper())))


def test_absolute_timestamp_requires_its_unit(C, o, kind):
    name, x, _ = kind
    with o.unchanged():
        assert type_error(x.absolute_timestamp) == \
            "%s.absolute_timestamp() missing 1 required positional argument: 'time_unit'" % name
        # A required parameter gives None no special meaning: its text is no unit name.
        assert value_error(x.absolute_timestamp, None) == time_unit_error("None")
        assert value_error(x.absolute_timestamp, "Days") == time_unit_error("Days")
        assert value_error(x.time_difference, "day") == time_unit_error("day")


def test_rolling_time(C, o, kind):
    name, x, series = kind
    with o.unchanged():
        result = x.rolling_time(o.dur)
        assert type(result) is C.AggregationBuilder
        assert result.to_json() == node("rollingTime", obj(("input", series), ("window", MINUTES_5)))
        assert x.rolling_time(window=o.dur).to_json() == result.to_json()
        assert type_error(x.rolling_time, "5m") == "argument 'window': 'str' object is not an instance of 'Duration'"
        assert type_error(x.rolling_time, 5) == "argument 'window': 'int' object is not an instance of 'Duration'"


@pytest.mark.parametrize("points,written", [(10, "10"), (0, "0"), (-1, "-1"), (2147483647, "2147483647"),
                                            (-2147483648, "-2147483648"), (True, "1")])
def test_rolling_points(C, o, kind, points, written):
    _, x, series = kind
    with o.unchanged():
        result = x.rolling_points(points)
        assert type(result) is C.AggregationBuilder
        assert result.to_json() == node("rollingPoints", obj(("input", series), ("points", node("literal", written))))


def test_rolling_points_narrowing_and_variables(C, o, kind):
    _, x, series = kind
    with o.unchanged():
        for out_of_range in (2147483648, -2147483649):
            assert panics(x.rolling_points, out_of_range) == "integer value exceeds i32 range: TryFromIntError(())"
        k = C.IntegerConstant.Reference("k")
        assert x.rolling_points(points=k).to_json() == node("rollingPoints", obj(("input", series), ("points", var("k"))))
        assert type_error(x.rolling_points, 1.5).startswith(
            "argument 'points': failed to extract enum IntegerConstantInput ('Wrapped | Native0')\n")


def test_group_by(C, o, kind):
    name, x, series = kind
    expected = node("groupBy", obj(("input", series), ("tags", CURRENT), ("timestamp", CURRENT)))
    with o.unchanged():
        result = x.group_by(o.tags, o.ts)
        assert type(result) is C.AggregationBuilder
        assert result.to_json() == expected
        assert x.group_by(tags=o.tags, timestamp=o.ts).to_json() == expected
        assert x.group_by(timestamp=o.ts, tags=o.tags).to_json() == expected
        every = C.GroupByTimestamp.Every(o.dur)
        subset = C.GroupByTags.Subset(["b", "a"])
        assert x.group_by(subset, every).to_json() == node("groupBy", obj(
            ("input", series), ("tags", subset.to_json()), ("timestamp", every.to_json())))
        assert type_error(x.group_by, o.tags) == \
            "%s.group_by() missing 1 required positional argument: 'timestamp'" % name
        assert type_error(x.group_by, o.ts, o.tags) == \
            "argument 'tags': 'GroupByTimestamp' object is not an instance of 'GroupByTags'"
        assert type_error(x.group_by, o.tags, o.tags) == \
            "argument 'timestamp': 'GroupByTags' object is not an instance of 'GroupByTimestamp'"


def test_self_must_be_of_the_class(C, o, kind):
    name, x, _ = kind
    method = getattr(C, name).rolling_time
    assert method(x, o.dur).to_json() == x.rolling_time(o.dur).to_json()
    with pytest.raises(TypeError):
        method(o.r, o.dur)
    with pytest.raises(TypeError):
        method(1, o.dur)
