"""The constant classes: literal and variable forms and their JSON."""

import math

import pytest
from hypothesis import given, strategies as st

from conftest import node


@pytest.mark.parametrize(
    "make,expected",
    [
        (lambda C: C.FloatConstant.Literal(2.0), '{"type":"literal","literal":2.0}'),
        (lambda C: C.FloatConstant.Literal(3), '{"type":"literal","literal":3.0}'),
        (lambda C: C.FloatConstant.Literal(True), '{"type":"literal","literal":1.0}'),
        (lambda C: C.FloatConstant.Literal(float("nan")), '{"type":"literal","literal":null}'),
        (lambda C: C.FloatConstant.Literal(float("inf")), '{"type":"literal","literal":null}'),
        (lambda C: C.FloatConstant.Literal(float("-inf")), '{"type":"literal","literal":null}'),
        (lambda C: C.FloatConstant.Reference("v"), '{"type":"variable","variable":"v"}'),
        (lambda C: C.StringConstant.Literal(" A b "), '{"type":"literal","literal":" A b "}'),
        (lambda C: C.StringConstant.Literal(""), '{"type":"literal","literal":""}'),
        (lambda C: C.StringConstant.Reference(""), '{"type":"variable","variable":""}'),
        (lambda C: C.IntegerConstant.Literal(True), '{"type":"literal","literal":1}'),
        (lambda C: C.IntegerConstant.Literal(-7), '{"type":"literal","literal":-7}'),
        (lambda C: C.IntegerConstant.Reference("k"), '{"type":"variable","variable":"k"}'),
        (lambda C: C.ConstantNumericSeries.Float(2.5),
         '{"type":"double","double":{"type":"literal","literal":2.5}}'),
        (lambda C: C.ConstantNumericSeries.Float(C.FloatConstant.Reference("v")),
         '{"type":"double","double":{"type":"variable","variable":"v"}}'),
    ],
)
def test_constant_json(C, make, expected):
    assert make(C).to_json() == expected


def test_texts_are_escaped(C):
    assert C.StringConstant.Literal('q"\\\n\u00e9').to_json() == \
        '{"type":"literal","literal":"q\\"\\\\\\n\u00e9"}'


def test_literal_methods_take_plain_values_only(C):
    with pytest.raises(TypeError, match="^argument 'literal': "):
        C.FloatConstant.Literal(C.FloatConstant.Literal(1.0))
    with pytest.raises(TypeError, match="^argument 'literal': "):
        C.IntegerConstant.Literal(1.5)
    with pytest.raises(TypeError, match="^argument 'variable': 'int' object is not an instance of 'str'$"):
        C.IntegerConstant.Reference(1)


@given(st.floats(allow_nan=False, allow_infinity=False))
def test_finite_floats_round_trip_through_json(x):
    import json
    from quarnel.compute import _compute as C

    written = json.loads(C.FloatConstant.Literal(x).to_json())["literal"]
    assert written == x and math.copysign(1, written) == math.copysign(1, x)


@given(st.integers(min_value=-(2**31), max_value=2**31 - 1))
def test_every_32_bit_integer_is_kept(i):
    from quarnel.compute import _compute as C

    assert C.IntegerConstant.Literal(i).to_json() == node("literal", str(i))


@given(st.integers(min_value=2**31, max_value=2**63 - 1) | st.integers(min_value=-(2**63), max_value=-(2**31) - 1))
def test_every_wider_integer_panics(i):
    from quarnel.compute import _compute as C

    with pytest.raises(BaseException) as info:
        C.IntegerConstant.Literal(i)
    assert type(info.value).__name__ == "PanicException"
