"""Refusals: the exception and exact text of every failure kind, the cause chain of a two-way
refusal, PanicException, and operators that decline with NotImplemented."""

import _imp
import importlib.util
import re
from pathlib import Path
from types import SimpleNamespace

import pytest
from conftest import Failing, Name
from hostile import child, unnamed
from operators import IDENTITY, OPERATORS
from quarnel.compute import _compute as C
from quarnel.compute._compute import (
    CategoricalSeries,
    ConstantNumericSeries,
    Duration,
    FloatConstant,
    GroupByTags,
    IntegerConstant,
    NumericSeries,
    RangeMap,
    RangeSeries,
    Sampling,
    StringConstant,
    StructSeries,
)

pytestmark = pytest.mark.usefixtures("quiet_unraisable")
TE, VE, PANIC = "TypeError", "ValueError", "PanicException"
NARROWING = "integer value exceeds i32 range: TryFromIntError(())"
SERIES_KINDS = (
    "Expected one of: enum (Class(CategoricalSeries)), numeric (Class(NumericSeries)), "
    "struct (Class(StructSeries))"
)
NOT_STR = "TypeError: 'int' object is not an instance of 'str'"


def two_way(param, cls, found, native="TypeError: "):
    """The three-line refusal of a two-way kind, up to the interpreter's text where native ends
    in ": "."""
    kind = cls + "Input"
    return (
        f"argument '{param}': failed to extract enum {kind} ('Wrapped | Native0')\n"
        f"- variant Wrapped (Wrapped): TypeError: failed to extract field {kind}::Wrapped.0, "
        f"caused by TypeError: '{found}' object is not an instance of '{cls}'\n"
        f"- variant Native0 (Native0): TypeError: failed to extract field {kind}::Native0.0, "
        f"caused by {native}"
    )


def unit(text, enum="TimeUnit"):
    return f"Failed to convert '{text}' to {enum} enum: Invalid custom type: {text}"


def caused(exc, cause):
    exc.__cause__ = cause
    return exc


class Mute(Exception):
    def __str__(self):
        raise RuntimeError


class Growing(Exception):
    def __str__(self):
        self.__cause__ = Growing()
        return "g"


CYCLE = ValueError("a")
caused(CYCLE, caused(ValueError("b"), CYCLE))


class Special(TypeError):
    pass


REF = "Duration.Reference()"
GIVEN = "positional arguments but 2 were given"
NOT_AN = "argument '%s': '%s' object is not an instance of '%s'"

# The call as it reads, the call, the name of the exception it raises, and its text: None where
# the text is the interpreter's, and a text ending in ": " where only the interpreter's part
# after it is open.
ERRORS = [
    # Binding.
    (
        "Duration.Reference()",
        lambda o: Duration.Reference(),
        TE,
        f"{REF} missing 1 required positional argument: 'name'",
    ),
    (
        "Duration.Reference('a', 'b')",
        lambda o: Duration.Reference("a", "b"),
        TE,
        f"{REF} takes 1 {GIVEN}",
    ),
    (
        "Duration.Reference(nam='a')",
        lambda o: Duration.Reference(nam="a"),
        TE,
        f"{REF} got an unexpected keyword argument 'nam'",
    ),
    (
        "Duration.Reference('a', name='b')",
        lambda o: Duration.Reference("a", name="b"),
        TE,
        f"{REF} got multiple values for argument 'name'",
    ),
    (
        "Duration.Reference('a', 'b', nam=1)",
        lambda o: Duration.Reference("a", "b", nam=1),
        TE,
        f"{REF} takes 1 {GIVEN}",
    ),
    (
        "Duration.Reference(**{'\\ud800': 1})",
        lambda o: Duration.Reference(**{"\ud800": 1}),
        TE,
        f"{REF} got an unexpected keyword argument '\ud800'",
    ),
    (
        "RangeMap('a', 1, 2, 3)",
        lambda o: RangeMap("a", 1, 2, 3),
        TE,
        "RangeMap.__new__() takes from 1 to 3 positional arguments but 4 were given",
    ),
    (
        "NumericSeries.IfElse()",
        lambda o: NumericSeries.IfElse(),
        TE,
        "NumericSeries.IfElse() missing 3 required positional "
        "arguments: 'condition', 'true_value', and 'false_value'",
    ),
    (
        "CategoricalSeries.ValueMap()",
        lambda o: CategoricalSeries.ValueMap(),
        TE,
        "CategoricalSeries.ValueMap() missing 2 required "
        "positional arguments: 'input' and 'mapping'",
    ),
    (
        "atan2()",
        lambda o: C.atan2(),
        TE,
        "atan2() missing 2 required positional arguments: 'y' and 'x'",
    ),
    (
        "atan2(z=1)",
        lambda o: C.atan2(z=1),
        TE,
        "atan2() got an unexpected keyword argument 'z'",
    ),
    (
        "atan2(1, y=2)",
        lambda o: C.atan2(1, y=2),
        TE,
        "atan2() got multiple values for argument 'y'",
    ),
    ("max(s, u)", lambda o: C.max(o.s, o.u), TE, f"max() takes 1 {GIVEN}"),
    (
        "s.time_difference('a', 'b')",
        lambda o: o.s.time_difference("a", "b"),
        TE,
        f"NumericSeries.time_difference() takes from 0 to 1 {GIVEN}",
    ),
    ("s.to_json(1)", lambda o: o.s.to_json(1), TE, None),
    ("GroupByTags.Current(x=1)", lambda o: GroupByTags.Current(x=1), TE, None),
    (
        "NumericSeries.rolling_time(r, dur)",
        lambda o: NumericSeries.rolling_time(o.r, o.dur),
        TE,
        None,
    ),
    # Class arguments.
    (
        "NumericSeries.IfElse(1.0, 1, 2)",
        lambda o: NumericSeries.IfElse(1.0, 1, 2),
        TE,
        NOT_AN % ("condition", "float", "BooleanSeries"),
    ),
    (
        "numeric_if_else(None, 1, 2)",
        lambda o: C.numeric_if_else(None, 1, 2),
        TE,
        "argument 'condition': 'None' is not an instance of 'BooleanSeries'",
    ),
    (
        "s.rolling_time('5m')",
        lambda o: o.s.rolling_time("5m"),
        TE,
        NOT_AN % ("window", "str", "Duration"),
    ),
    (
        "agg.numeric_aggregation(eop)",
        lambda o: o.agg.numeric_aggregation(o.eop),
        TE,
        NOT_AN % ("operator", "EnumAggregationOperator", "NumericAggregationOperator"),
    ),
    (
        "CategoricalSeries.ValueMap(s, [m, 1], 1)",
        lambda o: CategoricalSeries.ValueMap(o.s, [o.m, 1], 1),
        TE,
        NOT_AN % ("mapping", "int", "RangeMap"),
    ),
    (
        "RangeSeries.Union([r, s])",
        lambda o: RangeSeries.Union([o.r, o.s]),
        TE,
        NOT_AN % ("inputs", "NumericSeries", "RangeSeries"),
    ),
    (
        "NumericSeries.SelectNumeric('x', 1)",
        lambda o: NumericSeries.SelectNumeric("x", 1),
        TE,
        NOT_AN % ("dataset", "int", "Dataset"),
    ),
    # Plain text, floats and integers.
    (
        "StringConstant.Literal(1)",
        lambda o: StringConstant.Literal(1),
        TE,
        NOT_AN % ("literal", "int", "str"),
    ),
    (
        "Duration.Reference(sc)",
        lambda o: Duration.Reference(o.sc),
        TE,
        NOT_AN % ("name", "StringConstant", "str"),
    ),
    (
        "NumericSeries.Reference('\\ud800')",
        lambda o: NumericSeries.Reference("\ud800"),
        "UnicodeEncodeError",
        None,
    ),
    (
        "StructSeries.Combine({'\\ud800': s})",
        lambda o: StructSeries.Combine({"\ud800": o.s}),
        "UnicodeEncodeError",
        None,
    ),
    (
        "FloatConstant.Literal('1')",
        lambda o: FloatConstant.Literal("1"),
        TE,
        "argument 'literal': ",
    ),
    (
        "FloatConstant.Literal(fc)",
        lambda o: FloatConstant.Literal(o.fc),
        TE,
        "argument 'literal': ",
    ),
    (
        "IntegerConstant.Literal(2.0)",
        lambda o: IntegerConstant.Literal(2.0),
        TE,
        "argument 'literal': ",
    ),
    # The interpreter's words for an int beyond 64 bits, the same where a C long has 32 bits; an
    # OverflowError of the object's own __index__ unchanged.
    (
        "IntegerConstant.Literal(2**63)",
        lambda o: IntegerConstant.Literal(2**63),
        "OverflowError",
        "Python int too large to convert to C long",
    ),
    (
        "IntegerConstant.Literal(-(2**63) - 1)",
        lambda o: IntegerConstant.Literal(-(2**63) - 1),
        "OverflowError",
        "Python int too large to convert to C long",
    ),
    (
        "IntegerConstant.Literal(Failing(OverflowError('own')))",
        lambda o: IntegerConstant.Literal(Failing(OverflowError("own"))),
        "OverflowError",
        "own",
    ),
    # Narrowing to 32 bits, after every argument converted.
    (
        "IntegerConstant.Literal(2147483648)",
        lambda o: IntegerConstant.Literal(2147483648),
        PANIC,
        NARROWING,
    ),
    ("s.bit_and(-2147483649)", lambda o: o.s.bit_and(-2147483649), PANIC, NARROWING),
    (
        "Sampling.EveryNthPerSeries(2**31)",
        lambda o: Sampling.EveryNthPerSeries(2**31),
        PANIC,
        NARROWING,
    ),
    (
        "s.signal_filter(sfc, 2**31, 'x')",
        lambda o: o.s.signal_filter(o.sfc, 2**31, "x"),
        TE,
        two_way("sampling_frequency", "FloatConstant", "str"),
    ),
    (
        "s.signal_filter(sfc, 2**64)",
        lambda o: o.s.signal_filter(o.sfc, 2**64),
        TE,
        two_way("order", "IntegerConstant", "int", "OverflowError: "),
    ),
    # Two-way kinds.
    ("abs('s')", lambda o: C.abs("s"), TE, two_way("x", "NumericSeries", "str")),
    ("abs(fc)", lambda o: C.abs(o.fc), TE, two_way("x", "NumericSeries", "FloatConstant")),
    (
        "abs(10**400)",
        lambda o: C.abs(10**400),
        TE,
        two_way("x", "NumericSeries", "int", "OverflowError: "),
    ),
    (
        "sum([1.0, 'x'])",
        lambda o: C.sum([1.0, "x"]),
        TE,
        two_way("inputs", "NumericSeries", "str"),
    ),
    (
        "CategoricalSeries.ValueMap(c, [])",
        lambda o: CategoricalSeries.ValueMap(o.c, []),
        TE,
        two_way("input", "NumericSeries", "CategoricalSeries"),
    ),
    (
        "ConstantNumericSeries.Float(k)",
        lambda o: ConstantNumericSeries.Float(o.k),
        TE,
        two_way("value", "FloatConstant", "IntegerConstant"),
    ),
    (
        "NumericSeries.Constant(cns.to_json())",
        lambda o: NumericSeries.Constant(o.cns.to_json()),
        TE,
        two_way("constant", "ConstantNumericSeries", "str"),
    ),
    (
        "Duration.Days('5')",
        lambda o: Duration.Days("5"),
        TE,
        two_way("days", "IntegerConstant", "str"),
    ),
    (
        "RangeMap(5)",
        lambda o: RangeMap(5),
        TE,
        two_way("output", "StringConstant", "int", NOT_STR),
    ),
    (
        "d.tag(1, 2)",
        lambda o: o.d.tag(1, 2),
        TE,
        two_way("key", "StringConstant", "int", NOT_STR),
    ),
    (
        "GroupByTags.Subset(['a', 1])",
        lambda o: GroupByTags.Subset(["a", 1]),
        TE,
        two_way("tags", "StringConstant", "int", NOT_STR),
    ),
    # The native failure's cause chain: a loop described once, one that str() keeps growing capped.
    (
        "abs(Failing(caused(ValueError('outer'), KeyError('inner'))))",
        lambda o: C.abs(Failing(caused(ValueError("outer"), KeyError("inner")))),
        TE,
        two_way("x", "NumericSeries", "Failing", "ValueError: outer, caused by KeyError: 'inner'"),
    ),
    (
        "abs(Failing(CYCLE))",
        lambda o: C.abs(Failing(CYCLE)),
        TE,
        two_way("x", "NumericSeries", "Failing", "ValueError: a, caused by ValueError: b"),
    ),
    (
        "abs(Failing(Mute()))",
        lambda o: C.abs(Failing(Mute())),
        TE,
        two_way("x", "NumericSeries", "Failing", "Mute: <exception str() failed>"),
    ),
    (
        "abs(Failing(Growing()))",
        lambda o: C.abs(Failing(Growing())),
        TE,
        two_way("x", "NumericSeries", "Failing", ", caused by ".join(["Growing: g"] * 1000)),
    ),
    # Only a TypeError is reworded.
    (
        "FloatConstant.Literal(Failing(Special('special')))",
        lambda o: FloatConstant.Literal(Failing(Special("special"))),
        "Special",
        "special",
    ),
    # Series, lists and dicts.
    (
        "StructSeries.Combine({'a': 1.0})",
        lambda o: StructSeries.Combine({"a": 1.0}),
        TE,
        "argument 'inputs': " + SERIES_KINDS,
    ),
    (
        "NumericSeries.Udf([s, r], src)",
        lambda o: NumericSeries.Udf([o.s, o.r], o.src),
        TE,
        "argument 'inputs': " + SERIES_KINDS,
    ),
    (
        "max('ab')",
        lambda o: C.max("ab"),
        TE,
        "argument 'inputs': Can't extract `str` to `Vec`",
    ),
    (
        "t.extract_numeric(Name('a'), 'INT64')",
        lambda o: o.t.extract_numeric(Name("a"), "INT64"),
        TE,
        "argument 'field_path': Can't extract `str` to `Vec`",
    ),
    ("max({1.0})", lambda o: C.max({1.0}), TE, NOT_AN % ("inputs", "set", "Sequence")),
    (
        "sum(x for x in [1.0])",
        lambda o: C.sum(x for x in [1.0]),
        TE,
        NOT_AN % ("inputs", "generator", "Sequence"),
    ),
    ("max(s)", lambda o: C.max(o.s), TE, NOT_AN % ("inputs", "NumericSeries", "Sequence")),
    (
        "max(Failing(LookupError('gone')))",
        lambda o: C.max(Failing(LookupError("gone"))),
        "LookupError",
        "gone",
    ),
    (
        "StructSeries.Combine([('a', s)])",
        lambda o: StructSeries.Combine([("a", o.s)]),
        TE,
        NOT_AN % ("inputs", "list", "dict"),
    ),
    (
        "StructSeries.Combine({1: s})",
        lambda o: StructSeries.Combine({1: o.s}),
        TE,
        NOT_AN % ("inputs", "int", "str"),
    ),
    # Time units and data types: the whole name, exactly.
    *[
        (
            f"s.absolute_timestamp({text!r})",
            lambda o, text=text: o.s.absolute_timestamp(text),
            VE,
            unit(text),
        )
        for text in ("Days", "DAYS", " days", "days ", "day", "")
    ],
    ("c.absolute_timestamp(None)", lambda o: o.c.absolute_timestamp(None), VE, unit("None")),
    ("t.time_difference(3)", lambda o: o.t.time_difference(3), VE, unit("3")),
    (
        "s.derivative('Seconds', 5)",
        lambda o: o.s.derivative("Seconds", 5),
        VE,
        unit("Seconds"),
    ),
    (
        "s.absolute_timestamp('d\\ud800')",
        lambda o: o.s.absolute_timestamp("d\ud800"),
        VE,
        unit("d" + "\ufffd" * 3),  # per byte of its UTF-8
    ),
    (
        "s.absolute_timestamp(Failing(RuntimeError()))",
        lambda o: o.s.absolute_timestamp(Failing(RuntimeError())),
        VE,
        unit("<unprintable Failing object>"),
    ),
    *[
        (
            f"t.extract_numeric(['x'], {text!r})",
            lambda o, text=text: o.t.extract_numeric(["x"], text),
            VE,
            unit(text, "NumericDataType"),
        )
        for text in ("INT64", "float", "int")
    ],
    # Operators: both sides declined, so the interpreter refuses.
    *[
        (f"s {op} 't'", lambda o, f=f: f(o.s, "t"), TE, None)
        for op, f in OPERATORS.items()
        if op not in IDENTITY
    ],
    *[
        (text, call, TE, None)
        for text, call in [
            ("'t' - s", lambda o: "t" - o.s),
            ("s * b", lambda o: o.s * o.b),
            ("s + dur", lambda o: o.s + o.dur),
            ("s // fc", lambda o: o.s // o.fc),
            ("cns % s", lambda o: o.cns % o.s),
            ("k ** s", lambda o: o.k**o.s),
            ("s + 10**400", lambda o: o.s + 10**400),
            ("+s", lambda o: +o.s),
            ("~s", lambda o: ~o.s),
            ("divmod(s, 2)", lambda o: divmod(o.s, 2)),
            ("pow(s, 2, 7)", lambda o: pow(o.s, 2, 7)),
            ("pow(s, 2, 'm')", lambda o: pow(o.s, 2, "m")),
            ("dur + 1", lambda o: o.dur + 1),
            ("1 + dur", lambda o: 1 + o.dur),
            ("dur * 2", lambda o: o.dur * 2),
            ("dur < dur", lambda o: o.dur < o.dur),
            ("b & True", lambda o: o.b & True),
            ("True | b", lambda o: True | o.b),
            ("~b", lambda o: ~o.b),
            ("-b", lambda o: -o.b),
            ("b + b", lambda o: o.b + o.b),
            ("int(s)", lambda o: int(o.s)),
        ]
    ],
]


@pytest.mark.parametrize("call,error,message", [e[1:] for e in ERRORS], ids=[e[0] for e in ERRORS])
def test_refusals(o, call, error, message):
    with o.unchanged(), pytest.raises(BaseException) as info:
        call(o)
    assert type(info.value).__name__ == error
    text = str(info.value)
    assert message in (None, text) or (message.endswith(": ") and text.startswith(message))
    assert error != TE or info.value.__cause__ is None


class Halt(BaseException):
    pass


def raiser(error):
    def method(*_):
        raise error("hostile")

    return method


def message_breakers(error):
    """Objects whose str(), or whose type's name, raises error while a refusal's text is built."""
    return SimpleNamespace(
        loud=type("Loud", (Exception,), {"__str__": raiser(error)})(),
        nameless=unnamed(None, error),
        nameless_error=unnamed(None, error, Exception),
        nameless_mute=unnamed(None, error, __str__=raiser(ValueError)),
    )


# Where a refusal's text reads str() of an exception or of an argument, or a type's name.
MESSAGE_READS = [
    ("abs(Failing(loud))", lambda o, h: C.abs(Failing(h.loud))),
    (
        "abs(Failing(caused(ValueError('a'), caused(KeyError('b'), loud))))",
        lambda o, h: C.abs(Failing(caused(ValueError("a"), caused(KeyError("b"), h.loud)))),
    ),
    ("abs(Failing(nameless_error))", lambda o, h: C.abs(Failing(h.nameless_error))),
    ("abs(nameless)", lambda o, h: C.abs(h.nameless)),
    ("sum([1.0, nameless])", lambda o, h: C.sum([1.0, h.nameless])),
    ("ConstantNumericSeries.Float(nameless)", lambda o, h: ConstantNumericSeries.Float(h.nameless)),
    (
        "NumericSeries.IfElse(nameless, 1.0, 2.0)",
        lambda o, h: NumericSeries.IfElse(h.nameless, 1.0, 2.0),
    ),
    ("max(nameless)", lambda o, h: C.max(h.nameless)),
    ("StructSeries.Combine(nameless)", lambda o, h: StructSeries.Combine(h.nameless)),
    ("Duration.Reference(nameless)", lambda o, h: Duration.Reference(h.nameless)),
    ("StructSeries.Combine({nameless: s})", lambda o, h: StructSeries.Combine({h.nameless: o.s})),
    ("s.absolute_timestamp(nameless_mute)", lambda o, h: o.s.absolute_timestamp(h.nameless_mute)),
]


@pytest.mark.parametrize("error", [KeyboardInterrupt, SystemExit, MemoryError, Halt])
@pytest.mark.parametrize("call", [c[1] for c in MESSAGE_READS], ids=[c[0] for c in MESSAGE_READS])
def test_an_interrupt_while_a_message_is_built_comes_out_as_itself(o, call, error):
    breakers = message_breakers(error)
    with o.unchanged(), pytest.raises(error) as info:
        call(o, breakers)
    assert info.value.args == ("hostile",)


@pytest.mark.parametrize(
    "error,raised", [(KeyboardInterrupt, KeyboardInterrupt), (ValueError, TypeError)]
)
def test_an_interrupt_while_the_module_reports_a_wrong_all_comes_out_as_itself(error, raised):
    module = _imp.create_dynamic(importlib.util.find_spec(C.__name__))  # a module object run once
    module.__all__ = unnamed(None, error)
    with pytest.raises(raised) as info:
        _imp.exec_dynamic(module)
    assert (
        raised is not TypeError
        or str(info.value) == "'<failed to extract type name>' object is not an instance of 'list'"
    )


def test_a_reworded_type_error_keeps_the_cause_of_the_original():
    with pytest.raises(TypeError) as info:
        C.FloatConstant.Literal(Failing(caused(TypeError("no"), KeyError(1))))
    assert str(info.value) == "argument 'literal': no"
    assert isinstance(info.value.__cause__, KeyError)


DECLINED = [
    *[
        (text, call, NotImplemented)
        for text, call in [
            ("s.__add__('t')", lambda o: o.s.__add__("t")),
            ("s.__rsub__(dur)", lambda o: o.s.__rsub__(o.dur)),
            ("s.__lt__('t')", lambda o: o.s.__lt__("t")),
            ("s.__pow__(2, 7)", lambda o: o.s.__pow__(2, 7)),
            ("dur.__add__(1)", lambda o: o.dur.__add__(1)),
            ("dur.__rsub__(1)", lambda o: o.dur.__rsub__(1)),
            ("b.__and__(True)", lambda o: o.b.__and__(True)),
            ("b.__or__(s)", lambda o: o.b.__or__(o.s)),
        ]
    ],
    ("s == 't'", lambda o: o.s == "t", False),
    ("s != 't'", lambda o: o.s != "t", True),
    ("s == None", lambda o: o.s == None, False),  # noqa: E711 (the operator itself is tested)
]


@pytest.mark.parametrize("call,result", [d[1:] for d in DECLINED], ids=[d[0] for d in DECLINED])
def test_operators_decline_what_does_not_fit(o, call, result):
    with o.unchanged():
        assert call(o) is result


def test_panic_is_a_base_exception_reported_on_stderr(capfd):
    try:
        C.NumericSeries.Reference("a").bit_and(2**31)
    except Exception:
        pytest.fail("PanicException was caught as an Exception")
    except BaseException as panic:
        assert type(panic).__bases__ == (BaseException,) and panic.args == (NARROWING,)
    assert "integer value exceeds i32 range" in capfd.readouterr().err


PROJECT = Path(__file__).resolve().parents[2]


@pytest.mark.parametrize(
    "call",
    [
        lambda: IntegerConstant.Literal(2**31),
        lambda: NumericSeries.Reference("a").head(-(2**31) - 1),
        lambda: Duration.Days(2**40),
    ],
    ids=["literal", "method", "duration"],
)
def test_the_panic_report_says_where_relative_to_the_project(capfd, call):
    """The report names the source file by its path in the project, whatever machine built the
    module, and a line of that file."""
    with pytest.raises(BaseException) as raised:
        call()
    assert raised.value.args == (NARROWING,)
    report = capfd.readouterr().err
    found = re.fullmatch(r"_compute panicked at (\S+):(\d+): (.*)\n", report)
    assert found, report
    path, line, message = found.groups()
    assert message == NARROWING
    assert not path.startswith("/") and re.fullmatch(r"quarnel-compute(-python)?/src/\S+", path), (
        path
    )
    source = PROJECT / path
    if (PROJECT / "quarnel-compute-python" / "src").is_dir():  # the tests run from the tree
        assert source.is_file(), path
        assert 1 <= int(line) <= len(source.read_text().splitlines())


HOLLOW = r"""
from quarnel.compute import _compute as C
C.FloatConstant.__new__ = lambda c: object.__new__(c)
hollow = C.FloatConstant()
for call in (hollow.to_json, lambda: C.ConstantNumericSeries.Float(hollow),
             lambda: C.RangeMap("x", hollow)):
    try:
        call()
    except TypeError as e:
        assert ("'FloatConstant' object holds no FloatConstant value: it was not made by the "
                "module") in str(e), e
    else:
        raise AssertionError("a hollow object was read")
"""


def test_an_object_made_by_a_replaced_new_is_refused_not_read():
    child(HOLLOW)  # the class stays changed for the rest of the process


# Another type attribute given to every class and then taken back (a debug interpreter checks
# the class on each change): the classes without a constructor still cannot be called, and
# objects are made and written as before.
REPLACED = r"""
import sys
from quarnel.compute import _compute as C
attribute, value = sys.argv[1], eval(sys.argv[2])


def refused(cls):
    for args in ((), (1,)):
        try:
            cls(*args)
        except TypeError as e:
            assert str(e) == f"cannot create '_compute.{cls.__name__}' instances", e
        else:
            raise AssertionError(f"{cls.__name__} was called")


for cls in [getattr(C, n) for n in C.__all__ if isinstance(getattr(C, n), type)]:
    before = vars(cls).get(attribute, KeyError)
    setattr(cls, attribute, value)
    if cls is not C.RangeMap:
        refused(cls)
    if before is KeyError:
        delattr(cls, attribute)
    else:
        setattr(cls, attribute, before)
    if cls is not C.RangeMap:
        refused(cls)
assert type(C.RangeMap("x")) is C.RangeMap
print((C.NumericSeries.Reference("a") + 2.0).to_json())
"""
ASSIGNED = {
    "__init__": "lambda self, *args: None",
    "__call__": "lambda self: None",
    "__getattr__": "lambda self, name: None",
    "__repr__": "lambda self: 'r'",
    "__eq__": "lambda self, other: True",
    "__hash__": "None",
    "__doc__": "'d'",
    "to_json": "lambda self: 'j'",
}


@pytest.mark.parametrize("attribute,value", ASSIGNED.items(), ids=ASSIGNED)
def test_a_type_attribute_assigned_and_taken_back_leaves_the_classes_as_they_were(attribute, value):
    out = child(REPLACED, attribute, value).stdout
    assert out == (
        '{"type":"add","add":{"left":{"type":"raw","raw":'
        '{"name":"a"}},"right":{"type":"constant","constant":{"type":"double","double":'
        '{"type":"literal","literal":2.0}}}}}\n'
    )


# The interpreter names a class by its full name until `__name__` is assigned, and then by the new
# name alone (for the rest of the process: another process).
RENAMED = r"""
from quarnel.compute import _compute as C
C.FloatConstant.__name__ = "Renamed"
try:
    C.FloatConstant()
except TypeError as e:
    assert str(e) == "cannot create 'Renamed' instances", e
else:
    raise AssertionError("a renamed class was called")
"""


def test_a_renamed_class_is_refused_by_its_new_name():
    child(RENAMED)
