"""Shared helpers: the wire forms the tests expect, written out from the node shapes."""

import contextlib

import pytest

from quarnel.compute import _compute


@pytest.fixture
def C():
    return _compute


def node(variant, payload):
    """A union value: {"type": variant, variant: payload}."""
    return '{"type":"%s","%s":%s}' % (variant, variant, payload)


def obj(*members):
    """A record from (key, json) pairs, in the given order."""
    return "{" + ",".join('"%s":%s' % (k, v) for k, v in members) + "}"


def raw(name):
    return node("raw", obj(("name", '"%s"' % name)))


def const(number_text):
    """The numeric series constant node of a float, written as number_text."""
    return node("constant", node("double", node("literal", number_text)))


def lit(text):
    return node("literal", '"%s"' % text)


@contextlib.contextmanager
def unchanged(*objects):
    """The objects keep their JSON across the block, whether it raises or not."""
    before = [o.to_json() for o in objects]
    yield
    assert [o.to_json() for o in objects] == before


def var(text):
    return node("variable", '"%s"' % text)


def panics(fn, *args, **kwargs):
    """fn raises the module's PanicException, which is no Exception; returns its message."""
    with pytest.raises(BaseException) as info:
        fn(*args, **kwargs)
    assert type(info.value).__name__ == "PanicException"
    return str(info.value)


def type_error(fn, *args, **kwargs):
    """fn raises exactly TypeError; returns its message."""
    with pytest.raises(TypeError) as info:
        fn(*args, **kwargs)
    assert type(info.value) is TypeError
    return str(info.value)


def value_error(fn, *args, **kwargs):
    with pytest.raises(ValueError) as info:
        fn(*args, **kwargs)
    return str(info.value)


def time_unit_error(text):
    return "Failed to convert '%s' to TimeUnit enum: Invalid custom type: %s" % (text, text)


# The operands most tests build from, and their wire forms.
S = raw("a")
CAT = raw("c")
STRUCT = node("combine", obj(("inputs", obj(("f", node("numeric", S))))))
RANGE = raw("r")
MINUTES_5 = node("minutes", obj(("minutes", node("literal", "5"))))
RUN_R1 = node("run", obj(("rid", lit("r1"))))
RUST_F = node("rust", obj(("sourceCode", '"f"')))
CURRENT = node("current", "{}")
ALLOW = node("allowNegativeValues", "{}")
LOW_PASS = node("lowPass", obj(("cutoffFrequency", node("literal", "1.5"))))
HASH_2 = node("hashSubsample", obj(("n", node("literal", "2"))))
ROLLING_3 = node("rollingPoints", obj(("input", node("numeric", S)), ("points", node("literal", "3"))))


class Operands:
    """One object of each kind an operation takes; `unchanged()` watches all of them."""

    def __init__(self, C):
        self.s = C.NumericSeries.Reference("a")
        self.c = C.CategoricalSeries.Reference("c")
        self.t = C.StructSeries.Combine({"f": self.s})
        self.r = C.RangeSeries.Reference("r")
        self.dur = C.Duration.Minutes(5)
        self.d = C.Dataset.Run("r1")
        self.src = C.UdfSource.Rust("f")
        self.tags = C.GroupByTags.Current()
        self.ts = C.GroupByTimestamp.Current()
        self.nvc = C.NegativeValueConfiguration.AllowNegativeValues()
        self.sfc = C.SignalFilterConfiguration.LowPass(1.5)
        self.sampling = C.Sampling.HashSubsample(2)
        self.agg = self.s.rolling_points(3)

    def unchanged(self):
        return unchanged(*vars(self).values())


@pytest.fixture
def o(C):
    return Operands(C)


def check_builds(o, make, cls, expected, *watched):
    """make() returns an object of cls writing `expected`, a second call an equal one, and
    neither changes the operands."""
    with o.unchanged(), unchanged(*watched):
        result = make()
        assert type(result) is cls
        assert result.to_json() == expected
        assert make().to_json() == expected
