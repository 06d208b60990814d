"""RangeSeries, and the BooleanSeries class beyond its operators."""

import pytest

from conftest import RANGE, check_builds, node, obj, raw, type_error


def test_the_documented_examples(C):
    assert C.RangeSeries.Reference("r").invert().to_json() == '{"type":"not","not":{"input":{"type":"raw","raw":{"name":"r"}}}}'
    assert C.RangeSeries.Union([]).to_json() == '{"type":"unionRange","unionRange":{}}'


def inputs(*members):
    return obj(("inputs", "[%s]" % ",".join(members)))


@pytest.mark.parametrize(
    "call,expected",
    [
        (lambda C, o: C.RangeSeries.Intersect([]), node("intersectRange", "{}")),
        (lambda C, o: C.RangeSeries.Union([o.r]), node("unionRange", inputs(RANGE))),
        (lambda C, o: C.RangeSeries.Union((o.r, o.r)), node("unionRange", inputs(RANGE, RANGE))),
        (lambda C, o: C.RangeSeries.Intersect(inputs=[o.r, C.RangeSeries.Reference("q"), o.r]),
         node("intersectRange", inputs(RANGE, raw("q"), RANGE))),
        (lambda C, o: C.RangeSeries.Union([C.RangeSeries.Intersect([o.r]), o.r.invert()]),
         node("unionRange", inputs(node("intersectRange", inputs(RANGE)), node("not", obj(("input", RANGE)))))),
        # Nothing is simplified.
        (lambda C, o: o.r.invert().invert(), node("not", obj(("input", node("not", obj(("input", RANGE))))))),
        (lambda C, o: C.RangeSeries.Reference(""), raw("")),
        (lambda C, o: C.RangeSeries.Reference(name="r"), RANGE),
    ],
)
def test_calls(C, o, call, expected):
    check_builds(o, lambda: call(C, o), C.RangeSeries, expected)


@pytest.mark.parametrize(
    "call,message",
    [
        (lambda C, o: C.RangeSeries.Union("ab"), "argument 'inputs': Can't extract `str` to `Vec`"),
        (lambda C, o: C.RangeSeries.Intersect([o.r, o.s]),
         "argument 'inputs': 'NumericSeries' object is not an instance of 'RangeSeries'"),
        (lambda C, o: C.RangeSeries.Union([o.c]),
         "argument 'inputs': 'CategoricalSeries' object is not an instance of 'RangeSeries'"),
        (lambda C, o: C.RangeSeries.Union(o.r), "argument 'inputs': 'RangeSeries' object is not an instance of 'Sequence'"),
        (lambda C, o: C.RangeSeries.Reference(C.StringConstant.Literal("x")),
         "argument 'name': 'StringConstant' object is not an instance of 'str'"),
        (lambda C, o: C.RangeSeries.Union(), "RangeSeries.Union() missing 1 required positional argument: 'inputs'"),
        (lambda C, o: C.RangeSeries.Intersect([], []), "RangeSeries.Intersect() takes 1 positional arguments but 2 were given"),
    ],
)
def test_refusals(C, o, call, message):
    with o.unchanged():
        assert type_error(call, C, o) == message


def test_range_series_are_no_series_argument(C, o):
    with pytest.raises(TypeError, match="^argument 'inputs': Expected one of: "):
        C.NumericSeries.Udf([o.r], o.src)
    with pytest.raises(TypeError, match="takes no arguments"):
        o.r.invert(1)


def test_boolean_series_has_only_to_json_and_its_two_operators(C, o):
    b1, b2 = o.s < 1, o.s > 2
    assert [n for n in vars(C.BooleanSeries) if not n.startswith("__")] == ["to_json"]
    assert bool(b1) and b1 == b1 and b1 != b2  # the interpreter's defaults: identity
    with pytest.raises(TypeError):
        ~b1
    assert (b1 & b2).to_json() == node("and", obj(("left", b1.to_json()), ("right", b2.to_json())))
