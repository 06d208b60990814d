"""A long run of calls keeps nothing: over a million calls that succeed and fail in every way the
resident memory stays flat, and the reference counts of self, of every argument (and of the
elements of argument lists and dicts) and of the classes come back to where they were."""

import gc
import sys

import pytest
from hostile import (
    CLASSES,
    RESIDENT,
    SANITIZED,
    UNSIZED,
    Seq,
    child,
    failing_variants,
    outcome,
    resident,
)
from quarnel.compute import _compute as C

pytestmark = pytest.mark.usefixtures("quiet_unraisable")

# The sanitized build runs the calls (its checks are the point there) but not the memory measure:
# freed blocks sit in its quarantine, so the resident size says nothing.
CALLS = 2 * 10**5 if SANITIZED else 10**6


def mixed_calls(recipes, objects):
    """Closures that succeed or raise: each recipe as it is, with a surplus argument, an unknown
    keyword, each argument replaced by a failing one; the writer. With the arguments they pass."""
    variants = [
        v for e, s, a in recipes for v in [(e, s, a), (e, s, a + [1.0]), *failing_variants(e, s, a)]
    ]
    calls = [lambda e=e, s=s, a=a: e.call(s, a) for e, s, a in variants]
    calls += [lambda e=e, s=s, a=a: e.call(s, a, {"nope": 1}) for e, s, a in recipes]
    calls += [o.to_json for o in objects]
    return calls, [[s, *a] for _, s, a in variants]


def with_unsized(recipes):
    """The recipes, and once more each that passes a list with its lists given as each sequence
    without len()."""
    return recipes + [
        (e, s, [form(a) if type(a) is list else a for a in args])
        for e, s, args in recipes
        if list in map(type, args)
        for form in UNSIZED.values()
    ]


def test_resident_memory_stays_flat_over_a_million_calls(api_search):
    one_each = {e.label: (e, s, a) for e, s, a in api_search.recipes}
    calls, _ = mixed_calls(list(one_each.values()), api_search.objects)
    # and a warm-up
    failed = sum(isinstance(outcome(c), BaseException) for _ in range(50) for c in calls) // 50
    assert len(calls) // 2 < failed < len(calls)

    gc.collect()
    before = resident()
    for i in range(CALLS):
        outcome(calls[i % len(calls)])
    gc.collect()
    grown = resident() - before
    assert SANITIZED or grown < 4 << 20, f"resident memory grew by {grown} bytes"


def test_reference_counts_of_arguments_are_unchanged(api_search):
    calls, arguments = mixed_calls(with_unsized(api_search.recipes), api_search.objects)

    # Cached values (None, booleans, small ints, one-character texts) are counted by the whole
    # interpreter.
    def counted(o):
        if type(o) is int:
            return abs(o) > 256
        return len(o) > 1 if type(o) is str else type(o) not in (type(None), bool)

    watched = [o for o in referents(arguments) if counted(o)] + list(CLASSES.values())
    counts = lambda: [sys.getrefcount(o) for o in watched]  # noqa: E731
    for i in range(21):
        if i == 1:  # after a warm-up: caches hold what they hold
            gc.collect()
            before = counts()
        for call in calls:
            outcome(call)
    gc.collect()
    assert [(repr(o)[:60], b, a) for o, b, a in zip(watched, before, counts()) if a != b] == []


def referents(value):
    if type(value) is dict:
        items = [x for kv in value.items() for x in kv]
    else:
        items = value.items if isinstance(value, Seq) else value if type(value) is list else []
    return [value] + [x for v in items for x in referents(v)]


# The constructor keeps its arguments while it converts them: every way of refusing them, and
# taking them, gives each reference back. The watched value is made for the test, so that only
# the calls count it.
CONSTRUCTIONS = {
    "unknown keyword": lambda v: C.RangeMap("x", nope=v),
    "keyword given twice": lambda v: C.RangeMap("x", output=v),
    "too many arguments": lambda v: C.RangeMap("x", 1.0, 2.0, v),
    "refused argument": lambda v: C.RangeMap("x", start=1.0, end=v),
    "accepted": lambda v: C.RangeMap("x", start=float(v), end=v),
}


@pytest.mark.parametrize("call", CONSTRUCTIONS.values(), ids=CONSTRUCTIONS)
def test_constructor_calls_give_back_their_references(call):
    watched = float("2.5") if call is CONSTRUCTIONS["accepted"] else object()
    before = sys.getrefcount(watched)
    for _ in range(1000):
        outcome(call, watched)
    assert sys.getrefcount(watched) == before


# A class without a constructor refuses every call, naming itself: each refusal gives back its
# references, to the class's name that it reads for the message and to the arguments it ignores.
REFUSING = {n: c for n, c in CLASSES.items() if c is not C.RangeMap}
REFUSED_CALLS = {
    "no arguments": lambda cls, v: cls(),
    "positional": lambda cls, v: cls(v),
    "keywords": lambda cls, v: cls(v, 2.0, output=v),
}


@pytest.mark.parametrize("cls", REFUSING.values(), ids=REFUSING)
def test_refused_calls_of_a_class_without_a_constructor_give_back_their_references(cls):
    watched, name = object(), cls.__name__
    counts = lambda: (sys.getrefcount(name), sys.getrefcount(watched))  # noqa: E731
    before = counts()
    for _ in range(1000):
        for call in REFUSED_CALLS.values():
            assert type(outcome(call, cls, watched)) is TypeError
    assert counts() == before


# An output of tens of megabytes reaches its str in pieces, each given back once appended: the
# resident size after a few more calls is where it was after the first. Its own process, whose
# resident size only these calls move.
LARGE_OUTPUTS = (
    RESIDENT
    + r"""
import gc
from quarnel.compute import _compute as C

tree = C.NumericSeries.Sum([C.NumericSeries.Reference("n" * 1000 + str(i)) for i in range(45_000)])
assert len(tree.to_json()) > 44 << 20
gc.collect()
before = resident()
for _ in range(5):
    tree.to_json()
print(resident() - before)
"""
)


@pytest.mark.skipif(SANITIZED, reason="freed memory sits in the sanitizer's quarantine")
def test_large_outputs_give_back_their_pieces():
    grown = int(child(LARGE_OUTPUTS, malloc="pymalloc").stdout)
    assert grown < 16 << 20, f"resident memory grew by {grown} bytes over 5 calls"
