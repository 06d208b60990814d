"""CategoricalSeries: references, value maps over numeric series, and enum aggregations."""

import pytest

from conftest import CAT, ROLLING_3, RUST_F, S, check_builds, const, lit, node, obj, raw, type_error, var


def test_the_documented_examples(C):
    assert C.CategoricalSeries.Reference("a").to_json() == '{"type":"raw","raw":{"name":"a"}}'
    assert C.CategoricalSeries.ValueMap(2.5, [C.RangeMap("x")], "y").to_json() == (
        '{"type":"valueMap","valueMap":{"input":{"type":"constant","constant":{"type":"double","double":'
        '{"type":"literal","literal":2.5}}},"mapping":[{"output":{"type":"literal","literal":"x"}}],'
        '"default":{"type":"literal","literal":"y"}}}')


M1 = obj(("start", node("literal", "0.0")), ("output", lit("low")))
M2 = obj(("start", node("literal", "10.0")), ("end", node("literal", "20.0")), ("output", lit("high")))


@pytest.fixture
def maps(C):
    return C.RangeMap("low", 0), C.RangeMap("high", 10.0, 20)


@pytest.mark.parametrize(
    "call,expected",
    [
        (lambda C, o, m: C.CategoricalSeries.ValueMap(o.s, []), node("valueMap", obj(("input", S)))),
        (lambda C, o, m: C.CategoricalSeries.ValueMap(o.s, [], None), node("valueMap", obj(("input", S)))),
        (lambda C, o, m: C.CategoricalSeries.ValueMap(o.s, (m[0], m[1], m[0])),
         node("valueMap", obj(("input", S), ("mapping", "[%s,%s,%s]" % (M1, M2, M1))))),
        (lambda C, o, m: C.CategoricalSeries.ValueMap(o.s, [m[1]], "other"),
         node("valueMap", obj(("input", S), ("mapping", "[%s]" % M2), ("default", lit("other"))))),
        (lambda C, o, m: C.CategoricalSeries.ValueMap(o.s, [m[1]], C.StringConstant.Reference("v")),
         node("valueMap", obj(("input", S), ("mapping", "[%s]" % M2), ("default", var("v"))))),
        (lambda C, o, m: C.CategoricalSeries.ValueMap(default="", mapping=[], input=2),
         node("valueMap", obj(("input", const("2.0")), ("default", lit(""))))),
        (lambda C, o, m: C.CategoricalSeries.EnumAggregation(o.agg, C.EnumAggregationOperator.Min()),
         node("enumAggregation", obj(("input", ROLLING_3), ("operator", node("min", "{}"))))),
        (lambda C, o, m: C.CategoricalSeries.EnumAggregation(operator=C.EnumAggregationOperator.Udf(o.src), input=o.agg),
         node("enumAggregation", obj(("input", ROLLING_3), ("operator", node("udf", obj(("source", RUST_F))))))),
        (lambda C, o, m: C.CategoricalSeries.Reference(""), raw("")),
        (lambda C, o, m: C.CategoricalSeries.Reference(name="c"), CAT),
    ],
)
def test_calls(C, o, maps, call, expected):
    check_builds(o, lambda: call(C, o, maps), C.CategoricalSeries, expected, *maps)


def test_enum_aggregation_equals_the_builder_method(C, o):
    for op in (C.EnumAggregationOperator.Max(), C.EnumAggregationOperator.Udf(o.src)):
        assert C.CategoricalSeries.EnumAggregation(o.agg, op).to_json() == o.agg.enum_aggregation(op).to_json()


@pytest.mark.parametrize(
    "call,message",
    [
        (lambda C, o: C.CategoricalSeries.ValueMap(),
         "CategoricalSeries.ValueMap() missing 2 required positional arguments: 'input' and 'mapping'"),
        (lambda C, o: C.CategoricalSeries.ValueMap(o.s, [], None, 1),
         "CategoricalSeries.ValueMap() takes from 2 to 3 positional arguments but 4 were given"),
        (lambda C, o: C.CategoricalSeries.ValueMap(o.s, "abc"), "argument 'mapping': Can't extract `str` to `Vec`"),
        (lambda C, o: C.CategoricalSeries.ValueMap(o.s, [C.RangeMap("x"), 1]),
         "argument 'mapping': 'int' object is not an instance of 'RangeMap'"),
        (lambda C, o: C.CategoricalSeries.Reference(C.StringConstant.Literal("x")),
         "argument 'name': 'StringConstant' object is not an instance of 'str'"),
        (lambda C, o: C.CategoricalSeries.EnumAggregation(o.agg, C.NumericAggregationOperator.Min()),
         "argument 'operator': 'NumericAggregationOperator' object is not an instance of 'EnumAggregationOperator'"),
        (lambda C, o: C.CategoricalSeries.EnumAggregation(o.s, C.EnumAggregationOperator.Min()),
         "argument 'input': 'NumericSeries' object is not an instance of 'AggregationBuilder'"),
    ],
)
def test_refusals(C, o, call, message):
    with o.unchanged():
        assert type_error(call, C, o) == message


def test_the_input_is_a_numeric_series_or_a_number(C, o):
    with o.unchanged():
        text = type_error(C.CategoricalSeries.ValueMap, o.c, [])
        assert text.startswith("argument 'input': failed to extract enum NumericSeriesInput ('Wrapped | Native0')\n"
                               "- variant Wrapped (Wrapped): TypeError: failed to extract field "
                               "NumericSeriesInput::Wrapped.0, caused by TypeError: "
                               "'CategoricalSeries' object is not an instance of 'NumericSeries'\n")
        assert type_error(C.CategoricalSeries.ValueMap, o.s, [], 1).startswith(
            "argument 'default': failed to extract enum StringConstantInput ('Wrapped | Native0')\n")
        # The first bad parameter in signature order is the one reported.
        assert type_error(C.CategoricalSeries.ValueMap, o.s, [1], 1) == \
            "argument 'mapping': 'int' object is not an instance of 'RangeMap'"
