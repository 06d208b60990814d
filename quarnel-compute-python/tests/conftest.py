"""Shared helpers: wire forms composed from the node shapes, one operand of every class, and
calls written as text evaluated with all of them in scope."""

import contextlib
import json
import sys

import hostile
import pytest
from quarnel.compute import _compute as C


def R(**members):
    return "{" + ",".join('"%s":%s' % kv for kv in members.items()) + "}"


def J(variant, payload=None, **members):
    """A union node, its payload given whole or as record members."""
    payload = R(**members) if payload is None else payload
    return '{"type":"%s","%s":%s}' % (variant, variant, payload)


def L(value):
    return J("literal", json.dumps(value, ensure_ascii=False))


def V(name):
    return J("variable", json.dumps(name))


def K(number):
    """The numeric series a plain number becomes."""
    return J("constant", J("double", L(float(number))))


def A(*items):
    return "[" + ",".join(items) + "]"


def raw(name):
    return J("raw", name=json.dumps(name))


# One object of each class, in the module's order, and a second series; the wire
# forms of those the tables nest, and the Series variant each series class enters as.
OPERANDS = dict(
    s="NumericSeries.Reference('a')",
    c="CategoricalSeries.Reference('c')",
    r="RangeSeries.Reference('r')",
    t="StructSeries.Combine({'f': s})",
    cns="ConstantNumericSeries.Float(2.5)",
    k="IntegerConstant.Reference('k')",
    sc="StringConstant.Reference('v')",
    d="Dataset.Run('r1')",
    smp="Sampling.HashSubsample(2)",
    b="s < 1",
    agg="s.rolling_points(3)",
    nop="NumericAggregationOperator.Count()",
    nvc="NegativeValueConfiguration.AllowNegativeValues()",
    sfc="SignalFilterConfiguration.LowPass(1.5)",
    fc="FloatConstant.Reference('f')",
    dur="Duration.Minutes(5)",
    src="UdfSource.Rust('f')",
    eop="EnumAggregationOperator.Min()",
    tags="GroupByTags.Current()",
    ts="GroupByTimestamp.Current()",
    m="RangeMap('x')",
    u="NumericSeries.Reference('b')",
)
S, U, CAT, RANGE = raw("a"), raw("b"), raw("c"), raw("r")
STRUCT = J("combine", inputs=R(f=J("numeric", S)))
B, DUR, D = J("lessThan", left=S, right=K(1)), J("minutes", minutes=L(5)), J("run", rid=L("r1"))
SRC = J("rust", sourceCode='"f"')
AGG = J("rollingPoints", input=J("numeric", S), points=L(3))
SERIES = [("s", J("numeric", S)), ("c", J("enum", CAT)), ("t", J("struct", STRUCT))]


class Operands(dict):
    def __init__(self):
        super().__init__()
        for name, call in OPERANDS.items():
            self[name] = eval(call, {**vars(C), **self})

    @contextlib.contextmanager
    def unchanged(self):
        """Every operand keeps its JSON across the block, whether it raises or not."""
        before = {k: v.to_json() for k, v in self.items()}
        yield
        assert {k: v.to_json() for k, v in self.items()} == before


@pytest.fixture
def o():
    return Operands()


class Failing:
    """Raises the exception it is given from every conversion hook."""

    def __init__(self, exc):
        self.exc = exc

    def fail(self, *_):
        raise self.exc

    __float__ = __index__ = __str__ = __len__ = __getitem__ = fail


TEXT = 'q"\\\n\t\x01\u00e9'
HELPERS = dict(
    LiesLen=hostile.LiesLen,
    RaisesLen=hostile.RaisesLen,
    Failing=Failing,
    TEXT=TEXT,
    sys=sys,
    Half=type("Half", (float,), {}),
    Name=type("Name", (str,), {}),
    Idx=type("Idx", (), {"__index__": lambda _: 3}),
    Days=type("Days", (), {"__str__": lambda _: "days"}),
    # keys with equal text that a dict keeps apart
    Twin=type("Twin", (str,), {"__hash__": object.__hash__, "__eq__": object.__eq__}),
)


def run(o, call, **extra):
    """Evaluates a call written as text, with the module's names, the operands and the helpers
    in scope."""
    return eval(call, {**vars(C), **o, **HELPERS, **extra})


@pytest.fixture(scope="session")
def api_search():
    """What the search through the whole API finds (hostile.py); made once, on first use."""
    return hostile.search()


@pytest.fixture
def quiet_unraisable(monkeypatch):
    """A time unit whose str() fails is reported through the unraisable hook: keep it quiet."""
    monkeypatch.setattr(sys, "unraisablehook", lambda _: None)
