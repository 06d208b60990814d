"""Every entry of the module, found by introspection (module functions, methods and operator slots
by their text signatures, the RangeMap constructor), driven with hostile arguments: a call answers
with an object whose JSON parses or raises an exception the module documents, and leaves every
object it was given as it was. A search through the API first finds objects of all 21 classes and
the arguments each parameter accepts, so that calls also get past the first parameters."""

import decimal, itertools, json, math, operator, os, re, sys, warnings  # noqa: E401
from collections import namedtuple

import pytest
from hypothesis import HealthCheck, given, settings, strategies as st

from quarnel.compute import _compute as C

SANITIZED = bool(os.environ.get("QC_SANITIZED"))
# QC_HARDENING_EXAMPLES raises the count for a long exploration.
SETTINGS = settings(max_examples=int(os.environ.get("QC_HARDENING_EXAMPLES", 20 if SANITIZED else 60)),
                    deadline=None, database=None, suppress_health_check=list(HealthCheck))
CLASSES = {n: getattr(C, n) for n in C.__all__ if isinstance(getattr(C, n), type)}
CLASS_SET = frozenset(CLASSES.values())
NARROWING = "integer value exceeds i32 range: TryFromIntError(())"
NAME_REFUSAL = re.compile(r"Failed to convert '(.*)' to (TimeUnit|NumericDataType) enum: Invalid custom type: \1\Z", re.S)


def outcome(fn, *args):
    """fn(*args), or the exception it raised."""
    try:
        return fn(*args)
    except BaseException as e:  # noqa: B036 - the panic type derives from BaseException only
        return e


PANIC = type(outcome(C.IntegerConstant.Literal, 2**31))


Entry = namedtuple("Entry", "label owner params call")  # owner: the class of self; params: ((name, optional), ...)


def _entries():
    for name in C.__all__:
        obj = getattr(C, name)
        members = [(f"{name}.{a}", getattr(obj, a)) for a in vars(obj) if a != "__new__"] if name in CLASSES else []
        for label, fn in [(name, obj)] + members:
            if sig := getattr(fn, "__text_signature__", None):
                parts = [p.strip() for p in sig[1:-1].split(",") if p.strip() not in ("", "/")]
                own = parts[:1] == ["$self"]
                yield Entry(label, name if own else None, tuple((p.split("=")[0], "=" in p) for p in parts[own:]),
                            lambda s, a=(), k=None, fn=fn, own=own: fn(*[s][:own], *a, **(k or {})))


ENTRIES = list(_entries())


def _raise(make):
    def method(*_):
        raise make()
    return method


def kind(name, base=object, **methods):
    return type(name, (base,), methods)


Boom = kind("Boom", Exception)  # what the hostile objects' protocol methods raise
boom = _raise(lambda: Boom("hostile"))
# A sequence through __getitem__ alone; its subclasses lie about it.
Seq = kind("Seq", __init__=lambda s, items=(1.0,): setattr(s, "items", list(items)), __getitem__=lambda s, i: s.items[i])


def _named(name):
    """An object whose str() fails, of a type whose name cannot be read (None) or is `name`."""
    get = lambda cls, a: (name or boom()) if a in ("__name__", "__qualname__") else type.__getattribute__(cls, a)  # noqa: E731
    return kind("Meta", type, __getattribute__=get)("Named", (), {"__str__": boom})()


def _mutating():
    """A list whose element conversions empty, refill and extend the list being converted."""
    lst = [2.0, "a"]
    lst.insert(0, kind("Mutator", __float__=lambda s: lst.__setitem__(slice(None), [object()] * 50 + [1.5]) or 1.0,
                       __index__=lambda s: lst.clear() or 1, __str__=lambda s: lst.extend(["x"] * 50) or "days")())
    return lst


StrSub, FloatSub, IntSub = (kind(f"{t.__name__}Sub", t, **{p: boom}) for t, p in
                            ((str, "__str__"), (float, "__float__"), (int, "__index__")))
RAISED, INTERRUPTS = (Boom, KeyboardInterrupt, MemoryError, SystemExit), (KeyboardInterrupt, MemoryError, SystemExit)


def raisers(*errors):
    """Per error and protocol method (__float__, __index__, __str__, __len__, __iter__, __next__),
    a maker of an object whose method raises it."""
    return [lambda r=_raise(e), b=b, p=p: kind(f"Raises{p}", b, **{p: r})() for e in errors for b, p in (
        (object, "__float__"), (object, "__index__"), (object, "__str__"), (Seq, "__len__"), (Seq, "__iter__"))] + [
        lambda r=_raise(e): kind("RaisesNext", Seq, __iter__=lambda s: map(r, [0]))() for e in errors]


cyclic_boom = lambda: (lambda a, b: setattr(a, "__cause__", b) or setattr(b, "__cause__", a) or a)(Boom("hostile"), Boom("hostile"))  # noqa: E731
ns = C.NumericSeries.Reference
# Errors and what is none, an error whose str() fails or is no valid text, one whose causes make a cycle.
HOSTILE = raisers(*(lambda k=k: k("hostile") for k in RAISED), lambda: kind("MuteBoom", Boom, __str__=boom)("hostile"),
                  lambda: kind("SurrogateBoom", Boom, __str__=lambda s: "\udc80")("hostile"), cyclic_boom)
HOSTILE += [lambda v=v, p=p: kind(f"Lies{p}", **{p: lambda s: v})() for p, vs in (
    ("__float__", ["1.0", FloatSub(2.0)]), ("__index__", [2**80, 1.5, IntSub(5)]),
    ("__str__", [5, "days", "int64", "da\ud800ys", StrSub("days")])) for v in vs]
HOSTILE += [lambda n=n, i=i: kind("LiesLen", Seq, __len__=lambda s: n)(i) for n, i in (
    (-1, [1.0]), (2**62, [1.0, 2.0]), (sys.maxsize, []), (2**100, ["a"]), ("3", [1.0]), (0, [1.0, 2.0, 3.0]))]
HOSTILE += [lambda it=it: kind("LiesIter", Seq, __iter__=lambda s: it())([])
            for it in (lambda: 5, lambda: iter([1.0, _named(None), 2.0]), lambda: (x for x in ["a", "b"]))]
HOSTILE += [
    lambda: _named(None), lambda: _named("na\udc80me"), _mutating, lambda: (lambda s: s.append(s) or s)([1.0]),
    kind("ClassLiar", __class__=property(lambda s: C.NumericSeries)),
    kind("Comparer", __hash__=None, **{f"__{o}__": boom for o in "eq ne lt le gt ge".split()}),
    lambda: StrSub("days"), lambda: StrSub("a"), lambda: FloatSub(1.5), lambda: IntSub(3), lambda: IntSub(2**40),
    lambda: kind("DictSub", dict, __iter__=boom, items=boom)(k=ns("a")), lambda: {1: ns("a")}, lambda: {"\udc80": ns("a")},
    lambda: {StrSub("k"): ns("a"), "k": ns("b")}, lambda: (x for x in [1.0, 2.0]), lambda: iter(["a"]), lambda: {1.0, 2.0},
    lambda: frozenset({"a"}), lambda: [[[[[1.0]]]]], lambda: Seq(["a", "b"]), lambda: Seq([1.0, 2, True]), lambda: range(3),
    lambda: b"ab", lambda: bytearray(b"ab"), lambda: memoryview(b"ab"), lambda: [1.0] * 2000, lambda: ["k"] * 2000,
    lambda: "x" * 100_000,
]
FIXED = [
    None, True, False, 0, -1, 2**31 - 1, 2**31, -(2**31), -(2**31) - 1, 2**63 - 1, 2**63, -(2**63), -(2**63) - 1,
    2**64, 10**400, 0.0, -0.0, 1.5, math.nan, math.inf, -math.inf, 1e308, 5e-324, complex(1, 2),
    decimal.Decimal("NaN"), "", "a", "\x00", 'quote " and \\ backslash', "\ud800", "lone \udfff low", "é日本🎉",
    "days", "DAYS", "Days", " days", "int64", "uint64", "\n\t\r\x1f", Ellipsis, object(), C, len, *CLASSES.values(),
]
texts = st.one_of(st.text(max_size=12), st.lists(st.integers(0, 0x10FFFF).map(chr), max_size=6).map("".join))
scalars = st.one_of(st.sampled_from(FIXED), st.integers(), st.integers(-(2**64), 2**64), st.floats(), texts,
                    st.sampled_from(HOSTILE).map(lambda make: make()))
SENTINEL = kind("Sentinel", __str__=lambda s: "hardening-sentinel")()


def _accepted(entry, self_obj, candidates):
    """Per parameter, the candidates it converts after the first accepted ones before it (the call
    succeeds, or fails only on the sentinels standing in for the later required parameters);
    None when a parameter accepts none."""
    accepted = []
    for i, (_, optional) in enumerate(entry.params):
        later, ok = entry.params[i + 1:], []
        named = tuple(f"argument '{n}'" for n, o in later if not o)
        for c in candidates:
            got = outcome(entry.call, self_obj, [a[0] for a in accepted] + [c] + [None if o else SENTINEL for _, o in later])
            if not isinstance(got, BaseException) or named and type(got) in (TypeError, ValueError) and (
                    str(got).startswith(named) or "hardening-sentinel" in str(got)):
                ok.append(c)
        if not ok + [None] * optional:
            return None
        accepted.append(ok + [None] * optional)
    return accepted


def _search():
    """Rounds of calls with what the previous rounds made, until no new object comes out."""
    found, good = {}, {}
    for _ in range(8):
        candidates = ["days", "int64", "a", 3, 1000, 2.5, [], ["a", "b"], [1.5, 2]]
        candidates += [x for objs in found.values() for x in (objs[0], [objs[0]], {"k": objs[0]})]
        new, recipes = False, []
        for entry in ENTRIES:
            self_obj = found.get(entry.owner, [None])[0] if entry.owner else None
            if (entry.owner and self_obj is None) or (accepted := _accepted(entry, self_obj, candidates)) is None:
                continue
            good[entry.label] = accepted
            base = [a[0] for a in accepted]
            for args in [base] + [base[:i] + [c] + base[i + 1:] for i, a in enumerate(accepted) for c in a[1:]]:
                made = outcome(entry.call, self_obj, args)
                if type(made) in CLASS_SET:
                    recipes.append((entry, self_obj, args))
                    objs = found.setdefault(type(made).__name__, [])
                    if len(objs) < 6 and made.to_json() not in [o.to_json() for o in objs]:
                        new = objs.append(made) or True
        if not new:
            return found, good, recipes


POOL, GOOD, RECIPES = _search()
POOL_OBJECTS = [o for objs in POOL.values() for o in objs]
values = st.recursive(st.one_of(scalars, st.sampled_from(POOL_OBJECTS)), lambda inner: st.one_of(
    st.lists(inner, max_size=4), st.lists(inner, max_size=4).map(tuple), st.dictionaries(texts, inner, max_size=3),
    st.sets(st.one_of(st.integers(), texts, st.floats(allow_nan=False)), max_size=3)), max_leaves=6)


def failing_variants(entry, self_obj, args):
    """The recipe with one argument at a time replaced by one it refuses or that raises while it converts."""
    bad = [object(), 2**70, kind("Raises", __float__=boom, __index__=_raise(cyclic_boom))(),
           kind("Interrupts", Seq, __iter__=_raise(lambda: KeyboardInterrupt("hostile")))()]
    return [(entry, self_obj, args[:i] + [b] + args[i + 1:]) for i in range(len(args)) for b in bad]


def _elements(v):
    return [x for kv in v.items() for x in kv] if type(v) is dict else list(v)


def module_objects(v, depth=0):
    """The module's objects in an argument, also inside plain lists, tuples, sets and dicts."""
    nested = depth < 8 and type(v) in (list, tuple, set, frozenset, dict)
    return [o for x in _elements(v) for o in module_objects(x, depth + 1)] if nested else [v] * (type(v) in CLASS_SET)


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
    before, containers = [o.to_json() for o in objects], [(v, _elements(v)) for v in everything if type(v) in (list, tuple, dict)]
    with warnings.catch_warnings():
        warnings.simplefilter("error", DeprecationWarning)
        result = outcome(lambda: fn(*involved, **(kwargs or {})))
    assert not isinstance(result, BaseException) or allowed(result), f"{type(result).__qualname__}: {result!r}"
    assert [o.to_json() for o in objects] == before
    assert all(a is b for v, elements in containers for a, b in zip(_elements(v), elements, strict=True))
    if type(result) in CLASS_SET:
        json.loads(result.to_json(), parse_constant=boom)
    return result


@pytest.fixture(autouse=True)
def quiet_unraisable(monkeypatch):
    """A time unit whose str() fails is reported through the unraisable hook: keep it quiet."""
    monkeypatch.setattr(sys, "unraisablehook", lambda _: None)


def test_the_walk_and_the_search_reach_everything():
    assert (len(CLASSES), len(C.__all__) - len(CLASSES), PANIC.__name__) == (21, 16, "PanicException")
    assert [f"{n}.{a}" for n, cls in CLASSES.items() for a in vars(cls)
            if not a.startswith("__") and not getattr(getattr(cls, a), "__text_signature__", None)] == []
    assert (sorted(POOL), [e.label for e in ENTRIES if e.label not in GOOD]) == (sorted(CLASSES), [])


@pytest.mark.parametrize("entry", ENTRIES, ids=lambda e: e.label)
@SETTINGS
@given(data=st.data())
def test_an_entry_answers_or_refuses_cleanly(entry, data):
    drawn = [data.draw(st.one_of(st.sampled_from(g), values), label=n) for (n, _), g in zip(entry.params, GOOD[entry.label])]
    npos = data.draw(st.integers(0, len(drawn)), label="positional")
    args, kwargs = drawn[:npos], {n: v for (n, _), v in zip(entry.params[npos:], drawn[npos:]) if data.draw(st.integers(0, 7))}
    own = entry.owner and data.draw(st.integers(0, 9), label="own self") and POOL[entry.owner]  # mostly, not always
    self_obj = data.draw(st.sampled_from(own) if own else values, label="self") if entry.owner else None
    result = watched_call(lambda *a, **k: entry.call(self_obj, a, k), self_obj, *args, kwargs=kwargs)
    if entry.owner and type(self_obj) is not CLASSES[entry.owner]:
        assert type(result) is TypeError, "a wrong self must be refused"
    elif type(result) is str:
        assert entry.label.endswith(".to_json") and json.loads(result, parse_constant=boom) is not None
    else:
        assert isinstance(result, BaseException) or type(result) in CLASS_SET or result is NotImplemented


@pytest.mark.parametrize("entry", [e for e in ENTRIES if e.params], ids=lambda e: e.label)
def test_interrupts_and_memory_errors_are_never_folded(entry):
    """An interrupt raised while an argument converts, wherever it sits, comes out as itself:
    never as a TypeError or ValueError, never swallowed. The operator slots are entries too."""
    self_obj, base = POOL[entry.owner][0] if entry.owner else None, [g[0] for g in GOOD[entry.label]]
    for i, place, error in itertools.product(range(len(base)), (lambda v: v, lambda v: [1.5, v], lambda v: {"k": v}), INTERRUPTS):
        exc = error("hostile")
        for make in raisers(lambda: exc):
            exc.__traceback__ = None  # set again only if it is raised
            got = outcome(entry.call, self_obj, base[:i] + [place(make())] + base[i + 1:])
            assert exc.__traceback__ is None or got is exc, f"{exc!r} became {got!r}"
