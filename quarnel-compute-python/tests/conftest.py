"""Shared helpers: wire forms composed from the node shapes, the operands the tables name, and
arguments that convert in unusual ways."""

import contextlib
import json
import os
import pathlib
import sys

import hostile
import pytest
from quarnel.compute import _compute as C

# hypothesis keeps what it learns with the tools' other caches, in the project's build/.
os.environ.setdefault(
    "HYPOTHESIS_STORAGE_DIRECTORY",
    os.path.join(os.path.dirname(__file__), "..", "..", "build", "hypothesis"),
)


def record(**members):
    return "{" + ",".join('"%s":%s' % kv for kv in members.items()) + "}"


def node(variant, payload=None, **members):
    """A union node, its payload given whole or as record members."""
    payload = record(**members) if payload is None else payload
    return '{"type":"%s","%s":%s}' % (variant, variant, payload)


def literal(value):
    return node("literal", json.dumps(value, ensure_ascii=False))


def variable(name):
    return node("variable", json.dumps(name))


def number(value):
    """The numeric series a plain number becomes."""
    return node("constant", node("double", literal(float(value))))


def array(*items):
    return "[" + ",".join(items) + "]"


def raw(name):
    return node("raw", name=json.dumps(name))


# The classes Operands.of_class is making an object of: a call that asks for one of them again
# raises LookupError, and the search passes over it.
_MAKING = set()


class Operands:
    """The operands the tables name, and a second series u: made anew for each test, so that no
    test sees what another did to them. Their wire forms are the constants below; an object of a
    class without one here comes from the calls in test_json's table."""

    def __init__(self):
        self.s = C.NumericSeries.Reference("a")
        self.c = C.CategoricalSeries.Reference("c")
        self.r = C.RangeSeries.Reference("r")
        self.t = C.StructSeries.Combine({"f": self.s})
        self.cns = C.ConstantNumericSeries.Float(2.5)
        self.k = C.IntegerConstant.Reference("k")
        self.sc = C.StringConstant.Reference("v")
        self.d = C.Dataset.Run("r1")
        self.smp = C.Sampling.HashSubsample(2)
        self.b = self.s < 1
        self.agg = self.s.rolling_points(3)
        self.nop = C.NumericAggregationOperator.Count()
        self.nvc = C.NegativeValueConfiguration.AllowNegativeValues()
        self.sfc = C.SignalFilterConfiguration.LowPass(1.5)
        self.fc = C.FloatConstant.Reference("f")
        self.dur = C.Duration.Minutes(5)
        self.src = C.UdfSource.Rust("f")
        self.eop = C.EnumAggregationOperator.Min()
        self.tags = C.GroupByTags.Current()
        self.ts = C.GroupByTimestamp.Current()
        self.m = C.RangeMap("x")
        self.u = C.NumericSeries.Reference("b")

    def of_class(self, cls):
        """An object of a class: its operand here, else what the first call of test_json's table
        that returns one makes (a call that needs an object of the class itself, or fails, is
        passed over: test_json reports its failure). A class with neither fails the test,
        named."""
        for value in vars(self).values():
            if type(value) is cls:
                return value
        if cls in _MAKING:
            raise LookupError(cls.__name__)
        import test_json  # imports this module: only once both are loaded

        _MAKING.add(cls)
        try:
            for _, _, call, _ in test_json.ROWS:
                with contextlib.suppress(Exception):
                    if type(made := call(self)) is cls:
                        return made
        finally:
            _MAKING.discard(cls)
        pytest.fail(
            f"no object of class {cls.__name__}: no operand in conftest.Operands, and no call in "
            "test_json.TABLE returns one",
            pytrace=False,
        )

    @contextlib.contextmanager
    def unchanged(self):
        """Every operand keeps its JSON across the block, whether it raises or not."""
        before = {k: v.to_json() for k, v in vars(self).items()}
        yield
        assert {k: v.to_json() for k, v in vars(self).items()} == before


@pytest.fixture
def o():
    return Operands()


# The wire forms of the operands the tables nest, each named after its operand (CAT for c,
# RANGE for r, STRUCT for t), and the Series variant each series class enters as.
S, U, CAT, RANGE = raw("a"), raw("b"), raw("c"), raw("r")
STRUCT = node("combine", inputs=record(f=node("numeric", S)))
B = node("lessThan", left=S, right=number(1))
DUR, D = node("minutes", minutes=literal(5)), node("run", rid=literal("r1"))
SRC = node("rust", sourceCode='"f"')
AGG = node("rollingPoints", input=node("numeric", S), points=literal(3))
SERIES = [("s", node("numeric", S)), ("c", node("enum", CAT)), ("t", node("struct", STRUCT))]


class Failing:
    """Raises the exception it is given from every conversion hook."""

    def __init__(self, exc):
        self.exc = exc

    def fail(self, *_):
        raise self.exc

    __float__ = __index__ = __str__ = __len__ = __getitem__ = fail


TEXT = 'q"\\\n\t\x01\u00e9'


class Half(float):
    pass


class Name(str):
    pass


class Index:
    def __index__(self):
        return 3


class Days:
    def __str__(self):
        return "days"


class Twin(str):
    """Keys with equal text that a dict keeps apart."""

    __hash__ = object.__hash__
    __eq__ = object.__eq__


@pytest.fixture(scope="session")
def api_search():
    """What the search through the whole API finds (hostile.py); made once, on first use."""
    return hostile.search()


@pytest.fixture
def quiet_unraisable(monkeypatch):
    """A time unit whose str() fails is reported through the unraisable hook: keep it quiet."""
    monkeypatch.setattr(sys, "unraisablehook", lambda _: None)


def free_memory():
    """The memory a test may take, in bytes, and what bounds it: the machine's available memory,
    or less where an address-space limit (ulimit -v, which a child process inherits; less what
    this process maps already) or a memory cgroup of this process (memory.max; v1:
    memory.limit_in_bytes) leaves less."""
    if sys.platform == "win32":
        import ctypes

        class Status(ctypes.Structure):  # MEMORYSTATUSEX
            _fields_ = [("length", ctypes.c_uint32), ("load", ctypes.c_uint32)] + [
                (name, ctypes.c_uint64)
                for name in ("total", "available", "file", "file_free", "virtual", "free", "ext")
            ]

        status = Status(length=ctypes.sizeof(Status))
        ok = ctypes.windll.kernel32.GlobalMemoryStatusEx(ctypes.byref(status))
        return (status.available if ok else 0), "the machine's available memory"
    bounds = [(0, "the machine's available memory (unknown)")]
    with contextlib.suppress(OSError, KeyError, ValueError):
        with open("/proc/meminfo") as f:
            meminfo = dict(line.split(":", 1) for line in f)
        bounds[0] = (int(meminfo["MemAvailable"].split()[0]) << 10, "the available memory")
    import resource

    limit = resource.getrlimit(resource.RLIMIT_AS)[0]
    if limit != resource.RLIM_INFINITY:
        # The limit holds the whole address space, of which the process maps some already
        # (known on Linux alone).
        used = 0
        with contextlib.suppress(OSError, StopIteration, ValueError):
            with open("/proc/self/status") as f:
                used = next(int(s.split()[1]) << 10 for s in f if s.startswith("VmSize:"))
        bounds.append((max(limit - used, 0), "the address-space limit (ulimit -v)"))
    with contextlib.suppress(OSError):
        with open("/proc/self/cgroup") as f:
            groups = [line.rstrip("\n").split(":", 2) for line in f]
        for _, controllers, path in groups:
            if not controllers:  # cgroup v2
                base, files = "/sys/fs/cgroup", ("memory.max", "memory.current")
            elif "memory" in controllers.split(","):  # v1
                base, files = (
                    "/sys/fs/cgroup/memory",
                    ("memory.limit_in_bytes", "memory.usage_in_bytes"),
                )
            else:
                continue
            # Every cgroup from this process's up to the root bounds it.
            while True:
                with contextlib.suppress(OSError, ValueError):
                    top, used = (int(pathlib.Path(base + path, n).read_text()) for n in files)
                    bounds.append((top - used, f"the memory cgroup {path}'s limit"))
                if path in ("", "/"):
                    break
                path = os.path.dirname(path)
    return min(bounds)


def pytest_configure(config):
    config.addinivalue_line(
        "markers", "memory(nbytes): needs that much memory; skipped, saying what bounds it, if not"
    )


def pytest_runtest_setup(item):
    for mark in item.iter_markers("memory"):
        free, bound = free_memory()
        if free < mark.args[0]:
            pytest.skip(
                f"needs {mark.args[0] >> 20} MiB of memory; {bound} leaves {free >> 20} MiB"
            )
