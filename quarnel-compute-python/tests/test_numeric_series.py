"""NumericSeries construction, arithmetic and point selection, and the module functions."""

import pytest
from hypothesis import given, strategies as st

from conftest import const, node, obj, raw, unchanged

A = raw("a")
UNARY = ["abs", "cos", "sin", "tan", "acos", "asin", "ln", "log10", "sqrt"]


@pytest.fixture
def s(C):
    return C.NumericSeries.Reference("a")


@pytest.mark.parametrize("name", UNARY)
def test_unary_methods_and_functions(C, s, name):
    with unchanged(s):
        assert getattr(s, name)().to_json() == node(name, obj(("x", A)))
        assert getattr(C, name)(s).to_json() == node(name, obj(("x", A)))
        assert getattr(C, name)(2.0).to_json() == node(name, obj(("x", const("2.0"))))


def test_self_built_nodes(C, s):
    with unchanged(s):
        assert s.abs().abs().to_json() == node("abs", obj(("x", node("abs", obj(("x", A))))))
        assert s.drop_nan().to_json() == '{"type":"dropNan","dropNan":{"input":{"type":"raw","raw":{"name":"a"}}}}'
        assert s.unit_conversion("m").to_json() == \
            '{"type":"unitConversion","unitConversion":{"input":{"type":"raw","raw":{"name":"a"}},"outputUnit":"m"}}'
        assert s.unit_conversion("").to_json() == node("unitConversion", obj(("input", A), ("outputUnit", '""')))
    assert C.NumericSeries.Reference("").to_json() == raw("")


def test_constants(C):
    expected = '{"type":"constant","constant":{"type":"double","double":{"type":"literal","literal":2.5}}}'
    assert C.NumericSeries.Constant(2.5).to_json() == expected
    series = C.ConstantNumericSeries.Float(2.5)
    with unchanged(series):
        assert C.NumericSeries.Constant(series).to_json() == expected


def test_atan2(C, s):
    t = C.NumericSeries.Reference("t")
    with unchanged(s, t):
        assert s.atan2(t).to_json() == node("atan2", obj(("y", A), ("x", raw("t"))))
        assert s.atan2(x=t).to_json() == s.atan2(t).to_json()
        assert s.atan2(2.5).to_json() == node("atan2", obj(("y", A), ("x", const("2.5"))))
        assert C.atan2(s, t).to_json() == s.atan2(t).to_json()
        assert C.atan2(1.0, 2.0).to_json() == node("atan2", obj(("y", const("1.0")), ("x", const("2.0"))))
        assert C.atan2(s, s).to_json() == node("atan2", obj(("y", A), ("x", A)))


LISTS = [("Max", "max", "inputs"), ("Mean", "mean", "inputs"), ("Min", "min", "inputs"),
         ("Sum", "sum", "inputs"), ("Product", "product", "inputs"), ("Union", "union", "input")]


@pytest.mark.parametrize("method,variant,key", LISTS)
def test_list_combinations(C, s, method, variant, key):
    static = getattr(C.NumericSeries, method)
    with unchanged(s):
        assert static([]).to_json() == node(variant, "{}")
        assert static([s, 1.5, s]).to_json() == node(variant, obj((key, "[%s,%s,%s]" % (A, const("1.5"), A))))
        if variant != "union":
            function = getattr(C, variant)
            assert function([s, 1.0]).to_json() == static([s, 1.0]).to_json()
            assert function(inputs=()).to_json() == node(variant, "{}")
    with pytest.raises(TypeError, match="^argument 'inputs': Can't extract `str` to `Vec`$"):
        static("ab")


def test_if_else(C, s):
    cond = s < 1.0
    with unchanged(s, cond):
        expected = node("ifElse", obj(("condition", cond.to_json()), ("trueValue", const("1.5")), ("falseValue", A)))
        assert C.NumericSeries.IfElse(cond, 1.5, s).to_json() == expected
        assert C.numeric_if_else(cond, 1.5, s).to_json() == expected
        assert C.numeric_if_else(condition=cond, true_value=1.5, false_value=s).to_json() == expected
    with pytest.raises(TypeError, match="^argument 'condition': 'float' object is not an instance of 'BooleanSeries'$"):
        C.numeric_if_else(1.0, 1.0, 2.0)


INTEGER_METHODS = [
    ("bit_and", "bitAnd", "operand"), ("bit_or", "bitOr", "operand"), ("bit_xor", "bitXor", "operand"),
    ("bit_shift_right", "bitShiftRight", "operand"), ("bit_shift_left", "bitShiftLeft", "operand"),
    ("bit_test", "bitTest", "index"), ("head", "selectOldestPoints", "numPoints"),
    ("tail", "selectNewestPoints", "numPoints"), ("nth_point_downsample", "nthPointDownsample", "n"),
    ("largest_triangle_three_buckets", "largestTriangleThreeBuckets", "maxPointsToReturn"),
]


@pytest.mark.parametrize("method,variant,field", INTEGER_METHODS)
def test_integer_operand_methods(C, s, method, variant, field):
    m = getattr(s, method)
    k = C.IntegerConstant.Reference("k")
    with unchanged(s, k):
        for value, text in [(3, "3"), (0, "0"), (-1, "-1"), (2147483647, "2147483647"),
                            (-2147483648, "-2147483648")]:
            assert m(value).to_json() == node(variant, obj(("input", A), (field, node("literal", text))))
        assert m(k).to_json() == node(variant, obj(("input", A), (field, node("variable", '"k"'))))
        with pytest.raises(BaseException) as info:
            m(2147483648)
        assert type(info.value).__name__ == "PanicException"
        with pytest.raises(TypeError):
            m(1.5)


def test_head_and_tail_examples(C, s):
    assert s.head(3).to_json() == ('{"type":"selectOldestPoints","selectOldestPoints":{"input":'
                                   '{"type":"raw","raw":{"name":"a"}},"numPoints":{"type":"literal","literal":3}}}')
    assert s.tail(3).to_json() == node("selectNewestPoints", obj(("input", A), ("numPoints", node("literal", "3"))))


def test_time_methods(C, s):
    series = node("numeric", A)
    with unchanged(s):
        assert s.time_difference().to_json() == node("timeDifference", obj(("input", series)))
        assert s.time_difference("nanoseconds").to_json() == \
            node("timeDifference", obj(("input", series), ("timeUnit", '"NANOSECONDS"')))
        for unit in ["days", "hours", "minutes", "seconds", "milliseconds", "microseconds", "nanoseconds"]:
            assert s.absolute_timestamp(time_unit=unit).to_json() == \
                node("absoluteTimestamp", obj(("input", series), ("timeUnit", '"%s"' % unit.upper())))


def test_rust_udf(C, s):
    assert C.NumericSeries.RustUdf([s], "x").to_json() == (
        '{"type":"scalarUdf","scalarUdf":{"inputs":[{"type":"numeric","numeric":{"type":"raw","raw":'
        '{"name":"a"}}}],"source":{"type":"rust","rust":{"sourceCode":"x"}}}}')
    assert C.NumericSeries.RustUdf([], "").to_json() == \
        node("scalarUdf", obj(("source", node("rust", obj(("sourceCode", '""'))))))


@given(st.lists(st.one_of(st.floats(allow_nan=False, allow_infinity=False), st.sampled_from(["a", "b"]))))
def test_list_functions_keep_every_element_in_order(items):
    import json
    from quarnel.compute import _compute as C

    args = [C.NumericSeries.Reference(x) if isinstance(x, str) else x for x in items]
    written = json.loads(C.mean(args).to_json())["mean"].get("inputs", [])
    assert len(written) == len(items)
    for got, item in zip(written, items):
        if isinstance(item, str):
            assert got == {"type": "raw", "raw": {"name": item}}
        else:
            assert got["constant"]["double"]["literal"] == item
