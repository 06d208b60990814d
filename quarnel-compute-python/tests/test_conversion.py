"""Argument kinds: what each accepts, what it becomes, and the exact refusal texts."""

import enum
import sys

import pytest

from conftest import const, lit, node, obj, raw, unchanged


def type_error(fn, *args, **kwargs):
    with pytest.raises(TypeError) as info:
        fn(*args, **kwargs)
    assert type(info.value) is TypeError
    return str(info.value)


def two_way_lines(kind, expected_class, param, found="str"):
    return [
        "argument '%s': failed to extract enum %s ('Wrapped | Native0')" % (param, kind),
        "- variant Wrapped (Wrapped): TypeError: failed to extract field %s::Wrapped.0, caused by "
        "TypeError: '%s' object is not an instance of '%s'" % (kind, found, expected_class),
        "- variant Native0 (Native0): TypeError: failed to extract field %s::Native0.0, caused by " % kind,
    ]


@pytest.mark.parametrize(
    "call,kind,cls,param",
    [
        (lambda C: C.abs("s"), "NumericSeriesInput", "NumericSeries", "x"),
        (lambda C: C.ConstantNumericSeries.Float("s"), "FloatConstantInput", "FloatConstant", "value"),
        (lambda C: C.Duration.Days("s"), "IntegerConstantInput", "IntegerConstant", "days"),
        (lambda C: C.NumericSeries.Constant("s"), "ConstantNumericSeriesInput", "ConstantNumericSeries",
         "constant"),
    ],
)
def test_two_way_message_has_three_lines(C, call, kind, cls, param):
    lines = type_error(call, C).split("\n")
    first, wrapped, native = two_way_lines(kind, cls, param)
    assert len(lines) == 3
    assert lines[0] == first
    assert lines[1] == wrapped
    assert lines[2].startswith(native + "TypeError: ")


def test_two_way_message_for_text(C):
    lines = type_error(C.RangeMap, 5).split("\n")
    first, wrapped, native = two_way_lines("StringConstantInput", "StringConstant", "output", "int")
    assert lines == [first, wrapped, native + "TypeError: 'int' object is not an instance of 'str'"]


def test_the_exact_example_for_abs_of_a_str(C):
    with pytest.raises(TypeError) as info:
        C.abs("s")
    assert info.value.__cause__ is None
    text = str(info.value)
    assert text.startswith(
        "argument 'x': failed to extract enum NumericSeriesInput ('Wrapped | Native0')\n"
        "- variant Wrapped (Wrapped): TypeError: failed to extract field NumericSeriesInput::Wrapped.0, "
        "caused by TypeError: 'str' object is not an instance of 'NumericSeries'\n"
        "- variant Native0 (Native0): TypeError: failed to extract field NumericSeriesInput::Native0.0, "
        "caused by TypeError: ")


def test_the_cause_chain_of_the_native_failure_is_spelled_out(C):
    class Layered:
        def __float__(self):
            raise ValueError("outer") from KeyError("inner")

    last = type_error(C.abs, Layered()).split("\n")[2]
    assert last.endswith("caused by ValueError: outer, caused by KeyError: 'inner'")


def test_a_cycle_of_causes_is_described_once(C):
    class Looping:
        def __float__(self):
            a, b = ValueError("a"), ValueError("b")
            a.__cause__, b.__cause__ = b, a
            raise a

    last = type_error(C.abs, Looping()).split("\n")[2]
    assert last.endswith("caused by ValueError: a, caused by ValueError: b")


def test_a_cause_chain_that_str_keeps_extending_ends(C):
    class Growing(Exception):
        def __str__(self):
            self.__cause__ = Growing()
            return "g"

    class Raises:
        def __float__(self):
            raise Growing()

    last = type_error(C.abs, Raises()).split("\n")[2]
    assert last.count("Growing: g") == 1000


class Mute(Exception):
    def __str__(self):
        raise RuntimeError("no")


def test_an_exception_whose_str_fails(C):
    class Raises:
        def __float__(self):
            raise Mute()

    last = type_error(C.abs, Raises()).split("\n")[2]
    assert last.endswith("caused by Mute: <exception str() failed>")


@pytest.mark.parametrize("critical", [KeyboardInterrupt, SystemExit, MemoryError])
def test_interrupts_are_not_folded_into_a_message(C, critical):
    class Interrupting:
        def __float__(self):
            raise critical()

    with pytest.raises(critical):
        C.abs(Interrupting())


def test_numbers_become_constant_nodes(C):
    assert C.abs(True).to_json() == node("abs", obj(("x", const("1.0"))))
    assert C.abs(1).to_json() == node("abs", obj(("x", const("1.0"))))
    assert C.abs(float("nan")).to_json() == node("abs", obj(("x", const("null"))))

    class Half(float):
        pass

    class Indexed:
        def __index__(self):
            return 3

    assert C.abs(Half(0.5)).to_json() == node("abs", obj(("x", const("0.5"))))
    assert C.abs(Indexed()).to_json() == node("abs", obj(("x", const("3.0"))))
    assert C.abs(-1.0).to_json() == node("abs", obj(("x", const("-1.0"))))


def test_an_int_too_large_for_a_float_only_shows_in_the_message(C):
    last = type_error(C.abs, 10**400).split("\n")[2]
    assert "OverflowError: " in last


def test_the_wrapped_alternative_is_tried_first(C):
    s = C.NumericSeries.Reference("a")
    assert C.abs(s).to_json() == node("abs", obj(("x", raw("a"))))
    assert C.FloatConstant.Reference("v").to_json() == node("variable", '"v"')
    assert C.ConstantNumericSeries.Float(C.FloatConstant.Reference("v")).to_json() == \
        node("double", node("variable", '"v"'))


@pytest.mark.parametrize(
    "make,call",
    [
        (lambda C: C.FloatConstant.Literal(1.0), lambda C, o: C.abs(o)),
        (lambda C: C.ConstantNumericSeries.Float(1.0), lambda C, o: C.abs(o)),
        (lambda C: C.IntegerConstant.Literal(1), lambda C, o: C.ConstantNumericSeries.Float(o)),
        (lambda C: C.FloatConstant.Literal(1.0), lambda C, o: C.FloatConstant.Literal(o)),
        (lambda C: C.StringConstant.Literal("a"), lambda C, o: C.StringConstant.Literal(o)),
    ],
)
def test_constant_classes_do_not_stand_in_for_one_another(C, make, call):
    o = make(C)
    with unchanged(o):
        with pytest.raises(TypeError):
            call(C, o)


@pytest.mark.parametrize(
    "arg,message",
    [
        (1.0, "argument 'condition': 'float' object is not an instance of 'BooleanSeries'"),
        (None, "argument 'condition': 'None' is not an instance of 'BooleanSeries'"),
    ],
)
def test_class_argument_messages(C, arg, message):
    assert type_error(C.NumericSeries.IfElse, arg, 1, 2) == message


@pytest.mark.parametrize(
    "arg,message",
    [
        ("ab", "argument 'inputs': Can't extract `str` to `Vec`"),
        ({1.0}, "argument 'inputs': 'set' object is not an instance of 'Sequence'"),
        ({1: 1.0}, "argument 'inputs': 'dict' object is not an instance of 'Sequence'"),
        ((x for x in [1.0]), "argument 'inputs': 'generator' object is not an instance of 'Sequence'"),
        (None, "argument 'inputs': 'None' is not an instance of 'Sequence'"),
        (1.0, "argument 'inputs': 'float' object is not an instance of 'Sequence'"),
    ],
)
def test_list_refusals(C, arg, message):
    assert type_error(C.max, arg) == message


def test_list_refuses_a_series_object(C):
    s = C.NumericSeries.Reference("a")
    assert type_error(C.max, s) == "argument 'inputs': 'NumericSeries' object is not an instance of 'Sequence'"


def test_a_failing_element_reports_its_own_message_without_position(C):
    lines = type_error(C.sum, [1.0, "x"]).split("\n")
    assert lines[:2] == two_way_lines("NumericSeriesInput", "NumericSeries", "inputs")[:2]


def test_sequences_of_every_kind(C):
    s = C.NumericSeries.Reference("a")
    expected = node("sum", obj(("inputs", "[%s,%s]" % (const("1.0"), raw("a")))))
    assert C.sum((1.0, s)).to_json() == expected
    assert C.sum([1, s]).to_json() == expected
    assert C.sum(range(0)).to_json() == node("sum", "{}")
    assert C.sum(b"\x01").to_json() == node("sum", obj(("inputs", "[%s]" % const("1.0"))))


class Lying:
    """A sequence whose len() says anything; it holds two elements."""

    def __init__(self, length):
        self.length = length

    def __len__(self):
        if isinstance(self.length, type):
            raise self.length()
        return self.length

    def __getitem__(self, i):
        if i < 2:
            return float(i)
        raise IndexError


@pytest.mark.parametrize("length", [0, 1, 2, 50, sys.maxsize, ValueError])
def test_the_len_hint_only_sizes_the_first_allocation(C, length):
    expected = node("max", obj(("inputs", "[%s,%s]" % (const("0.0"), const("1.0")))))
    assert C.max(Lying(length)).to_json() == expected


def test_an_interrupt_in_len_propagates(C):
    with pytest.raises(KeyboardInterrupt):
        C.max(Lying(KeyboardInterrupt))


def test_an_error_of_iteration_ends_the_call(C):
    class Broken:
        def __len__(self):
            return 1

        def __getitem__(self, i):
            raise LookupError("gone")

    with pytest.raises(LookupError, match="^gone$"):
        C.max(Broken())


@pytest.mark.parametrize(
    "value,ok",
    [(2147483647, True), (-2147483648, True), (True, True), (2147483648, False), (-2147483649, False)],
)
def test_integer_literal_narrowing(C, value, ok):
    if ok:
        assert C.IntegerConstant.Literal(value).to_json() == node("literal", str(int(value)))
    else:
        with pytest.raises(BaseException) as info:
            C.IntegerConstant.Literal(value)
        assert type(info.value).__name__ == "PanicException"
        assert str(info.value) == "integer value exceeds i32 range: TryFromIntError(())"


def test_integer_refusals(C):
    with pytest.raises(OverflowError):
        C.IntegerConstant.Literal(2**63)
    message = type_error(C.IntegerConstant.Literal, 2.0)
    assert message.startswith("argument 'literal': ")


def test_an_integer_constant_object_is_never_narrowed(C):
    s = C.NumericSeries.Reference("a")
    k = C.IntegerConstant.Reference("k")
    assert s.bit_and(k).to_json() == node("bitAnd", obj(("input", raw("a")), ("operand", node("variable", '"k"'))))


def test_text_kinds(C):
    class Name(str):
        pass

    assert C.NumericSeries.Reference(Name("n")).to_json() == raw("n")
    assert C.NumericSeries.Reference("").to_json() == raw("")
    assert type_error(C.NumericSeries.Reference, C.StringConstant.Literal("n")) == \
        "argument 'name': 'StringConstant' object is not an instance of 'str'"
    with pytest.raises(UnicodeEncodeError):
        C.NumericSeries.Reference("\ud800")
    assert C.RangeMap(C.StringConstant.Reference("o")).to_json() == obj(("output", node("variable", '"o"')))


class Unit(enum.Enum):
    DAYS = "days"

    def __str__(self):
        return self.value


@pytest.mark.parametrize(
    "arg,text",
    [("Days", "Days"), ("DAYS", "DAYS"), (" days", " days"), ("day", "day"), ("", ""), (None, "None"),
     (3, "3"), (1.5, "1.5")],
)
def test_time_unit_refusals(C, arg, text):
    with pytest.raises(ValueError) as info:
        C.NumericSeries.Reference("a").absolute_timestamp(arg)
    assert str(info.value) == "Failed to convert '%s' to TimeUnit enum: Invalid custom type: %s" % (text, text)


def test_time_units_are_read_from_str(C):
    s = C.NumericSeries.Reference("a")
    expected = node("absoluteTimestamp", obj(("input", node("numeric", raw("a"))), ("timeUnit", '"DAYS"')))
    assert s.absolute_timestamp("days").to_json() == expected
    assert s.absolute_timestamp(Unit.DAYS).to_json() == expected


def test_a_time_unit_whose_str_fails_is_named_by_its_type(C, monkeypatch):
    class Unprintable:
        def __str__(self):
            raise RuntimeError("no text")

    reported = []
    monkeypatch.setattr(sys, "unraisablehook", lambda u: reported.append(u.exc_value))
    with pytest.raises(ValueError) as info:
        C.NumericSeries.Reference("a").absolute_timestamp(Unprintable())
    assert str(info.value) == ("Failed to convert '<unprintable Unprintable object>' to TimeUnit enum: "
                               "Invalid custom type: <unprintable Unprintable object>")
    assert len(reported) == 1 and isinstance(reported[0], RuntimeError)


def test_a_time_unit_with_a_lone_surrogate_is_read_lossily(C):
    with pytest.raises(ValueError) as info:
        C.NumericSeries.Reference("a").absolute_timestamp("d\ud800")
    text = str(info.value)
    assert "\ud800" not in text and "'d\ufffd" in text


def test_numeric_data_types(C):
    t = C.StructSeries.Combine({"a": C.NumericSeries.Reference("x")})
    assert '"dataType":"UINT64"' in t.extract_numeric(["f"], "uint64").to_json()
    assert '"dataType"' not in t.extract_numeric(["f"], None).to_json()
    for bad in ("INT64", "float", "int"):
        with pytest.raises(ValueError) as info:
            t.extract_numeric(["f"], bad)
        assert str(info.value) == \
            "Failed to convert '%s' to NumericDataType enum: Invalid custom type: %s" % (bad, bad)


WRAPPED_SERIES = ("Expected one of: enum (Class(CategoricalSeries)), numeric (Class(NumericSeries)), "
                  "struct (Class(StructSeries))")


def test_wrapped_series(C):
    assert len(WRAPPED_SERIES) == 110
    s = C.NumericSeries.Reference("a")
    t = C.StructSeries.Combine({"m": s})
    assert type_error(C.NumericSeries.RustUdf, [s, 1.0], "x") == "argument 'inputs': " + WRAPPED_SERIES
    udf = C.NumericSeries.RustUdf([s, t, s], "x").to_json()
    assert udf == node("scalarUdf", obj(
        ("inputs", "[%s,%s,%s]" % (node("numeric", raw("a")), node("struct", t.to_json()), node("numeric", raw("a")))),
        ("source", node("rust", obj(("sourceCode", '"x"'))))))


@pytest.mark.parametrize(
    "arg,message",
    [
        ({1: None}, "argument 'inputs': 'int' object is not an instance of 'str'"),
        ({"a": 1.0}, "argument 'inputs': " + WRAPPED_SERIES),
        ([("a", 1.0)], "argument 'inputs': 'list' object is not an instance of 'dict'"),
    ],
)
def test_dict_refusals(C, arg, message):
    assert type_error(C.StructSeries.Combine, arg) == message


def test_dict_keys_are_ordered_by_bytes_and_subclasses_accepted(C):
    class Ordered(dict):
        pass

    s = C.NumericSeries.Reference("s")
    combined = C.StructSeries.Combine(Ordered(b=s, a=s, B=s)).to_json()
    member = node("numeric", raw("s"))
    assert combined == node("combine", obj(("inputs", obj(("B", member), ("a", member), ("b", member)))))
    assert C.StructSeries.Combine({}).to_json() == '{"type":"combine","combine":{}}'


def test_a_dict_key_that_cannot_be_encoded_propagates_unchanged(C):
    with pytest.raises(UnicodeEncodeError):
        C.StructSeries.Combine({"\ud800": C.NumericSeries.Reference("s")})


def test_string_constants_in_lists(C):
    t = C.StructSeries.Combine({"a": C.NumericSeries.Reference("x")})
    path = t.extract_numeric(["a", C.StringConstant.Reference("v"), "a"]).to_json()
    assert '"fieldPath":[%s,%s,%s]' % (lit("a"), node("variable", '"v"'), lit("a")) in path
