"""AggregationBuilder and the two operator classes."""

import pytest

from conftest import ROLLING_3, RUST_F, node, obj, type_error, var

FIXED = [("sum", "Sum", "sum"), ("average", "Average", "average"), ("min", "Min", "min"), ("max", "Max", "max"),
         ("count", "Count", "count"), ("standard_deviation", "StandardDeviation", "standardDeviation"),
         ("root_mean_square", "RootMeanSquare", "rootMeanSquare")]


def aggregation(operator):
    return node("numericAggregation", obj(("input", ROLLING_3), ("operator", operator)))


def test_the_documented_examples(C):
    assert C.NumericAggregationOperator.Sum().to_json() == '{"type":"sum","sum":{}}'
    assert C.EnumAggregationOperator.Max().to_json() == '{"type":"max","max":{}}'
    assert C.NumericAggregationOperator.Udf(C.UdfSource.Rust("f")).to_json() == \
        '{"type":"udf","udf":{"source":{"type":"rust","rust":{"sourceCode":"f"}}}}'
    assert C.EnumAggregationOperator.Udf(C.UdfSource.Rust("f")).to_json() == \
        '{"type":"udf","udf":{"source":{"type":"rust","rust":{"sourceCode":"f"}}}}'
    b = C.NumericSeries.Reference("x").rolling_points(3)
    assert b.sum().to_json() == (
        '{"type":"numericAggregation","numericAggregation":{"input":{"type":"rollingPoints","rollingPoints":'
        '{"input":{"type":"numeric","numeric":{"type":"raw","raw":{"name":"x"}}},"points":'
        '{"type":"literal","literal":3}}},"operator":{"type":"sum","sum":{}}}}')


@pytest.mark.parametrize("method,static,variant", FIXED)
def test_fixed_operators_by_three_roads(C, o, method, static, variant):
    op = getattr(C.NumericAggregationOperator, static)()
    assert op.to_json() == node(variant, "{}")
    with o.unchanged():
        result = getattr(o.agg, method)()
        assert type(result) is C.NumericSeries
        assert result.to_json() == aggregation(node(variant, "{}"))
        assert o.agg.numeric_aggregation(op).to_json() == result.to_json()
        assert o.agg.numeric_aggregation(operator=op).to_json() == result.to_json()
        assert C.NumericSeries.NumericAggregation(o.agg, op).to_json() == result.to_json()
        with pytest.raises(TypeError, match="takes no arguments"):
            getattr(o.agg, method)(1)


@pytest.mark.parametrize("value,written", [(95, "95.0"), (0.5, "0.5"), (-1, "-1.0"), (True, "1.0")])
def test_percentile_is_recorded_as_given(C, o, value, written):
    expected = node("percentile", obj(("percentile", node("literal", written))))
    assert C.NumericAggregationOperator.Percentile(value).to_json() == expected
    with o.unchanged():
        assert o.agg.percentile(value).to_json() == aggregation(expected)
        assert o.agg.numeric_aggregation(C.NumericAggregationOperator.Percentile(value)).to_json() == aggregation(expected)


def test_percentile_keeps_a_variable(C, o):
    p = C.FloatConstant.Reference("p")
    expected = node("percentile", obj(("percentile", var("p"))))
    assert o.agg.percentile(percentile=p).to_json() == aggregation(expected)
    assert C.NumericAggregationOperator.Percentile(percentile=p).to_json() == expected


def test_user_functions(C, o):
    udf = node("udf", obj(("source", RUST_F)))
    with o.unchanged():
        assert o.agg.udf(o.src).to_json() == aggregation(udf)
        assert o.agg.rust_udf("f").to_json() == aggregation(udf)
        assert o.agg.numeric_aggregation(C.NumericAggregationOperator.Udf(o.src)).to_json() == aggregation(udf)
        assert C.NumericAggregationOperator.Udf(source=o.src).to_json() == udf
        assert o.agg.rust_udf(source_code="").to_json() == \
            aggregation(node("udf", obj(("source", node("rust", obj(("sourceCode", '""')))))))


def test_enum_aggregation(C, o):
    with o.unchanged():
        for op, written in [(C.EnumAggregationOperator.Min(), node("min", "{}")),
                            (C.EnumAggregationOperator.Max(), node("max", "{}")),
                            (C.EnumAggregationOperator.Udf(o.src), node("udf", obj(("source", RUST_F))))]:
            result = o.agg.enum_aggregation(op)
            assert type(result) is C.CategoricalSeries
            assert result.to_json() == node("enumAggregation", obj(("input", ROLLING_3), ("operator", written)))
            assert C.CategoricalSeries.EnumAggregation(o.agg, op).to_json() == result.to_json()


def test_a_builder_can_be_aggregated_again(C, o):
    first = o.agg.max().to_json()
    assert o.agg.to_json() == ROLLING_3
    assert o.agg.min().to_json() == aggregation(node("min", "{}"))
    assert o.agg.max().to_json() == first


@pytest.mark.parametrize(
    "call,message",
    [
        (lambda C, o: o.agg.numeric_aggregation(C.EnumAggregationOperator.Min()),
         "argument 'operator': 'EnumAggregationOperator' object is not an instance of 'NumericAggregationOperator'"),
        (lambda C, o: o.agg.enum_aggregation(C.NumericAggregationOperator.Min()),
         "argument 'operator': 'NumericAggregationOperator' object is not an instance of 'EnumAggregationOperator'"),
        (lambda C, o: o.agg.udf("f"), "argument 'source': 'str' object is not an instance of 'UdfSource'"),
        (lambda C, o: o.agg.rust_udf(o.src), "argument 'source_code': 'UdfSource' object is not an instance of 'str'"),
        (lambda C, o: C.NumericAggregationOperator.Udf("f"), "argument 'source': 'str' object is not an instance of 'UdfSource'"),
        (lambda C, o: C.EnumAggregationOperator.Udf(None), "argument 'source': 'None' is not an instance of 'UdfSource'"),
        (lambda C, o: o.agg.percentile(), "AggregationBuilder.percentile() missing 1 required positional argument: 'percentile'"),
        (lambda C, o: C.NumericAggregationOperator.Percentile(1, 2),
         "NumericAggregationOperator.Percentile() takes 1 positional arguments but 2 were given"),
    ],
)
def test_refusals(C, o, call, message):
    with o.unchanged():
        assert type_error(call, C, o) == message


def test_percentile_given_text(C, o):
    assert type_error(o.agg.percentile, "95").startswith(
        "argument 'percentile': failed to extract enum FloatConstantInput ('Wrapped | Native0')\n")


@pytest.mark.parametrize("cls,methods", [
    ("NumericAggregationOperator", ["Sum", "Average", "Min", "Max", "Count", "StandardDeviation", "RootMeanSquare"]),
    ("EnumAggregationOperator", ["Min", "Max"]),
])
def test_operator_statics_take_no_argument(C, cls, methods):
    for name in methods:
        with pytest.raises(TypeError):
            getattr(getattr(C, cls), name)(1)
