"""Hostile arguments for the hardening tests; the search through the API that finds, for every
entry of the module (module functions, methods and operator slots by their text signatures, the
RangeMap constructor), objects of every class and the arguments each parameter accepts; and the
child interpreters and threads that the tests run in."""

import ctypes
import decimal
import json
import math
import os
import re
import subprocess
import sys
import threading
import warnings
from collections import namedtuple
from concurrent.futures import ThreadPoolExecutor
from dataclasses import dataclass
from functools import cached_property

import pytest
from hypothesis import HealthCheck, settings
from hypothesis import strategies as st
from quarnel.compute import _compute as C

SANITIZED = bool(os.environ.get("QC_SANITIZED"))
# Set where the suite runs on another architecture under qemu-user (tools/test-aarch64.sh).
EMULATED = bool(os.environ.get("QC_EMULATED"))
WINDOWS = sys.platform == "win32"


def posix_only(reason):
    """Skips a test on Windows, which lacks what it needs: the reason names it."""
    return pytest.mark.skipif(WINDOWS, reason=f"POSIX only: {reason}")


# The resident size of the process in bytes, as source text: the tests use it, and so do their
# child processes.
RESIDENT = r"""
import sys


def resident():
    if sys.platform != "win32":
        import os

        with open("/proc/self/statm") as f:
            return int(f.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")
    import ctypes
    from ctypes import wintypes

    class Counters(ctypes.Structure):
        _fields_ = [("cb", wintypes.DWORD), ("PageFaultCount", wintypes.DWORD)] + [
            (name, ctypes.c_size_t)
            for name in (
                "PeakWorkingSetSize", "WorkingSetSize", "QuotaPeakPagedPoolUsage",
                "QuotaPagedPoolUsage", "QuotaPeakNonPagedPoolUsage", "QuotaNonPagedPoolUsage",
                "PagefileUsage", "PeakPagefileUsage",
            )
        ]

    kernel32 = ctypes.WinDLL("kernel32")
    kernel32.GetCurrentProcess.restype = wintypes.HANDLE
    counters = Counters(cb=ctypes.sizeof(Counters))
    if not kernel32.K32GetProcessMemoryInfo(
        wintypes.HANDLE(kernel32.GetCurrentProcess()), ctypes.byref(counters), counters.cb
    ):
        raise ctypes.WinError()
    return counters.WorkingSetSize
"""
exec(RESIDENT)


def malloc_in_use():
    """malloc's bytes in use, as glibc counts them across its arenas: a block that a cache keeps is
    in use, one given back to malloc is not. None without glibc."""
    if WINDOWS:
        return None
    try:
        mallinfo2 = ctypes.CDLL(None).mallinfo2
    except AttributeError:
        return None

    class Info(ctypes.Structure):
        names = "arena ordblks smblks hblks hblkhd usmblks fsmblks uordblks fordblks keepcost"
        _fields_ = [(name, ctypes.c_size_t) for name in names.split()]

    mallinfo2.restype = Info
    info = mallinfo2()
    return info.uordblks + info.hblkhd


# QC_HARDENING_EXAMPLES raises the count for a long exploration.
SETTINGS = settings(
    max_examples=int(os.environ.get("QC_HARDENING_EXAMPLES", 20 if SANITIZED else 60)),
    deadline=None,
    database=None,
    suppress_health_check=list(HealthCheck),
)
CLASSES = {n: getattr(C, n) for n in C.__all__ if isinstance(getattr(C, n), type)}
CLASS_SET = frozenset(CLASSES.values())
NARROWING = "integer value exceeds i32 range: TryFromIntError(())"
NAME_REFUSAL = re.compile(
    r"Failed to convert '(.*)' to (TimeUnit|NumericDataType) enum: Invalid custom type: \1\Z", re.S
)


def outcome(fn, *args):
    """fn(*args), or the exception it raised."""
    try:
        return fn(*args)
    except BaseException as e:  # noqa: B036 - the panic type derives from BaseException only
        return e


PANIC = type(outcome(C.IntegerConstant.Literal, 2**31))


def child(code, *args, malloc="debug", timeout=120, env=None, leaks=True):
    """Runs code in a new interpreter, whose allocator poisons what it frees unless malloc says
    otherwise (the sanitized build brings its own), with the environment variables in env added:
    a crash fails the case, not the run. Returns the finished process, which must have exited
    cleanly. leaks=False turns the sanitized build's leak checker off, for code that ends threads
    inside calls: what their frames own is left."""
    env = dict(os.environ, PYTHONMALLOC="malloc" if SANITIZED else malloc, **(env or {}))
    if not leaks and "ASAN_OPTIONS" in env:
        env["ASAN_OPTIONS"] += ":detect_leaks=0"
    done = subprocess.run(
        [sys.executable, "-c", code, *args],
        capture_output=True,
        text=True,
        errors="backslashreplace",  # a crash may write the bytes of freed memory: shown as they are
        env=env,
        timeout=timeout,
    )
    assert done.returncode == 0, f"exit status {done.returncode}: {done.stderr[-3000:]}"
    return done


def run_threads(work, count, stack_size=0):
    """work(i) on `count` threads of the given stack size, started together; their results."""
    start, previous = threading.Barrier(count), threading.stack_size(stack_size)
    try:
        with ThreadPoolExecutor(count) as pool:
            return list(pool.map(lambda i: (start.wait(), work(i))[1], range(count)))
    finally:
        threading.stack_size(previous)


# owner: the class of self; params: ((name, optional), ...)
Entry = namedtuple("Entry", "label owner params call")


def _entries():
    for name in C.__all__:
        obj = getattr(C, name)
        members = []
        if name in CLASSES:
            members = [(f"{name}.{a}", getattr(obj, a)) for a in vars(obj) if a != "__new__"]
        for label, fn in [(name, obj)] + members:
            if sig := getattr(fn, "__text_signature__", None):
                parts = [p.strip() for p in sig[1:-1].split(",") if p.strip() not in ("", "/")]
                own = parts[:1] == ["$self"]
                params = tuple((p.split("=")[0], "=" in p) for p in parts[own:])
                yield Entry(label, name if own else None, params, _caller(fn, own))


def _caller(fn, own):
    def call(self_obj, args=(), kwargs=None):
        return fn(*[self_obj][:own], *args, **(kwargs or {}))

    return call


ENTRIES = list(_entries())


# --- Objects whose protocol methods misbehave -------------------------------------------------


class Boom(Exception):
    """What the hostile objects' protocol methods raise."""


def boom(*_):
    raise Boom("hostile")


class MuteBoom(Boom):
    __str__ = boom


class SurrogateBoom(Boom):
    def __str__(self):
        return "\udc80"


def cyclic_boom():
    """An error whose causes make a cycle."""
    first, second = Boom("hostile"), Boom("hostile")
    first.__cause__, second.__cause__ = second, first
    return first


class Seq:
    """A sequence through __getitem__ alone; its subclasses lie about it."""

    def __init__(self, items=(1.0,)):
        self.items = list(items)

    def __getitem__(self, i):
        return self.items[i]


class Generated(Seq):
    """A sequence without len() whose iterator is a generator."""

    def __iter__(self):
        yield from self.items


class LenFails(Seq):
    """A sequence whose len() raises `error`, or an ordinary error."""

    def __init__(self, items=(1.0,), error=None):
        super().__init__(items)
        self.error = error

    def __len__(self):
        raise self.error or Boom("hostile")


# The sequences read through their iterator alone, with no len() to size the result by.
UNSIZED = {"unsized": Seq, "generator": Generated, "len fails": LenFails}


# Subclasses of the plain types whose own conversion raises.
StrSub = type("StrSub", (str,), {"__str__": boom})
FloatSub = type("FloatSub", (float,), {"__float__": boom})
IntSub = type("IntSub", (int,), {"__index__": boom})


class Raising:
    """Raises what `make` makes from one protocol method, named by the subclass."""

    def __init__(self, make):
        self.make = make

    def fail(self, *_):
        raise self.make()


RaisesFloat, RaisesIndex, RaisesStr = (
    type(f"Raises{m.strip('_').title()}", (Raising,), {m: Raising.fail})
    for m in ("__float__", "__index__", "__str__")
)


class RaisingSeq(Raising, Seq):
    def __init__(self, make):
        Raising.__init__(self, make)
        Seq.__init__(self)


RaisesLen, RaisesIter = (
    type(f"Raises{m.strip('_').title()}", (RaisingSeq,), {m: Raising.fail})
    for m in ("__len__", "__iter__")
)


class RaisesNext(RaisingSeq):
    """Iterable, but its iterator's first step raises."""

    def __iter__(self):
        return self

    __next__ = Raising.fail


RAISERS = (RaisesFloat, RaisesIndex, RaisesStr, RaisesLen, RaisesIter, RaisesNext)


def raisers(*errors):
    """Per error and protocol method (__float__, __index__, __str__, __len__, __iter__,
    __next__), a maker of an object whose method raises it."""
    return [lambda e=e, kind=kind: kind(e) for e in errors for kind in RAISERS]


class Lies:
    """Answers its protocol method, named by the subclass, with a value of the wrong kind."""

    def __init__(self, value):
        self.value = value

    def answer(self):
        return self.value


LiesFloat, LiesIndex, LiesStr = (
    type(f"Lies{m.strip('_').title()}", (Lies,), {m: Lies.answer})
    for m in ("__float__", "__index__", "__str__")
)


class LiesLen(Seq):
    def __init__(self, length, items):
        super().__init__(items)
        self.length = length

    def __len__(self):
        return self.length


class LiesIter(Seq):
    def __init__(self, iterator):
        super().__init__([])
        self.iterator = iterator

    def __iter__(self):
        return self.iterator()


class Nameless(type):
    """Classes whose __name__ and __qualname__ read as their `shown_name`, or raise their
    `name_error` when that is None."""

    def __getattribute__(cls, attr):
        if attr in ("__name__", "__qualname__"):
            shown = type.__getattribute__(cls, "shown_name")
            if shown is None:
                raise type.__getattribute__(cls, "name_error")("hostile")
            return shown
        return type.__getattribute__(cls, attr)


def unnamed(name=None, error=Boom, base=object, **members):
    """An object of a type whose name reads as `name`, or raises `error` when name is None."""
    return Nameless("Named", (base,), dict(members, shown_name=name, name_error=error))()


def mutating():
    """A list whose element conversions empty, refill and extend the list being converted."""
    items = [2.0, "a"]

    class Mutator:
        def __float__(self):
            items[:] = [object()] * 50 + [1.5]
            return 1.0

        def __index__(self):
            items.clear()
            return 1

        def __str__(self):
            items.extend(["x"] * 50)
            return "days"

    items.insert(0, Mutator())
    return items


def self_containing():
    items = [1.0]
    items.append(items)
    return items


class ClassLiar:
    @property
    def __class__(self):
        return C.NumericSeries


class Comparer:
    __hash__ = None
    __eq__ = __ne__ = __lt__ = __le__ = __gt__ = __ge__ = boom


class DictSub(dict):
    __iter__ = boom
    items = boom


class Sentinel:
    """Stands in for a later required parameter: its refusal names it."""

    def __str__(self):
        return "hardening-sentinel"


SENTINEL = Sentinel()
RAISED = (Boom, KeyboardInterrupt, MemoryError, SystemExit)
INTERRUPTS = (KeyboardInterrupt, MemoryError, SystemExit)


def reference(name):
    return C.NumericSeries.Reference(name)


# Errors and what is none, an error whose str() fails or is no valid text, one whose causes make
# a cycle; then objects that lie about their protocols, and containers that mislead.
HOSTILE = raisers(
    *(lambda k=k: k("hostile") for k in RAISED),
    lambda: MuteBoom("hostile"),
    lambda: SurrogateBoom("hostile"),
    cyclic_boom,
)
HOSTILE += [
    lambda v=v, kind=kind: kind(v)
    for kind, values in (
        (LiesFloat, ["1.0", FloatSub(2.0)]),
        (LiesIndex, [2**80, 1.5, IntSub(5)]),
        (LiesStr, [5, "days", "int64", "da\ud800ys", StrSub("days")]),
    )
    for v in values
]
HOSTILE += [
    lambda n=n, i=i: LiesLen(n, i)
    for n, i in (
        (-1, [1.0]),
        (2**62, [1.0, 2.0]),
        (sys.maxsize, []),
        (2**100, ["a"]),
        ("3", [1.0]),
        (0, [1.0, 2.0, 3.0]),
    )
]
HOSTILE += [
    lambda it=it: LiesIter(it)
    for it in (
        lambda: 5,
        lambda: iter([1.0, unnamed(__str__=boom), 2.0]),
        lambda: (x for x in ["a", "b"]),
    )
]
HOSTILE += [
    lambda: unnamed(__str__=boom),
    lambda: unnamed("na\udc80me", __str__=boom),
    mutating,
    self_containing,
    ClassLiar,
    Comparer,
    lambda: StrSub("days"),
    lambda: StrSub("a"),
    lambda: FloatSub(1.5),
    lambda: IntSub(3),
    lambda: IntSub(2**40),
    lambda: DictSub(k=reference("a")),
    lambda: {1: reference("a")},
    lambda: {"\udc80": reference("a")},
    lambda: {StrSub("k"): reference("a"), "k": reference("b")},
    lambda: (x for x in [1.0, 2.0]),
    lambda: iter(["a"]),
    lambda: {1.0, 2.0},
    lambda: frozenset({"a"}),
    lambda: [[[[[1.0]]]]],
    lambda: Seq(["a", "b"]),
    lambda: Seq([1.0, 2, True]),
    lambda: range(3),
    lambda: b"ab",
    lambda: bytearray(b"ab"),
    lambda: memoryview(b"ab"),
    lambda: [1.0] * 2000,
    lambda: ["k"] * 2000,
    lambda: "x" * 100_000,
]
FIXED = [
    None,
    True,
    False,
    0,
    -1,
    2**31 - 1,
    2**31,
    -(2**31),
    -(2**31) - 1,
    2**63 - 1,
    2**63,
    -(2**63),
    -(2**63) - 1,
    2**64,
    10**400,
    0.0,
    -0.0,
    1.5,
    math.nan,
    math.inf,
    -math.inf,
    1e308,
    5e-324,
    complex(1, 2),
    decimal.Decimal("NaN"),
    "",
    "a",
    "\x00",
    'quote " and \\ backslash',
    "\ud800",
    "lone \udfff low",
    "é日本🎉",
    "days",
    "DAYS",
    "Days",
    " days",
    "int64",
    "uint64",
    "\n\t\r\x1f",
    Ellipsis,
    object(),
    C,
    len,
    *CLASSES.values(),
]
texts = st.one_of(
    st.text(max_size=12), st.lists(st.integers(0, 0x10FFFF).map(chr), max_size=6).map("".join)
)
scalars = st.one_of(
    st.sampled_from(FIXED),
    st.integers(),
    st.integers(-(2**64), 2**64),
    st.floats(),
    texts,
    st.sampled_from(HOSTILE).map(lambda make: make()),
)


# --- The search -------------------------------------------------------------------------------


def _accepted(entry, self_obj, candidates):
    """Per parameter, the candidates it converts after the first accepted ones before it (the
    call succeeds, or fails only on the sentinels standing in for the later required
    parameters); None when a parameter accepts none."""
    accepted = []
    for i, (_, optional) in enumerate(entry.params):
        later, ok = entry.params[i + 1 :], []
        named = tuple(f"argument '{n}'" for n, o in later if not o)
        for c in candidates:
            args = [a[0] for a in accepted] + [c] + [None if o else SENTINEL for _, o in later]
            got = outcome(entry.call, self_obj, args)
            refused_later = (
                named
                and type(got) in (TypeError, ValueError)
                and (str(got).startswith(named) or "hardening-sentinel" in str(got))
            )
            if not isinstance(got, BaseException) or refused_later:
                ok.append(c)
        if not ok + [None] * optional:
            return None
        accepted.append(ok + [None] * optional)
    return accepted


@dataclass
class Search:
    pool: dict  # class name: up to six objects with different JSON
    good: dict  # entry label: per parameter, the arguments it accepts
    recipes: list  # (entry, self, args) of every call that made an object

    @property
    def objects(self):
        return [o for objs in self.pool.values() for o in objs]

    @cached_property
    def values(self):
        """Scalars and the objects found, alone or nested in lists, tuples, dicts and sets."""
        leaves = st.one_of(scalars, st.sampled_from(self.objects))
        return st.recursive(
            leaves,
            lambda inner: st.one_of(
                st.lists(inner, max_size=4),
                st.lists(inner, max_size=4).map(tuple),
                st.dictionaries(texts, inner, max_size=3),
                st.sets(st.one_of(st.integers(), texts, st.floats(allow_nan=False)), max_size=3),
            ),
            max_leaves=6,
        )


def search():
    """Rounds of calls with what the previous rounds made, until no new object comes out."""
    found, good = {}, {}
    for _ in range(8):
        candidates = ["days", "int64", "a", 3, 1000, 2.5, [], ["a", "b"], [1.5, 2]]
        candidates += [x for objs in found.values() for x in (objs[0], [objs[0]], {"k": objs[0]})]
        new, recipes = False, []
        for entry in ENTRIES:
            self_obj = found.get(entry.owner, [None])[0] if entry.owner else None
            if entry.owner and self_obj is None:
                continue
            if (accepted := _accepted(entry, self_obj, candidates)) is None:
                continue
            good[entry.label] = accepted
            base = [a[0] for a in accepted]
            for args in [base] + [
                base[:i] + [c] + base[i + 1 :] for i, a in enumerate(accepted) for c in a[1:]
            ]:
                made = outcome(entry.call, self_obj, args)
                if type(made) in CLASS_SET:
                    recipes.append((entry, self_obj, args))
                    objs = found.setdefault(type(made).__name__, [])
                    if len(objs) < 6 and made.to_json() not in [o.to_json() for o in objs]:
                        objs.append(made)
                        new = True
        if not new:
            return Search(found, good, recipes)


class RaisesBoth:
    __float__ = boom

    def __index__(self):
        raise cyclic_boom()


class Interrupts(Seq):
    def __iter__(self):
        raise KeyboardInterrupt("hostile")


def failing_variants(entry, self_obj, args):
    """The recipe with one argument at a time replaced by one it refuses or that raises while it
    converts."""
    bad = [object(), 2**70, RaisesBoth(), Interrupts()]
    return [
        (entry, self_obj, args[:i] + [b] + args[i + 1 :]) for i in range(len(args)) for b in bad
    ]


# --- Watching a call --------------------------------------------------------------------------


def _elements(v):
    return [x for kv in v.items() for x in kv] if type(v) is dict else list(v)


def module_objects(v, depth=0):
    """The module's objects in an argument, also inside plain lists, tuples, sets and dicts."""
    if depth < 8 and type(v) in (list, tuple, set, frozenset, dict):
        return [o for x in _elements(v) for o in module_objects(x, depth + 1)]
    return [v] if type(v) in CLASS_SET else []


def allowed(exc):
    if isinstance(exc, (PANIC, RAISED)):
        return exc.args in ((NARROWING,), ("hostile",))
    if type(exc) is ValueError:
        return NAME_REFUSAL.match(str(exc)) is not None
    return isinstance(exc, (TypeError, OverflowError, UnicodeEncodeError, DeprecationWarning))


def watched_call(fn, *involved, kwargs=None):
    """fn(*involved, **kwargs): the result or the exception raised, which must be allowed; every
    module object involved keeps its JSON, every plain container its elements."""
    everything = [*involved, *(kwargs or {}).values()]
    objects = [o for v in everything for o in module_objects(v)]
    before = [o.to_json() for o in objects]
    containers = [(v, _elements(v)) for v in everything if type(v) in (list, tuple, dict)]
    with warnings.catch_warnings():
        warnings.simplefilter("error", DeprecationWarning)
        result = outcome(lambda: fn(*involved, **(kwargs or {})))
    assert not isinstance(result, BaseException) or allowed(result), (
        f"{type(result).__qualname__}: {result!r}"
    )
    assert [o.to_json() for o in objects] == before
    assert all(
        a is b for v, elements in containers for a, b in zip(_elements(v), elements, strict=True)
    )
    if type(result) in CLASS_SET:
        json.loads(result.to_json(), parse_constant=boom)
    return result
