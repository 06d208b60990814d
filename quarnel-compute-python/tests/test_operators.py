"""Operators of NumericSeries, Duration and BooleanSeries."""

import operator

import pytest

from conftest import const, node, obj, raw, unchanged

A = raw("a")
B = raw("b")

ARITHMETIC = [
    (operator.add, "add", "left", "right"),
    (operator.sub, "subtract", "left", "right"),
    (operator.mul, "multiply", "left", "right"),
    (operator.truediv, "divide", "left", "right"),
    (operator.floordiv, "floorDivide", "left", "right"),
    (operator.mod, "modulo", "left", "right"),
    (operator.pow, "power", "base", "exponent"),
]


@pytest.fixture
def s(C):
    return C.NumericSeries.Reference("a")


@pytest.mark.parametrize("op,variant,first,second", ARITHMETIC)
def test_arithmetic_keeps_the_written_order(C, s, op, variant, first, second):
    t = C.NumericSeries.Reference("b")
    with unchanged(s, t):
        assert op(s, t).to_json() == node(variant, obj((first, A), (second, B)))
        assert op(s, 2).to_json() == node(variant, obj((first, A), (second, const("2.0"))))
        assert op(2, s).to_json() == node(variant, obj((first, const("2.0")), (second, A)))
        assert op(s, True).to_json() == node(variant, obj((first, A), (second, const("1.0"))))
        assert op(s, s).to_json() == node(variant, obj((first, A), (second, A)))


def test_the_first_example(C):
    assert (C.NumericSeries.Reference("x") + 2.0).to_json() == (
        '{"type":"add","add":{"left":{"type":"raw","raw":{"name":"x"}},"right":{"type":"constant",'
        '"constant":{"type":"double","double":{"type":"literal","literal":2.0}}}}}')


def test_negation_and_no_folding(C, s):
    with unchanged(s):
        assert (-s).to_json() == node("negate", obj(("x", A)))
        assert (-(-s)).to_json() == node("negate", obj(("x", node("negate", obj(("x", A))))))
        assert (s - s).to_json() == node("subtract", obj(("left", A), ("right", A)))


def test_pow_with_a_modulus_is_declined(C, s):
    assert pow(s, 2).to_json() == (s ** 2).to_json()
    for modulus in (7, "m", s):
        with pytest.raises(TypeError):
            pow(s, 2, modulus)


COMPARISONS = [
    (operator.lt, "lessThan", "greaterThan"),
    (operator.le, "lessThanOrEqualTo", "greaterThanOrEqualTo"),
    (operator.eq, "equalTo", "equalTo"),
    (operator.ne, "notEqualTo", "notEqualTo"),
    (operator.gt, "greaterThan", "lessThan"),
    (operator.ge, "greaterThanOrEqualTo", "lessThanOrEqualTo"),
]


@pytest.mark.parametrize("op,variant,mirrored", COMPARISONS)
def test_comparisons_put_the_series_left(C, s, op, variant, mirrored):
    with unchanged(s):
        b = op(s, 2.0)
        assert type(b) is C.BooleanSeries
        assert b.to_json() == node(variant, obj(("left", A), ("right", const("2.0"))))
        assert op(2.0, s).to_json() == node(mirrored, obj(("left", A), ("right", const("2.0"))))


def test_comparison_with_what_does_not_convert(C, s):
    assert (s == "t") is False
    assert (s != "t") is True
    assert (s == None) is False  # noqa: E711
    with pytest.raises(TypeError):
        s < "t"
    assert s in [s]
    assert (0 < s < 1).to_json() == node("lessThan", obj(("left", A), ("right", const("1.0"))))


@pytest.mark.parametrize(
    "other",
    ["t", lambda C: C.Duration.Days(1), lambda C: C.NumericSeries.Reference("b") < 1,
     lambda C: C.FloatConstant.Literal(1.0), lambda C: C.IntegerConstant.Literal(1),
     lambda C: C.ConstantNumericSeries.Float(1.0), 10**400],
)
def test_arithmetic_with_what_does_not_convert_raises_type_error(C, s, other):
    other = other(C) if callable(other) else other
    for op, *_ in ARITHMETIC:
        with pytest.raises(TypeError):
            op(s, other)
        with pytest.raises(TypeError):
            op(other, s)


def test_slot_methods_called_directly(C, s):
    assert s.__add__("t") is NotImplemented
    assert s.__radd__(2.0).to_json() == (2.0 + s).to_json()
    assert s.__rsub__(2.0).to_json() == node("subtract", obj(("left", const("2.0")), ("right", A)))


def test_conversion_interrupts_propagate_out_of_operators(C, s):
    class Interrupting:
        def __float__(self):
            raise KeyboardInterrupt

    with pytest.raises(KeyboardInterrupt):
        s + Interrupting()
    with pytest.raises(KeyboardInterrupt):
        Interrupting() - s
    with pytest.raises(KeyboardInterrupt):
        s < Interrupting()


def test_in_place_forms_rebind(C, s):
    before = s
    s += 1
    assert before.to_json() == A
    assert s.to_json() == node("add", obj(("left", A), ("right", const("1.0"))))


def test_builtin_sum_starts_from_zero(C):
    n1, n2 = C.NumericSeries.Reference("a"), C.NumericSeries.Reference("b")
    inner = node("add", obj(("left", const("0.0")), ("right", A)))
    assert sum([n1, n2]).to_json() == node("add", obj(("left", inner), ("right", B)))


def test_operations_without_a_slot(C, s):
    for bad in (lambda: +s, lambda: ~s, lambda: s ^ 1, lambda: s << 1, lambda: s & s, lambda: s | s,
                lambda: divmod(s, 2), lambda: int(s), lambda: float(s), lambda: s @ s):
        with pytest.raises(TypeError):
            bad()


def test_duration_operators(C):
    d1, d2 = C.Duration.Days(1), C.Duration.Reference("w")
    one = node("days", obj(("days", node("literal", "1"))))
    w = node("reference", obj(("name", '"w"')))
    with unchanged(d1, d2):
        assert (d1 + d2).to_json() == node("add", obj(("left", one), ("right", w)))
        assert (d2 - d1).to_json() == node("subtract", obj(("left", w), ("right", one)))
        assert (-d1).to_json() == node("negate", obj(("input", one)))
        for bad in (lambda: d1 + 1, lambda: 1 + d1, lambda: d1 * 2, lambda: d1 < d2, lambda: d1 + C.NumericSeries.Reference("a")):
            with pytest.raises(TypeError):
                bad()


@pytest.mark.parametrize(
    "method,variant,field",
    [("Nanoseconds", "nanoseconds", "nanoseconds"), ("Milliseconds", "milliseconds", "milliseconds"),
     ("Seconds", "seconds", "seconds"), ("Minutes", "minutes", "minutes"), ("Hours", "hours", "hours"),
     ("Days", "days", "days")],
)
def test_duration_units(C, method, variant, field):
    make = getattr(C.Duration, method)
    assert make(5).to_json() == node(variant, obj((field, node("literal", "5"))))
    assert make(C.IntegerConstant.Reference("n")).to_json() == node(variant, obj((field, node("variable", '"n"'))))


def test_boolean_operators(C, s):
    b1, b2 = s < 1, s > 2
    with unchanged(b1, b2):
        assert (b1 & b2).to_json() == node("and", obj(("left", b1.to_json()), ("right", b2.to_json())))
        assert (b1 | b2).to_json() == node("or", obj(("left", b1.to_json()), ("right", b2.to_json())))
        assert (b1 and b2) is b2
        for bad in (lambda: b1 & True, lambda: True | b1, lambda: ~b1, lambda: -b1, lambda: b1 + b2):
            with pytest.raises(TypeError):
                bad()
